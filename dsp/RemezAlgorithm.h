#pragma once

#include <vector>

#include "dsp/RemezBand.h"

class CPoints;

// Parks-McClellan (Remez exchange) design of linear-phase FIR filters.
// Frequencies inside the algorithm are fractions of the sampling rate,
// 0 .. 0.5. The FIR type is that of CZantroView::GetFirType: 0 symmetric odd
// N, 1 symmetric even, 2 antisymmetric odd, 3 antisymmetric even.

inline constexpr int kRemezMaxPasses = 64;

// One band in use: edges in fractions of fs, desired value, weight.
struct RemezEdge {
    double lower;
    double upper;
    double value;
    double weight;
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

// What a design did besides its own passes.
struct RemezReport {
    int nGridSize = 0;      // points of the requested grid
    int nStartStages = 0;   // coarser designs run to find a starting set
    int nStartPasses = 0;   // passes spent in them
    int nThreads = 0;       // threads of the grid evaluation (1 or 2)
};

// How DesignRemez evaluates the error on the grid. Both ways compute the
// same values bit for bit; the reference is the plain per-point loop.
struct RemezOptions {
    bool bReference = false;   // plain loop, one thread
    int nThreads = 0;          // fast path: 0 picks by the size of the work, else 1 or 2
    // When set, receives the grid indices of the extremal set after each
    // pass, the passes of starting designs first.
    std::vector<std::vector<int>>* pTrace = nullptr;
    RemezReport* pReport = nullptr;
};

// The node test of the interpolation: within this distance in x of a node
// the interpolant takes the node's value. Dense grids use a smaller one
// (NodeTolerance).
inline constexpr double kNodeTolerance = 1e-6;
// Designs with fewer cosine functions never start from a coarser design.
inline constexpr int kMinFunctionsForCoarseStart = 24;

// Designs N = taps coefficients into coeffs (resized to N if needed; real
// parts, imaginary parts 0) from the bands of the table whose m_bUse is 1.
// filterType is the form's filter type (5, differentiator, shapes D and W),
// fs in Hz, gridDensity grid points per cosine function (8 .. 64; values
// below 1 count as 1). Returns the number of exchange passes, 1 .. 64; 64
// means the error did not level out (also returned, with zero taps, when
// the grid holds no point at all).
//
// Long filters: when the levelled error of the evenly spread starting set
// is too small to show in the desired values (it falls like 10^(-N/60)
// for a narrow transition), the passes would only see rounding noise.
// The starting set is then taken from a design with two thirds of the
// cosine functions on a grid of density 16 or less, and the passes start
// again from it; the returned count is that of the requested design.
int DesignRemez(int taps, int filterType, int firType, int fs, const RemezBand* bands,
                int gridDensity, CPoints& coeffs);
int DesignRemez(int taps, int filterType, int firType, int fs, const RemezBand* bands,
                int gridDensity, CPoints& coeffs, const RemezOptions& options);

// Number of cosine functions r: N / 2, (N + 1) / 2 for FIR type 0.
int RemezFunctionCount(int taps, int firType);

// The steps of DesignRemez, in order of use.
std::vector<RemezEdge> BuildBandList(const RemezBand* bands, int fs);
// Differentiator (filterType 5): 2 value f; otherwise the band's value.
double DesiredValue(const RemezEdge& band, double f, int filterType);
// Differentiator with a value of at least 0.0001: weight / f; otherwise the weight.
double WeightValue(const RemezEdge& band, double f, int filterType);
// Grid spacing 0.5 / (r density). May move the first band's lower edge to
// the spacing (antisymmetric types).
RemezGrid BuildDenseGrid(std::vector<RemezEdge>& bands, int r, int density, int filterType, int firType);
// D / Q(f) and W Q(f) for the FIR type: 1 cos(pi f), 2 sin(2 pi f), both
// floored at 0.001; 3 sin(pi f).
void ApplyFirTypeTransform(RemezGrid& grid, int firType);
// Point k takes grid index k (G - 1) / r, k = 0 .. r.
std::vector<ExtremalPoint> InitialExtremalSet(int gridSize, int r);
// kNodeTolerance, or less on a dense grid: half the smallest non-zero
// distance in x between neighbouring grid points, so that the node test
// never gives a neighbouring point the node's value.
double NodeTolerance(const RemezGrid& grid);
// True when the levelled error delta / W_k of some point is below 1e-13 of
// its desired value D_k: the values y_k then hardly carry the alternation.
bool IsLevelLost(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double delta);
// r + 1 grid indices, strictly rising where the grid allows, nearest to the
// frequencies of a coarser extremal set stretched over r + 1 points.
std::vector<ExtremalPoint> ScaleExtremalSet(const std::vector<double>& coarse, const RemezGrid& grid, int r);

// cos(2 pi f), the abscissa of the interpolation.
double GridCosine(double f);
void ComputeCosines(const RemezGrid& grid, std::vector<ExtremalPoint>& ext);
// ad_k = 1 / prod_{j != k} 2 (x_k - x_j); 1e9 where that product is below 1e-9 in size.
void ComputeBaryWeights(std::vector<ExtremalPoint>& ext);
double ComputeDeviation(const RemezGrid& grid, const std::vector<ExtremalPoint>& ext);
void ComputeExtremalValues(const RemezGrid& grid, std::vector<ExtremalPoint>& ext, double delta);
// Barycentric interpolation through (x_k, y_k) at x = cos(2 pi f); y_k
// itself when x lies within nodeTol of x_k.
double EvaluateResponse(const std::vector<ExtremalPoint>& ext, double f, double nodeTol = kNodeTolerance);
double EvaluateAtCosine(const std::vector<ExtremalPoint>& ext, double x, double nodeTol = kNodeTolerance);
// E = (A(f) - D) W on the whole grid, point by point.
void ComputeError(RemezGrid& grid, const std::vector<ExtremalPoint>& ext, double nodeTol = kNodeTolerance);
// The new extremal set (r + 1 grid indices, in order) from the errors
// E[0 .. gridSize - 1].
std::vector<int> SearchExtrema(const std::vector<double>& E, int gridSize, int r);
// (max |E| - min |E|) / max |E| < 1e-5 over the extremal set.
bool IsConverged(const std::vector<double>& E, const std::vector<ExtremalPoint>& ext);
// alpha_0 .. alpha_(r-1) from r samples of the interpolant at k / (2r - 1).
void CosineCoefficients(const std::vector<ExtremalPoint>& ext, int r, CPoints& alpha,
                        double nodeTol = kNodeTolerance);
// h[0 .. N-1] from the cosine coefficients; h must hold N points.
void CoefficientsToTaps(const CPoints& alpha, int r, int firType, CPoints& h);
