#pragma once

// Texts of the Design command and the design routines.
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
// A command ran out of memory; nothing of the previous design was lost.
inline constexpr const char* kMsgOutOfMemory =
    "Not enough memory to complete the command.\nThe previous design and plots are kept.";
// Anything else a command threw; the reason follows on the next line.
inline constexpr const char* kMsgCommandFailed = "The command could not be completed.";
