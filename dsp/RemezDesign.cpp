#include "dsp/RemezDesign.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include "dsp/CPoints.h"
#include "dsp/RemezChebyshev.h"
#include "dsp/RemezKernel.h"

namespace {

// The coarser design of a start: five sixths of the functions on a grid of
// density 8 at most. Close enough in size that its extremal set, stretched,
// leaves the requested design a few passes; coarse enough to cost less than
// they do. A coarser design whose own start is lost starts in turn from one
// coarser still.
constexpr int kCoarseDensity = 8;

int CoarseFunctionCount(int r)
{
    return 5 * r / 6;
}

// Grids of density 32 and more start from the same count of functions on a
// grid of density 8: the first passes, far from level, cost an eighth or
// less there, and the dense grid finishes in a few passes of its own.
constexpr int kMinDensityForSparseStart = 32;
constexpr int kSparseStartDensity = 8;
constexpr int kMinFunctionsForSparseStart = 8;

// A forced coarse start (the second attempt) needs a coarser design of a few
// functions at least.
constexpr int kMinFunctionsForForcedStart = 8;

// A coarser design only hands on its extremal set: a spread of 1% is close
// enough for the passes of the requested design to finish from.
constexpr double kStartTolerance = 1e-2;
// The same design on a sparse grid is levelled closer, at an eighth of the
// cost of a pass on the dense grid: the dense grid is left fewer passes.
constexpr double kSparseStartTolerance = 1e-4;

// Passes in a row whose levelled error is lost in rounding before the
// exchange gives up (the level does not come back); fewer once this design
// or a coarser one it started from came within kFloorReach of the
// resolution: the response then asks for more than double precision holds.
constexpr int kLostPassesToStop = 8;
constexpr int kLostPassesAtFloor = 2;
constexpr double kFloorReach = 1e4;
// Grid work (points times functions) from which a pass costs a millisecond
// or so: only such designs stop early near the floor.
constexpr double kLargeWork = 1e6;

// Passes of a starting design: it only hands on its extremal set, and one
// that has not settled within these is no better a start for more passes.
constexpr int kStartPassLimit = 16;

// Passes that neither lower the largest error nor raise the levelled error
// |delta| (which rises pass by pass while the exchange works) by kProgress
// before the exchange stops: one that circles does not settle later. A
// starting design stops sooner.
constexpr double kProgress = 1e-3;
constexpr int kStallPasses = 12;
constexpr int kStartStallPasses = 4;

// Largest least-squares fit of the finished taps to the grid, in grid
// points times functions squared (a few tens of milliseconds).
constexpr double kFitWork = 1.5e8;
constexpr double kSmallFitWork = 1e7;
// Points per function of the first, cheaper fit.
constexpr int kFitPointsPerFunction = 4;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double PrepareInterpolation(const RemezGrid& grid, std::vector<ExtremalPoint>& ext,
                            const RemezErrorEvaluator* fast = nullptr)
{
    if (fast) {
        for (ExtremalPoint& p : ext)
            p.x = fast->Cosine(p.index);
    } else {
        ComputeCosines(grid, ext);
    }
    ComputeBaryWeights(ext);
    const double delta = ComputeDeviation(grid, ext);
    ComputeExtremalValues(grid, ext, delta);
    return delta;
}

// Largest |E| over the grid; infinite when one is no finite number.
double LargestError(const std::vector<double>& E)
{
    // Four running maxima and no early exit: the loop vectorises.
    double largest[4] = {0.0, 0.0, 0.0, 0.0};
    bool finite = true;
    const size_t n = E.size();
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        for (size_t l = 0; l < 4; ++l) {
            const double a = std::fabs(E[i + l]);
            finite &= a <= DBL_MAX;
            largest[l] = a > largest[l] ? a : largest[l];
        }
    }
    for (; i < n; ++i) {
        const double a = std::fabs(E[i]);
        finite &= a <= DBL_MAX;
        largest[0] = a > largest[0] ? a : largest[0];
    }
    if (!finite)
        return kInfinity;
    const double ab = largest[0] > largest[1] ? largest[0] : largest[1];
    const double cd = largest[2] > largest[3] ? largest[2] : largest[3];
    return ab > cd ? ab : cd;
}

