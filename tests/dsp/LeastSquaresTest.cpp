#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "PythonReference.h"
#include "dsp/LeastSquares.h"

namespace {

struct LsCase {
    const char* name;
    int taps;
    int firType;
    std::vector<LeastSquaresBand> bands;
};

double PeakAbs(const std::vector<double>& v)
{
    double m = 0.0;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

double MaxDiff(const std::vector<double>& a, const std::vector<double>& b)
{
    double m = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        m = std::max(m, std::fabs(a[i] - b[i]));
    return m;
}

std::string FirlsJson(const std::vector<LsCase>& cases)
{
    std::ostringstream s;
    s.precision(17);
    s << "[";
    for (size_t i = 0; i < cases.size(); ++i) {
        const LsCase& c = cases[i];
        std::ostringstream edges, desired, weight;
        edges.precision(17);
        desired.precision(17);
        weight.precision(17);
        for (size_t b = 0; b < c.bands.size(); ++b) {
            const char* sep = b ? ", " : "";
            edges << sep << c.bands[b].lower << ", " << c.bands[b].upper;
            desired << sep << c.bands[b].value;
            weight << sep << c.bands[b].weight;
        }
        s << (i ? ",\n" : "") << "{\"taps\": " << c.taps << ", \"bands\": [" << edges.str() << "], \"desired\": ["
          << desired.str() << "], \"weight\": [" << weight.str() << "]}";
    }
    s << "]\n";
    return s.str();
}

// The same least-squares problem solved independently in long double: the
// Gram matrix and right-hand side by 24-point Gauss-Legendre quadrature on
// 64 pieces of every band (no closed form), the system by Gaussian
// elimination with partial pivoting (no Cholesky), the taps from the
// amplitude's coefficients by the textbook placement (Selesnick, section 5).
std::vector<double> ExtendedPrecisionSolve(const LsCase& c)
{
    using LD = long double;
    const LD piLong = 3.141592653589793238462643383279502884L;
    // Nodes and weights of 24-point Gauss-Legendre on [-1, 1] by Newton's method.
    const int q = 24;
    std::vector<LD> node(q), wq(q);
    for (int i = 0; i < q; ++i) {
        LD x = std::cos(piLong * (i + 0.75L) / (q + 0.5L));
        LD dp = 1;
        // Newton's steps converge quadratically; a dozen leave x at rounding.
        for (int it = 0; it < 12; ++it) {
            LD p0 = 1, p1 = x;
            for (int k = 2; k <= q; ++k) {
                const LD p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = q * (x * p1 - p0) / (x * x - 1);
            x -= p1 / dp;
        }
        node[static_cast<size_t>(i)] = x;
        wq[static_cast<size_t>(i)] = 2 / ((1 - x * x) * dp * dp);
    }
    const bool anti = c.firType >= 2;
    const bool odd = c.taps % 2 == 1;
    const int n = c.firType == 0 ? (c.taps + 1) / 2 : c.firType == 2 ? (c.taps - 1) / 2 : c.taps / 2;
    // Distance of basis function k from the centre, in samples.
    auto dist = [&](int k) -> LD { return odd ? (anti ? k + 1 : k) : k + 0.5L; };
    std::vector<LD> g(static_cast<size_t>(n * n), 0), b(static_cast<size_t>(n), 0), phi(static_cast<size_t>(n));
    for (const LeastSquaresBand& band : c.bands) {
        const int pieces = 64;
        const LD width = (static_cast<LD>(band.upper) - band.lower) / pieces;
        for (int p = 0; p < pieces; ++p) {
            const LD lo = band.lower + p * width;
            for (int i = 0; i < q; ++i) {
                const LD f = lo + (node[static_cast<size_t>(i)] + 1) * width / 2;
                const LD w = wq[static_cast<size_t>(i)] * width / 2 * band.weight;
                for (int k = 0; k < n; ++k)
                    phi[static_cast<size_t>(k)] =
                        anti ? std::sin(2 * piLong * dist(k) * f) : std::cos(2 * piLong * dist(k) * f);
                for (int k = 0; k < n; ++k) {
                    b[static_cast<size_t>(k)] += w * band.value * phi[static_cast<size_t>(k)];
                    for (int l = 0; l < n; ++l)
                        g[static_cast<size_t>(k * n + l)] += w * phi[static_cast<size_t>(k)] * phi[static_cast<size_t>(l)];
                }
            }
        }
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(g[static_cast<size_t>(r * n + col)]) > std::fabs(g[static_cast<size_t>(pivot * n + col)]))
                pivot = r;
        for (int k = 0; k < n; ++k)
            std::swap(g[static_cast<size_t>(col * n + k)], g[static_cast<size_t>(pivot * n + k)]);
        std::swap(b[static_cast<size_t>(col)], b[static_cast<size_t>(pivot)]);
        for (int r = col + 1; r < n; ++r) {
            const LD m = g[static_cast<size_t>(r * n + col)] / g[static_cast<size_t>(col * n + col)];
            for (int k = col; k < n; ++k)
                g[static_cast<size_t>(r * n + k)] -= m * g[static_cast<size_t>(col * n + k)];
            b[static_cast<size_t>(r)] -= m * b[static_cast<size_t>(col)];
        }
    }
    std::vector<LD> a(static_cast<size_t>(n));
    for (int r = n - 1; r >= 0; --r) {
        LD s = b[static_cast<size_t>(r)];
        for (int k = r + 1; k < n; ++k)
            s -= g[static_cast<size_t>(r * n + k)] * a[static_cast<size_t>(k)];
        a[static_cast<size_t>(r)] = s / g[static_cast<size_t>(r * n + r)];
    }
    // h[centre - d] = a/2 and h[centre + d] = +-a/2 (the centre tap of type I takes a_0).
    std::vector<double> h(static_cast<size_t>(c.taps), 0.0);
    const LD centre = (c.taps - 1) / 2.0L;
    for (int k = 0; k < n; ++k) {
        const LD d = dist(k);
        const LD v = a[static_cast<size_t>(k)];
        if (d == 0) {
            h[static_cast<size_t>(centre)] = static_cast<double>(v);
            continue;
        }
        h[static_cast<size_t>(std::lround(static_cast<double>(centre - d)))] = static_cast<double>(v / 2);
        h[static_cast<size_t>(std::lround(static_cast<double>(centre + d)))] = static_cast<double>(anti ? -v / 2 : v / 2);
    }
    return h;
}

}  // namespace

// Against scipy.signal.firls (written elsewhere, solved with its own
// closed-form integrals). Debian's scipy (1.10) takes odd lengths only, so
// type I here; type II joins the extended-precision check below.
TEST(LeastSquares, SymmetricOddTypeAgreesWithScipyFirls)
{
    const std::vector<LsCase> cases = {
        {"lowpass 31", 31, 0, {{0.0, 0.2, 1.0, 1.0}, {0.3, 0.5, 0.0, 10.0}}},
        {"bandpass 65", 65, 0, {{0.0, 0.1, 0.0, 5.0}, {0.15, 0.3, 1.0, 1.0}, {0.35, 0.5, 0.0, 5.0}}},
        {"bandstop 101", 101, 0, {{0.0, 0.15, 1.0, 1.0}, {0.2, 0.3, 0.0, 50.0}, {0.35, 0.5, 1.0, 1.0}}},
        {"staircase 127", 127, 0,
         {{0.0, 0.08, 1.0, 1.0}, {0.1, 0.18, 0.5, 2.0}, {0.2, 0.28, 0.25, 4.0}, {0.3, 0.5, 0.0, 0.5}}},
        {"eight bands 201", 201, 0,
         {{0.0, 0.05, 1.0, 1.0}, {0.06, 0.11, 0.0, 3.0}, {0.12, 0.17, 0.7, 1.0}, {0.18, 0.23, 0.0, 3.0},
          {0.24, 0.29, 0.4, 1.0}, {0.3, 0.35, 0.0, 3.0}, {0.36, 0.41, 0.2, 1.0}, {0.42, 0.5, 0.0, 0.01}}},
    };
    const auto ref = RunMethodsReference("firls", FirlsJson(cases), TestSourceDir());
    if (!ref)
        GTEST_SKIP() << "/usr/bin/python3 with scipy is not available";
    ASSERT_EQ(ref->size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const LsCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const LeastSquaresResult r = DesignLeastSquares(c.taps, c.firType, c.bands);
        ASSERT_TRUE(r.Ok());
        ASSERT_EQ((*ref)[i].size(), r.taps.size());
        const double peak = PeakAbs((*ref)[i]);
        const double diff = MaxDiff(r.taps, (*ref)[i]);
        std::cout << "  " << c.name << ": max |h - firls| / peak = " << diff / peak << ", condition "
                  << r.conditionEstimate << ", residual " << r.relativeResidual << "\n";
        EXPECT_EQ(r.ridge, 0.0);
        EXPECT_LT(diff, 1e-9 * peak);
    }
}

// Types II, III and IV, which Debian's firls does not design, against the
// long-double solve above (and type I once, as a check of the check).
TEST(LeastSquares, OtherTypesAgreeWithExtendedPrecisionSolve)
{
    const std::vector<LsCase> cases = {
        {"lowpass 32", 32, 1, {{0.0, 0.2, 1.0, 1.0}, {0.3, 0.5, 0.0, 10.0}}},
        {"bandpass 64", 64, 1, {{0.0, 0.1, 0.0, 5.0}, {0.15, 0.3, 1.0, 1.0}, {0.35, 0.5, 0.0, 5.0}}},
        {"hilbert 31", 31, 2, {{0.05, 0.45, 1.0, 1.0}}},
        {"hilbert 32", 32, 3, {{0.05, 0.5, 1.0, 1.0}}},
        {"highpass 40", 40, 3, {{0.0, 0.2, 0.0, 8.0}, {0.27, 0.5, 1.0, 1.0}}},
        {"bandpass 63", 63, 2, {{0.0, 0.1, 0.0, 3.0}, {0.15, 0.3, 1.0, 1.0}, {0.36, 0.5, 0.0, 3.0}}},
        {"steps 64", 64, 3, {{0.02, 0.15, 0.3, 1.0}, {0.2, 0.3, 0.6, 2.0}, {0.35, 0.5, 1.0, 1.0}}},
        {"symmetric check 45", 45, 0, {{0.0, 0.2, 1.0, 1.0}, {0.28, 0.5, 0.0, 4.0}}},
    };
    for (const LsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LeastSquaresResult r = DesignLeastSquares(c.taps, c.firType, c.bands);
        ASSERT_TRUE(r.Ok());
        const std::vector<double> ref = ExtendedPrecisionSolve(c);
        const double peak = PeakAbs(ref);
        const double diff = MaxDiff(r.taps, ref);
        std::cout << "  " << c.name << ": max |h - long double| / peak = " << diff / peak << ", condition "
                  << r.conditionEstimate << "\n";
        EXPECT_LT(diff, 1e-9 * peak);
    }
}

// 1025 taps with a wide transition band: the Gram matrix is singular to
// working precision, the ridge settles it, the system solved leaves a tiny
// residual, and the design is no worse than one with a quarter of the taps.
TEST(LeastSquares, LongFilterIsSolvedWithASmallResidual)
{
    const std::vector<LeastSquaresBand> wide = {{0.0, 0.2, 1.0, 1.0}, {0.25, 0.5, 0.0, 1.0}};
    const std::vector<LeastSquaresBand> narrow = {{0.0, 0.2, 1.0, 1.0}, {0.205, 0.5, 0.0, 10.0}};
    for (const auto* bands : {&wide, &narrow}) {
        const LeastSquaresResult r = DesignLeastSquares(1025, 0, *bands);
        ASSERT_TRUE(r.Ok());
        const LeastSquaresResult shorter = DesignLeastSquares(255, 0, *bands);
        ASSERT_TRUE(shorter.Ok());
        std::cout << "  1025 taps, transition " << (*bands)[1].lower - (*bands)[0].upper << ": condition "
                  << r.conditionEstimate << ", ridge " << r.ridge << ", residual " << r.relativeResidual
                  << ", error " << r.weightedSquaredError << " (255 taps: " << shorter.weightedSquaredError << ")\n";
        EXPECT_LT(r.relativeResidual, 1e-8);
        EXPECT_LE(r.weightedSquaredError, shorter.weightedSquaredError * (1.0 + 1e-6));
        for (size_t k = 0; k < r.taps.size(); ++k) {
            ASSERT_TRUE(std::isfinite(r.taps[k]));
            ASSERT_EQ(r.taps[k], r.taps[r.taps.size() - 1 - k]);
        }
        EXPECT_LT(PeakAbs(r.taps), 1.0);
        // The pass band sits at 1 and the stop band near 0 in the middle of the bands.
        EXPECT_NEAR(LinearPhaseAmplitude(r.taps, 0, 0.1), 1.0, 1e-3);
        EXPECT_NEAR(LinearPhaseAmplitude(r.taps, 0, 0.35), 0.0, 1e-3);
    }
    const LeastSquaresResult wideResult = DesignLeastSquares(1025, 0, wide);
    EXPECT_GT(wideResult.ridge, 0.0);
}

// What the design can meet exactly, it meets: one band over the whole axis
// asking for 1 gives the unit impulse; the error is then 0.
TEST(LeastSquares, RepresentableTargetIsMetExactly)
{
    const std::vector<LeastSquaresBand> all = {{0.0, 0.5, 1.0, 3.0}};
    const LeastSquaresResult r = DesignLeastSquares(21, 0, all);
    ASSERT_TRUE(r.Ok());
    for (int k = 0; k < 21; ++k)
        EXPECT_NEAR(r.taps[static_cast<size_t>(k)], k == 10 ? 1.0 : 0.0, 1e-14);
    EXPECT_LT(r.weightedSquaredError, 1e-24);
    EXPECT_EQ(r.functions, 11);
}

TEST(LeastSquares, BadInputGivesAStatusAndNoTaps)
{
    const LeastSquaresBand ok{0.0, 0.2, 1.0, 1.0};
    const LeastSquaresBand stop{0.3, 0.5, 0.0, 1.0};
    struct Row {
        const char* name;
        int taps;
        int firType;
        std::vector<LeastSquaresBand> bands;
        LeastSquaresStatus expected;
    } rows[] = {
        {"one tap", 1, 0, {ok}, LeastSquaresStatus::BadTaps},
        {"too many taps", kLeastSquaresMaxTaps + 2, 0, {ok}, LeastSquaresStatus::BadTaps},
        {"type for the wrong parity", 32, 0, {ok}, LeastSquaresStatus::BadTaps},
        {"type 4", 33, 4, {ok}, LeastSquaresStatus::BadTaps},
        {"no bands", 31, 0, {}, LeastSquaresStatus::NoBands},
        {"nine bands", 31, 0, std::vector<LeastSquaresBand>(9, ok), LeastSquaresStatus::NoBands},
        {"edge above half", 31, 0, {{0.3, 0.6, 0.0, 1.0}}, LeastSquaresStatus::BadBand},
        {"empty band", 31, 0, {{0.2, 0.2, 0.0, 1.0}}, LeastSquaresStatus::BadBand},
        {"zero weight", 31, 0, {{0.0, 0.2, 1.0, 0.0}}, LeastSquaresStatus::BadBand},
        {"NaN value", 31, 0, {{0.0, 0.2, std::nan(""), 1.0}}, LeastSquaresStatus::BadBand},
        {"overlap", 31, 0, {ok, {0.1, 0.3, 0.0, 1.0}}, LeastSquaresStatus::BadBand},
        {"order free", 31, 0, {stop, ok}, LeastSquaresStatus::Ok},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LeastSquaresResult r = DesignLeastSquares(row.taps, row.firType, row.bands);
        EXPECT_EQ(r.status, row.expected);
        EXPECT_EQ(r.taps.size(), row.expected == LeastSquaresStatus::Ok ? static_cast<size_t>(row.taps) : 0u);
    }
}
