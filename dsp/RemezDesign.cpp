#include "dsp/RemezDesign.h"

#include <algorithm>
#include <cmath>

#include "dsp/CPoints.h"
#include "dsp/RemezExchange.h"
#include "dsp/RemezFinish.h"

namespace {

struct Attempt {
    RemezFinish design;
    int passes = 0;
    bool converged = false;
    RemezStart start = RemezStart::Uniform;
    // How the exchange went, for the choice of a second attempt.
    bool usedCoarse = false;   // it started from a coarser design
    bool lost = false;         // its level stayed lost in rounding near the resolution
    bool levelled = false;     // its passes met the 1e-5 test
    bool uniformLost = false;  // the evenly spread set's level was lost in rounding
    double zeroTapsError = 0.0;  // the weighted error of zero taps on the grid
};

Attempt RunAttempt(const std::vector<RemezEdge>& bands, int r, int density, int filterType, int firType,
                   RemezStartKind start, const RemezOptions& options, RemezResult& stats)
{
    RemezExchange ex;
    RunRemezExchange(ex, bands, r, density, filterType, firType, start, options, stats);
    stats.nGridSize = ex.grid.Size();
    stats.nThreads = ex.fast ? ex.fast->Threads() : 1;
    Attempt a;
    a.passes = ex.passes;
    a.design = FinishRemezExchange(ex, r, a.converged);
    a.start = ex.startUsed;
    a.usedCoarse = ex.coarseStart;
    a.lost = ex.lost && ex.AtFloor();
    a.levelled = ex.converged;
    a.uniformLost = ex.uniformLost;
    a.zeroTapsError = RemezLargestTarget(ex.grid);
    return a;
}

bool Better(const Attempt& a, const Attempt& b)
{
    if (a.converged != b.converged)
        return a.converged;
    return a.design.error < b.design.error;
}

}  // namespace

RemezResult DesignRemez(int taps, int filterType, int firType, int fs, const RemezBand* bands, int gridDensity,
                        CPoints& coeffs, const RemezOptions& options)
{
    return DesignRemezEdges(taps, filterType, firType, BuildBandList(bands, fs), gridDensity, coeffs, options);
}

RemezResult DesignRemezEdges(int taps, int filterType, int firType, const std::vector<RemezEdge>& list,
                             int gridDensity, CPoints& coeffs, const RemezOptions& options)
{
    if (taps < 0)
        taps = 0;
    if (coeffs.m_nCount != taps)
        coeffs.SetSize(taps);
    coeffs.Clear();
    const int r = RemezFunctionCount(taps, firType);
    // A density below 1 would make the grid loops run backwards forever.
    const int density = gridDensity < 1 ? 1 : gridDensity;

    RemezResult result;
    RemezStartKind first = RemezStartKind::Automatic;
    switch (options.start) {
    case RemezStart::Uniform:
        first = RemezStartKind::Plain;
        break;
    case RemezStart::Coarse:
        first = RemezStartKind::Coarse;
        break;
    case RemezStart::SparseGrid:
        first = RemezStartKind::Sparse;
        break;
    default:
        break;
    }
    Attempt chosen = RunAttempt(list, r, density, filterType, firType, first, options, result);
    result.nAttempts = 1;
    // Nothing to approximate (no band, or one narrower than the grid
    // spacing): zero taps and the failure count.
    if (result.nGridSize == 0) {
        result.status = RemezStatus::NoGrid;
        result.nPasses = kRemezMaxPasses;
        return result;
    }
    // A level lost in rounding next to the resolution is the limit of
    // double precision, which no other start moves.
    // An exchange that levelled its error but whose taps the check did not
    // pass would level the same way from another start.
    // The evenly spread set, where its level is lost in rounding, is the
    // start the first attempt fled: in the designs of 300 to 1025 taps
    // tried (four tables, densities 8 to 64), every second attempt from it
    // stayed lost and ended no better than zero taps, so it is only run
    // where the first did no better than those either.
    const bool hopelessPlain = chosen.usedCoarse && chosen.uniformLost && chosen.design.error <= chosen.zeroTapsError;
    if (!chosen.converged && !chosen.lost && !chosen.levelled && !hopelessPlain &&
        r >= kRemezMinFunctionsForForcedStart && options.start == RemezStart::Automatic) {
        Attempt other = RunAttempt(list, r, density, filterType, firType,
                                   chosen.usedCoarse ? RemezStartKind::Plain : RemezStartKind::Coarse, options, result);
        result.nAttempts = 2;
        if (Better(other, chosen))
            chosen = std::move(other);
    }

    const RemezFinish& d = chosen.design;
    result.status = chosen.converged ? RemezStatus::Converged : RemezStatus::DidNotConverge;
    // The count of 64 stands for "not converged", as it always has.
    result.nPasses = chosen.converged ? std::clamp(chosen.passes, 1, kRemezMaxPasses - 1) : kRemezMaxPasses;
    result.dDelta = d.delta;
    result.dWeightedError = d.error;
    result.dResolution = d.resolution;
    result.nAlternations = d.alternations;
    result.bExact = chosen.converged && d.exact;
    result.startUsed = chosen.start;
    // Taps only from finite coefficients; without any, the zero taps stay.
    if (static_cast<int>(d.alpha.size()) == r) {
        CPoints alpha(r);
        for (int j = 0; j < r; ++j)
            alpha[j] = Complex(d.alpha[static_cast<size_t>(j)], 0.0);
        CoefficientsToTaps(alpha, r, firType, coeffs);
    }
    // Coefficients near the largest double could still sum to infinity.
    for (int k = 0; k < coeffs.m_nCount; ++k) {
        if (!std::isfinite(coeffs[k].real())) {
            coeffs.Clear();
            result.status = RemezStatus::DidNotConverge;
            result.nPasses = kRemezMaxPasses;
            break;
        }
    }
    return result;
}
