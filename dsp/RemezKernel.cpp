#include "dsp/RemezKernel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <system_error>
#include <thread>

#include "dsp/RemezChebyshev.h"

namespace {

// Below this many terms per pass a second thread (started for the pass)
// costs more than it saves: a division per term in the barycentric formula,
// two operations per term in the series.
constexpr double kBarycentricTermsForTwoThreads = 1500000.0;
constexpr double kSeriesTermsForTwoThreads = 12000000.0;

// Largest |v|; not a number (or infinite) where one of them is.
double LargestSize(const std::vector<double>& v)
{
    double largest = 0.0;
    for (double e : v)
        largest = std::fabs(e) > largest || !(std::fabs(e) <= DBL_MAX) ? std::fabs(e) : largest;
    return largest;
}

// min_k |x - xk_k| as the interpolation kernel finds it (1e300 without
// nodes), for nodes whose x never rise. Rounded, x - xk_k grows with k, so
// the nearest are the last node at or above x and the first below it: from
// first, the count of nodes at or above the previous point, a walk that
// moves forward while the points' x fall too (the grid's do).
double NearestFallingNode(const std::vector<double>& xk, double x, size_t& first)
{
    const size_t m = xk.size();
    if (first > 0 && !(xk[first - 1] >= x))
        first = static_cast<size_t>(std::partition_point(xk.begin(), xk.begin() + static_cast<std::ptrdiff_t>(first),
                                                         [x](double v) { return v >= x; }) -
                                    xk.begin());
    while (first < m && xk[first] >= x)
        ++first;
    double nearest = 1e300;
    // first - 1 wraps round to no node when first is 0.
    for (size_t k : {first - 1, first}) {
        if (k >= m)
            continue;
        const double d = std::fabs(x - xk[k]);
        nearest = d < nearest ? d : nearest;
    }
    return nearest;
}

}  // namespace

RemezErrorEvaluator::RemezErrorEvaluator(RemezGrid& grid, int r, int nThreads, RemezVectorUnit unit)
    : m_grid(grid), m_unit(unit)
{
    const int g = grid.Size();
    const int padded = (g + kBlock - 1) / kBlock * kBlock;
    m_x.assign(static_cast<size_t>(padded), 2.0);
    for (int i = 0; i < g; ++i)
        m_x[static_cast<size_t>(i)] = GridCosine(grid.f[static_cast<size_t>(i)]);
    m_A.assign(static_cast<size_t>(padded), 0.0);
    m_near.assign(static_cast<size_t>(padded), 0.0);
    for (double w : grid.W)
        m_dMaxWeight = std::fabs(w) > m_dMaxWeight ? std::fabs(w) : m_dMaxWeight;

    if (nThreads == 0) {
        m_bChooseThreads = true;
        const bool large = static_cast<double>(g) * (r + 1) >= kBarycentricTermsForTwoThreads;
        nThreads = large && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    }
    m_nThreads = nThreads >= 2 ? 2 : 1;
}

double RemezErrorEvaluator::NodeTolerance() const
{
    return NodeToleranceOfCosines(m_x.data(), m_grid.Size());
}

void RemezErrorEvaluator::EvaluateBlocks(int firstBlock, int lastBlock, bool series,
                                         const std::vector<ExtremalPoint>* ext)
{
    const int g = m_grid.Size();
    const int end = lastBlock * kBlock < g ? lastBlock * kBlock : g;
    if (series) {
        RemezSeriesBlocks(m_unit, m_x.data(), firstBlock, lastBlock, m_c.data(), static_cast<int>(m_c.size()),
                          m_A.data());
        for (int i = firstBlock * kBlock; i < end; ++i) {
            const size_t u = static_cast<size_t>(i);
            m_grid.E[u] = (m_A[u] - m_grid.D[u]) * m_grid.W[u];
        }
        return;
    }
    // Falling nodes leave the kernel the sums alone: the nearest node of
    // every point comes from a walk along them, the same distance.
    const bool walk = m_bNodesFalling;
    RemezInterpolateBlocks(m_unit, m_x.data(), firstBlock, lastBlock, m_xk.data(), m_ad.data(), m_y.data(),
                           static_cast<int>(m_xk.size()), m_A.data(), walk ? nullptr : m_near.data());
    size_t first = 0;
    for (int i = firstBlock * kBlock; i < end; ++i) {
        const size_t u = static_cast<size_t>(i);
        const double near = walk ? NearestFallingNode(m_xk, m_x[u], first) : m_near[u];
        // Points at a node take the node's value, as the plain loop does.
        const double a = near < m_dNodeTol ? NearNodeValue(*ext, m_x[u]) : m_A[u];
        m_grid.E[u] = (a - m_grid.D[u]) * m_grid.W[u];
    }
}

