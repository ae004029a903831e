#pragma once

#include <optional>
#include <vector>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "dsp/FewestTapsSearch.h"

// The fewest taps of a rate change's lowpass (RateChangeDesign.h) that meet
// a requirement, each trial a Design.

// What a trial of the search made: designed, not converged (the Remez
// exchange, also a half-band's G), or failed (refused, no valid taps).
TrialDesign RateChangeTrial(const DesignOutcome& outcome);

// The fewest taps of a rate change that meet a requirement: the pass band
// 0 .. firstCorner with at most passRippleDb of ripple, and either every
// derived stop band (rateChange.aliasBands picks which) at least
// aliasAttenuationDb down, or the given stopBands (whole Hz, above f1).
struct RateChangeRequirement {
    double passRippleDb = 0.1;
    std::optional<double> aliasAttenuationDb;
    std::vector<SpecBand> stopBands;
    std::optional<QuantSpec> quantize;  // the requirement holds for these fixed-point taps too
};

struct RateChangeSearch {
    std::optional<DesignNote> refusal;  // of the rate: no search
    // The request of the search's designs: a Remez lowpass on the stop
    // bands weighted by the ratio of the deviations (or the Kaiser window's
    // sinc); taps is the N found when the search met the requirement.
    DesignRequest request;
    int maxTaps = 1025;
    std::optional<SpecSearchResult> search;
};

// Searches from Herrmann's estimate over N (a half-band: 4k + 3 only), each
// trial a Design of base with that N (base: kind, factor, alias bands, fs,
// f1, grid density). A base with the windowed sinc (not a half-band) keeps
// it: a Kaiser window of Kaiser's beta for the tightest deviation, odd N
// from Kaiser's length for the narrowest transition.
RateChangeSearch SearchRateChange(const DesignRequest& base, const RateChangeRequirement& requirement);
