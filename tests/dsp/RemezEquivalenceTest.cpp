#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>
#include <vector>

#include "RemezTestSupport.h"
#include "dsp/RemezChebyshev.h"
#include "dsp/RemezKernel.h"

namespace {

struct Outcome {
    RemezResult result;
    std::vector<std::vector<int>> trace;
    CPoints taps;
};

Outcome Design(const RemezCase& c, bool reference, int threads)
{
    Outcome o;
    RemezOptions options;
    options.bReference = reference;
    options.nThreads = threads;
    options.pTrace = &o.trace;
    o.result = RunDesign(c, o.taps, options);
    return o;
}

std::vector<RemezCase> Cases()
{
    std::vector<RemezCase> cases;
    for (int preset = 1; preset <= 10; ++preset) {
        RemezCase c = PresetCase(preset);
        c.name = "preset";
        cases.push_back(c);
    }
    const BandTable narrow{Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)};
    cases.push_back({"lowpass 63", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 1.0)}});
    cases.push_back({"lowpass 255", 255, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 511", 511, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 255 density 64", 255, FT_LOWPASS, narrow, 64});
    cases.push_back({"lowpass 1024", 1024, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 1025 density 64", 1025, FT_LOWPASS, narrow, 64});
    cases.push_back({"hilbert 255", 255, FT_HILBERT, {Band(100, 3900, 1.0, 1.0)}, 32});
    cases.push_back({"differentiator 128", 128, FT_DIFFERENTIATOR, {Band(0, 3600, 1.5, 1.0)}, 32});
    cases.push_back({"no convergence", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(3000, 4000, 0.0, 1.0)}});
    return cases;
}

}  // namespace

// The fast evaluation (Chebyshev series by Clenshaw, vectorised, one or two
// threads) must make the same exchange as the plain per-point barycentric
// loop: the same extremal set after every pass, the same pass count and,
// since both finish the taps from the same set the same way, the same taps
// bit for bit. The series differs from the barycentric values only by
// rounding (held below 1e-6 of the levelled error, see below), far below
// the gaps between neighbouring grid errors that decide the extremal set.
TEST(RemezEquivalence, FastPassesEqualThePlainLoop)
{
    for (const RemezCase& c : Cases()) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.taps) + " taps");
        const Outcome plain = Design(c, true, 1);
        ASSERT_FALSE(plain.trace.empty());
        for (int threads : {1, 2}) {
            const Outcome fast = Design(c, false, threads);
            EXPECT_EQ(fast.result.status, plain.result.status);
            EXPECT_EQ(fast.result.nPasses, plain.result.nPasses);
            if (!plain.result.Converged()) {
                // Passes that see only rounding noise may wander apart; both
                // still end with finite taps near the levelled error.
                for (int k = 0; k < c.taps; ++k)
                    ASSERT_TRUE(std::isfinite(fast.taps[k].real()));
                EXPECT_LT(fast.result.dWeightedError, 2.0 * plain.result.dWeightedError);
                continue;
            }
            EXPECT_EQ(fast.result.nStartStages, plain.result.nStartStages);
            EXPECT_EQ(fast.result.nStartPasses, plain.result.nStartPasses);
            ASSERT_EQ(fast.trace.size(), plain.trace.size());
            for (size_t p = 0; p < plain.trace.size(); ++p)
                ASSERT_EQ(fast.trace[p], plain.trace[p]) << "pass " << p;
            for (int k = 0; k < c.taps; ++k)
                ASSERT_EQ(fast.taps[k].real(), plain.taps[k].real()) << "tap " << k;
        }
    }
}

