#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "RemezTestSupport.h"

namespace {

RemezGrid GridOf(const RemezCase& c, std::vector<RemezEdge>* bandsOut = nullptr)
{
    std::vector<RemezEdge> bands = BuildBandList(c.table.bands, c.fs);
    const int r = RemezFunctionCount(c.taps, c.FirType());
    RemezGrid g = BuildDenseGrid(bands, r, c.density, c.filterType, c.FirType());
    if (bandsOut)
        *bandsOut = bands;
    return g;
}

// Zero-phase amplitude of the taps at f, against Q(f) sum a_j cos(2 pi j f)
// of the FIR type; antisymmetric types carry the factor -j.
double Amplitude(const CPoints& h, double f, int firType)
{
    const double centre = (h.m_nCount - 1) / 2.0;
    double sum = 0.0;
    for (int n = 0; n < h.m_nCount; ++n) {
        const double t = 2.0 * M_PI * f * (n - centre);
        sum += h[n].real() * (firType >= 2 ? std::sin(t) : std::cos(t));
    }
    return sum;
}

double CosineSeries(const CPoints& a, double f, int firType)
{
    double sum = 0.0;
    for (int j = 0; j < a.m_nCount; ++j)
        sum += a[j].real() * std::cos(2.0 * M_PI * j * f);
    switch (firType) {
    case 1:
        return std::cos(M_PI * f) * sum;
    case 2:
        return std::sin(2.0 * M_PI * f) * sum;
    case 3:
        return std::sin(M_PI * f) * sum;
    default:
        return sum;
    }
}

const RemezCase kLowpass63{"lowpass 63", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 1.0)}};

}  // namespace

TEST(RemezGrid, SpacingEdgesAndSharedEdgePoints)
{
    // 63 taps: r = 32, delf = 0.5 / 512; the last point of each band sits on its upper edge.
    std::vector<RemezEdge> bands;
    const RemezGrid g = GridOf(kLowpass63, &bands);
    const double delf = 0.5 / (32 * 16);
    EXPECT_EQ(RemezFunctionCount(63, 0), 32);
    EXPECT_EQ(g.f[0], 0.0);
    EXPECT_EQ(g.f[1], delf);
    EXPECT_EQ(g.f[2], delf + delf);
    EXPECT_EQ(g.f.back(), 0.5);
    const auto edge = std::find(g.f.begin(), g.f.end(), 0.125);
    ASSERT_NE(edge, g.f.end());
    EXPECT_EQ(*(edge + 1), 0.15);  // the stop band starts at its own lower edge
    // 0.125 / delf = 64 points below the edge (the 64th moved onto it), 0.35 / delf rounded up after.
    // 0.125 / delf = 128 points below the edge, the last moved onto it; 0.35 / delf = 358.4.
    EXPECT_EQ(edge - g.f.begin(), 127);
    EXPECT_EQ(g.Size(), 128 + 359);
    EXPECT_LE(static_cast<size_t>(g.Size()), static_cast<size_t>(32 * 16 + 2 + 1));

    const RemezCase shared{"shared", 63, FT_BANDPASS,
                           {Band(1000, 2000, 0.0, 10.0), Band(2000, 3000, 1.0, 1.0)}};
    const RemezGrid s = GridOf(shared);
    const auto first = std::find(s.f.begin(), s.f.end(), 0.25);
    ASSERT_NE(first, s.f.end());
    ASSERT_EQ(*(first + 1), 0.25);
    const size_t i = static_cast<size_t>(first - s.f.begin());
    EXPECT_EQ(s.D[i], 0.0);
    EXPECT_EQ(s.W[i], 10.0);
    EXPECT_EQ(s.D[i + 1], 1.0);
    EXPECT_EQ(s.W[i + 1], 1.0);
    EXPECT_EQ(std::count(s.f.begin(), s.f.end(), 0.25), 2);
}

