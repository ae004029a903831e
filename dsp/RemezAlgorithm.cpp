#include "dsp/RemezAlgorithm.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "dsp/CPoints.h"
#include "dsp/DesignKinds.h"
#include "dsp/RemezVector.h"

namespace {

bool IsOddLength(int firType)
{
    return firType == 0 || firType == 2;
}

bool IsAntisymmetric(int firType)
{
    return firType == 2 || firType == 3;
}

}  // namespace

void RemezGrid::Append(double freq, double desired, double weight)
{
    f.push_back(freq);
    D.push_back(desired);
    W.push_back(weight);
    E.push_back(0.0);
}

int RemezFunctionCount(int taps, int firType)
{
    return firType == 0 ? (taps + 1) / 2 : taps / 2;
}

std::vector<RemezEdge> BuildBandList(const RemezBand* bands, int fs)
{
    std::vector<RemezEdge> list;
    for (int i = 0; i < kBandCount; ++i) {
        const RemezBand& b = bands[i];
        if (b.m_bUse != 1)
            continue;
        list.push_back({static_cast<double>(b.m_nLowerEdge) / fs, static_cast<double>(b.m_nUpperEdge) / fs,
                        b.m_dValue, b.m_dWeight});
    }
    return list;
}

double DesiredValue(const RemezEdge& band, double f, int filterType)
{
    if (filterType == FT_DIFFERENTIATOR)
        return 2.0 * band.value * f;
    if (band.shape.kind != ShapeKind::None)
        return band.value * ShapeGain(band.shape, f);
    return band.value;
}

double WeightValue(const RemezEdge& band, double f, int filterType)
{
    if (filterType == FT_DIFFERENTIATOR && band.value >= 0.0001)
        return band.weight / f;
    if (band.shape.kind != ShapeKind::None)
        return band.weight / ShapeGain(band.shape, f);
    return band.weight;
}

RemezGrid BuildDenseGrid(std::vector<RemezEdge>& bands, int r, int density, int filterType, int firType,
                         bool bothEdges)
{
    const double delf = 0.5 / (static_cast<double>(r) * density);
    if (IsAntisymmetric(firType) && !bands.empty() && bands[0].lower < delf)
        bands[0].lower = delf;

    RemezGrid grid;
    const size_t capacity = static_cast<size_t>(r) * static_cast<size_t>(density) + bands.size() + 1;
    grid.f.reserve(capacity);
    grid.D.reserve(capacity);
    grid.W.reserve(capacity);
    grid.E.reserve(capacity);
    for (const RemezEdge& band : bands) {
        const int before = grid.Size();
        for (double f = band.lower; f < band.upper; f = f + delf)
            grid.Append(f, DesiredValue(band, f, filterType), WeightValue(band, f, filterType));
        // The band's last point moves onto its upper edge, so touching bands
        // both have a point at their common edge. A band that gave no point
        // (narrower than the spacing after the edge move) leaves the grid alone.
        // A band narrower than the spacing would keep one point, at its upper
        // edge, and leave the rest of it unconstrained: it keeps its lower
        // edge too, both ends closer than the spacing as in any other band.
        if (grid.Size() > before) {
            if (bothEdges && grid.Size() == before + 1 && band.upper > band.lower)
                grid.Append(band.lower, DesiredValue(band, band.lower, filterType),
                            WeightValue(band, band.lower, filterType));
            const size_t last = grid.f.size() - 1;
            grid.f[last] = band.upper;
            grid.D[last] = DesiredValue(band, band.upper, filterType);
            grid.W[last] = WeightValue(band, band.upper, filterType);
        }
    }
    // Types 1 and 2 have a forced zero at fs/2: a point there cannot be met.
    if (IsAntisymmetric(firType) == IsOddLength(firType) && grid.Size() > 0 && grid.f.back() > 0.5 - delf) {
        grid.f.pop_back();
        grid.D.pop_back();
        grid.W.pop_back();
        grid.E.pop_back();
    }
    return grid;
}

