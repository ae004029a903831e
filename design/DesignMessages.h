#pragma once

#include <string>

#include <vector>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"

// The texts of the design's refusals and notes, as the form shows them.
inline constexpr const char* kMsgSincNotSupported = "Sync Window design not supported for this filter type";
inline constexpr const char* kMsgFreqSamplingNotSupported = "Frequency Sampling design not supported for this filter type";
inline constexpr const char* kMsgRemezNotSupported = "Remex Exchange design not supported for this filter type";
inline constexpr const char* kMsgDirectNotSupported = "Direct design not supported for this filter type";
inline constexpr const char* kMsgCornerFrequencies = "The corner frequencies must be < ((sampling rate) / 2)";
inline constexpr const char* kMsgScaleRange = "The impulse response scale must be 0.1 <= x <= 10.0";
inline constexpr const char* kMsgCornerOrder = "The second corner frequency must be above the first one.";
inline constexpr const char* kMsgCalculatedScale = "The calculated impulse response scale\nis out of range (0.01 to 100.0)";
// A design whose taps overflowed (or became NaN) is no design.
inline constexpr const char* kMsgTapsNotFinite =
    "The design gives coefficients that are not finite numbers.\nThe previous plots are kept.";

inline constexpr const char* kMsgNoInputData = "No input data available.\nPlease read file first.";
inline constexpr const char* kMsgTooFewPoints =
    "A frequency sampling design needs at least 2 input points.\nPlease read another file.";

inline constexpr const char* kMsgShapeFactorBounds = "The shape factor is out of bounds.";
inline constexpr const char* kMsgDiffGainRange = "The differentiator gain range is 0.1 <= x <= 10.0";
inline constexpr const char* kMsgVarianceRange = "The variance must be in the range\nfrom 0.1 to 3.0.";

inline constexpr const char* kMsgEdgeAboveHalf = "Edge frequencies must be <= fs/2.";
inline constexpr const char* kMsgEdgeOrder = "Edge frequencies must be in ascending order.";
inline constexpr const char* kMsgEdgesEqual = "Lower and upper edge frequencies must not be equal.";
inline constexpr const char* kMsgDiffValueRange = "Values must be in the range from 0.10 to 3.20.";
inline constexpr const char* kMsgValueRange = "Values must be in the range from 0.00 to 1.00.";
inline constexpr const char* kMsgNoBand = "You must specify at least one band";
// Only a request built in code can hold more rows than the dialog.
inline constexpr const char* kMsgTooManyBands = "A Remez design takes at most 8 bands.";
inline constexpr const char* kMsgPositiveWeight = "Weights must be positive finite numbers.";

inline constexpr const char* kMsgLeastSquaresNotSupported = "Least Squares design not supported for this filter type";
inline constexpr const char* kMsgMinimumPhaseNotSupported =
    "Minimum phase needs a Remez or Least Squares design\nof a lowpass, bandpass or bandstop filter.";
inline constexpr const char* kMsgShapeNotSupported =
    "CIC compensation and inverse sinc need a Remez design\nof a lowpass, bandpass or bandstop filter, without minimum phase.";
inline constexpr const char* kMsgShapeRange =
    "The CIC needs R 1..4096, M 1..8 and N 1..16, and the pass bands\nmust end below its first null (a gain of at most 60 dB).";
inline constexpr const char* kMsgPulseRange =
    "Pulse shaping needs a roll-off 0..1 (Gaussian: BT 0.05..1), 2..64 samples\nper symbol and 1..64 symbols, span x sps even and at most 1024.";
inline constexpr const char* kMsgMethodFailed = "The design could not be solved for these bands.";

// A rate change (zantro-cli's --decimate, --interpolate, --halfband).
inline constexpr const char* kMsgRateChangeNotSupported =
    "A rate change designs a lowpass by Remez Exchange or the windowed sinc (a half-band by Remez Exchange).";
inline constexpr const char* kMsgRateFactorRange = "The factor must be 2 .. 64.";
inline constexpr const char* kMsgRateSamplingRate = "The sampling rate must be above 0 Hz.";
inline constexpr const char* kMsgRateTapsRange = "The number of taps must be 4 .. 1025.";
inline constexpr const char* kMsgRateStopBands =
    "The stop bands must lie above the pass-band edge and up to fs/2, in ascending order, with a weight above 0.";
inline constexpr const char* kMsgRateDesignFailed = "The design failed.";
inline constexpr const char* kMsgRateNoConvergence =
    "The Remez exchange did not converge; the best taps reached are kept.";
// Also the export's refusal of such taps.
inline constexpr const char* kMsgExportNonFinite = "The design holds values that are not finite numbers.";

inline constexpr const char* kMsgRemezPasses = "The Remez algorithm took %3d iterations to converge.";
inline constexpr const char* kMsgRemezNoConvergence = "The Remez algorithm did not converge.";

// Why taps are not fit to ship as they are, one sentence each: the Remez
// exchange did not converge (converged false), or the response outside the
// stop bands rises above the pass band (WholeResponseExceeds on figures).
// Empty for a sound design. The exports state them and refuse fixed-point
// words for them; the command line and the Python module list them among
// the messages.
inline constexpr const char* kMsgUnsoundNoConvergence =
    "The Remez exchange did not converge: the taps do not hold the bands' limits as designed.";
std::vector<std::string> UnsoundDesignWarnings(bool converged, const ResponseFigures& figures);

// The text the form shows for a code. Range refusals of whole numbers read
// as the form's field exchange words them ("Please enter an integer between
// 4 and 1025.").
std::string DesignMessage(const DesignNote& note);

// The text of a note about the request: the pass-band edge's refusal names
// fs / (2 factor), a half-band's taps the nearest valid N; the rest as
// DesignMessage.
std::string DesignMessage(const DesignNote& note, const DesignRequest& request);

// What a rate change reports, in order, as zantro-cli prints it: the
// refusal, or the non-convergence of the exchange (the pass count is no
// message), or the taps that are not finite.
std::vector<std::string> RateChangeMessages(const DesignRequest& request, const DesignOutcome& outcome);
