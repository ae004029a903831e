#pragma once

#include <cstddef>
#include <vector>

#include "dsp/RemezAlgorithm.h"
#include "dsp/RemezVector.h"

// The weighted error E = (A(f) - D) W on the whole grid, fast. The
// interpolant of a pass is taken once as a Chebyshev series (its values at
// r + 1 Chebyshev points, a DCT) and summed by Clenshaw's recurrence at every
// grid point: a subtraction and a fused multiply-add per term instead of a
// division. Where the series cannot be summed to well below the levelled
// error (an interpolant that is huge between the bands), or misses a node's
// value by more than that, the pass falls back to the barycentric formula
// of ComputeError, same operations in the same order. Either way the
// exchange sees the same errors to well below the levelled error.
// Several grid points go through a vector register at a time, on the widest
// vector unit the processor has (RemezVector.h), optionally on two threads.
class RemezErrorEvaluator {
public:
    // Grid points evaluated together; the cosines are padded to a multiple of it.
    static constexpr int kBlock = kRemezVectorBlock;
    // The series is used when its error bound, weighted, stays below this
    // share of the levelled error |delta|.
    static constexpr double kSeriesShare = 1e-6;

    // The grid's cosines are taken once; the grid itself must outlive the evaluator.
    // nThreads: 1 or 2; 0 lets each pass take two where its work is large
    // enough and two cores exist.
    // unit: the kernels to run (tests hold every unit to the same bits).
    RemezErrorEvaluator(RemezGrid& grid, int r, int nThreads, RemezVectorUnit unit = BestRemezVectorUnit());

    // E for the interpolant through ext (weights and values prepared), delta
    // its levelled error; nodeTol is the node test of the barycentric formula.
    void ComputeError(const std::vector<ExtremalPoint>& ext, double delta, double nodeTol);
    // E at the grid indices given only, by the barycentric formula: the
    // bits of ComputeErrorAt (RemezAlgorithm.h). E elsewhere is left as it was.
    void ComputeErrorAt(const std::vector<ExtremalPoint>& ext, const std::vector<int>& points, double nodeTol);
    // InterpolantCoefficients(ext, count), the samples taken several at a time:
    // the same values bit for bit.
    std::vector<double> Coefficients(const std::vector<ExtremalPoint>& ext, int count);
    // InterpolateExact(ext, x[i]) for every i, several points at a time.
    std::vector<double> Interpolate(const std::vector<ExtremalPoint>& ext, const std::vector<double>& x);
    // E for the cosine series sum_j c_j cos(2 pi j f) of a finished design.
    void ComputeSeriesError(const std::vector<double>& c);

    // NodeTolerance of the grid, from the cosines at hand.
    double NodeTolerance() const;
    // cos(2 pi f) of grid point i, as GridCosine gives it.
    double Cosine(int i) const { return m_x[static_cast<std::size_t>(i)]; }
    int Threads() const { return m_nThreads; }
    // Whole-grid passes so far (ComputeError) that took the barycentric formula.
    int BarycentricPasses() const { return m_nBarycentric; }

private:
    void LoadNodes(const std::vector<ExtremalPoint>& ext);
    // m_samples and m_sampleNear: the barycentric kernel at the points x;
    // m_sampleNear unset unless nearAlways or the nodes' x rise somewhere.
    void Sample(const std::vector<ExtremalPoint>& ext, const std::vector<double>& x, bool nearAlways);
    // m_points: the count Chebyshev points (count >= 1), m_cosines their table.
    void PrepareChebyshevPoints(int count);
    bool SeriesMeetsNodes(const std::vector<ExtremalPoint>& ext, double allowed);
    void Run(bool series, const std::vector<ExtremalPoint>* ext);
    // EvaluateAtCosine(ext, x, node tolerance) for a point next to a node.
    double NearNodeValue(const std::vector<ExtremalPoint>& ext, double x) const;
    void EvaluateBlocks(int firstBlock, int lastBlock, bool series, const std::vector<ExtremalPoint>* ext);

    RemezGrid& m_grid;
    RemezVectorUnit m_unit;
    int m_nThreads;               // the most a pass may use
    bool m_bChooseThreads = false;  // each pass uses two only where they pay
    int m_nBarycentric = 0;
    double m_dMaxWeight = 0.0;
    double m_dNodeTol = kNodeTolerance;
    bool m_bNodesFalling = false;  // the loaded nodes' x never rise (NearNodeValue)
    std::vector<double> m_x;     // cos(2 pi f), padded with 2.0 (never near a node)
    std::vector<double> m_A;     // interpolant per padded point
    std::vector<double> m_near;  // smallest |x - x_k| per padded point
    std::vector<double> m_c;     // series coefficients
    std::vector<double> m_points;  // the m_nPoints Chebyshev points
    std::vector<double> m_samplePoints;  // points to interpolate at, padded with 2.0
    std::vector<double> m_cosines;  // ChebyshevCosineTable(m_nPoints)
    int m_nPoints = 0;
    std::vector<double> m_nodeX;  // the nodes' x, padded with 2.0
    std::vector<double> m_nodeA;
    std::vector<double> m_samples;
    std::vector<double> m_sampleNear;
    std::vector<double> m_xk;
    std::vector<double> m_ad;
    std::vector<double> m_y;
};
