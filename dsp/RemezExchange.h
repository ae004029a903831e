#pragma once

#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "dsp/RemezAlgorithm.h"
#include "dsp/RemezDesign.h"
#include "dsp/RemezKernel.h"

// The passes of DesignRemez (RemezDesign.h) on one grid, and the starts they
// take from coarser designs; RemezFinish.h makes taps of where they end.

// Grid work (points times functions) from which a pass costs a millisecond
// or so: only such designs stop early near the floor.
inline constexpr double kRemezLargeWork = 1e6;
// A forced coarse start (the second attempt) needs a coarser design of a few
// functions at least.
inline constexpr int kRemezMinFunctionsForForcedStart = 8;
// An error within this factor of the resolution is near the floor.
inline constexpr double kRemezFloorReach = 1e4;

// One run of the exchange on its own grid. Built in place: the evaluator
// refers to the grid.
struct RemezExchange {
    // A start's exchange on a sparser grid, whose narrow bands stay as the
    // grid rule leaves them (the start only seeds the design's own grid).
    bool startOnly = false;
    RemezGrid grid;
    std::optional<RemezErrorEvaluator> fast;
    std::vector<ExtremalPoint> ext;   // the last set, prepared for interpolation
    double delta = 0.0;
    std::vector<ExtremalPoint> best;  // the set whose pass had the smallest error, prepared
    double bestDelta = 0.0;
    double bestError = std::numeric_limits<double>::infinity();
    double nodeTol = kNodeTolerance;
    double resolution = 0.0;
    int passes = 0;
    int functions = 0;
    bool converged = false;  // the 1e-5 test, or an error within the resolution
    bool exact = false;
    bool coarseStart = false;
    bool lost = false;  // stopped because the level stayed lost in rounding
    bool uniformLost = false;  // the evenly spread set's level was lost in rounding
    RemezStart startUsed = RemezStart::Uniform;
    // The coarser design this one started from, with its count of functions.
    // Its finished design (cosine coefficients extended by zeros to this
    // design's count: the same response) is a candidate when this one does
    // not converge; finishing can cost a least-squares fit, so it is only
    // taken then.
    std::unique_ptr<RemezExchange> coarser;
    int coarserFunctions = 0;

    RemezExchange() = default;
    RemezExchange(const RemezExchange&) = delete;
    RemezExchange& operator=(const RemezExchange&) = delete;

    // The best error of this design or of a coarser one it started from
    // came within kRemezFloorReach of its resolution without meeting the grid
    // exactly (an exact design says nothing of the finer grids).
    bool NearFloor() const
    {
        return (!exact && bestError <= kRemezFloorReach * resolution) || (coarser && coarser->NearFloor());
    }
    // Near the floor on a grid where more passes cost much: the exchange
    // stops early. Small designs go on, and may still be met exactly.
    bool AtFloor() const
    {
        return static_cast<double>(grid.Size()) * functions >= kRemezLargeWork && NearFloor();
    }

    // A large grid that started from the same design on a sparse grid,
    // whose level stayed lost there: the dense grid resolves it no better.
    bool SparseStartLost() const
    {
        return coarser && coarser->lost && coarserFunctions == functions &&
               static_cast<double>(grid.Size()) * functions >= kRemezLargeWork;
    }

    // Frequencies of the set a coarser design hands on.
    std::vector<double> StartingFrequencies() const
    {
        const std::vector<ExtremalPoint>& set = (converged && !exact) || best.empty() ? ext : best;
        std::vector<double> freqs;
        for (const ExtremalPoint& p : set)
            freqs.push_back(grid.f[static_cast<size_t>(p.index)]);
        return freqs;
    }
};

// Where the passes take their first set from: as RemezStart names them,
// Plain being the evenly spread set.
enum class RemezStartKind { Automatic, Coarse, Sparse, Plain };

// Runs the exchange for r cosine functions on the grid of the bands at the
// density into ex (which must be fresh), from the start given, until its
// extremal set levels within tolerance (1e-5; a coarser design's start is
// looser) or one of the early stops of DesignRemez applies. Adds what it
// did to stats (start stages and passes, barycentric passes).
void RunRemezExchange(RemezExchange& ex, const std::vector<RemezEdge>& bands, int r, int density, int filterType,
                      int firType, RemezStartKind start, const RemezOptions& options, RemezResult& stats,
                      double tolerance = 1e-5);

// Largest |E| over the grid; infinite when one is no finite number.
double RemezLargestError(const std::vector<double>& E);
// max |D W| over the grid: the weighted error of zero taps.
double RemezLargestTarget(const RemezGrid& grid);