void ApplyFirTypeTransform(RemezGrid& grid, int firType)
{
    if (firType < 1 || firType > 3)
        return;
    // Where Q vanishes the response is forced to 0 whatever the taps: such a
    // point is left out of the grid rather than given a floored Q, whose
    // error would not be the taps' true weighted error (McClellan, Parks and
    // Rabiner 1973, and scipy.signal.remez, leave Q unfloored and keep those
    // frequencies off the grid). The grid already starts at the spacing for
    // the antisymmetric types and ends below fs/2 - spacing for types 1 and
    // 2; this catches a point that still lands on a zero.
    size_t kept = 0;
    for (size_t i = 0; i < grid.f.size(); ++i) {
        const double f = grid.f[i];
        double q;
        if (firType == 1)
            q = CosPi(f);
        else if (firType == 2)
            q = SinPi(2.0 * f);
        else
            q = SinPi(f);
        if (!(q > 0.0))
            continue;
        grid.f[kept] = f;
        grid.D[kept] = grid.D[i] / q;
        grid.W[kept] = grid.W[i] * q;
        ++kept;
    }
    grid.f.resize(kept);
    grid.D.resize(kept);
    grid.W.resize(kept);
    grid.E.resize(kept);
}

std::vector<ExtremalPoint> InitialExtremalSet(int gridSize, int r)
{
    std::vector<ExtremalPoint> ext(static_cast<size_t>(r) + 1);
    for (int k = 0; k <= r; ++k)
        ext[static_cast<size_t>(k)].index = static_cast<int>(static_cast<long long>(k) * (gridSize - 1) / r);
    return ext;
}

double NodeTolerance(const RemezGrid& grid)
{
    std::vector<double> x(grid.f.size());
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = GridCosine(grid.f[i]);
    return NodeToleranceOfCosines(x.data(), static_cast<int>(x.size()));
}

double NodeToleranceOfCosines(const double* x, int count)
{
    double smallest = 0.0;
    for (int i = 1; i < count; ++i) {
        const double gap = std::fabs(x[i] - x[i - 1]);
        if (gap > 0.0 && (smallest == 0.0 || gap < smallest))
            smallest = gap;
    }
    if (smallest > 0.0 && 0.5 * smallest < kNodeTolerance)
        return 0.5 * smallest;
    return kNodeTolerance;
}

bool IsLevelLost(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double delta)
{
    if (!std::isfinite(delta) || delta == 0.0)
        return true;
    for (const ExtremalPoint& p : ext) {
        const size_t i = static_cast<size_t>(p.index);
        if (std::fabs(delta / grid.W[i]) < 1e-13 * std::fabs(grid.D[i]))
            return true;
    }
    return false;
}

std::vector<ExtremalPoint> ScaleExtremalSet(const std::vector<double>& coarse, const RemezGrid& grid, int r)
{
    const int g = grid.Size();
    const int m = static_cast<int>(coarse.size());
    std::vector<ExtremalPoint> ext(static_cast<size_t>(r) + 1);
    if (g == 0 || m == 0)
        return ext;
    auto freq = [&](int i) { return grid.f[static_cast<size_t>(i)]; };
    auto index = [&](int k) -> int& { return ext[static_cast<size_t>(k)].index; };
    for (int k = 0; k <= r; ++k) {
        // Point k of r + 1 lies at position k (m - 1) / r of the coarse set.
        const double t = r > 0 ? static_cast<double>(k) * (m - 1) / r : 0.0;
        const int i0 = static_cast<int>(t);
        const double frac = t - i0;
        const double lower = coarse[static_cast<size_t>(i0)];
        const double f = i0 + 1 < m ? lower + (coarse[static_cast<size_t>(i0) + 1] - lower) * frac : lower;
        // First grid point at or above f (the grid rises), then the nearer neighbour.
        int lo = 0;
        int hi = g - 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (freq(mid) < f)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo > 0 && std::fabs(freq(lo - 1) - f) < std::fabs(freq(lo) - f))
            --lo;
        index(k) = lo;
    }
    // Distinct points where the grid has room: forward, then back from the end.
    for (int k = 1; k <= r; ++k)
        if (index(k) <= index(k - 1))
            index(k) = index(k - 1) + 1 < g ? index(k - 1) + 1 : g - 1;
    for (int k = r - 1; k >= 0; --k)
        if (index(k) >= index(k + 1) && index(k + 1) > 0)
            index(k) = index(k + 1) - 1;
    return ext;
}

