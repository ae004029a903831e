#pragma once

// Outcome of a dsp computation that can fail. The functions that return it
// leave their output arrays untouched unless they return Ok.
enum class DspStatus {
    Ok = 0,
    // A kind index (window, filter type, scaling mode) outside its list.
    UnknownKind,
    // Second corner not above the first for a band design.
    CornerOrder,
    // Fewer points than the computation needs.
    TooFewPoints,
    // A scale factor outside 0.01..100 (or NaN); the factor given back is 1.
    ScaleOutOfRange,
};