// max |D W| over the grid: the weighted error of zero taps.
double LargestTarget(const RemezGrid& grid)
{
    double scale = 0.0;
    for (size_t i = 0; i < grid.f.size(); ++i)
        scale = std::fabs(grid.D[i] * grid.W[i]) > scale ? std::fabs(grid.D[i] * grid.W[i]) : scale;
    return scale;
}

double Resolution(const RemezGrid& grid)
{
    return 64.0 * DBL_EPSILON * LargestTarget(grid);
}

// Sign changes, plus one, along the grid points whose |E| is at least level.
int CountAlternations(const std::vector<double>& E, double level)
{
    int count = 0;
    int sign = 0;
    for (double e : E) {
        if (!(std::fabs(e) >= level) || e == 0.0)
            continue;
        const int s = e > 0.0 ? 1 : -1;
        if (s != sign) {
            ++count;
            sign = s;
        }
    }
    return count;
}

// One run of the exchange on its own grid. Built in place: the evaluator
// refers to the grid.
struct Exchange {
    RemezGrid grid;
    std::optional<RemezErrorEvaluator> fast;
    std::vector<ExtremalPoint> ext;   // the last set, prepared for interpolation
    double delta = 0.0;
    std::vector<ExtremalPoint> best;  // the set whose pass had the smallest error, prepared
    double bestDelta = 0.0;
    double bestError = kInfinity;
    double nodeTol = kNodeTolerance;
    double resolution = 0.0;
    int passes = 0;
    int functions = 0;
    bool converged = false;  // the 1e-5 test, or an error within the resolution
    bool exact = false;
    bool coarseStart = false;
    bool lost = false;  // stopped because the level stayed lost in rounding
    bool uniformLost = false;  // the evenly spread set's level was lost in rounding
    RemezStart startUsed = RemezStart::Uniform;
    // The coarser design this one started from, with its count of functions.
    // Its finished design (cosine coefficients extended by zeros to this
    // design's count: the same response) is a candidate when this one does
    // not converge; finishing can cost a least-squares fit, so it is only
    // taken then.
    std::unique_ptr<Exchange> coarser;
    int coarserFunctions = 0;

    Exchange() = default;
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    // The best error of this design or of a coarser one it started from
    // came within kFloorReach of its resolution without meeting the grid
    // exactly (an exact design says nothing of the finer grids).
    bool NearFloor() const
    {
        return (!exact && bestError <= kFloorReach * resolution) || (coarser && coarser->NearFloor());
    }
    // Near the floor on a grid where more passes cost much: the exchange
    // stops early. Small designs go on, and may still be met exactly.
    bool AtFloor() const
    {
        return static_cast<double>(grid.Size()) * functions >= kLargeWork && NearFloor();
    }

    // A large grid that started from the same design on a sparse grid,
    // whose level stayed lost there: the dense grid resolves it no better.
    bool SparseStartLost() const
    {
        return coarser && coarser->lost && coarserFunctions == functions &&
               static_cast<double>(grid.Size()) * functions >= kLargeWork;
    }

    // Frequencies of the set a coarser design hands on.
    std::vector<double> StartingFrequencies() const
    {
        const std::vector<ExtremalPoint>& set = (converged && !exact) || best.empty() ? ext : best;
        std::vector<double> freqs;
        for (const ExtremalPoint& p : set)
            freqs.push_back(grid.f[static_cast<size_t>(p.index)]);
        return freqs;
    }
};

enum class Start { Automatic, Coarse, Sparse, Plain };

std::vector<double> BestCoefficients(Exchange& ex, int r);
struct Finished;
Finished BestCandidate(Exchange& ex, int r, double fitBudget, Finished best);