TEST(RemezGrid, EvenLengthDropsTheForcedZeroAndLeavesQUnfloored)
{
    // FIR type 1: the point at fs/2 cannot be met and is dropped.
    const RemezCase even{"even", 64, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 1.0)}};
    RemezGrid g = GridOf(even);
    const double delf = 0.5 / (32 * 16);
    EXPECT_LE(g.f.back(), 0.5 - delf);
    RemezGrid odd = GridOf(kLowpass63);
    EXPECT_EQ(odd.f.back(), 0.5);
    EXPECT_EQ(g.Size(), odd.Size() - 1);

    // Q is never floored (a floored Q makes the grid's error differ from
    // the taps' true weighted error); where Q vanishes the point leaves the
    // grid, as McClellan, Parks and Rabiner's program keeps such points off it.
    RemezGrid t;
    t.Append(0.0, 1.0, 2.0);
    t.Append(0.1, 1.0, 2.0);
    t.Append(0.49999, 1.0, 2.0);
    t.Append(0.5, 1.0, 2.0);
    RemezGrid t1 = t;
    ApplyFirTypeTransform(t1, 1);
    ASSERT_EQ(t1.Size(), 3);
    EXPECT_DOUBLE_EQ(t1.D[0], 1.0);
    EXPECT_DOUBLE_EQ(t1.D[1], 1.0 / std::cos(M_PI * 0.1));
    EXPECT_DOUBLE_EQ(t1.W[1], 2.0 * std::cos(M_PI * 0.1));
    EXPECT_NEAR(t1.D[2], 1.0 / std::cos(M_PI * 0.49999), 1e-6);
    EXPECT_NEAR(t1.W[2], 2.0 * std::cos(M_PI * 0.49999), 1e-15);
    EXPECT_EQ(t1.E.size(), 3u);
    RemezGrid t2 = t;
    ApplyFirTypeTransform(t2, 2);
    ASSERT_EQ(t2.Size(), 2);
    EXPECT_EQ(t2.f, (std::vector<double>{0.1, 0.49999}));
    EXPECT_NEAR(t2.W[1], 2.0 * std::sin(2.0 * M_PI * 0.49999), 1e-15);
    RemezGrid t3 = t;
    ApplyFirTypeTransform(t3, 3);
    EXPECT_EQ(t3.f, (std::vector<double>{0.1, 0.49999, 0.5}));
    EXPECT_DOUBLE_EQ(t3.W[0], 2.0 * std::sin(M_PI * 0.1));
}

TEST(RemezGrid, AntisymmetricTypesStartAtTheSpacingAndDifferentiatorsShapeDAndW)
{
    const RemezCase hilbert{"hilbert", 31, FT_HILBERT, {Band(0, 3600, 1.0, 1.0)}};
    std::vector<RemezEdge> bands;
    const RemezGrid g = GridOf(hilbert, &bands);
    const double delf = 0.5 / (15 * 16);
    EXPECT_EQ(g.f[0], delf);
    EXPECT_EQ(bands[0].lower, delf);

    const RemezEdge slope{0.0, 0.5, 1.5, 4.0};
    EXPECT_DOUBLE_EQ(DesiredValue(slope, 0.25, FT_DIFFERENTIATOR), 0.75);
    EXPECT_DOUBLE_EQ(DesiredValue(slope, 0.5, FT_DIFFERENTIATOR), 1.5);  // the value at fs/2
    EXPECT_DOUBLE_EQ(DesiredValue(slope, 0.25, FT_LOWPASS), 1.5);
    EXPECT_DOUBLE_EQ(WeightValue(slope, 0.25, FT_DIFFERENTIATOR), 16.0);
    EXPECT_DOUBLE_EQ(WeightValue(slope, 0.25, FT_HILBERT), 4.0);
    EXPECT_DOUBLE_EQ(WeightValue({0.0, 0.5, 0.0, 4.0}, 0.25, FT_DIFFERENTIATOR), 4.0);
    EXPECT_DOUBLE_EQ(WeightValue({0.0, 0.5, 0.0001, 4.0}, 0.25, FT_DIFFERENTIATOR), 16.0);
    EXPECT_DOUBLE_EQ(WeightValue({0.0, 0.5, 0.00009, 4.0}, 0.25, FT_DIFFERENTIATOR), 4.0);
}