namespace {

// One pass of the long lowpass from its evenly spread start, or from the
// converged set when converged is set.
struct PassSetup {
    RemezGrid grid;
    std::vector<ExtremalPoint> ext;
    double delta = 0.0;
    int r = 0;
};

PassSetup PreparePass(const RemezCase& c, const std::vector<int>* indices)
{
    PassSetup s;
    std::vector<RemezEdge> bands = BuildBandList(c.table.bands, c.fs);
    s.r = RemezFunctionCount(c.taps, c.FirType());
    s.grid = BuildDenseGrid(bands, s.r, c.density, c.filterType, c.FirType());
    ApplyFirTypeTransform(s.grid, c.FirType());
    s.ext = InitialExtremalSet(s.grid.Size(), s.r);
    if (indices)
        for (size_t k = 0; k < s.ext.size(); ++k)
            s.ext[k].index = (*indices)[k];
    ComputeCosines(s.grid, s.ext);
    ComputeBaryWeights(s.ext);
    s.delta = ComputeDeviation(s.grid, s.ext);
    ComputeExtremalValues(s.grid, s.ext, s.delta);
    return s;
}

}  // namespace

// The evaluator against the scalar statements, on every vector unit of this
// processor: the series at every grid point and the coefficients from the
// Chebyshev samples, bit for bit (same operations in the same order, fused
// multiply-adds where the scalar code has std::fma and nowhere else, under
// GCC and Clang alike).
TEST(RemezEquivalence, VectorKernelsEqualTheirScalarCode)
{
    const RemezCase c{"lowpass 255", 255, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)}, 16};
    std::vector<std::pair<RemezVectorUnit, int>> runs;
    for (RemezVectorUnit unit : AvailableRemezVectorUnits())
        runs.insert(runs.end(), {{unit, 1}, {unit, 2}});
    for (const auto& [unit, threads] : runs) {
        SCOPED_TRACE("unit " + std::to_string(static_cast<int>(unit)) + ", " + std::to_string(threads) + " threads");
        PassSetup s = PreparePass(c, nullptr);
        RemezErrorEvaluator fast(s.grid, s.r, threads, unit);
        const std::vector<double> coeffs = fast.Coefficients(s.ext, s.r + 1);
        EXPECT_EQ(coeffs, InterpolantCoefficients(s.ext, s.r + 1));
        fast.ComputeSeriesError(coeffs);
        for (int i = 0; i < s.grid.Size(); ++i) {
            const size_t u = static_cast<size_t>(i);
            const double a = ChebyshevSeries(coeffs.data(), s.r + 1, GridCosine(s.grid.f[u]));
            ASSERT_EQ(s.grid.E[u], (a - s.grid.D[u]) * s.grid.W[u]) << i;
        }
    }
}

// The series against the barycentric formula on a converged pass of a
// 1025-tap design (the largest r): the weighted errors agree to within the
// series' own error bound, n eps sum |c_j| max W, which the evaluator keeps
// below 1e-6 |delta| before it uses the series at all.
TEST(RemezEquivalence, SeriesErrorsMatchTheBarycentricFormula)
{
    const RemezCase c{"lowpass 1025", 1025, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)}, 16};
    std::vector<std::vector<int>> trace;
    RemezOptions options;
    options.pTrace = &trace;
    CPoints h;
    ASSERT_TRUE(RunDesign(c, h, options).Converged());
    PassSetup s = PreparePass(c, &trace.back());
    const RemezGrid plainGrid = [&] {
        RemezGrid g = s.grid;
        ComputeError(g, s.ext, NodeTolerance(g));
        return g;
    }();
    RemezErrorEvaluator fast(s.grid, s.r, 1);
    fast.ComputeError(s.ext, s.delta, NodeTolerance(s.grid));
    EXPECT_EQ(fast.BarycentricPasses(), 0);
    double largest = 0.0;
    for (int i = 0; i < s.grid.Size(); ++i) {
        const size_t u = static_cast<size_t>(i);
        largest = std::max(largest, std::fabs(s.grid.E[u] - plainGrid.E[u]));
    }
    std::cout << "  largest |E series - E barycentric| = " << largest << " for |delta| = " << std::fabs(s.delta)
              << "\n";
    EXPECT_LT(largest, RemezErrorEvaluator::kSeriesShare * std::fabs(s.delta));
}