void RunExchange(Exchange& ex, const std::vector<RemezEdge>& bands, int r, int density, int filterType,
                 int firType, Start start, const RemezOptions& options, RemezResult& stats, double tolerance = 1e-5)
{
    std::vector<RemezEdge> list = bands;
    if (!list.empty() && r >= 1)
        ex.grid = BuildDenseGrid(list, r, density, filterType, firType);
    ex.functions = r;
    RemezGrid& grid = ex.grid;
    if (grid.Size() == 0) {
        ex.passes = kRemezMaxPasses;
        return;
    }
    ApplyFirTypeTransform(grid, firType);
    const int g = grid.Size();
    ex.resolution = Resolution(grid);
    if (!options.bReference)
        ex.fast.emplace(grid, r, options.nThreads);
    ex.nodeTol = ex.fast ? ex.fast->NodeTolerance() : NodeTolerance(grid);

    std::vector<ExtremalPoint>& ext = ex.ext;
    ext = InitialExtremalSet(g, r);
    bool restarted = false;
    double lastDelta = 0.0;
    int lostPasses = 0;
    double progressError = kInfinity;
    double progressDelta = 0.0;
    int progressPass = 0;
    while (!ex.converged && ex.passes < kRemezMaxPasses) {
        const double delta = PrepareInterpolation(grid, ext, ex.fast ? &*ex.fast : nullptr);
        const bool levelLost = IsLevelLost(grid, ext, delta);
        const bool coarse = start == Start::Coarse ? r >= kMinFunctionsForForcedStart
                                                   : start == Start::Automatic && levelLost &&
                                                         r >= kMinFunctionsForCoarseStart;
        const bool sparse = r >= kMinFunctionsForSparseStart &&
                            ((start == Start::Automatic && density >= kMinDensityForSparseStart) ||
                             (start == Start::Sparse && density > kSparseStartDensity));
        if (ex.passes == 0 && !restarted)
            ex.uniformLost = levelLost;
        if (ex.passes == 0 && !restarted && (coarse || sparse)) {
            // The evenly spread start cannot be resolved, or would cost a dense
            // grid's passes: start from a coarser design.
            restarted = true;
            ex.coarseStart = true;
            ex.startUsed = sparse ? RemezStart::SparseGrid : RemezStart::Coarse;
            ex.coarser = std::make_unique<Exchange>();
            // A dense grid starts from the same design on a sparse grid even
            // where the level is lost: that design, when its own start is
            // lost, starts in turn from a coarser one, and the dense grid is
            // left only the last few passes.
            ex.coarserFunctions = sparse ? r : CoarseFunctionCount(r);
            Exchange& coarser = *ex.coarser;
            const int coarseDensity =
                sparse ? kSparseStartDensity : (density < kCoarseDensity ? density : kCoarseDensity);
            RunExchange(coarser, bands, ex.coarserFunctions, coarseDensity, filterType, firType, Start::Automatic,
                        options, stats, sparse ? kSparseStartTolerance : kStartTolerance);
            stats.nStartStages += 1;
            stats.nStartPasses += coarser.passes;
            if (coarser.grid.Size() > 0)
                ext = ScaleExtremalSet(coarser.StartingFrequencies(), grid, r);
            continue;
        }
        // The coarser design this one started from lost its level, and so
        // does this one from the start: the response asks for more than
        // double precision resolves, and the coarser design's taps stand.
        if (levelLost && ex.passes == 0 && ex.coarser && ex.coarser->lost && ex.AtFloor()) {
            ex.lost = true;
            break;
        }
        if (ex.fast)
            ex.fast->ComputeError(ext, delta, ex.nodeTol);
        else
            ComputeError(grid, ext, ex.nodeTol);
        const double error = LargestError(grid.E);
        if (error < ex.bestError) {
            ex.best = ext;
            ex.bestDelta = delta;
            ex.bestError = error;
        }
        ++ex.passes;
        if (error < (1.0 - kProgress) * progressError || std::fabs(delta) > (1.0 + kProgress) * progressDelta) {
            progressError = error < progressError ? error : progressError;
            progressDelta = std::fabs(delta) > progressDelta ? std::fabs(delta) : progressDelta;
            progressPass = ex.passes;
        }
        if (error <= ex.resolution) {
            // The interpolant meets every grid point to rounding: an exact design.
            ex.exact = true;
            ex.converged = true;
            ex.delta = delta;
            if (options.pTrace) {
                std::vector<int> same;
                for (const ExtremalPoint& p : ext)
                    same.push_back(p.index);
                options.pTrace->push_back(same);
            }
            break;
        }
        const std::vector<int> next = SearchExtrema(grid.E, g, r);
        for (size_t k = 0; k < ext.size(); ++k)
            ext[k].index = next[k];
        if (options.pTrace)
            options.pTrace->push_back(next);
        ex.converged = IsConverged(grid.E, ext, tolerance);
        // A starting design also stops once its level settles with an error
        // of about that level.
        if (tolerance > 1e-5 && delta != 0.0 && error <= 2.0 * std::fabs(delta) &&
            std::fabs(std::fabs(delta) - std::fabs(lastDelta)) <= tolerance * std::fabs(delta))
            ex.converged = true;
        lastDelta = delta;
        // A level lost in rounding for several passes in a row does not come
        // back: the passes only shuffle noise.
        lostPasses = levelLost || delta == 0.0 ? lostPasses + 1 : 0;
        if (lostPasses >= (ex.AtFloor() || ex.SparseStartLost() ? kLostPassesAtFloor : kLostPassesToStop)) {
            ex.lost = true;
            break;
        }
        if (tolerance >= kStartTolerance && ex.passes >= kStartPassLimit)
            break;
        // The passes circle without lowering the error: more of them only
        // cost time.
        if (ex.passes - progressPass >= (tolerance >= kStartTolerance ? kStartStallPasses : kStallPasses))
            break;
    }
    if (!ex.exact)
        ex.delta = PrepareInterpolation(grid, ext, ex.fast ? &*ex.fast : nullptr);
    stats.nBarycentricPasses += ex.fast ? ex.fast->BarycentricPasses() : ex.passes;
}