TEST(RemezSteps, InitialSetBarycentricWeightsAndInterpolation)
{
    const std::vector<ExtremalPoint> init = InitialExtremalSet(101, 3);
    ASSERT_EQ(init.size(), 4u);
    EXPECT_EQ(init[0].index, 0);
    EXPECT_EQ(init[1].index, 33);
    EXPECT_EQ(init[2].index, 66);
    EXPECT_EQ(init[3].index, 100);

    std::vector<ExtremalPoint> ext(3);
    ext[0].x = 1.0;
    ext[1].x = 0.0;
    ext[2].x = -1.0;
    ComputeBaryWeights(ext);
    EXPECT_DOUBLE_EQ(ext[0].ad, 1.0 / (2.0 * 1.0 * 2.0 * 2.0));
    EXPECT_DOUBLE_EQ(ext[1].ad, 1.0 / (2.0 * -1.0 * 2.0 * 1.0));
    EXPECT_DOUBLE_EQ(ext[2].ad, 1.0 / (2.0 * -2.0 * 2.0 * -1.0));
    // Through (1, 1), (0, 0), (-1, 1): the parabola x^2.
    ext[0].y = 1.0;
    ext[2].y = 1.0;
    EXPECT_NEAR(EvaluateAtCosine(ext, 0.5), 0.25, 1e-15);
    EXPECT_EQ(EvaluateAtCosine(ext, 1.0 - 5e-7), 1.0);   // within 1e-6 of a node: its value
    EXPECT_NE(EvaluateAtCosine(ext, 1.0 - 2e-6), 1.0);
    EXPECT_NEAR(EvaluateAtCosine(ext, 1.0 - 5e-7, 1e-9), (1.0 - 5e-7) * (1.0 - 5e-7), 1e-15);

    // Coinciding nodes: the repeated one drops out, the others keep the
    // weights of the distinct set (up to a common factor), so the
    // interpolant still runs through every distinct node.
    std::vector<ExtremalPoint> same(4);
    same[0].x = 1.0;
    same[1].x = 0.5;
    same[2].x = 0.5;
    same[3].x = -0.5;
    ComputeBaryWeights(same);
    EXPECT_EQ(same[2].ad, 0.0);
    const double w0 = 1.0 / (2.0 * 0.5 * 2.0 * 1.5);
    const double w1 = 1.0 / (2.0 * -0.5 * 2.0 * 1.0);
    const double w3 = 1.0 / (2.0 * -1.5 * 2.0 * -1.0);
    EXPECT_DOUBLE_EQ(same[1].ad / same[0].ad, w1 / w0);
    EXPECT_DOUBLE_EQ(same[3].ad / same[0].ad, w3 / w0);
    same[0].y = 1.0;
    same[1].y = 0.25;
    same[2].y = 7.0;  // ignored
    same[3].y = 0.25;
    EXPECT_NEAR(EvaluateAtCosine(same, 0.0), 0.0, 1e-15);  // the parabola x^2 again
    EXPECT_EQ(EvaluateAtCosine(same, 0.5), 0.25);
}

TEST(RemezSteps, CloseNodesKeepTheirTrueWeights)
{
    // 40 nodes packed into [0.9, 1]: every product is far below 1e-9, where
    // a substitute 1e9 would make the formula interpolate nothing. The
    // weights are scaled by one common factor instead.
    std::vector<ExtremalPoint> ext(40);
    for (size_t k = 0; k < ext.size(); ++k) {
        ext[k].x = 1.0 - 0.1 * static_cast<double>(k) / 39.0;
        ext[k].y = std::sin(3.0 * ext[k].x);
    }
    ComputeBaryWeights(ext);
    double largest = 0.0;
    for (size_t k = 0; k < ext.size(); ++k) {
        EXPECT_TRUE(std::isfinite(ext[k].ad));
        EXPECT_NE(ext[k].ad, 0.0);
        largest = std::max(largest, std::fabs(ext[k].ad));
        if (k > 0) {
            EXPECT_LT(ext[k].ad * ext[k - 1].ad, 0.0) << k;  // the signs alternate
        }
    }
    EXPECT_GE(largest, 1.0);
    EXPECT_LT(largest, 2.0);
    // Ratios against the exact weights 1 / prod (x_k - x_j), from long double.
    auto exact = [&](size_t k) {
        long double p = 1.0L;
        for (size_t j = 0; j < ext.size(); ++j)
            if (j != k)
                p *= static_cast<long double>(ext[k].x) - ext[j].x;
        return 1.0L / p;
    };
    for (size_t k : {size_t{1}, size_t{17}, size_t{39}})
        EXPECT_NEAR(static_cast<double>(ext[k].ad / ext[0].ad), static_cast<double>(exact(k) / exact(0)),
                    1e-12 * std::fabs(static_cast<double>(exact(k) / exact(0))));
    // The interpolant goes through the nodes and between them stays the polynomial.
    EXPECT_NEAR(EvaluateAtCosine(ext, 0.95123, 0.0), std::sin(3.0 * 0.95123), 1e-9);
}

