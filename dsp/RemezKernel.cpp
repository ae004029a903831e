#include "dsp/RemezKernel.h"

#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>

#include "dsp/RemezChebyshev.h"

namespace {

constexpr int kBlock = RemezErrorEvaluator::kBlock;

// Below this many terms per pass a second thread costs more than it saves.
constexpr double kTermsForTwoThreads = 1500000.0;

// Four doubles as one value (one AVX2 register, half an AVX-512 one, two
// SSE2 ones); a block of kBlock grid points is kChains such values, whose
// recurrences run side by side so that one's latency hides behind the others.
typedef double Lanes __attribute__((vector_size(4 * sizeof(double))));
constexpr int kChains = kBlock / 4;

// Each lane repeats the scalar code operation by operation (ChebyshevSeries,
// EvaluateAtCosine); contraction into fused multiply-adds would round
// differently, so it is off (GCC by the attribute, Clang by the pragma).
#if defined(__clang__)
#define ZANTRO_NO_CONTRACT
#else
#define ZANTRO_NO_CONTRACT __attribute__((optimize("fp-contract=off")))
#endif

__attribute__((target_clones("avx512f", "avx2", "default"))) ZANTRO_NO_CONTRACT void SeriesBlocks(
    const double* x, int firstBlock, int lastBlock, const double* c, int n, double* result)
{
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif
    for (int b = firstBlock; b < lastBlock; ++b) {
        Lanes xv[kChains];
        Lanes x2[kChains];
        Lanes b1[kChains];
        Lanes b2[kChains];
        for (int q = 0; q < kChains; ++q) {
            std::memcpy(&xv[q], x + b * kBlock + 4 * q, sizeof xv[q]);
            x2[q] = xv[q] + xv[q];
            b1[q] = Lanes{};
            b2[q] = Lanes{};
        }
        for (int j = n - 1; j >= 1; --j) {
            const double cj = c[j];
            for (int q = 0; q < kChains; ++q) {
                const Lanes u = cj - b2[q];
                const Lanes t = x2[q] * b1[q];
                b2[q] = b1[q];
                b1[q] = u + t;
            }
        }
        for (int q = 0; q < kChains; ++q) {
            Lanes a = {};
            if (n > 0) {
                const Lanes u = c[0] - b2[q];
                const Lanes t = xv[q] * b1[q];
                a = u + t;
            }
            std::memcpy(result + b * kBlock + 4 * q, &a, sizeof a);
        }
    }
}

// The barycentric interpolant lane by lane, each lane summing its terms in
// the order of the plain loop. The node test is left to the caller through
// the smallest distance of each point, so the loop has no branch.
__attribute__((target_clones("avx512f", "avx2", "default"))) ZANTRO_NO_CONTRACT void InterpolateBlocks(
    const double* x, int firstBlock, int lastBlock, const double* xk, const double* ad, const double* y, int m,
    double* result, double* nearest)
{
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif
    for (int b = firstBlock; b < lastBlock; ++b) {
        for (int q = 0; q < kChains; ++q) {
            Lanes xv;
            std::memcpy(&xv, x + b * kBlock + 4 * q, sizeof xv);
            Lanes num = {};
            Lanes den = {};
            Lanes near = {};
            near += 1e300;
            for (int k = 0; k < m; ++k) {
                const Lanes d = xv - xk[k];
                const Lanes c = ad[k] / d;
                const Lanes term = c * y[k];
                num += term;
                den += c;
                const Lanes dist = d < 0.0 ? -d : d;
                near = dist < near ? dist : near;
            }
            const Lanes a = num / den;
            std::memcpy(result + b * kBlock + 4 * q, &a, sizeof a);
            std::memcpy(nearest + b * kBlock + 4 * q, &near, sizeof near);
        }
    }
}

}  // namespace

RemezErrorEvaluator::RemezErrorEvaluator(RemezGrid& grid, int r, int nThreads) : m_grid(grid)
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
        const bool large = static_cast<double>(g) * (r + 1) >= kTermsForTwoThreads;
        nThreads = large && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    }
    m_nThreads = nThreads >= 2 ? 2 : 1;
}

