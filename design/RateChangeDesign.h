#pragma once

#include <optional>
#include <vector>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"

// A lowpass for a rate change (DesignRequest::rateChange) as a step of
// Design: Remez on the derived band table, the windowed sinc cut at
// fs / (2 factor), or the half-band method (HalfbandDesign.h); measured on
// the pass band and the stop bands, with its polyphase figures. The
// functions of a request take one with a rate change.

// The most taps a rate change's lowpass takes.
inline constexpr int kMaxRateChangeTaps = 1025;

// The kind of a rate change, and back.
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
// RateTapsRange), the given stop bands and weight, then the window's value
// (Kaiser beta, Chebyshev attenuation) or the grid density.
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

