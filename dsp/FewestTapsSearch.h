#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "dsp/OrderEstimate.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"
#include "dsp/WordOptimization.h"

// The fewest taps whose design meets a requirement, found by designing and
// measuring: the design itself is the caller's (a callback from N to taps).

// What a designer made of N taps. Only Designed taps are judged; a design
// that did not converge or failed never meets a requirement.
enum class TrialStatus { Designed, NotConverged, Failed };
struct TrialDesign {
    TrialStatus status = TrialStatus::Failed;
    std::vector<double> taps;
};
using SpecDesigner = std::function<TrialDesign(int taps)>;

// One band of the requirement against its measured figures. marginDb is
// limit - ripple for a pass band and attenuation - limit for a stop band,
// negative when the band misses its limit.
struct BandVerdict {
    SpecBand required;
    BandFigures figures;
    double marginDb = 0.0;
    bool met = false;
};

// The whole response against the requirement: no frequency outside the
// stop bands may rise above the highest pass band's upper ripple limit (a
// pass band's lowest gain plus its ripple limit, the highest over the pass
// bands). limitDb and peakDb are gains (20 log10 |H|); marginDb = limitDb -
// peakDb. Met without pass bands.
struct WholeVerdict {
    double peakDb = 0.0;
    double peakHz = 0.0;
    double limitDb = 0.0;
    double marginDb = 0.0;
    bool met = true;  // nothing judged fails
};

// A design of N taps judged against the requirement: in double precision
// and, with a fixed-point format, after quantisation; it meets the
// requirement when every band meets its limit in both, and so does the
// whole response (WholeVerdict).
struct TrialVerdict {
    int taps = 0;
    TrialStatus design = TrialStatus::Failed;
    MeasureStatus measure = MeasureStatus::NoTaps;  // of the double taps
    bool met = false;
    double worstMarginDb = 0.0;  // smallest margin over all bands; -infinity unless measured
    std::vector<double> coefficients;
    std::vector<BandVerdict> bands;       // double taps, in the order of the requirement
    std::optional<QuantResult> quantized; // with a format: the words and their figures
    std::vector<BandVerdict> quantBands;  // with a format: the quantised taps
    WholeVerdict whole;                   // double taps
    std::optional<WholeVerdict> quantWhole;  // with a format: the quantised taps
};

// Judges taps against the requirement (measured with MeasureResponse on the
// requirement's bands; non-finite taps never meet it). chooseWords: the
// format's words are chosen for the requirement (OptimizeWords) rather than
// rounded.
TrialVerdict JudgeTaps(std::span<const double> taps, const SpecRequirement& req,
                       const std::optional<QuantSpec>& quantize, bool chooseWords = false);

enum class SpecSearchStatus {
    Met,             // found: meets, and the next smaller allowed N does not (or N is the smallest allowed)
    Unreachable,     // the largest allowed N misses, as did every N tried
    BadRequirement,  // CheckRequirement failed or the pattern is no filter type
    Cancelled,       // the progress callback stopped the search
};

// Called before each design with the number of designs made so far and the
// N about to be designed; false stops the search before that design.
using SpecSearchProgress = std::function<bool(int designed, int taps)>;

struct SpecSearchSettings {
    int startTaps = 0;  // the estimate; moved into the allowed range
    bool oddOnly = false;  // odd N only, also for filter types that allow even N
    std::optional<QuantSpec> quantize;
    bool chooseWords = false;  // with quantize: words chosen for the requirement, not rounded
    int minTaps = 4;
    int maxTaps = 1025;
    // The filter type designed, for bands no pattern names (a lowpass with
    // several stop bands, as for alias bands); -1: from the band pattern.
    int filterType = -1;
    // N = minTaps + k tapStep (a half-band's 4k + 3); 0: the steps the
    // filter type allows.
    int tapStep = 0;
    // The estimate's lower bound: every allowed N from it (at most 16 of
    // them, and at least 4 below the bracket's boundary) up to the answer is
    // designed; 0: 95% of startTaps.
    int lowerBoundTaps = 0;
    SpecSearchProgress progress;  // empty: the search runs to its end
};

struct SpecSearchResult {
    SpecSearchStatus status = SpecSearchStatus::BadRequirement;
    int filterType = -1;           // of the requirement's band pattern
    int startTaps = 0;             // the first N designed
    // Met: the N found; Unreachable and Cancelled: the best reached
    // (largest worst margin; Cancelled before any design: none)
    TrialVerdict found;
    std::optional<TrialVerdict> nextSmaller;  // Met: the next smaller allowed N, which misses
    std::vector<int> tried;        // every N designed, in order
};

// Searches the tap counts the filter type allows (odd only for highpass and
// bandstop, or when the settings say so) from startTaps: down while designs
// meet, up while they miss, one allowed step at a time for the first 8
// steps, then in steps that double, then by halving the gap between the
// last N that missed and the first that met. A design does not always
// improve with its length (a window design near its limit alternates; a
// Remez design meets at 427 taps and misses at 429), so the bracket is then
// scanned from the lower bound (lowerBoundTaps) upward: the N found is the
// smallest allowed N from the lower bound that meets, and the next smaller
// allowed N misses. Each N is designed at most once. A progress callback
// that answers false ends the search at once as Cancelled, with every N
// designed until then in tried.
SpecSearchResult SearchFewestTaps(const SpecRequirement& req, const SpecSearchSettings& settings,
                                  const SpecDesigner& designer);