void ComputeCosines(const RemezGrid& grid, std::vector<ExtremalPoint>& ext)
{
    for (ExtremalPoint& p : ext)
        p.x = GridCosine(grid.f[static_cast<size_t>(p.index)]);
}

namespace {

// The weights of distinct nodes from products kept as mantissa and binary
// exponent, then shifted by a common power of two (the formula and the
// deviation are unchanged by a common factor): the largest weight is about
// 1, the smallest may round to 0 where it no longer counts. A node equal to
// an earlier one (fill-ups of the extremal search) gets weight 0 and takes
// no part: the interpolant runs through the distinct nodes.
void ScaledBaryWeights(std::vector<ExtremalPoint>& ext)
{
    const size_t m = ext.size();
    std::vector<int> exponent(m, 0);
    std::vector<double> mantissa(m, 0.0);
    std::vector<bool> repeated(m, false);
    int smallest = 0;
    bool any = false;
    for (size_t k = 0; k < m; ++k)
        for (size_t j = 0; j < k && !repeated[k]; ++j)
            repeated[k] = ext[j].x == ext[k].x;
    for (size_t k = 0; k < m; ++k) {
        if (repeated[k])
            continue;
        double p = 1.0;
        int e = 0;
        int since = 0;
        for (size_t j = 0; j < m; ++j) {
            if (j == k || repeated[j])
                continue;
            p *= 2.0 * (ext[k].x - ext[j].x);
            // Factors lie within (0, 4] in size: 16 of them cannot leave the range of a double.
            if (++since == 16) {
                int ee = 0;
                p = std::frexp(p, &ee);
                e += ee;
                since = 0;
            }
        }
        int ee = 0;
        p = std::frexp(p, &ee);
        mantissa[k] = p;
        exponent[k] = e + ee;
        if (!any || exponent[k] < smallest)
            smallest = exponent[k];
        any = true;
    }
    for (size_t k = 0; k < m; ++k)
        ext[k].ad = repeated[k] ? 0.0 : std::ldexp(1.0 / mantissa[k], smallest - exponent[k]);
}

}  // namespace

void ComputeBaryWeights(std::vector<ExtremalPoint>& ext)
{
    const size_t m = ext.size();
    std::vector<double> mantissa(m);
    std::vector<int> exponent(m);
    bool plain = true;
    bool repeated = false;
    std::vector<double> x(m);
    for (size_t k = 0; k < m; ++k)
        x[k] = ext[k].x;
    std::vector<double> running(m);
    std::vector<int> scale(m);
    RemezNodeProducts(BestRemezVectorUnit(), x.data(), static_cast<int>(m), running.data(), scale.data());
    for (size_t k = 0; k < m; ++k) {
        const double p = running[k];
        int ee = 0;
        mantissa[k] = std::frexp(p, &ee);
        exponent[k] = scale[k] + ee;
        repeated = repeated || p == 0.0;
        const double product = std::ldexp(p, scale[k]);
        ext[k].ad = 1.0 / product;
        // The plain weights serve while every product is of fair size. A
        // product below 1e-9 (close or equal nodes) or beyond the range
        // of a double would need the 1e9 substitute, which breaks the
        // interpolation.
        if (!(std::fabs(product) >= 1e-9) || !std::isfinite(ext[k].ad) || ext[k].ad == 0.0)
            plain = false;
    }
    if (plain)
        return;
    if (repeated) {
        ScaledBaryWeights(ext);
        return;
    }
    int smallest = exponent[0];
    for (size_t k = 1; k < m; ++k)
        smallest = exponent[k] < smallest ? exponent[k] : smallest;
    for (size_t k = 0; k < m; ++k)
        ext[k].ad = std::ldexp(1.0 / mantissa[k], smallest - exponent[k]);
}

