#pragma once

#include <optional>
#include <vector>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "dsp/FewestTapsSearch.h"

// A lowpass for a rate change (DesignRequest::rateChange) as a step of
// Design: Remez on the derived band table, the windowed sinc cut at
// fs / (2 factor), or the half-band method (HalfbandDesign.h); measured on
// the pass band and the stop bands, with its polyphase figures.

inline bool UsesRateChange(const DesignRequest& request)
{
    return request.rateChange.kind != RateChangeKind::None;
}

// The kind of a request that UsesRateChange, and back.
MultirateKind MultirateKindOf(RateChangeKind kind);
RateChangeKind RateChangeKindOf(MultirateKind kind);

// The factor designed for: a half-band's is 2 whatever rateChange.factor holds.
int RateFactorOf(const DesignRequest& request);

// The refusal of the rate alone (RateFactorRange, RateSamplingRate,
// RatePassEdge), if any.
std::optional<DesignNote> RateRefusal(const DesignRequest& request);

// The refusal of a rate-change request, if any, in this order: the filter
// type and method (RateChangeNotSupported; also for least squares, pulse,
// minimum phase or a shaped response), the rate, the taps (HalfbandTaps,
// RateTapsRange), the given stop bands and weight, then the values of the
// dialog the design asks (Kaiser beta, Chebyshev attenuation, grid density).
std::optional<DesignNote> ValidateRateChange(const DesignRequest& request);

// The stop bands designed for, Hz: rateChange.stopBands, or those derived
// from the factor (MultirateStopBands).
std::vector<MaskBand> RateStopBandsOf(const DesignRequest& request);

// The mask measured: the pass band 0 .. f1 (gain 1), then the stop bands.
std::vector<MaskBand> RateChangeMask(const DesignRequest& request);

// Designs a request ValidateRateChange accepts into out.coeffs (N taps),
// out.irPeak, out.remez and out.rateChange (all but its figures); the
// Remez notes as the form's Remez design pushes them. A window or
// half-band design that fails pushes RateDesignFailed and leaves out.ran false.
void DesignRateChangeFilter(const DesignRequest& request, DesignOutcome& out);

// The polyphase components and the figures of out's valid taps (double).
void MeasureRateChange(const DesignRequest& request, DesignOutcome& out);

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