TEST(RemezSteps, DeviationLevelsTheErrorAtTheNodes)
{
    RemezGrid g;
    for (int i = 0; i <= 100; ++i)
        g.Append(0.005 * i, i <= 40 ? 1.0 : 0.0, i <= 40 ? 1.0 : 5.0);
    std::vector<ExtremalPoint> ext = InitialExtremalSet(g.Size(), 5);
    ComputeCosines(g, ext);
    ComputeBaryWeights(ext);
    const double delta = ComputeDeviation(g, ext);
    ComputeExtremalValues(g, ext, delta);
    ComputeError(g, ext);
    double sign = 1.0;
    for (const ExtremalPoint& p : ext) {
        EXPECT_NEAR(g.E[static_cast<size_t>(p.index)], -sign * delta, 1e-15);
        sign = -sign;
    }
    EXPECT_EQ(ext[0].y, g.D[0] - delta / g.W[0]);
}

TEST(RemezSearch, StrictExtremaWithTheSignRuleAndTheGridEnds)
{
    // Equal neighbours make no extremum; index 10 (3 after 4) is none either.
    const std::vector<double> e = {-3, -1, 2, 1, 1, -2, -1, -1.5, 4, 4, 3};
    EXPECT_EQ(SearchExtrema(e, 11, 5), (std::vector<int>{0, 2, 5, 7, 10, 10}));
    // Too few: completed with the last grid index.
    const std::vector<double> rising = {-1, 0, 1, 2, 3};
    EXPECT_EQ(SearchExtrema(rising, 5, 3), (std::vector<int>{0, 4, 4, 4}));
    // A positive local minimum and a negative local maximum are no candidates.
    const std::vector<double> humps = {1, 3, 2, 3, -1, -2, -1, -2, -1};
    EXPECT_EQ(SearchExtrema(humps, 9, 3), (std::vector<int>{1, 3, 5, 7}));
}