double ComputeDeviation(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext)
{
    double num = 0.0;
    double den = 0.0;
    double sign = 1.0;
    for (const ExtremalPoint& p : ext) {
        const size_t i = static_cast<size_t>(p.index);
        num += p.ad * grid.D[i];
        den += sign * p.ad / grid.W[i];
        sign = -sign;
    }
    // An error that is 0 at every node (desired values met exactly) levels at
    // 0; a quotient that is no number would poison every value after it.
    const double delta = num / den;
    return std::isfinite(delta) ? delta : 0.0;
}

void ComputeExtremalValues(const RemezGrid& grid, std::vector<ExtremalPoint>& ext, double delta)
{
    double sign = 1.0;
    for (ExtremalPoint& p : ext) {
        const size_t i = static_cast<size_t>(p.index);
        p.y = grid.D[i] - sign * delta / grid.W[i];
        sign = -sign;
    }
}

// The fast evaluator repeats these operations lane by lane; a product and
// a sum in one statement could be contracted into a fused multiply-add and
// make the two differ, so each has its own.
void BarycentricSums(const std::vector<ExtremalPoint>& ext, double x, double& num, double& den)
{
    num = 0.0;
    den = 0.0;
    const size_t m = ext.size();
    size_t k = 0;
    // A division costs several times a multiplication: one for four nodes.
    for (; k + 3 < m; k += 4) {
        const double d0 = x - ext[k].x;
        const double d1 = x - ext[k + 1].x;
        const double d2 = x - ext[k + 2].x;
        const double d3 = x - ext[k + 3].x;
        const double p01 = d0 * d1;
        const double p23 = d2 * d3;
        const double inv = 1.0 / (p01 * p23);
        const double i01 = p23 * inv;
        const double i23 = p01 * inv;
        const double w[4] = {ext[k].ad * d1 * i01, ext[k + 1].ad * d0 * i01, ext[k + 2].ad * d3 * i23,
                             ext[k + 3].ad * d2 * i23};
        for (size_t j = 0; j < 4; ++j) {
            const double term = w[j] * ext[k + j].y;
            num += term;
            den += w[j];
        }
    }
    for (; k < m; ++k) {
        const double c = ext[k].ad / (x - ext[k].x);
        const double term = c * ext[k].y;
        num += term;
        den += c;
    }
}

double EvaluateAtCosine(const std::vector<ExtremalPoint>& ext, double x, double nodeTol)
{
    for (const ExtremalPoint& p : ext)
        // Weight 0: a repeated node, or one too far off to count.
        if (p.ad != 0.0 && std::fabs(x - p.x) < nodeTol)
            return p.y;
    double num = 0.0;
    double den = 0.0;
    BarycentricSums(ext, x, num, den);
    return num / den;
}

double EvaluateResponse(const std::vector<ExtremalPoint>& ext, double f, double nodeTol)
{
    return EvaluateAtCosine(ext, GridCosine(f), nodeTol);
}

void ComputeError(RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double nodeTol)
{
    for (size_t i = 0; i < grid.f.size(); ++i)
        grid.E[i] = (EvaluateResponse(ext, grid.f[i], nodeTol) - grid.D[i]) * grid.W[i];
}

void ComputeErrorAt(RemezGrid& grid, const std::vector<ExtremalPoint>& ext, const std::vector<int>& points,
                    double nodeTol)
{
    for (int i : points) {
        const size_t u = static_cast<size_t>(i);
        grid.E[u] = (EvaluateResponse(ext, grid.f[u], nodeTol) - grid.D[u]) * grid.W[u];
    }
}

