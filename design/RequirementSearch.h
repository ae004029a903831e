#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dsp/FewestTapsSearch.h"
#include "dsp/OrderEstimate.h"
#include "dsp/RemezBand.h"
#include "dsp/TapQuantization.h"

// Design to a requirement without a host: the plan (estimates and the
// values a design of N taps takes), the search over N with a caller's
// designer, and the message after it. The form designs each trial as its
// own Design would, zantro's Python module calls Design.

// What the user asks for. Edges and fs are whole hertz (the form's fields
// and the band table hold whole hertz); designMethod is DM_SINC (windowed
// sinc with a Kaiser window) or DM_REMEZ.
struct SpecRequest {
    SpecRequirement requirement;
    int designMethod = 0;
    std::optional<QuantSpec> quantize;  // the requirement must hold for these fixed-point taps too
    bool chooseWords = false;           // with quantize: the words chosen for the requirement, not rounded
    int gridDensity = 16;               // Remez band dialog
};

// What the command puts into the form for a design of N taps: the main
// fields, the Kaiser beta (rounded to the two decimals its dialog shows, so
// a later Design that accepts the dialog gives the same taps) or the Remez
// band table (pass value 1, stop value 0, weights from the deviations with
// the two decimals the band dialog shows, 1.00 .. 100.00) and grid density.
// The corners lie in the middle of the transitions; lowpass and highpass
// get the first corner as second corner too.
struct SpecFormSetting {
    int filterType = 0;
    int designMethod = 0;
    int windowType = 0;      // Kaiser for DM_SINC; for DM_REMEZ the window stays as it is
    int taps = 0;
    int samplingRate = 0;
    int firstCorner = 0;
    int secondCorner = 0;
    double shapeFactor = 0.0;
    std::vector<RemezBand> bands;  // DM_REMEZ: the rows in use, in order
    int gridDensity = 16;
};

// Whole-hertz edges and rate, a method of DM_SINC or DM_REMEZ and a band
// pattern of a lowpass, highpass, bandpass or bandstop; nullptr when the
// request can be designed, else the message that refuses it.
const char* RefusalOf(const SpecRequest& request);

// The estimates and the setting for N taps; valid only for a request
// RefusalOf accepts.
struct SpecPlan {
    int filterType = -1;
    int estimatedTaps = 0;       // the Kaiser window's made odd (see FindSpecDesign)
    const char* estimator = "";  // "Kaiser", "Herrmann" or "Ichige"
    KaiserDesignEstimate kaiser;
    RemezDesignEstimate remez;
};
SpecPlan PlanOf(const SpecRequest& request);
SpecFormSetting SettingFor(const SpecRequest& request, const SpecPlan& plan, int taps);

struct SpecDesignResult {
    SpecPlan plan;
    SpecSearchResult search;
    SpecFormSetting setting;  // for search.found.taps
};

// The design of one trial: the setting filled into the form (or a request)
// and designed.
using SpecTrialDesigner = std::function<TrialDesign(const SpecFormSetting&)>;

// Plans, then searches with designer; a Kaiser window design takes odd N
// only, its window of even length not being symmetric. progress hears of
// every N before it is designed and may cancel the search (status
// Cancelled).
SpecDesignResult FindSpecDesign(const SpecRequest& request, const SpecTrialDesigner& designer,
                                const SpecSearchProgress& progress = {});

// Golden-section search for the largest margin(x) over [a, b]: margin is
// taken at the search's points until keepGoing() answers false or the
// bracket is no wider than width (the parameter searches of a length: the
// Kaiser beta, a rate change's weight).
void GoldenSectionMaximum(double a, double b, double width, const std::function<double(double)>& margin,
                          const std::function<bool()>& keepGoing);

// The message after the search: the N found, the estimate it started from
// and the figures achieved per band, or that no N up to 1025 met the
// requirement with the best figures reached; after a cancel, how many
// designs were tried.
std::string SpecOutcomeText(const SpecRequest& request, const SpecDesignResult& result);

// What a progress meter shows before designing N taps: "12 designs tried,
// now 431 taps".
std::string SpecProgressText(int designed, int taps);

inline constexpr const char* kSpecProgressCaption = "Design to Requirement";
inline constexpr const char* kMsgSpecRate = "The sampling rate must be a whole number of hertz above 0.";
inline constexpr const char* kMsgSpecEdges =
    "Band edges must be whole hertz from 0 to fs/2, each band's lower edge below its upper edge.";
inline constexpr const char* kMsgSpecTransitions =
    "The bands must be in ascending order with a transition band between neighbours.";
inline constexpr const char* kMsgSpecPattern =
    "The bands must describe a lowpass (pass, stop), highpass (stop, pass), bandpass (stop, pass, stop) "
    "or bandstop (pass, stop, pass).";
inline constexpr const char* kMsgSpecLimits = "Ripple and attenuation must be above 0 dB.";
inline constexpr const char* kMsgSpecGrid = "The grid density must be 8 to 64.";
inline constexpr const char* kMsgSpecMethod = "Design to a requirement uses a Kaiser window or Remez Exchange.";