TEST(RemezSearch, ThinningTieBreaks)
{
    // Errors whose only candidates are the given peaks, at the odd indices 1, 3, 5, ...
    auto peaks = [](std::vector<double> p) {
        std::vector<double> e(2 * p.size() + 1);
        e.front() = p.front() / 2;
        e.back() = p.back() / 2;
        for (size_t i = 0; i < p.size(); ++i) {
            e[2 * i + 1] = p[i];
            if (i + 1 < p.size()) {
                const double a = p[i];
                const double b = p[i + 1];
                const bool sameSign = (a > 0 && b > 0) || (a < 0 && b < 0);
                e[2 * i + 2] = sameSign ? (std::fabs(a) < std::fabs(b) ? a : b) / 2 : (a + b) / 2;
            }
        }
        return e;
    };
    auto search = [&](std::vector<double> p, int r) {
        const std::vector<double> e = peaks(p);
        return SearchExtrema(e, static_cast<int>(e.size()), r);
    };
    // Two positives in a row: the smaller of the two goes; equal, the later.
    EXPECT_EQ(search({5, 3, -4, 6}, 2), (std::vector<int>{1, 5, 7}));
    EXPECT_EQ(search({3, 5, -4, 6}, 2), (std::vector<int>{3, 5, 7}));
    EXPECT_EQ(search({3, 3, -4, 6}, 2), (std::vector<int>{1, 5, 7}));
    // An error of 0 is no change of sign: the walk stops at it (counted as a
    // change it would run to the end and drop the last peak instead).
    EXPECT_EQ(search({4, 0, 5, -3, 2}, 3), (std::vector<int>{1, 5, 7, 9}));
    // All alternating, one too many: the end with the smaller error goes, the first on a tie.
    EXPECT_EQ(search({2, -3, 3, -1}, 2), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(search({1, -3, 3, -2}, 2), (std::vector<int>{3, 5, 7}));
    EXPECT_EQ(search({2, -3, 3, -2}, 2), (std::vector<int>{3, 5, 7}));
    // More than one too many: the smallest goes (the first of equals), then the pair rule.
    EXPECT_EQ(search({2, -1, 3, -1, 4}, 2), (std::vector<int>{5, 7, 9}));
    // Many more local extrema than 4 r: the list holds them all.
    std::vector<double> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(i % 2 ? -1.0 - i : 1.0 + i);
    const std::vector<int> kept = search(many, 2);
    EXPECT_EQ(kept, (std::vector<int>{115, 117, 119}));
}

namespace {

// The thinning as its rule reads, one removal per step with the walk
// started over each time: the model the one-pass thinning must equal.
std::vector<int> ThinStepByStep(std::vector<int> cand, const std::vector<double>& E, int wanted)
{
    auto err = [&](size_t i) { return E[static_cast<size_t>(cand[i])]; };
    for (int extra = static_cast<int>(cand.size()) - wanted; extra > 0; --extra) {
        bool positive = err(0) > 0.0;
        size_t weakest = 0;
        bool removed = false;
        for (size_t i = 1; i < cand.size() && !removed; ++i) {
            const double e = err(i);
            if (!(positive ? e < 0.0 : e > 0.0)) {
                cand.erase(cand.begin() + static_cast<std::ptrdiff_t>(std::fabs(err(i - 1)) < std::fabs(e) ? i - 1 : i));
                removed = true;
                break;
            }
            positive = e > 0.0;
            if (std::fabs(e) < std::fabs(err(weakest)))
                weakest = i;
        }
        if (removed)
            continue;
        if (extra == 1)
            cand.erase(std::fabs(err(0)) > std::fabs(err(cand.size() - 1)) ? cand.end() - 1 : cand.begin());
        else
            cand.erase(cand.begin() + static_cast<std::ptrdiff_t>(weakest));
    }
    return cand;
}

}  // namespace

TEST(RemezSearch, OnePassThinningEqualsTheStepRule)
{
    // Noisy errors with long runs of one sign, exact ties and zeros: many
    // more candidates than r + 1, as on a grid whose error is lost in rounding.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int trial = 0; trial < 300; ++trial) {
        const int g = 20 + trial * 7 % 400;
        std::vector<double> e(static_cast<size_t>(g));
        for (double& v : e) {
            v = std::round(noise(rng) * (trial % 3 == 0 ? 4.0 : 1000.0)) / 4.0;
            if (trial % 5 == 0)
                v = std::fabs(v) * (rng() % 7 == 0 ? -1.0 : 1.0);
        }
        const int r = 1 + static_cast<int>(rng() % static_cast<unsigned>(g / 3));
        // The candidates of the search's first step.
        auto candidate = [](double x, double a, double b) { return (x >= 0.0 && x > a && x > b) || (x <= 0.0 && x < a && x < b); };
        std::vector<int> all;
        for (int i = 0; i < g; ++i) {
            const double x = e[static_cast<size_t>(i)];
            const double left = i > 0 ? e[static_cast<size_t>(i) - 1] : e[1];
            const double right = i + 1 < g ? e[static_cast<size_t>(i) + 1] : left;
            if (candidate(x, left, right))
                all.push_back(i);
        }
        if (static_cast<int>(all.size()) <= r + 1)
            continue;
        SCOPED_TRACE("trial " + std::to_string(trial));
        EXPECT_EQ(SearchExtrema(e, g, r), ThinStepByStep(all, e, r + 1));
    }
}

TEST(RemezSearch, ConvergenceTestOnTheExtremalErrors)
{
    std::vector<ExtremalPoint> ext(3);
    ext[0].index = 0;
    ext[1].index = 1;
    ext[2].index = 2;
    EXPECT_TRUE(IsConverged({1.0, -1.000005, 1.0}, ext));
    EXPECT_FALSE(IsConverged({1.0, -1.00002, 1.0}, ext));
    EXPECT_FALSE(IsConverged({0.0, 0.0, 0.0}, ext));  // 0 / 0 is not converged
    EXPECT_TRUE(IsConverged({1.0, -1.002, 1.0}, ext, 1e-2));
    // Level but not alternating, or a point repeated to fill the set: not converged.
    EXPECT_FALSE(IsConverged({1.0, 1.0, -1.0}, ext));
    std::vector<ExtremalPoint> filled = ext;
    filled[2].index = 1;
    EXPECT_FALSE(IsConverged({1.0, -1.0, 1.0}, filled));
}