// The taps of one extremal set and what the grid says of them.
struct Finished {
    std::vector<double> alpha;  // r cosine coefficients
    double delta = 0.0;
    double error = kInfinity;
    double resolution = 0.0;
    int alternations = 0;
    bool verified = false;
    bool exact = false;
};

// Finished taps from the cosine coefficients c, checked on the grid.
Finished Check(Exchange& ex, std::vector<double> c, double delta, int r)
{
    Finished out;
    out.delta = std::fabs(delta);
    out.resolution = ex.resolution;
    for (double v : c)
        if (!std::isfinite(v))
            return out;
    RemezGrid& grid = ex.grid;
    if (ex.fast) {
        ex.fast->ComputeSeriesError(c);
    } else {
        for (size_t i = 0; i < grid.f.size(); ++i)
            grid.E[i] = (ChebyshevSeries(c.data(), r, GridCosine(grid.f[i])) - grid.D[i]) * grid.W[i];
    }
    out.alpha = std::move(c);
    out.error = LargestError(grid.E);
    if (!std::isfinite(out.error))
        return out;
    out.alternations = CountAlternations(grid.E, (1.0 - kRemezCheckTolerance) * out.error);
    out.exact = out.error <= ex.resolution;
    out.verified = out.exact || (out.error <= (1.0 + kRemezCheckTolerance) * out.delta && out.alternations >= r + 1);
    return out;
}

// The interpolant through set at the points x, exact to rounding.
std::vector<double> InterpolateAt(Exchange& ex, const std::vector<ExtremalPoint>& set, const std::vector<double>& x)
{
    if (ex.fast)
        return ex.fast->Interpolate(set, x);
    std::vector<double> value;
    for (double xi : x)
        value.push_back(InterpolateExact(set, xi));
    return value;
}