double RemezErrorEvaluator::NearNodeValue(const std::vector<ExtremalPoint>& ext, double x) const
{
    if (!m_bNodesFalling)
        return EvaluateAtCosine(ext, x, m_dNodeTol);
    // With the nodes' x falling, those above x by the tolerance or more come
    // first, and the scan's answer is among the nodes after them: the first
    // of weight non-zero within the tolerance, before the nodes fall below
    // x by the tolerance. The extremal set of a pass is in grid order, so a
    // point at a node costs a bisection instead of a walk over the set.
    const double tol = m_dNodeTol;
    auto p = std::partition_point(ext.begin(), ext.end(),
                                  [&](const ExtremalPoint& q) { return q.x > x && !(std::fabs(x - q.x) < tol); });
    for (; p != ext.end(); ++p) {
        if (std::fabs(x - p->x) < tol) {
            if (p->ad != 0.0)
                return p->y;
        } else if (p->x < x) {
            break;
        }
    }
    double num = 0.0;
    double den = 0.0;
    BarycentricSums(ext, x, num, den);
    return num / den;
}

void RemezErrorEvaluator::Run(bool series, const std::vector<ExtremalPoint>* ext)
{
    const int blocks = static_cast<int>(m_x.size()) / kBlock;
    const double terms = static_cast<double>(m_grid.Size()) *
                         static_cast<double>(series ? m_c.size() : m_xk.size());
    const bool worth = !m_bChooseThreads ||
                       terms >= (series ? kSeriesTermsForTwoThreads : kBarycentricTermsForTwoThreads);
    if (m_nThreads < 2 || blocks < 2 || !worth) {
        EvaluateBlocks(0, blocks, series, ext);
        return;
    }
    const int half = blocks / 2;
    std::thread upper;
    try {
        upper = std::thread([&] { EvaluateBlocks(half, blocks, series, ext); });
    } catch (const std::system_error&) {
        // No second thread to be had: the same work on this one.
        EvaluateBlocks(0, blocks, series, ext);
        return;
    }
    EvaluateBlocks(0, half, series, ext);
    upper.join();
}

void RemezErrorEvaluator::LoadNodes(const std::vector<ExtremalPoint>& ext)
{
    const size_t m = ext.size();
    m_xk.resize(m);
    m_ad.resize(m);
    m_y.resize(m);
    m_bNodesFalling = true;
    for (size_t k = 0; k < m; ++k) {
        m_xk[k] = ext[k].x;
        m_ad[k] = ext[k].ad;
        m_y[k] = ext[k].y;
        if (k > 0 && !(ext[k].x <= ext[k - 1].x))
            m_bNodesFalling = false;
    }
}

void RemezErrorEvaluator::ComputeErrorAt(const std::vector<ExtremalPoint>& ext, const std::vector<int>& points,
                                         double nodeTol)
{
    m_dNodeTol = nodeTol;
    std::vector<double> x(points.size());
    for (size_t j = 0; j < points.size(); ++j)
        x[j] = m_x[static_cast<size_t>(points[j])];
    Sample(ext, x, false);
    size_t first = 0;
    for (size_t j = 0; j < points.size(); ++j) {
        const size_t u = static_cast<size_t>(points[j]);
        const double near = m_bNodesFalling ? NearestFallingNode(m_xk, x[j], first) : m_sampleNear[j];
        // Points at a node take the node's value, as in a whole pass.
        const double a = near < m_dNodeTol ? NearNodeValue(ext, x[j]) : m_samples[j];
        m_grid.E[u] = (a - m_grid.D[u]) * m_grid.W[u];
    }
}

void RemezErrorEvaluator::Sample(const std::vector<ExtremalPoint>& ext, const std::vector<double>& x,
                                 bool nearAlways)
{
    const size_t count = x.size();
    m_samplePoints.assign((count + kBlock - 1) / kBlock * kBlock, 2.0);
    std::copy(x.begin(), x.end(), m_samplePoints.begin());
    LoadNodes(ext);
    m_samples.resize(m_samplePoints.size());
    m_sampleNear.resize(m_samplePoints.size());
    RemezInterpolateBlocks(m_unit, m_samplePoints.data(), 0, static_cast<int>(m_samplePoints.size()) / kBlock,
                           m_xk.data(), m_ad.data(), m_y.data(), static_cast<int>(m_xk.size()), m_samples.data(),
                           nearAlways || !m_bNodesFalling ? m_sampleNear.data() : nullptr);
}

