#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "dsp/OrderEstimate.h"
#include "dsp/RemezAlgorithm.h"
#include "dsp/ResponseMeasurement.h"

// What fixed-point words must achieve, and how far a set of taps is from it.
//
// The margin of a band is the share of its allowed deviation the taps leave
// unused: 1 - deviation / allowed, where a pass or slope band's deviation is
// (max - min) / (max + min) of its gain (of the gain over the ideal line for
// a slope band), so that a ripple of R dB is a deviation of
// (10^(R/20) - 1) / (10^(R/20) + 1) as PassDeviation has it, and a stop
// band's is its largest gain over the nominal pass gain. The margin is 1 for
// a perfect band, 0 exactly at the limit, negative past it (-1: twice the
// allowed deviation). Unlike a margin in dB it weighs a 0.1 dB ripple and an
// 80 dB attenuation alike.

// One band of the requirement: the mask band (Pass, Stop or Slope; a slope
// band's desired is its ideal gain at fs/2) and its limit in dB, above 0: a
// pass or slope band's largest ripple, a stop band's smallest attenuation
// below the nominal pass gain.
struct WordBand {
    MaskBand band;
    double limitDb = 0.0;
};

// Bands in any order, inside 0 .. fs/2, not overlapping. With pass bands,
// the whole response counts too: no frequency outside the stop bands
// (transition bands and the pass bands included) may rise above the highest
// pass band's upper ripple limit, a pass band's lowest gain times
// 10^(R/20) for its ripple limit R (or wholeLimitDb in place of R when
// given), the highest over the pass bands. Its margin is
// 1 - (peak / lowest - 1) / (10^(R/20) - 1) for that band: 0 when the peak
// reaches the limit, near the band's own ripple margin when the peak lies
// in the band.
struct WordRequirement {
    double fs = 0.0;
    std::vector<WordBand> bands;
    bool wholeResponse = true;
    std::optional<double> wholeLimitDb;
};

// A requirement of pass and stop bands as the requirement search states it.
WordRequirement WordRequirementOf(const SpecRequirement& req);

// The requirement that taps meet exactly on mask: each band's own measured
// figure as its limit (a slope band's ripple), the whole response no higher
// than it is now or than the pass bands' upper limit, whichever is larger.
// No bands when the taps or the mask cannot be measured.
WordRequirement RequirementOfTaps(std::span<const double> taps, std::span<const MaskBand> mask, double fs);

// The requirement as a Remez band list: edges in fractions of fs in the
// requirement's order, a pass or slope band's value its desired gain (a
// slope band's at fs/2), a stop band's 0, each weighted by the tightest
// allowed deviation over its own, so every band's limit weighs alike.
std::vector<RemezEdge> RemezEdgesOf(const WordRequirement& req);

// The requirement's bands as a measurement mask, in the requirement's order.
std::vector<MaskBand> MaskOfRequirement(const WordRequirement& req);

// Allowed linear deviation of a band (PassDeviation or StopDeviation).
double AllowedDeviation(const WordBand& band);
// Whether the whole response is judged: asked for, and a pass band.
bool JudgesWholeResponse(const WordRequirement& req);
// The largest gain outside the stop bands a pass band allows, over its
// lowest gain (linear): 10^(R/20) for its ripple limit R, or for wholeLimitDb.
double WholeRatio(const WordRequirement& req, const WordBand& passBand);

inline constexpr std::size_t kMostWordBands = 16;

enum class WordCheck { Ok, BadRate, NoBands, BadBand, BadLimit };
// Checks fs, the number of bands (1 .. kMostWordBands), the bands' edges (0 <= lo < hi <= fs/2, not overlapping), kinds
// and limits (finite, above 0; wholeLimitDb finite when given).
WordCheck CheckWordRequirement(const WordRequirement& req);

// The taps judged against the requirement, measured as MeasureResponse does
// (peaks refined between grid points).
struct WordJudgement {
    bool measured = false;          // false: the taps or the requirement could not be measured
    ResponseFigures figures;        // on the requirement's bands, in its order
    std::vector<double> bandMargin; // one per band
    double wholePeak = 0.0;         // largest gain outside the stop bands, linear (judged only)
    double wholePeakHz = 0.0;       // where it is
    double wholeLimit = 0.0;        // the highest pass band's upper ripple limit, linear
    double wholeMargin = 1.0;       // as WordRequirement defines it; 1 when not judged
    double margin = 0.0;            // the smallest of them
    bool met = false;               // every margin at or above 0
};
WordJudgement JudgeWords(std::span<const double> taps, const WordRequirement& req);

// The whole response's margin for its peak (linear gain) with the pass
// bands' figures; limit receives the highest pass band's upper limit.
double WholeMargin(const WordRequirement& req, const ResponseFigures& figures, double peak, double& limit);

// The margin of one band from its measured figures, with the nominal pass
// gain the figures carry.
double BandMargin(const WordBand& band, const BandFigures& figures, double nominalPassGain);
