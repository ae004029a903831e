#include "dsp/RemezKernel.h"

#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>

namespace {

constexpr int kBlock = RemezErrorEvaluator::kBlock;

// Below this many barycentric terms per pass a second thread costs more than it saves.
constexpr double kTermsForTwoThreads = 400000.0;

// kBlock doubles as one value: the compiler maps it onto one AVX-512
// register, two AVX2 registers or four SSE2 registers, by the clone.
typedef double Lanes __attribute__((vector_size(kBlock * sizeof(double))));

// The interpolant at kBlock grid points per block, each lane summing its
// terms in the order of the plain loop. The node test is left to the
// caller through the smallest distance of each point, so the loop has no
// branch. Contraction into fused multiply-adds is off: it would round
// differently from the plain loop.
__attribute__((target_clones("avx512f", "avx2", "default"), optimize("fp-contract=off")))
void InterpolateBlocks(const double* x, int firstBlock, int lastBlock, const double* xk, const double* ad,
                       const double* y, int m, double* result, double* nearest)
{
    for (int b = firstBlock; b < lastBlock; ++b) {
        Lanes xv;
        std::memcpy(&xv, x + b * kBlock, sizeof xv);
        Lanes num = {};
        Lanes den = {};
        Lanes near = {};
        near += 1e300;
        for (int k = 0; k < m; ++k) {
            const Lanes d = xv - xk[k];
            const Lanes c = ad[k] / d;
            num += c * y[k];
            den += c;
            const Lanes dist = d < 0.0 ? -d : d;
            near = dist < near ? dist : near;
        }
        const Lanes a = num / den;
        std::memcpy(result + b * kBlock, &a, sizeof a);
        std::memcpy(nearest + b * kBlock, &near, sizeof near);
    }
}

}  // namespace

RemezErrorEvaluator::RemezErrorEvaluator(RemezGrid& grid, int r, int nThreads, double nodeTol)
    : m_grid(grid), m_dNodeTol(nodeTol)
{
    const int g = grid.Size();
    const int padded = (g + kBlock - 1) / kBlock * kBlock;
    m_x.assign(static_cast<size_t>(padded), 2.0);
    for (int i = 0; i < g; ++i)
        m_x[static_cast<size_t>(i)] = GridCosine(grid.f[static_cast<size_t>(i)]);
    m_A.assign(static_cast<size_t>(padded), 0.0);
    m_near.assign(static_cast<size_t>(padded), 0.0);

    if (nThreads == 0) {
        const bool large = static_cast<double>(g) * (r + 1) >= kTermsForTwoThreads;
        nThreads = large && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    }
    m_nThreads = nThreads >= 2 ? 2 : 1;
}

void RemezErrorEvaluator::EvaluateBlocks(int firstBlock, int lastBlock, const std::vector<ExtremalPoint>& ext)
{
    InterpolateBlocks(m_x.data(), firstBlock, lastBlock, m_xk.data(), m_ad.data(), m_y.data(),
                      static_cast<int>(m_xk.size()), m_A.data(), m_near.data());
    const int g = m_grid.Size();
    const int end = lastBlock * kBlock < g ? lastBlock * kBlock : g;
    for (int i = firstBlock * kBlock; i < end; ++i) {
        const size_t u = static_cast<size_t>(i);
        // Points at a node take the node's value, as the plain loop does.
        const double a = m_near[u] < m_dNodeTol ? EvaluateAtCosine(ext, m_x[u], m_dNodeTol) : m_A[u];
        m_grid.E[u] = (a - m_grid.D[u]) * m_grid.W[u];
    }
}

void RemezErrorEvaluator::ComputeError(const std::vector<ExtremalPoint>& ext)
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
    const int blocks = static_cast<int>(m_x.size()) / kBlock;
    if (m_nThreads < 2 || blocks < 2) {
        EvaluateBlocks(0, blocks, ext);
        return;
    }
    const int half = blocks / 2;
    std::thread upper;
    try {
        upper = std::thread([&] { EvaluateBlocks(half, blocks, ext); });
    } catch (const std::system_error&) {
        // No second thread to be had: the same work on this one.
        EvaluateBlocks(0, blocks, ext);
        return;
    }
    EvaluateBlocks(0, half, ext);
    upper.join();
}
