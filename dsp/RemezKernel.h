#pragma once

#include <vector>

#include "dsp/RemezAlgorithm.h"

// The fast evaluation of the weighted error on the whole grid. It computes
// exactly what ComputeError computes (same operations in the same order for
// every grid point), several grid points at a time in vector registers, on
// the widest vector unit the processor has, optionally on two threads.
class RemezErrorEvaluator {
public:
    // Grid points evaluated together; the cosines are padded to a multiple of it.
    static constexpr int kBlock = 8;

    // The grid's cosines are taken once; the grid itself must outlive the evaluator.
    // nThreads: 1 or 2; 0 picks 2 when the work is large enough and two cores exist.
    // nodeTol: the node test of the interpolation (NodeTolerance).
    RemezErrorEvaluator(RemezGrid& grid, int r, int nThreads, double nodeTol = kNodeTolerance);

    // E = (A(f) - D) W for every grid point, A interpolating through ext.
    void ComputeError(const std::vector<ExtremalPoint>& ext);

    int Threads() const { return m_nThreads; }

private:
    void EvaluateBlocks(int firstBlock, int lastBlock, const std::vector<ExtremalPoint>& ext);

    RemezGrid& m_grid;
    int m_nThreads;
    double m_dNodeTol;
    std::vector<double> m_x;     // cos(2 pi f), padded with 2.0 (never near a node)
    std::vector<double> m_A;     // interpolant per padded point
    std::vector<double> m_near;  // smallest |x - x_k| per padded point
    std::vector<double> m_xk;
    std::vector<double> m_ad;
    std::vector<double> m_y;
};