std::vector<double> RemezErrorEvaluator::Interpolate(const std::vector<ExtremalPoint>& ext,
                                                     const std::vector<double>& x)
{
    Sample(ext, x, true);
    const size_t count = x.size();
    std::vector<double> v(count);
    for (size_t i = 0; i < count; ++i)
        // A point on a node (or a node of weight 0) takes the scalar formula's exact answer.
        v[i] = m_sampleNear[i] == 0.0 || !std::isfinite(m_samples[i]) ? InterpolateExact(ext, x[i]) : m_samples[i];
    return v;
}

void RemezErrorEvaluator::PrepareChebyshevPoints(int count)
{
    if (m_nPoints == count)
        return;
    m_points.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        m_points[static_cast<size_t>(i)] = ChebyshevPoint(i, count);
    m_nPoints = count;
    m_cosines = ChebyshevCosineTable(count);
}

std::vector<double> RemezErrorEvaluator::Coefficients(const std::vector<ExtremalPoint>& ext, int count)
{
    if (count <= 0)
        return {};
    PrepareChebyshevPoints(count);
    return ChebyshevCoefficients(Interpolate(ext, m_points), m_cosines);
}

void RemezErrorEvaluator::ComputeError(const std::vector<ExtremalPoint>& ext, double delta, double nodeTol)
{
    m_dNodeTol = nodeTol;
    const double allowed = kSeriesShare * std::fabs(delta);
    // The series takes the samples' values at the Chebyshev points, so
    // sum |c_j| is at least the largest sample: where a few samples spread
    // over [-1, 1] already put the bound at twice the allowed error or more,
    // the rest and the DCT (together a tenth of a pass on a sparse grid)
    // would only lead to the barycentric formula. The few are one block of
    // points, so the two calls pad no more points than one would.
    const int count = static_cast<int>(ext.size());
    const double perSample = static_cast<double>(count) * DBL_EPSILON * m_dMaxWeight;
    std::vector<double> samples;
    bool possible = count == 0;
    if (count > 0) {
        PrepareChebyshevPoints(count);
        const int few = count >= 2 * kBlock ? kBlock : count;
        std::vector<char> early(static_cast<size_t>(count), 0);
        for (int k = 0; k < few; ++k)
            early[static_cast<size_t>(static_cast<long long>(k) * count / few)] = 1;
        std::vector<double> first, rest;
        for (int i = 0; i < count; ++i)
            (early[static_cast<size_t>(i)] ? first : rest).push_back(m_points[static_cast<size_t>(i)]);
        const std::vector<double> firstSamples = Interpolate(ext, first);
        possible = LargestSize(firstSamples) * perSample <= 2.0 * allowed;
        if (possible) {
            const std::vector<double> restSamples = Interpolate(ext, rest);
            possible = LargestSize(restSamples) * perSample <= 2.0 * allowed;
            samples.resize(static_cast<size_t>(count));
            size_t a = 0, b = 0;
            for (int i = 0; i < count; ++i)
                samples[static_cast<size_t>(i)] = early[static_cast<size_t>(i)] ? firstSamples[a++] : restSamples[b++];
        }
    }
    if (possible) {
        m_c = count > 0 ? ChebyshevCoefficients(samples, m_cosines) : std::vector<double>();
        const double bound = ChebyshevSeriesErrorBound(m_c) * m_dMaxWeight;
        if (std::isfinite(bound) && bound <= allowed && SeriesMeetsNodes(ext, allowed)) {
            Run(true, &ext);
            return;
        }
    }
    ++m_nBarycentric;
    LoadNodes(ext);
    Run(false, &ext);
}

bool RemezErrorEvaluator::SeriesMeetsNodes(const std::vector<ExtremalPoint>& ext, double allowed)
{
    // The samples behind the coefficients can be off by more than the
    // rounding of the sum (the barycentric formula between far-apart node
    // clusters); at the nodes the series must give the values y_k.
    const size_t m = ext.size();
    m_nodeX.assign((m + kBlock - 1) / kBlock * kBlock, 2.0);
    m_nodeA.resize(m_nodeX.size());
    for (size_t k = 0; k < m; ++k)
        m_nodeX[k] = ext[k].x;
    RemezSeriesBlocks(m_unit, m_nodeX.data(), 0, static_cast<int>(m_nodeX.size()) / kBlock, m_c.data(),
                 static_cast<int>(m_c.size()), m_nodeA.data());
    for (size_t k = 0; k < m; ++k) {
        if (ext[k].ad == 0.0)
            continue;
        const double w = std::fabs(m_grid.W[static_cast<size_t>(ext[k].index)]);
        if (!(std::fabs(m_nodeA[k] - ext[k].y) * w <= allowed))
            return false;
    }
    return true;
}

void RemezErrorEvaluator::ComputeSeriesError(const std::vector<double>& c)
{
    m_c = c;
    Run(true, nullptr);
}