void RemezErrorEvaluator::EvaluateBlocks(int firstBlock, int lastBlock, bool series,
                                         const std::vector<ExtremalPoint>* ext)
{
    const int g = m_grid.Size();
    const int end = lastBlock * kBlock < g ? lastBlock * kBlock : g;
    if (series) {
        SeriesBlocks(m_x.data(), firstBlock, lastBlock, m_c.data(), static_cast<int>(m_c.size()), m_A.data());
        for (int i = firstBlock * kBlock; i < end; ++i) {
            const size_t u = static_cast<size_t>(i);
            m_grid.E[u] = (m_A[u] - m_grid.D[u]) * m_grid.W[u];
        }
        return;
    }
    InterpolateBlocks(m_x.data(), firstBlock, lastBlock, m_xk.data(), m_ad.data(), m_y.data(),
                      static_cast<int>(m_xk.size()), m_A.data(), m_near.data());
    for (int i = firstBlock * kBlock; i < end; ++i) {
        const size_t u = static_cast<size_t>(i);
        // Points at a node take the node's value, as the plain loop does.
        const double a = m_near[u] < m_dNodeTol ? EvaluateAtCosine(*ext, m_x[u], m_dNodeTol) : m_A[u];
        m_grid.E[u] = (a - m_grid.D[u]) * m_grid.W[u];
    }
}

void RemezErrorEvaluator::Run(bool series, const std::vector<ExtremalPoint>* ext)
{
    const int blocks = static_cast<int>(m_x.size()) / kBlock;
    if (m_nThreads < 2 || blocks < 2) {
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
    for (size_t k = 0; k < m; ++k) {
        m_xk[k] = ext[k].x;
        m_ad[k] = ext[k].ad;
        m_y[k] = ext[k].y;
    }
}

std::vector<double> RemezErrorEvaluator::Coefficients(const std::vector<ExtremalPoint>& ext, int count)
{
    if (count <= 0)
        return {};
    if (static_cast<int>(m_points.size()) < count || m_nPoints != count) {
        const int padded = (count + kBlock - 1) / kBlock * kBlock;
        m_points.assign(static_cast<size_t>(padded), 2.0);
        for (int i = 0; i < count; ++i)
            m_points[static_cast<size_t>(i)] = ChebyshevPoint(i, count);
        m_nPoints = count;
    }
    LoadNodes(ext);
    const int blocks = static_cast<int>(m_points.size()) / kBlock;
    m_samples.resize(m_points.size());
    m_sampleNear.resize(m_points.size());
    InterpolateBlocks(m_points.data(), 0, blocks, m_xk.data(), m_ad.data(), m_y.data(),
                      static_cast<int>(m_xk.size()), m_samples.data(), m_sampleNear.data());
    std::vector<double> v(static_cast<size_t>(count));
    for (size_t i = 0; i < v.size(); ++i)
        // A point on a node (or a node of weight 0) takes the scalar formula's exact answer.
        v[i] = m_sampleNear[i] == 0.0 || !std::isfinite(m_samples[i]) ? InterpolateExact(ext, m_points[i])
                                                                       : m_samples[i];
    return ChebyshevCoefficients(v);
}

void RemezErrorEvaluator::ComputeError(const std::vector<ExtremalPoint>& ext, double delta, double nodeTol)
{
    m_dNodeTol = nodeTol;
    m_c = Coefficients(ext, static_cast<int>(ext.size()));
    const double allowed = kSeriesShare * std::fabs(delta);
    const double bound = ChebyshevSeriesErrorBound(m_c) * m_dMaxWeight;
    if (std::isfinite(bound) && bound <= allowed && SeriesMeetsNodes(ext, allowed)) {
        Run(true, &ext);
        return;
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
    SeriesBlocks(m_nodeX.data(), 0, static_cast<int>(m_nodeX.size()) / kBlock, m_c.data(),
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
