#pragma once

#include <vector>

#include "dsp/RemezAlgorithm.h"
#include "dsp/RemezBand.h"

class CPoints;

// The Remez exchange as one call: grid, passes, start strategy, taps, and a
// check of the finished taps against the grid.

enum class RemezStatus {
    Converged,       // the passes levelled the error and the taps show it on the grid
    DidNotConverge,  // the best finite design the passes reached
    NoGrid,          // no band gives a grid point: zero taps
};

// Relative tolerance of the check of a converged design: the taps' largest
// weighted error on the grid at most (1 + this) |delta|, and r + 1 grid
// points alternating in sign at (1 - this) of that error or more.
inline constexpr double kRemezCheckTolerance = 1e-3;

// Where the exchange takes its first extremal set from.
enum class RemezStart {
    // As described at DesignRemez: the evenly spread set, or a coarse or
    // sparse-grid start where that one cannot work or costs more, and a
    // second attempt from the other kind of start when the first does not
    // converge.
    Automatic,
    // The evenly spread set; one attempt.
    Uniform,
    // The extremal set of a design with five sixths of the cosine functions
    // on a grid of density 8 or less, stretched onto the grid (8 functions
    // or more, else Uniform); one attempt.
    Coarse,
    // The extremal set of the same design on a grid of density 8 (8
    // functions or more and a density above 8, else Uniform); one attempt.
    SparseGrid,
};

struct RemezResult {
    RemezStatus status = RemezStatus::NoGrid;
    // Exchange passes of the design returned, 1 .. 63 (an exact design that
    // no pass levelled counts its passes, at least 1); 64 whenever it did
    // not converge.
    int nPasses = 0;
    // |delta|, the levelled weighted error of its extremal set (0 when the
    // taps are those of a coarser starting design).
    double dDelta = 0.0;
    // Largest |weighted error| of the finished taps over the dense grid.
    double dWeightedError = 0.0;
    // Errors at or below this are rounding: 64 eps max |D W| over the grid.
    // A design whose taps stay within it is exact (all-pass, all-zero bands).
    double dResolution = 0.0;
    // Grid points where the taps' error alternates in sign at (1 - tolerance)
    // of its largest size or more; r + 1 or more for a converged design.
    int nAlternations = 0;
    bool bExact = false;
    // The start of the design returned: Uniform, Coarse or SparseGrid.
    RemezStart startUsed = RemezStart::Uniform;

    // What the design did besides its own passes.
    int nGridSize = 0;           // points of the requested grid
    int nStartStages = 0;        // coarser designs run to find a starting set
    int nStartPasses = 0;        // passes spent in them
    int nAttempts = 0;           // 1, or 2 when the first start did not converge
    int nThreads = 0;            // most threads a pass of the grid evaluation may use (1 or 2)
    int nBarycentricPasses = 0;  // passes that could not use the Chebyshev series
    int nWindowPasses = 0;       // passes over windows around the extremal set only

    bool Converged() const { return status == RemezStatus::Converged; }
};

struct RemezOptions {
    // The plain per-point barycentric loop of ComputeError on one thread
    // instead of the fast evaluator (a reference for tests and benchmarks).
    bool bReference = false;
    // Every pass over the whole grid: no passes over windows around the
    // extremal set (a reference for tests and benchmarks).
    bool bWholePasses = false;
    RemezStart start = RemezStart::Automatic;
    int nThreads = 0;  // fast path: 0 picks by the size of the work, else 1 or 2
    // When set, receives the grid indices of the extremal set after each
    // pass, the passes of starting designs first.
    std::vector<std::vector<int>>* pTrace = nullptr;
};

// Designs N = taps coefficients into coeffs (resized to N if needed; real
// parts, imaginary parts 0) from the bands of the table whose m_bUse is 1.
// filterType is the form's filter type (5, differentiator, shapes D and W),
// fs in Hz, gridDensity grid points per cosine function (8 .. 64; values
// below 1 count as 1). The taps are always finite.
//
// The passes start from the evenly spread set. Long filters whose levelled
// error at that start is too small to show in the desired values (it falls
// like 10^(-N/60) for a narrow transition) start instead from the extremal
// set of a design with five sixths of the cosine functions on a grid of
// density 8 or less, stretched onto the grid; grids of density 32 or more
// (8 functions or more) from that of the same design on a grid of density 8. A design that does not
// converge from one start is run once more from the other, and the better
// of the two is returned.
//
// The grid leaves out the frequencies where the FIR type's factor Q
// vanishes (0 for the antisymmetric types, fs/2 for types 1 and 2) and Q is
// never floored, so the error on the grid is the taps' true weighted error.
// Converged only when the passes met the 1e-5 test and the finished taps,
// summed as their cosine series on the grid, show an equiripple error of
// |delta| (kRemezCheckTolerance), or when the finished taps stay within the
// resolution (bExact: an exact design, however its passes ended).
// Otherwise the taps are those with the smallest weighted error on the grid
// among the last extremal set, the set of the pass with the smallest error,
// and the finished design of a coarser start (its cosine series is also one
// of this length), over both starts.
//
// On a dense grid started from the sparse one, at a level too small for
// the Chebyshev series, the passes after the first take the errors in
// windows around the extremal set only, as long as they level it as whole
// passes would (RemezExchange.cpp); a whole pass confirms the set.
//
// The passes stop early where more would not help: a design whose error
// neither falls nor levels higher for 12 passes (4 for a starting design,
// which also stops after 16), and one whose level stays lost in rounding
// (8 passes in a row, 2 on a large grid once it or a coarser start came
// near the resolution, or once the same design on the sparse grid stayed
// lost; near the resolution the second start is then skipped, as it is
// after an exchange that levelled but whose taps failed the check, and as
// the evenly spread set is when its level is lost and the first start did
// better than zero taps).
RemezResult DesignRemez(int taps, int filterType, int firType, int fs, const RemezBand* bands, int gridDensity,
                        CPoints& coeffs, const RemezOptions& options = RemezOptions());
// The same from bands already in fractions of fs (BuildBandList's), which
// may carry a shaped desired response (ResponseShape.h); bands in rising
// order, 0 .. 0.5.
RemezResult DesignRemezEdges(int taps, int filterType, int firType, const std::vector<RemezEdge>& list,
                             int gridDensity, CPoints& coeffs, const RemezOptions& options = RemezOptions());