// Where the interpolant is huge between the bands the series is not used.
TEST(RemezEquivalence, HugeInterpolantsFallBackToTheBarycentricFormula)
{
    const RemezCase c{"wide gaps", 30, FT_BANDPASS, {Band(9821, 10609, 1.0, 1.0), Band(17235, 18817, 0.0, 1.0)}, 12,
                      48000};
    PassSetup s = PreparePass(c, nullptr);
    RemezGrid plainGrid = s.grid;
    ComputeError(plainGrid, s.ext, NodeTolerance(plainGrid));
    RemezErrorEvaluator fast(s.grid, s.r, 1);
    fast.ComputeError(s.ext, s.delta, NodeTolerance(s.grid));
    EXPECT_EQ(fast.BarycentricPasses(), 1);
    for (int i = 0; i < s.grid.Size(); ++i)
        EXPECT_EQ(s.grid.E[static_cast<size_t>(i)], plainGrid.E[static_cast<size_t>(i)]) << i;
}

TEST(RemezEquivalence, ThreadsFollowTheSizeOfTheWork)
{
    RemezCase small = PresetCase(3);
    EXPECT_EQ(Design(small, false, 0).result.nThreads, 1);
    RemezCase large{"lowpass 1025", 1025, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)}, 64};
    EXPECT_EQ(Design(large, false, 1).result.nThreads, 1);
    EXPECT_EQ(Design(large, false, 2).result.nThreads, 2);
    EXPECT_EQ(Design(large, true, 2).result.nThreads, 1);
}

namespace {

// The five-band table of 808 to 1025 taps at density 64 (bands 0-100,
// 200-800, 900-2000, 2100-3000 and 3100-4000 Hz, values 0 1 0 1 0, weights
// 1 1 10 1 10): levels near 1e-8 to 1e-10, where no pass can use the series.
RemezCase FiveBands(int taps)
{
    return {"five bands", taps, FT_BANDPASS,
            {Band(0, 100, 0.0, 1.0), Band(200, 800, 1.0, 1.0), Band(900, 2000, 0.0, 10.0),
             Band(2100, 3000, 1.0, 1.0), Band(3100, 4000, 0.0, 10.0)},
            64};
}

}  // namespace

// Errors at chosen grid points (the nodes, their neighbours, a spread of
// others) are those of a whole barycentric pass there, bit for bit, on every
// vector unit and in the scalar code; the other points keep what they held.
TEST(RemezEquivalence, WindowErrorsEqualThoseOfAWholePass)
{
    const RemezCase c = FiveBands(808);
    PassSetup s = PreparePass(c, nullptr);
    const double tol = NodeTolerance(s.grid);
    RemezGrid whole = s.grid;
    ComputeError(whole, s.ext, tol);
    std::vector<int> points;
    for (int i = 0; i < s.grid.Size(); ++i) {
        const bool nearNode = std::any_of(s.ext.begin(), s.ext.end(),
                                          [&](const ExtremalPoint& p) { return std::abs(p.index - i) <= 1; });
        if (nearNode || i % 97 == 0)
            points.push_back(i);
    }
    constexpr double kUntouched = 12345.0;
    auto check = [&](const RemezGrid& g) {
        size_t next = 0;
        for (int i = 0; i < g.Size(); ++i) {
            const size_t u = static_cast<size_t>(i);
            if (next < points.size() && points[next] == i) {
                ASSERT_EQ(g.E[u], whole.E[u]) << i;
                ++next;
            } else {
                ASSERT_EQ(g.E[u], kUntouched) << i;
            }
        }
    };
    RemezGrid scalar = s.grid;
    std::fill(scalar.E.begin(), scalar.E.end(), kUntouched);
    ComputeErrorAt(scalar, s.ext, points, tol);
    check(scalar);
    for (RemezVectorUnit unit : AvailableRemezVectorUnits()) {
        SCOPED_TRACE("unit " + std::to_string(static_cast<int>(unit)));
        RemezGrid g = s.grid;
        RemezErrorEvaluator fast(g, s.r, 1, unit);
        std::fill(g.E.begin(), g.E.end(), kUntouched);
        fast.ComputeErrorAt(s.ext, points, tol);
        check(g);
    }
}

