#include "dsp/RemezFinish.h"

#include <algorithm>
#include <cmath>

#include "dsp/RemezChebyshev.h"

namespace {

// Largest least-squares fit of the finished taps to the grid, in grid
// points times functions squared (a few tens of milliseconds).
constexpr double kFitWork = 1.5e8;
constexpr double kSmallFitWork = 1e7;
// Points per function of the first, cheaper fit.
constexpr int kFitPointsPerFunction = 4;

std::vector<double> BestCoefficients(RemezExchange& ex, int r);
RemezFinish BestCandidate(RemezExchange& ex, int r, double fitBudget, RemezFinish best);

// The coarser start's finished design is left out where this bound is this
// many times the best error found or more (the bound is exact but for the
// rounding of its own levelled error and of the candidate's check).
constexpr double kCoarserMargin = 4.0;

// A lower bound of the weighted error on this grid of any design with the
// functions of the coarser start (its finished design among them): the
// levelled error of the coarser design's set moved onto this grid. No sum of
// that many cosines errs less on those points (de la Vallee Poussin; the
// levelled error of r + 1 points is the least largest error on them). 0
// where the moved set repeats a point or its level is lost in rounding.
double CoarserErrorBound(const RemezExchange& ex)
{
    const int functions = ex.coarserFunctions;
    std::vector<ExtremalPoint> set = ScaleExtremalSet(ex.coarser->StartingFrequencies(), ex.grid, functions);
    for (size_t k = 1; k < set.size(); ++k)
        if (set[k].index <= set[k - 1].index)
            return 0.0;
    ComputeCosines(ex.grid, set);
    ComputeBaryWeights(set);
    for (const ExtremalPoint& p : set)
        if (p.ad == 0.0)
            return 0.0;
    const double delta = ComputeDeviation(ex.grid, set);
    if (!std::isfinite(delta) || IsLevelLost(ex.grid, set, delta))
        return 0.0;
    return std::fabs(delta);
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

// Finished taps from the cosine coefficients c, checked on the grid.
RemezFinish Check(RemezExchange& ex, std::vector<double> c, double delta, int r)
{
    RemezFinish out;
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
    out.error = RemezLargestError(grid.E);
    if (!std::isfinite(out.error))
        return out;
    out.alternations = CountAlternations(grid.E, (1.0 - kRemezCheckTolerance) * out.error);
    out.exact = out.error <= ex.resolution;
    out.verified = out.exact || (out.error <= (1.0 + kRemezCheckTolerance) * out.delta && out.alternations >= r + 1);
    return out;
}

// The interpolant through set at the points x, exact to rounding.
std::vector<double> InterpolateAt(RemezExchange& ex, const std::vector<ExtremalPoint>& set,
                                  const std::vector<double>& x)
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
RemezFinish FinishOnSpan(RemezExchange& ex, const std::vector<ExtremalPoint>& set, double delta, int r)
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

RemezFinish Finish(RemezExchange& ex, const std::vector<ExtremalPoint>& set, double delta, int r, double budget)
{
    // The series through r + 1 Chebyshev points is the interpolant itself;
    // its term of degree r is 0 but for rounding and is left out.
    std::vector<double> c = ex.fast ? ex.fast->Coefficients(set, r + 1) : InterpolantCoefficients(set, r + 1);
    c.resize(static_cast<size_t>(r));
    RemezFinish out = Check(ex, std::move(c), delta, r);
    if (!out.verified) {
        RemezFinish span = FinishOnSpan(ex, set, delta, r);
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
            RemezFinish refit = Check(ex, std::move(fitted), delta, r);
            if (refit.error < out.error)
                out = std::move(refit);
        }
        if (out.verified || step == 1)
            break;
    }
    return out;
}
// The finished design of one exchange, the fit up to fitCap.
RemezFinish FinishExchange(RemezExchange& ex, int r, double fitCap, bool& converged)
{
    converged = false;
    if (ex.grid.Size() == 0)
        return {};
    RemezFinish design =
        Finish(ex, ex.ext, ex.delta, r, std::min(fitCap, ex.converged ? kFitWork : kSmallFitWork));
    converged = ex.converged && design.verified && ex.passes < kRemezMaxPasses;
    if (converged)
        return design;
    design = BestCandidate(ex, r, std::min(fitCap, kSmallFitWork), std::move(design));
    // Taps that meet every grid point to rounding are the best there can
    // be, however the passes ended.
    converged = design.exact;
    return design;
}

bool SameIndices(const std::vector<ExtremalPoint>& a, const std::vector<ExtremalPoint>& b)
{
    const auto sameIndex = [](const ExtremalPoint& p, const ExtremalPoint& q) { return p.index == q.index; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameIndex);
}

// The best of the last set's taps (given), the best set's and those the
// coarser start handed on; the best set's fitted up to fitBudget.
RemezFinish BestCandidate(RemezExchange& ex, int r, double fitBudget, RemezFinish best)
{
    // The best set is often the last one (an exchange that levelled but
    // whose taps the check did not pass): its taps are those given.
    if (!ex.best.empty() && !SameIndices(ex.best, ex.ext)) {
        RemezFinish other = Finish(ex, ex.best, ex.bestDelta, r, fitBudget);
        if (other.error < best.error)
            best = std::move(other);
    }
    // A coarser start whose functions err on this grid by several times
    // the best error at the least cannot give the best design: its finish
    // (and its own coarser starts' in turn) is not worth making.
    if (ex.coarser && ex.coarser->grid.Size() > 0 && !(CoarserErrorBound(ex) >= kCoarserMargin * best.error)) {
        std::vector<double> fallback = BestCoefficients(*ex.coarser, ex.coarserFunctions);
        if (!fallback.empty()) {
            fallback.resize(static_cast<size_t>(r), 0.0);
            RemezFinish other = Check(ex, std::move(fallback), 0.0, r);
            if (other.error < best.error)
                best = std::move(other);
        }
    }
    return best;
}

std::vector<double> BestCoefficients(RemezExchange& ex, int r)
{
    // Fitted only where cheap: a coarser design hands on its taps as a
    // candidate, and its own fit would cost more than the design.
    const bool cheap = static_cast<double>(ex.grid.Size()) * r < kRemezLargeWork;
    bool converged = false;
    return FinishExchange(ex, r, cheap ? kSmallFitWork : 0.0, converged).alpha;
}
}  // namespace

RemezFinish FinishRemezExchange(RemezExchange& ex, int r, bool& converged)
{
    return FinishExchange(ex, r, kFitWork, converged);
}