namespace {

bool IsCandidate(double e, double neighbour)
{
    return (e >= 0.0 && e > neighbour) || (e <= 0.0 && e < neighbour);
}

// The thinning, in the order of the step rule: walk the candidates, and
// the first one that does not change sign against the entry before it
// (an error of 0 never does) removes the smaller of the two, the later one
// on a tie; once every entry alternates, one candidate too many removes the
// end with the smaller error (the first on a tie), more than one the
// smallest (the first of equals), after which its two neighbours, now of
// one sign, make the first such pair again. Removing an entry of a pair
// leaves the entries before it alternating, so the rule's walk from the
// start would only come back to where it stopped: one pass over the list
// with the kept entries on a stack does the pair rule for all of it, and a
// heap of the alternating entries the smallest-first rule; K log K for K
// candidates, however noisy the errors.
void ThinCandidates(std::vector<int>& cand, const std::vector<double>& E, int extra)
{
    auto err = [&](int index) { return E[static_cast<size_t>(index)]; };
    auto changes = [&](int before, int index) { return err(before) > 0.0 ? err(index) < 0.0 : err(index) > 0.0; };
    size_t kept = 0;
    for (size_t i = 0; i < cand.size(); ++i) {
        const int c = cand[i];
        if (extra > 0 && kept > 0 && !changes(cand[kept - 1], c)) {
            if (std::fabs(err(cand[kept - 1])) < std::fabs(err(c)))
                cand[kept - 1] = c;
            --extra;
            continue;
        }
        cand[kept++] = c;
    }
    cand.resize(kept);
    if (extra <= 0)
        return;

    // Every entry alternates now. A list linked both ways, and a heap of
    // (|E|, position) whose removed entries are skipped when they surface.
    const int n = static_cast<int>(cand.size());
    std::vector<int> prev(static_cast<size_t>(n)), next(static_cast<size_t>(n));
    std::vector<char> gone(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        prev[static_cast<size_t>(i)] = i - 1;
        next[static_cast<size_t>(i)] = i + 1 < n ? i + 1 : -1;
    }
    int first = 0;
    int last = n - 1;
    auto remove = [&](int i) {
        const int p = prev[static_cast<size_t>(i)];
        const int q = next[static_cast<size_t>(i)];
        (p >= 0 ? next[static_cast<size_t>(p)] : first) = q;
        (q >= 0 ? prev[static_cast<size_t>(q)] : last) = p;
        gone[static_cast<size_t>(i)] = 1;
    };
    auto size = [&](int i) { return std::fabs(err(cand[static_cast<size_t>(i)])); };
    using Entry = std::pair<double, int>;
    std::vector<Entry> heap;
    heap.reserve(static_cast<size_t>(n));
    // An error that is no number never counts as the smallest.
    for (int i = 0; i < n; ++i)
        heap.emplace_back(std::isnan(size(i)) ? HUGE_VAL : size(i), i);
    const auto later = std::greater<Entry>();
    std::make_heap(heap.begin(), heap.end(), later);
    while (extra > 0) {
        if (extra == 1) {
            remove(size(first) > size(last) ? last : first);
            break;
        }
        int weakest = -1;
        while (weakest < 0) {
            std::pop_heap(heap.begin(), heap.end(), later);
            const int i = heap.back().second;
            heap.pop_back();
            if (!gone[static_cast<size_t>(i)])
                weakest = i;
        }
        const int p = prev[static_cast<size_t>(weakest)];
        const int q = next[static_cast<size_t>(weakest)];
        remove(weakest);
        --extra;
        if (p >= 0 && q >= 0 && extra > 0 && !changes(cand[static_cast<size_t>(p)], cand[static_cast<size_t>(q)])) {
            remove(size(p) < size(q) ? p : q);
            --extra;
        }
    }
    size_t out = 0;
    for (int i = first; i >= 0; i = next[static_cast<size_t>(i)])
        cand[out++] = cand[static_cast<size_t>(i)];
    cand.resize(out);
}

}  // namespace