// Where the grid leaves part of [-1, 1] out (bands short of 0 or fs/2, the
// points where Q vanishes), the interpolant there is extrapolated, which the
// barycentric formula does badly and where it grows fast: its samples
// across [-1, 1] then swamp its values on the grid. Sampled at the
// Chebyshev points of the grid's own span instead and written as a series
// in x, it keeps them (as McClellan, Parks and Rabiner's program does).
Finished FinishOnSpan(Exchange& ex, const std::vector<ExtremalPoint>& set, double delta, int r)
{
    const RemezGrid& grid = ex.grid;
    const int g = grid.Size();
    double lo = 1.0, hi = -1.0;
    for (int i = 0; i < g; ++i) {
        const double x = ex.fast ? ex.fast->Cosine(i) : GridCosine(grid.f[static_cast<size_t>(i)]);
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
    }
    if (r < 1 || !(hi > lo) || (lo <= -1.0 && hi >= 1.0))
        return {};
    const int count = r + 1;
    std::vector<double> x(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        x[static_cast<size_t>(i)] = 0.5 * (hi + lo) + 0.5 * (hi - lo) * ChebyshevPoint(i, count);
    std::vector<double> a = ChebyshevCoefficients(InterpolateAt(ex, set, x));
    a.resize(static_cast<size_t>(r));
    return Check(ex, ComposeWithLine(a, 2.0 / (hi - lo), -(hi + lo) / (hi - lo)), delta, r);
}

Finished Finish(Exchange& ex, const std::vector<ExtremalPoint>& set, double delta, int r, double budget)
{
    // The series through r + 1 Chebyshev points is the interpolant itself;
    // its term of degree r is 0 but for rounding and is left out.
    std::vector<double> c = ex.fast ? ex.fast->Coefficients(set, r + 1) : InterpolantCoefficients(set, r + 1);
    c.resize(static_cast<size_t>(r));
    Finished out = Check(ex, std::move(c), delta, r);
    if (!out.verified) {
        Finished span = FinishOnSpan(ex, set, delta, r);
        if (span.error < out.error)
            out = std::move(span);
    }
    // Where the interpolant is huge between the bands, its values across
    // [-1, 1] lose the small ones in the bands. The coefficients are then
    // fitted to the interpolant on the grid itself, where the error counts:
    // first on a few points per function (every s-th grid point and the
    // extremal set), then, should that not verify, on every point; up to
    // budget (grid points times functions squared; 0: no fit).
    const RemezGrid& grid = ex.grid;
    const int g = grid.Size();
    if (out.verified || g < r || budget <= 0.0)
        return out;
    const int stride = g / (kFitPointsPerFunction * r) > 1 ? g / (kFitPointsPerFunction * r) : 1;
    for (int step : {stride, 1}) {
        std::vector<char> used(static_cast<size_t>(g), 0);
        for (int i = 0; i < g; i += step)
            used[static_cast<size_t>(i)] = 1;
        used[static_cast<size_t>(g - 1)] = 1;
        for (const ExtremalPoint& p : set)
            used[static_cast<size_t>(p.index)] = 1;
        std::vector<double> x, weight;
        for (int i = 0; i < g; ++i) {
            if (!used[static_cast<size_t>(i)])
                continue;
            const size_t u = static_cast<size_t>(i);
            x.push_back(ex.fast ? ex.fast->Cosine(i) : GridCosine(grid.f[u]));
            weight.push_back(grid.W[u]);
        }
        if (static_cast<double>(x.size()) * r * r > budget)
            break;
        const std::vector<double> value = InterpolateAt(ex, set, x);
        std::vector<double> fitted = WeightedSeriesFit(x, value, weight, r);
        if (!fitted.empty()) {
            Finished refit = Check(ex, std::move(fitted), delta, r);
            if (refit.error < out.error)
                out = std::move(refit);
        }
        if (out.verified || step == 1)
            break;
    }
    return out;
}

struct Attempt {
    Finished design;
    int passes = 0;
    bool converged = false;
    RemezStart start = RemezStart::Uniform;
    // How the exchange went, for the choice of a second attempt.
    bool usedCoarse = false;   // it started from a coarser design
    bool lost = false;         // its level stayed lost in rounding near the resolution
    bool levelled = false;     // its passes met the 1e-5 test
    bool uniformLost = false;  // the evenly spread set's level was lost in rounding
    double zeroTapsError = 0.0;  // the weighted error of zero taps on the grid
};

// The finished design of one exchange: its converged set, else the best
// candidate (BestCandidate).
Attempt FinishExchange(Exchange& ex, int r, double fitCap)
{
    Attempt a;
    a.passes = ex.passes;
    if (ex.grid.Size() == 0)
        return a;
    a.design = Finish(ex, ex.ext, ex.delta, r, std::min(fitCap, ex.converged ? kFitWork : kSmallFitWork));
    a.converged = ex.converged && a.design.verified && ex.passes < kRemezMaxPasses;
    if (a.converged)
        return a;
    a.design = BestCandidate(ex, r, std::min(fitCap, kSmallFitWork), std::move(a.design));
    // Taps that meet every grid point to rounding are the best there can
    // be, however the passes ended.
    a.converged = a.design.exact;
    return a;
}

bool SameIndices(const std::vector<ExtremalPoint>& a, const std::vector<ExtremalPoint>& b)
{
    const auto sameIndex = [](const ExtremalPoint& p, const ExtremalPoint& q) { return p.index == q.index; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameIndex);
}

// The best of the last set's taps (given), the best set's and those the
// coarser start handed on; the best set's fitted up to fitBudget.
Finished BestCandidate(Exchange& ex, int r, double fitBudget, Finished best)
{
    // The best set is often the last one (an exchange that levelled but
    // whose taps the check did not pass): its taps are those given.
    if (!ex.best.empty() && !SameIndices(ex.best, ex.ext)) {
        Finished other = Finish(ex, ex.best, ex.bestDelta, r, fitBudget);
        if (other.error < best.error)
            best = std::move(other);
    }
    if (ex.coarser && ex.coarser->grid.Size() > 0) {
        std::vector<double> fallback = BestCoefficients(*ex.coarser, ex.coarserFunctions);
        if (!fallback.empty()) {
            fallback.resize(static_cast<size_t>(r), 0.0);
            Finished other = Check(ex, std::move(fallback), 0.0, r);
            if (other.error < best.error)
                best = std::move(other);
        }
    }
    return best;
}

std::vector<double> BestCoefficients(Exchange& ex, int r)
{
    // Fitted only where cheap: a coarser design hands on its taps as a
    // candidate, and its own fit would cost more than the design.
    const bool cheap = static_cast<double>(ex.grid.Size()) * r < kLargeWork;
    return FinishExchange(ex, r, cheap ? kSmallFitWork : 0.0).design.alpha;
}

Attempt RunAttempt(const std::vector<RemezEdge>& bands, int r, int density, int filterType, int firType, Start start,
                   const RemezOptions& options, RemezResult& stats)
{
    Exchange ex;
    RunExchange(ex, bands, r, density, filterType, firType, start, options, stats);
    stats.nGridSize = ex.grid.Size();
    stats.nThreads = ex.fast ? ex.fast->Threads() : 1;
    Attempt a = FinishExchange(ex, r, kFitWork);
    a.start = ex.startUsed;
    a.usedCoarse = ex.coarseStart;
    a.lost = ex.lost && ex.AtFloor();
    a.levelled = ex.converged;
    a.uniformLost = ex.uniformLost;
    a.zeroTapsError = LargestTarget(ex.grid);
    return a;
}

bool Better(const Attempt& a, const Attempt& b)
{
    if (a.converged != b.converged)
        return a.converged;
    return a.design.error < b.design.error;
}

}  // namespace