TEST(RemezTaps, EachFirTypeRealisesItsCosineSeries)
{
    // Taps from arbitrary coefficients must have the amplitude Q(f) sum a_j cos(2 pi j f).
    for (int firType = 0; firType < 4; ++firType) {
        for (int taps : {4, 5, 6, 7, 24, 33, 64, 65}) {
            if ((firType == 0 || firType == 2) != (taps % 2 == 1))
                continue;
            const int r = RemezFunctionCount(taps, firType);
            CPoints a(r);
            for (int j = 0; j < r; ++j)
                a[j] = Complex(std::cos(1.7 * j + 0.3) / (1.0 + j), 0.0);
            CPoints h(taps);
            CoefficientsToTaps(a, r, firType, h);
            double sign = 0.0;
            for (double f = 0.013; f < 0.5; f += 0.041) {
                const double amp = Amplitude(h, f, firType);
                const double series = CosineSeries(a, f, firType);
                if (sign == 0.0)
                    sign = amp * series < 0 ? -1.0 : 1.0;
                EXPECT_NEAR(amp, sign * series, 1e-12) << "type " << firType << " taps " << taps << " f " << f;
            }
            for (int k = 0; k < taps; ++k) {
                EXPECT_EQ(h[k].imag(), 0.0);
                EXPECT_EQ(h[k].real(), (firType >= 2 ? -1.0 : 1.0) * h[taps - 1 - k].real());
            }
        }
    }
}

TEST(RemezTaps, TypeThreeWithFiveTapsCountsTheMissingCoefficientAsZero)
{
    CPoints a(2);
    a[0] = Complex(0.8, 0.0);
    a[1] = Complex(-0.4, 0.0);
    CPoints h(5);
    CoefficientsToTaps(a, 2, 2, h);
    EXPECT_DOUBLE_EQ(h[0].real(), -0.1);
    EXPECT_DOUBLE_EQ(h[1].real(), 0.4);
    EXPECT_EQ(h[2].real(), 0.0);
    EXPECT_DOUBLE_EQ(h[3].real(), -0.4);
    EXPECT_DOUBLE_EQ(h[4].real(), 0.1);
}

TEST(RemezDesign, OddLowpassConvergesSymmetricAndEquiripple)
{
    CPoints h;
    std::vector<std::vector<int>> trace;
    RemezOptions options;
    options.pTrace = &trace;
    const RemezResult result = RunDesign(kLowpass63, h, options);
    const int passes = result.nPasses;
    EXPECT_TRUE(result.Converged());
    EXPECT_GE(passes, 2);
    EXPECT_LE(passes, 16);
    EXPECT_EQ(static_cast<int>(trace.size()), passes);
    for (int k = 0; k < 63; ++k)
        EXPECT_EQ(h[k].real(), h[62 - k].real()) << k;

    // Equal weighted ripple in both bands (weights 1 and 1): on the grid to
    // the convergence limit, between its points nearly so; r + 1 = 33
    // alternating peaks of that size.
    const std::vector<double> peaks = GridPeaks(h, kLowpass63);
    ASSERT_EQ(peaks.size(), 2u);
    EXPECT_NEAR(peaks[0] / peaks[1], 1.0, 1e-4);
    EXPECT_LT(peaks[0], 0.05);
    const std::vector<double> fine = BandPeaks(h, kLowpass63, 0.5 / (32 * 64));
    EXPECT_NEAR(fine[0] / fine[1], 1.0, 2e-3);
    const RemezGrid g = GridOf(kLowpass63);
    int alternations = 0;
    double last = 0.0;
    for (size_t i = 0; i < g.f.size(); ++i) {
        const RemezBand& b = g.f[i] <= 0.125 ? kLowpass63.table.bands[0] : kLowpass63.table.bands[1];
        // The amplitude, signed: |H| folds the stop band's negative lobes.
        const double amp = Amplitude(h, g.f[i], 0);
        const double e = (amp - b.m_dValue) * b.m_dWeight;
        if (std::fabs(e) > (1.0 - 1e-4) * peaks[0] && e * last <= 0.0) {
            ++alternations;
            last = e;
        }
    }
    EXPECT_GE(alternations, 33);
}

TEST(RemezDesign, HilbertTapsAreAntisymmetricWithAZeroCentre)
{
    const RemezCase odd{"hilbert 31", 31, FT_HILBERT, {Band(200, 3800, 1.0, 1.0)}};
    CPoints h;
    EXPECT_TRUE(RunDesign(odd, h).Converged());
    EXPECT_EQ(h[15].real(), 0.0);
    for (int k = 0; k < 31; ++k)
        EXPECT_EQ(h[k].real(), -h[30 - k].real());
    EXPECT_NEAR(std::abs(Response(h, 0.25)), 1.0, 0.05);

    const RemezCase even = PresetCase(9);  // "Hilbert 20"
    EXPECT_TRUE(RunDesign(even, h).Converged());
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(h[k].real(), -h[19 - k].real());
}

