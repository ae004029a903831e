#pragma once

#include <vector>

#include "dsp/RemezBand.h"
#include "dsp/ResponseShape.h"
#include "dsp/TrigPi.h"

class CPoints;

// Parks-McClellan (Remez exchange) design of linear-phase FIR filters.
// Frequencies inside the algorithm are fractions of the sampling rate,
// 0 .. 0.5. The FIR type is that of CZantroView::GetFirType: 0 symmetric odd
// N, 1 symmetric even, 2 antisymmetric odd, 3 antisymmetric even.

inline constexpr int kRemezMaxPasses = 64;

// One band in use: edges in fractions of fs, desired value, weight; and
// the shape of its desired response (flat unless set).
struct RemezEdge {
    double lower;
    double upper;
    double value;
    double weight;
    ResponseShape shape = {};
};

// The dense grid, one entry per point in each array: frequency f (fraction
// of fs), desired value D, weight W and weighted error E.
struct RemezGrid {
    std::vector<double> f;
    std::vector<double> D;
    std::vector<double> W;
    std::vector<double> E;

    int Size() const { return static_cast<int>(f.size()); }
    void Append(double freq, double desired, double weight);
};

// One point of the extremal set: grid index, x = cos(2 pi f), barycentric
// weight ad and interpolation value y.
struct ExtremalPoint {
    int index = 0;
    double x = 0.0;
    double ad = 0.0;
    double y = 0.0;
};

// The node test of the interpolation: within this distance in x of a node
// the interpolant takes the node's value. Dense grids use a smaller one
// (NodeTolerance).
inline constexpr double kNodeTolerance = 1e-6;
// Designs with fewer cosine functions never start from a coarser design.
inline constexpr int kMinFunctionsForCoarseStart = 24;

// Number of cosine functions r: N / 2, (N + 1) / 2 for FIR type 0.
int RemezFunctionCount(int taps, int firType);

// The steps of DesignRemez, in order of use.
std::vector<RemezEdge> BuildBandList(const RemezBand* bands, int fs);
// Differentiator (filterType 5): 2 value f; a shaped band: value G(f)
// (ResponseShape.h); otherwise the band's value.
double DesiredValue(const RemezEdge& band, double f, int filterType);
// Differentiator with a value of at least 0.0001: weight / f; a shaped
// band: weight / G(f); otherwise the weight.
double WeightValue(const RemezEdge& band, double f, int filterType);
// Grid spacing 0.5 / (r density). May move the first band's lower edge to
// the spacing (antisymmetric types).
// bothEdges: a band narrower than the spacing keeps both its edges (the
// grid rule alone leaves it one point); starts on sparser grids leave it.
RemezGrid BuildDenseGrid(std::vector<RemezEdge>& bands, int r, int density, int filterType, int firType,
                         bool bothEdges = true);
// D / Q(f) and W Q(f) for the FIR type: 1 cos(pi f), 2 sin(2 pi f), 3
// sin(pi f), unfloored; points where Q is 0 (or below) are removed.
void ApplyFirTypeTransform(RemezGrid& grid, int firType);
// Point k takes grid index k (G - 1) / r, k = 0 .. r.
std::vector<ExtremalPoint> InitialExtremalSet(int gridSize, int r);
// kNodeTolerance, or less on a dense grid: half the smallest non-zero
// distance in x between neighbouring grid points, so that the node test
// never gives a neighbouring point the node's value.
double NodeTolerance(const RemezGrid& grid);
// The same from the grid's cosines x[0 .. count-1].
double NodeToleranceOfCosines(const double* x, int count);
// True when the levelled error delta / W_k of some point is below 1e-13 of
// its desired value D_k: the values y_k then hardly carry the alternation.
bool IsLevelLost(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double delta);
// r + 1 grid indices, strictly rising where the grid allows, nearest to the
// frequencies of a coarser extremal set stretched over r + 1 points.
std::vector<ExtremalPoint> ScaleExtremalSet(const std::vector<double>& coarse, const RemezGrid& grid, int r);

// cos(2 pi f), the abscissa of the interpolation, for f in [0, 0.5]
// (fractions of fs), from f itself (TrigPi.h): no rounded angle.
inline double GridCosine(double f)
{
    return CosPi(2.0 * f);
}
void ComputeCosines(const RemezGrid& grid, std::vector<ExtremalPoint>& ext);
// ad_k = 1 / prod_{j != k} 2 (x_k - x_j) while every product is 1e-9 or more
// in size and finite. Otherwise the weights of all points are taken from
// products kept with their binary exponent and scaled by one common power of
// two (the largest about 1); a point equal to an earlier one gets weight 0
// and takes no part in the interpolation.
void ComputeBaryWeights(std::vector<ExtremalPoint>& ext);
// delta = sum ad_k D_k / sum (-1)^k ad_k / W_k; 0 where that is no finite number.
double ComputeDeviation(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext);
void ComputeExtremalValues(const RemezGrid& grid, std::vector<ExtremalPoint>& ext, double delta);
// The barycentric sums num = sum_k w_k y_k and den = sum_k w_k, w_k = ad_k /
// (x - x_k), k in order over every point (weight 0 included). Four nodes
// share one division: with d_k = x - x_k, inv = 1 / ((d_0 d_1)(d_2 d_3)),
// w_0 = ad_0 d_1 (d_2 d_3 inv), w_1 = ad_1 d_0 (d_2 d_3 inv), w_2 = ad_2 d_3
// (d_0 d_1 inv), w_3 = ad_3 d_2 (d_0 d_1 inv) (a few roundings more than one
// division each, at a quarter of the divisions); the last m mod 4 nodes
// divide alone. The vector kernels compute the same operations.
void BarycentricSums(const std::vector<ExtremalPoint>& ext, double x, double& num, double& den);
// Barycentric interpolation through (x_k, y_k) at x = cos(2 pi f): y_k
// itself when x lies within nodeTol of x_k (points of weight 0 are no node),
// else num / den of BarycentricSums.
double EvaluateResponse(const std::vector<ExtremalPoint>& ext, double f, double nodeTol = kNodeTolerance);
double EvaluateAtCosine(const std::vector<ExtremalPoint>& ext, double x, double nodeTol = kNodeTolerance);
// E = (A(f) - D) W on the whole grid, point by point.
void ComputeError(RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double nodeTol = kNodeTolerance);
// The same at the grid indices given only; E elsewhere is left as it was.
void ComputeErrorAt(RemezGrid& grid, const std::vector<ExtremalPoint>& ext, const std::vector<int>& points,
                    double nodeTol = kNodeTolerance);
// The new extremal set (r + 1 grid indices, in order) from the errors
// E[0 .. gridSize - 1].
std::vector<int> SearchExtrema(const std::vector<double>& E, int gridSize, int r);
// (max |E| - min |E|) / max |E| < tolerance over the extremal set, whose
// points must be distinct, rising and alternate in the sign of E.
bool IsConverged(const std::vector<double>& E, const std::vector<ExtremalPoint>& ext, double tolerance = 1e-5);
// h[0 .. N-1] from the cosine coefficients; h must hold N points.
void CoefficientsToTaps(const CPoints& alpha, int r, int firType, CPoints& h);
