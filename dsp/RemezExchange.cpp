#include "dsp/RemezExchange.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

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

// A coarser design only hands on its extremal set: a spread of 1% is close
// enough for the passes of the requested design to finish from.
constexpr double kStartTolerance = 1e-2;
// The same design on a sparse grid is levelled closer, at an eighth of the
// cost of a pass on the dense grid: the dense grid is left fewer passes.
constexpr double kSparseStartTolerance = 1e-4;

// Passes in a row whose levelled error is lost in rounding before the
// exchange gives up (the level does not come back); fewer once this design
// or a coarser one it started from came within kRemezFloorReach of the
// resolution: the response then asks for more than double precision holds.
constexpr int kLostPassesToStop = 8;
constexpr int kLostPassesAtFloor = 2;

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

// A dense grid that started from the same design on the sparse grid, and
// whose whole pass left an error within kWindowReach of a level too small
// for the Chebyshev series, moves its extremal set by passes over windows
// around the set's points only: half a sparse grid spacing either side (the
// sparse grid's extrema are the dense grid's to within that spacing),
// widened where the error still grows at a window's end. They find the
// extrema a whole pass finds near the set, from a sixth of the points or so
// at density 64. Once the windows level, their last pass is run again over
// the whole grid, which confirms the set or finds what the windows missed;
// only whole passes end the exchange or count for the best set. A level
// that falls (the exchange raises it but for rounding), or windows that
// have not levelled after kWindowPassLimit passes, undo the windows. One
// round of windows per exchange.
constexpr double kWindowReach = 100.0;
constexpr int kWindowPassLimit = 16;

// Points of used[0 .. g-1] to evaluate next: for every run of used points
// whose end is further from zero than its inner neighbour (the error may
// still grow beyond it), the step points beyond that end that are not used.
std::vector<int> PointsBeyondRuns(const std::vector<char>& used, const std::vector<double>& E, int step)
{
    const int g = static_cast<int>(used.size());
    std::vector<int> beyond;
    auto e = [&](int i) { return E[static_cast<size_t>(i)]; };
    auto outward = [&](int end, int inner) {
        return (e(end) >= 0.0 && e(end) > e(inner)) || (e(end) <= 0.0 && e(end) < e(inner));
    };
    for (int i = 0; i < g;) {
        if (!used[static_cast<size_t>(i)]) {
            ++i;
            continue;
        }
        int last = i;
        while (last + 1 < g && used[static_cast<size_t>(last + 1)])
            ++last;
        if (last > i && i > 0 && outward(i, i + 1))
            for (int j = i - 1; j >= 0 && j >= i - step && !used[static_cast<size_t>(j)]; --j)
                beyond.push_back(j);
        if (last > i && last + 1 < g && outward(last, last - 1))
            for (int j = last + 1; j < g && j <= last + step && !used[static_cast<size_t>(j)]; ++j)
                beyond.push_back(j);
        i = last + 1;
    }
    std::sort(beyond.begin(), beyond.end());
    beyond.erase(std::unique(beyond.begin(), beyond.end()), beyond.end());
    return beyond;
}

// The extremal set from the errors in windows of halfWidth points either
// side of the set's points, widened where the error still grows at their
// ends until every extremum near the set lies inside: the local extrema a
// whole pass would find there. E is computed in the windows only.
std::vector<int> SearchNearSet(RemezExchange& ex, int r, int halfWidth)
{
    RemezGrid& grid = ex.grid;
    const int g = grid.Size();
    std::vector<char> used(static_cast<size_t>(g), 0);
    std::vector<int> first;
    for (const ExtremalPoint& p : ex.ext)
        for (int i = p.index - halfWidth; i <= p.index + halfWidth; ++i)
            if (i >= 0 && i < g && !used[static_cast<size_t>(i)]) {
                used[static_cast<size_t>(i)] = 1;
                first.push_back(i);
            }
    std::sort(first.begin(), first.end());
    for (std::vector<int> more = first; !more.empty(); more = PointsBeyondRuns(used, grid.E, halfWidth)) {
        if (ex.fast)
            ex.fast->ComputeErrorAt(ex.ext, more, ex.nodeTol);
        else
            ComputeErrorAt(grid, ex.ext, more, ex.nodeTol);
        for (int i : more)
            used[static_cast<size_t>(i)] = 1;
    }
    std::vector<int> points;
    std::vector<double> local;
    for (int i = 0; i < g; ++i)
        if (used[static_cast<size_t>(i)]) {
            points.push_back(i);
            local.push_back(grid.E[static_cast<size_t>(i)]);
        }
    std::vector<int> next = SearchExtrema(local, static_cast<int>(points.size()), r);
    for (int& k : next)
        k = points[static_cast<size_t>(k)];
    return next;
}

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