// With its nodes in falling order the evaluator finds each point's nearest
// node by a walk along them instead of in the kernel; with them in rising
// order, in the kernel. Both must take a node's value at the same points as
// the plain loop, for tolerances that catch no point, the nodes alone, or
// their grid neighbours too: the same errors bit for bit, whole passes and
// points picked out alike.
TEST(RemezEquivalence, NodeTestsOfTheWalkEqualThePlainLoop)
{
    const RemezCase c = FiveBands(808);
    const PassSetup s = PreparePass(c, nullptr);
    std::vector<int> all(static_cast<size_t>(s.grid.Size()));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    for (bool rising : {false, true}) {
        std::vector<ExtremalPoint> ext = s.ext;
        if (rising)
            std::reverse(ext.begin(), ext.end());
        for (double tol : {0.0, NodeTolerance(s.grid), 1e-4}) {
            SCOPED_TRACE(std::string(rising ? "rising" : "falling") + " nodes, tolerance " + std::to_string(tol));
            RemezGrid plain = s.grid;
            ComputeError(plain, ext, tol);
            RemezGrid picked = s.grid;
            ComputeErrorAt(picked, ext, all, tol);
            for (RemezVectorUnit unit : AvailableRemezVectorUnits()) {
                SCOPED_TRACE("unit " + std::to_string(static_cast<int>(unit)));
                RemezGrid g = s.grid;
                RemezErrorEvaluator fast(g, s.r, 1, unit);
                fast.ComputeErrorAt(ext, all, tol);
                for (size_t i = 0; i < all.size(); ++i)
                    ASSERT_EQ(std::memcmp(&g.E[i], &picked.E[i], sizeof(double)), 0) << i;
                // A level of 0 leaves the series no room: the barycentric formula on the whole grid.
                fast.ComputeError(ext, 0.0, tol);
                ASSERT_EQ(fast.BarycentricPasses(), 1);
                for (size_t i = 0; i < all.size(); ++i)
                    ASSERT_EQ(std::memcmp(&g.E[i], &plain.E[i], sizeof(double)), 0) << i;
            }
        }
    }
}

// Deep designs on a dense grid move their set by passes over windows (the
// whole grid only to confirm), and must reach what whole passes reach: the
// same extremal sets, passes and taps bit for bit, in the fast and the
// plain evaluation alike.
TEST(RemezEquivalence, WindowPassesEqualWholePasses)
{
    for (int taps : {808, 900, 1025}) {
        SCOPED_TRACE(std::to_string(taps) + " taps");
        const RemezCase c = FiveBands(taps);
        for (bool reference : {false, true}) {
            if (reference && taps != 808)
                continue;
            Outcome whole, windows;
            for (Outcome* o : {&whole, &windows}) {
                RemezOptions options;
                options.bReference = reference;
                options.nThreads = 1;
                options.bWholePasses = o == &whole;
                options.pTrace = &o->trace;
                o->result = RunDesign(c, o->taps, options);
            }
            EXPECT_EQ(whole.result.nWindowPasses, 0);
            EXPECT_GT(windows.result.nWindowPasses, 0);
            EXPECT_EQ(windows.result.status, whole.result.status);
            EXPECT_EQ(windows.result.nPasses, whole.result.nPasses);
            EXPECT_EQ(windows.result.dWeightedError, whole.result.dWeightedError);
            ASSERT_EQ(windows.trace, whole.trace);
            for (int k = 0; k < taps; ++k)
                ASSERT_EQ(windows.taps[k].real(), whole.taps[k].real()) << "tap " << k;
        }
    }
}