TEST(RemezDesign, DifferentiatorFollowsTheSlope)
{
    const RemezCase diff = PresetCase(8);  // "differentiator 33": 0 .. 3500 Hz, value 1
    CPoints h;
    EXPECT_TRUE(RunDesign(diff, h).Converged());
    for (double f = 0.05; f < 0.4; f += 0.05)
        EXPECT_NEAR(std::abs(Response(h, f)) / (2.0 * f), 1.0, 0.01) << f;
    // The relative error is what is levelled: weight 1 / f.
    const std::vector<double> peaks = BandPeaks(h, diff, 0.5 / (16 * 64));
    EXPECT_LT(peaks[0], 0.01);
}

TEST(RemezDesign, ATooSmallGridIsMetExactly)
{
    // One band 10 Hz wide: two grid points for 33 extremal points. The set
    // repeats its points; without the repeats two nodes remain, the error
    // levels at 0 and the design meets both points.
    const RemezCase narrow{"narrow", 63, FT_LOWPASS, {Band(0, 10, 1.0, 1.0)}};
    CPoints h;
    const RemezResult report = RunDesign(narrow, h);
    EXPECT_EQ(report.nGridSize, 2);
    EXPECT_TRUE(report.Converged());
    EXPECT_TRUE(report.bExact);
    EXPECT_EQ(report.nPasses, 1);
    for (int k = 0; k < 63; ++k)
        EXPECT_TRUE(std::isfinite(h[k].real()));
    EXPECT_NEAR(std::abs(Response(h, 0.0)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Response(h, 10.0 / 8000)), 1.0, 1e-12);
}

TEST(RemezDesign, AResponseBeyondDoublePrecisionNeverConverges)
{
    // A 2000 Hz transition for 63 taps asks for a ripple far below what
    // doubles resolve: the 1e-5 test is never met.
    const RemezCase easy{"easy", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(3000, 4000, 0.0, 1.0)}};
    CPoints h;
    const RemezResult result = RunDesign(easy, h);
    EXPECT_EQ(result.nPasses, 64);
    EXPECT_EQ(result.status, RemezStatus::DidNotConverge);
    EXPECT_EQ(h.m_nCount, 63);
    // The taps are still the best the passes found: the levelled error is
    // about 1e-13 and the taps come within a few per cent of it.
    EXPECT_LT(result.dWeightedError, 2.0 * result.dDelta);
    EXPECT_LT(result.dWeightedError, 1e-12);
}

TEST(RemezDesign, NoGridAtAllGivesZeroTapsAndTheFailureCount)
{
    // A Hilbert band narrower than the spacing it is moved to; and no band at all.
    const RemezCase tiny{"tiny", 20, FT_HILBERT, {Band(0, 1, 1.0, 1.0)}};
    CPoints h(20);
    h[3] = Complex(5.0, 0.0);
    EXPECT_EQ(RunDesign(tiny, h).status, RemezStatus::NoGrid);
    EXPECT_EQ(h.GetMaxMagnitude(), 0.0);
    const RemezCase none{"none", 20, FT_LOWPASS, {}};
    EXPECT_EQ(RunDesign(none, h).nPasses, 64);
    EXPECT_EQ(h.m_nCount, 20);
    // A density below 1 is read as 1 instead of stepping backwards forever.
    RemezCase backwards = kLowpass63;
    backwards.density = -4;
    RunDesign(backwards, h);
    EXPECT_EQ(h.m_nCount, 63);
}

TEST(RemezDesign, LongFiltersStartFromACoarserDesign)
{
    // 1025 taps with a 50 Hz transition: the evenly spread start levels the
    // error at about 1e-17, below what a desired value of 1 resolves.
    const RemezCase longLowpass{"lowpass 1025", 1025, FT_LOWPASS,
                                {Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)}};
    std::vector<RemezEdge> bands;
    RemezGrid g = GridOf(longLowpass, &bands);
    ApplyFirTypeTransform(g, 0);
    std::vector<ExtremalPoint> ext = InitialExtremalSet(g.Size(), 513);
    ComputeCosines(g, ext);
    ComputeBaryWeights(ext);
    const double delta = ComputeDeviation(g, ext);
    EXPECT_LT(std::fabs(delta), 1e-15);
    ComputeExtremalValues(g, ext, delta);
    EXPECT_TRUE(IsLevelLost(g, ext, delta));

    CPoints h;
    const RemezResult report = RunDesign(longLowpass, h);
    EXPECT_TRUE(report.Converged());
    EXPECT_LT(report.nPasses, 20);
    EXPECT_GE(report.nStartStages, 1);
    EXPECT_GT(report.nStartPasses, 0);
    const std::vector<double> peaks = GridPeaks(h, longLowpass);
    EXPECT_NEAR(peaks[0] / peaks[1], 1.0, 1e-4);
    EXPECT_LT(peaks[0], 2e-5);

    // The presets and short designs never need it.
    for (int preset = 2; preset <= 10; ++preset) {
        const RemezResult r = RunDesign(PresetCase(preset), h);
        EXPECT_EQ(r.nStartStages, 0) << preset;
    }
}