RemezResult DesignRemez(int taps, int filterType, int firType, int fs, const RemezBand* bands, int gridDensity,
                        CPoints& coeffs, const RemezOptions& options)
{
    return DesignRemezEdges(taps, filterType, firType, BuildBandList(bands, fs), gridDensity, coeffs, options);
}

RemezResult DesignRemezEdges(int taps, int filterType, int firType, const std::vector<RemezEdge>& list,
                             int gridDensity, CPoints& coeffs, const RemezOptions& options)
{
    if (taps < 0)
        taps = 0;
    if (coeffs.m_nCount != taps)
        coeffs.SetSize(taps);
    coeffs.Clear();
    const int r = RemezFunctionCount(taps, firType);
    // A density below 1 would make the grid loops run backwards forever.
    const int density = gridDensity < 1 ? 1 : gridDensity;

    RemezResult result;
    Start first = Start::Automatic;
    switch (options.start) {
    case RemezStart::Uniform:
        first = Start::Plain;
        break;
    case RemezStart::Coarse:
        first = Start::Coarse;
        break;
    case RemezStart::SparseGrid:
        first = Start::Sparse;
        break;
    default:
        break;
    }
    Attempt chosen = RunAttempt(list, r, density, filterType, firType, first, options, result);
    result.nAttempts = 1;
    // Nothing to approximate (no band, or one narrower than the grid
    // spacing): zero taps and the failure count.
    if (result.nGridSize == 0) {
        result.status = RemezStatus::NoGrid;
        result.nPasses = kRemezMaxPasses;
        return result;
    }
    // A level lost in rounding next to the resolution is the limit of
    // double precision, which no other start moves.
    // An exchange that levelled its error but whose taps the check did not
    // pass would level the same way from another start.
    // The evenly spread set, where its level is lost in rounding, is the
    // start the first attempt fled: in the designs of 300 to 1025 taps
    // tried (four tables, densities 8 to 64), every second attempt from it
    // stayed lost and ended no better than zero taps, so it is only run
    // where the first did no better than those either.
    const bool hopelessPlain = chosen.usedCoarse && chosen.uniformLost && chosen.design.error <= chosen.zeroTapsError;
    if (!chosen.converged && !chosen.lost && !chosen.levelled && !hopelessPlain && r >= kMinFunctionsForForcedStart &&
        options.start == RemezStart::Automatic) {
        Attempt other = RunAttempt(list, r, density, filterType, firType,
                                   chosen.usedCoarse ? Start::Plain : Start::Coarse, options, result);
        result.nAttempts = 2;
        if (Better(other, chosen))
            chosen = std::move(other);
    }

    const Finished& d = chosen.design;
    result.status = chosen.converged ? RemezStatus::Converged : RemezStatus::DidNotConverge;
    // The count of 64 stands for "not converged", as it always has.
    result.nPasses = chosen.converged ? std::clamp(chosen.passes, 1, kRemezMaxPasses - 1) : kRemezMaxPasses;
    result.dDelta = d.delta;
    result.dWeightedError = d.error;
    result.dResolution = d.resolution;
    result.nAlternations = d.alternations;
    result.bExact = chosen.converged && d.exact;
    result.startUsed = chosen.start;
    // Taps only from finite coefficients; without any, the zero taps stay.
    if (static_cast<int>(d.alpha.size()) == r) {
        CPoints alpha(r);
        for (int j = 0; j < r; ++j)
            alpha[j] = Complex(d.alpha[static_cast<size_t>(j)], 0.0);
        CoefficientsToTaps(alpha, r, firType, coeffs);
    }
    // Coefficients near the largest double could still sum to infinity.
    for (int k = 0; k < coeffs.m_nCount; ++k) {
        if (!std::isfinite(coeffs[k].real())) {
            coeffs.Clear();
            result.status = RemezStatus::DidNotConverge;
            result.nPasses = kRemezMaxPasses;
            break;
        }
    }
    return result;
}