double Resolution(const RemezGrid& grid)
{
    return 64.0 * DBL_EPSILON * RemezLargestTarget(grid);
}

}  // namespace

double RemezLargestError(const std::vector<double>& E)
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
        return std::numeric_limits<double>::infinity();
    const double ab = largest[0] > largest[1] ? largest[0] : largest[1];
    const double cd = largest[2] > largest[3] ? largest[2] : largest[3];
    return ab > cd ? ab : cd;
}

double RemezLargestTarget(const RemezGrid& grid)
{
    double scale = 0.0;
    for (size_t i = 0; i < grid.f.size(); ++i)
        scale = std::fabs(grid.D[i] * grid.W[i]) > scale ? std::fabs(grid.D[i] * grid.W[i]) : scale;
    return scale;
}

void RunRemezExchange(RemezExchange& ex, const std::vector<RemezEdge>& bands, int r, int density, int filterType,
                      int firType, RemezStartKind start, const RemezOptions& options, RemezResult& stats,
                      double tolerance)
{
    std::vector<RemezEdge> list = bands;
    if (!list.empty() && r >= 1)
        ex.grid = BuildDenseGrid(list, r, density, filterType, firType, !ex.startOnly);
    ex.functions = r;
    RemezGrid& grid = ex.grid;
    if (grid.Size() == 0) {
        ex.passes = kRemezMaxPasses;
        return;
    }
    ApplyFirTypeTransform(grid, firType);
    const int g = grid.Size();
    // max |D W|: whole passes at a level below r eps of it cannot use the
    // Chebyshev series (RemezKernel.h), and only those are worth windows.
    const double target = RemezLargestTarget(grid);
    ex.resolution = Resolution(grid);
    if (!options.bReference)
        ex.fast.emplace(grid, r, options.nThreads);
    ex.nodeTol = ex.fast ? ex.fast->NodeTolerance() : NodeTolerance(grid);

    std::vector<ExtremalPoint>& ext = ex.ext;
    ext = InitialExtremalSet(g, r);
    bool restarted = false;
    double lastDelta = 0.0;
    int lostPasses = 0;
    double progressError = std::numeric_limits<double>::infinity();
    double progressDelta = 0.0;
    int progressPass = 0;
    const int halfWidth = density / (2 * kSparseStartDensity) > 1 ? density / (2 * kSparseStartDensity) : 1;
    int windowPasses = 0;
    int windowPassesKept = 0;  // window passes not undone (all barycentric)
    bool confirm = false;
    bool nearLevel = false;
    bool windowsOff = false;
    struct {
        std::vector<ExtremalPoint> ext;
        int lostPasses = 0;
        double lastDelta = 0.0;
    } beforeWindows;
    while (!ex.converged && ex.passes < kRemezMaxPasses) {
        const double delta = PrepareInterpolation(grid, ext, ex.fast ? &*ex.fast : nullptr);
        const bool levelLost = IsLevelLost(grid, ext, delta);
        const bool windowed = !options.bWholePasses && ex.passes >= 1 && nearLevel && !confirm &&
                              (!windowsOff || windowPasses > 0) && tolerance <= 1e-5 && ex.coarser &&
                              ex.coarserFunctions == r && static_cast<double>(g) * r >= kRemezLargeWork;
        if (windowed && windowPasses == 0) {
            beforeWindows.ext = ext;
            beforeWindows.lostPasses = lostPasses;
            beforeWindows.lastDelta = lastDelta;
        }
        const bool coarse = start == RemezStartKind::Coarse
                                ? r >= kRemezMinFunctionsForForcedStart
                                : start == RemezStartKind::Automatic && levelLost && r >= kMinFunctionsForCoarseStart;
        const bool sparse = r >= kMinFunctionsForSparseStart &&
                            ((start == RemezStartKind::Automatic && density >= kMinDensityForSparseStart) ||
                             (start == RemezStartKind::Sparse && density > kSparseStartDensity));
        if (ex.passes == 0 && !restarted)
            ex.uniformLost = levelLost;
        if (ex.passes == 0 && !restarted && (coarse || sparse)) {
            // The evenly spread start cannot be resolved, or would cost a dense
            // grid's passes: start from a coarser design.
            restarted = true;
            ex.coarseStart = true;
            ex.startUsed = sparse ? RemezStart::SparseGrid : RemezStart::Coarse;
            ex.coarser = std::make_unique<RemezExchange>();
            // A dense grid starts from the same design on a sparse grid even
            // where the level is lost: that design, when its own start is
            // lost, starts in turn from a coarser one, and the dense grid is
            // left only the last few passes.
            ex.coarserFunctions = sparse ? r : CoarseFunctionCount(r);
            RemezExchange& coarser = *ex.coarser;
            coarser.startOnly = true;
            const int coarseDensity =
                sparse ? kSparseStartDensity : (density < kCoarseDensity ? density : kCoarseDensity);
            RunRemezExchange(coarser, bands, ex.coarserFunctions, coarseDensity, filterType, firType,
                             RemezStartKind::Automatic, options, stats,
                             sparse ? kSparseStartTolerance : kStartTolerance);
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
        if (windowed) {
            const std::vector<int> next = SearchNearSet(ex, r, halfWidth);
            const std::vector<ExtremalPoint> evaluated = ext;
            const int lostBefore = lostPasses;
            const double deltaBefore = lastDelta;
            for (size_t k = 0; k < ext.size(); ++k)
                ext[k].index = next[k];
            if (options.pTrace)
                options.pTrace->push_back(next);
            ++ex.passes;
            ++windowPasses;
            lostPasses = levelLost || delta == 0.0 ? lostPasses + 1 : 0;
            const bool falling = std::fabs(delta) < std::fabs(lastDelta);
            lastDelta = delta;
            windowsOff = true;
            if (IsConverged(grid.E, ext, tolerance)) {
                windowPassesKept += windowPasses - 1;
                // Levelled in the windows: this pass again, over the whole grid.
                ext = evaluated;
                ex.passes -= 1;
                lostPasses = lostBefore;
                lastDelta = deltaBefore;
                if (options.pTrace)
                    options.pTrace->pop_back();
                confirm = true;
            } else if (falling || windowPasses >= kWindowPassLimit) {
                // A level that falls (the exchange raises it pass by pass
                // but for rounding) or windows that do not settle: the
                // exchange goes on from the set of its last whole pass as
                // if they had not been run.
                ext = beforeWindows.ext;
                ex.passes -= windowPasses;
                lostPasses = beforeWindows.lostPasses;
                lastDelta = beforeWindows.lastDelta;
                if (options.pTrace)
                    options.pTrace->resize(options.pTrace->size() - static_cast<size_t>(windowPasses));
                windowPasses = 0;
            }
            continue;
        }
        if (ex.fast)
            ex.fast->ComputeError(ext, delta, ex.nodeTol);
        else
            ComputeError(grid, ext, ex.nodeTol);
        const double error = RemezLargestError(grid.E);
        if (error < ex.bestError) {
            ex.best = ext;
            ex.bestDelta = delta;
            ex.bestError = error;
        }
        ++ex.passes;
        windowPasses = 0;
        confirm = false;
        nearLevel = error <= kWindowReach * std::fabs(delta) &&
                    RemezErrorEvaluator::kSeriesShare * std::fabs(delta) < (r + 1) * DBL_EPSILON * target;
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
    stats.nBarycentricPasses += ex.fast ? ex.fast->BarycentricPasses() + windowPassesKept : ex.passes;
    stats.nWindowPasses += windowPassesKept;
}
