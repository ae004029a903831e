#pragma once

// The kinds a design is made of, as the form's lists index them.

// Combo entries, in index order.
inline constexpr const char* kFilterTypeNames[] = {
    "Lowpass", "Highpass", "Bandpass", "Bandstop", "Hilbert Transformer",
    "Differentiator", "Gaussian Edge", "Allpass", "Moving Average"};
inline constexpr const char* kDesignMethodNames[] = {
    "Sync + Window", "Frequency Sampling", "Remez Exchange", "direct"};
inline constexpr const char* kWindowTypeNames[] = {
    "Rectangular", "Hanning", "Hamming", "Blackman", "Dolph-Chebyshev", "Kaiser"};
inline constexpr const char* kIRScalingNames[] = {"Natural", "Normalized", "Optimized", "Custom"};

enum FilterType {
    FT_LOWPASS = 0, FT_HIGHPASS, FT_BANDPASS, FT_BANDSTOP, FT_HILBERT,
    FT_DIFFERENTIATOR, FT_GAUSSIAN, FT_ALLPASS, FT_MOVING_AVERAGE,
};
enum DesignMethod { DM_SINC = 0, DM_FREQUENCY_SAMPLING, DM_REMEZ, DM_DIRECT };
enum WindowType { WT_RECTANGULAR = 0, WT_HANNING, WT_HAMMING, WT_BLACKMAN, WT_CHEBYSHEV, WT_KAISER };
enum IRScaling { SC_NATURAL = 0, SC_NORMALIZED, SC_OPTIMIZED, SC_CUSTOM };

inline constexpr int kBandCount = 8;

// The linear-phase type of a design: 0 symmetric with odd N, 1 symmetric
// with even N, 2 antisymmetric with odd N, 3 antisymmetric with even N.
// Hilbert transformers, differentiators and Gaussian edges are
// antisymmetric; a filter type outside the list counts as antisymmetric
// unless it is 0.
inline int FirTypeOf(int filterType, int taps)
{
    bool antisymmetric;
    switch (filterType) {
    case FT_LOWPASS:
    case FT_HIGHPASS:
    case FT_BANDPASS:
    case FT_BANDSTOP:
    case FT_ALLPASS:
    case FT_MOVING_AVERAGE:
        antisymmetric = false;
        break;
    default:
        antisymmetric = true;
        break;
    }
    const bool odd = taps % 2 == 1;
    if (!antisymmetric)
        return odd ? 0 : 1;
    return odd ? 2 : 3;
}