// Densities of 32 and more start from the same design on a grid of density
// 8, and still reach the dense grid's optimum: the density-16 design is one
// candidate on the dense grid too, so the dense design's largest weighted
// error there is no larger than the density-16 design's, and it is level
// across both bands at |delta|.
TEST(RemezDesign, DenseGridsStartFromTheSameDesignOnASparseGrid)
{
    for (int taps : {63, 255}) {
        const RemezCase sparse{"lowpass", taps, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 10.0)}};
        CPoints h16;
        const RemezResult r16 = RunDesign(sparse, h16);
        ASSERT_TRUE(r16.Converged());
        EXPECT_EQ(r16.nStartStages, 0);
        for (int density : {32, 64}) {
            SCOPED_TRACE(std::to_string(taps) + " taps, density " + std::to_string(density));
            RemezCase dense = sparse;
            dense.density = density;
            CPoints h;
            const RemezResult r = RunDesign(dense, h);
            ASSERT_TRUE(r.Converged());
            EXPECT_EQ(r.nStartStages, 1);
            EXPECT_GT(r.nStartPasses, 0);
            EXPECT_LT(r.nPasses, r16.nPasses);
            const std::vector<double> peaks = GridPeaks(h, dense);
            const std::vector<double> peaks16 = GridPeaks(h16, dense);
            const double worst = std::max(peaks[0], peaks[1]);
            EXPECT_LE(worst, std::max(peaks16[0], peaks16[1]) * (1.0 + 1e-9));
            EXPECT_NEAR(peaks[0] / peaks[1], 1.0, 1e-3);
            EXPECT_NEAR(worst, r.dDelta, 1e-3 * r.dDelta);
        }
    }
}

TEST(RemezDesign, DenseGridsNarrowTheNodeTest)
{
    const RemezGrid coarse = GridOf(kLowpass63);
    EXPECT_EQ(NodeTolerance(coarse), kNodeTolerance);
    RemezCase dense = kLowpass63;
    dense.taps = 255;
    dense.density = 64;
    const RemezGrid g = GridOf(dense);
    const double tol = NodeTolerance(g);
    EXPECT_LT(tol, 1e-6);
    // No neighbour of a grid point lies within the tolerance of it.
    for (size_t i = 1; i < g.f.size(); ++i) {
        const double gap = std::fabs(GridCosine(g.f[i]) - GridCosine(g.f[i - 1]));
        if (gap > 0.0) {
            EXPECT_GE(gap, 2.0 * tol);
        }
    }
    // With the plain 1e-6 test such a design (255 taps, density 64) levels
    // the errors of the grid ends into flat runs and stops converging.
    CPoints h;
    const RemezResult result = RunDesign(dense, h);
    EXPECT_TRUE(result.Converged());
    EXPECT_LT(result.nPasses, 30);
    const std::vector<double> peaks = GridPeaks(h, dense);
    EXPECT_NEAR(peaks[0] / peaks[1], 1.0, 1e-4);
}

TEST(RemezDesign, CoarseSetsStretchOntoTheGrid)
{
    RemezGrid g;
    for (int i = 0; i <= 50; ++i)
        g.Append(0.01 * i, 1.0, 1.0);
    auto indices = [](const std::vector<ExtremalPoint>& ext) {
        std::vector<int> out;
        for (const ExtremalPoint& p : ext)
            out.push_back(p.index);
        return out;
    };
    EXPECT_EQ(indices(ScaleExtremalSet({0.0, 0.2, 0.5}, g, 4)), (std::vector<int>{0, 10, 20, 35, 50}));
    // Points that fall together are spread to distinct grid points.
    EXPECT_EQ(indices(ScaleExtremalSet({0.0, 0.001, 0.5}, g, 4)), (std::vector<int>{0, 1, 2, 25, 50}));
    EXPECT_EQ(indices(ScaleExtremalSet({0.5, 0.5, 0.5}, g, 4)), (std::vector<int>{46, 47, 48, 49, 50}));
}