std::vector<int> SearchExtrema(const std::vector<double>& E, int gridSize, int r)
{
    const int g = gridSize;
    // Sized by the grid: there can be more local extrema than 4 r.
    std::vector<int> cand(static_cast<size_t>(g > 0 ? g : 0));
    size_t found = 0;
    auto e = [&](int i) { return E[static_cast<size_t>(i)]; };
    if (g >= 2) {
        if (IsCandidate(e(0), e(1)))
            cand[found++] = 0;
        // Every index is written and the count moves on only for a local
        // extremum: no branch on the noisy errors.
        for (int i = 1; i + 1 < g; ++i) {
            const double ei = e(i);
            const bool peak = ei >= 0.0 && ei > e(i - 1) && ei > e(i + 1);
            const bool dip = ei <= 0.0 && ei < e(i - 1) && ei < e(i + 1);
            cand[found] = i;
            found += static_cast<size_t>(peak | dip);
        }
        if (IsCandidate(e(g - 1), e(g - 2)))
            cand[found++] = g - 1;
    }
    cand.resize(found);

    const int wanted = r + 1;
    int extra = static_cast<int>(cand.size()) - wanted;
    if (extra < 0)
        cand.resize(static_cast<size_t>(wanted), g - 1);
    if (extra > 0)
        ThinCandidates(cand, E, extra);
    cand.resize(static_cast<size_t>(wanted));
    return cand;
}

bool IsConverged(const std::vector<double>& E, const std::vector<ExtremalPoint>& ext, double tolerance)
{
    double maxAbs = 0.0;
    double minAbs = 0.0;
    bool first = true;
    for (size_t k = 0; k < ext.size(); ++k) {
        // Points repeated to fill the set, or errors that do not alternate,
        // can look level without the alternation a converged design has.
        if (k > 0) {
            if (ext[k].index <= ext[k - 1].index)
                return false;
            const double a = E[static_cast<size_t>(ext[k - 1].index)];
            const double b = E[static_cast<size_t>(ext[k].index)];
            if (!((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0)))
                return false;
        }
        const double a = std::fabs(E[static_cast<size_t>(ext[k].index)]);
        if (first || a > maxAbs)
            maxAbs = a;
        if (first || a < minAbs)
            minAbs = a;
        first = false;
    }
    // A NaN quotient (all errors 0) fails the comparison: not converged.
    return (maxAbs - minAbs) / maxAbs < tolerance;
}

void CoefficientsToTaps(const CPoints& alpha, int r, int firType, CPoints& h)
{
    // a[j] outside 0 .. r-1 counts as 0 (FIR type 2 with N = 5 names a[2]).
    auto a = [&](int j) { return j >= 0 && j < r && j < alpha.m_nCount ? alpha[j].real() : 0.0; };
    const int n = h.m_nCount;
    auto set = [&](int k, double v) {
        if (k >= 0 && k < n)
            h[k] = Complex(v, 0.0);
    };
    switch (firType) {
    case 0:
        for (int k = 0; k <= r - 2; ++k) {
            set(k, 0.5 * a(r - 1 - k));
            set(n - 1 - k, 0.5 * a(r - 1 - k));
        }
        set(r - 1, a(0));
        break;
    case 1:
        set(0, 0.25 * a(r - 1));
        set(n - 1, 0.25 * a(r - 1));
        for (int k = 1; k <= r - 2; ++k) {
            set(k, 0.25 * (a(r - 1 - k) + a(r - k)));
            set(n - 1 - k, 0.25 * (a(r - 1 - k) + a(r - k)));
        }
        set(r - 1, 0.5 * a(0) + 0.25 * a(1));
        set(r, 0.5 * a(0) + 0.25 * a(1));
        break;
    case 2:
        set(0, 0.25 * a(r - 1));
        set(1, 0.25 * a(r - 2));
        for (int k = 2; k <= r - 2; ++k)
            set(k, 0.25 * (a(r - 1 - k) - a(r + 1 - k)));
        set(r - 1, 0.5 * a(0) - 0.25 * a(2));
        set(r, 0.0);
        for (int k = 0; k <= r - 1; ++k)
            set(n - 1 - k, -h[k].real());
        break;
    case 3:
        set(0, 0.25 * a(r - 1));
        for (int k = 1; k <= r - 2; ++k)
            set(k, 0.25 * (a(r - 1 - k) - a(r - k)));
        set(r - 1, 0.5 * a(0) - 0.25 * a(1));
        for (int k = 0; k <= r - 1; ++k)
            set(n - 1 - k, -h[k].real());
        break;
    default:
        break;
    }
}
