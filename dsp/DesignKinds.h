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
