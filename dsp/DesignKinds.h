#pragma once

#include <iterator>

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

// The kinds, in the lists' index order. The form's lists, its documents
// and the ids below count on these values.
enum class FilterType : int {
    Lowpass, Highpass, Bandpass, Bandstop, Hilbert, Differentiator, Gaussian, Allpass, MovingAverage,
};
// After the form's four, the methods designed beside the form (the form's
// list and its documents hold the four only).
enum class DesignMethod : int { Sinc, FrequencySampling, Remez, Direct, LeastSquares, Pulse };
enum class WindowType : int { Rectangular, Hanning, Hamming, Blackman, Chebyshev, Kaiser };
enum class IRScaling : int { Natural, Normalized, Optimized, Custom };

// The list index of a kind.
template <class Kind>
constexpr int IndexOf(Kind kind)
{
    return static_cast<int>(kind);
}

static_assert(std::size(kFilterTypeNames) == IndexOf(FilterType::MovingAverage) + 1);
static_assert(std::size(kDesignMethodNames) == IndexOf(DesignMethod::Direct) + 1);
static_assert(std::size(kWindowTypeNames) == IndexOf(WindowType::Kaiser) + 1);
static_assert(std::size(kIRScalingNames) == IndexOf(IRScaling::Custom) + 1);

// The same kinds as the plain indices the form's members hold.
inline constexpr int FT_LOWPASS = IndexOf(FilterType::Lowpass);
inline constexpr int FT_HIGHPASS = IndexOf(FilterType::Highpass);
inline constexpr int FT_BANDPASS = IndexOf(FilterType::Bandpass);
inline constexpr int FT_BANDSTOP = IndexOf(FilterType::Bandstop);
inline constexpr int FT_HILBERT = IndexOf(FilterType::Hilbert);
inline constexpr int FT_DIFFERENTIATOR = IndexOf(FilterType::Differentiator);
inline constexpr int FT_GAUSSIAN = IndexOf(FilterType::Gaussian);
inline constexpr int FT_ALLPASS = IndexOf(FilterType::Allpass);
inline constexpr int FT_MOVING_AVERAGE = IndexOf(FilterType::MovingAverage);
inline constexpr int DM_SINC = IndexOf(DesignMethod::Sinc);
inline constexpr int DM_FREQUENCY_SAMPLING = IndexOf(DesignMethod::FrequencySampling);
inline constexpr int DM_REMEZ = IndexOf(DesignMethod::Remez);
inline constexpr int DM_DIRECT = IndexOf(DesignMethod::Direct);
inline constexpr int WT_RECTANGULAR = IndexOf(WindowType::Rectangular);
inline constexpr int WT_HANNING = IndexOf(WindowType::Hanning);
inline constexpr int WT_HAMMING = IndexOf(WindowType::Hamming);
inline constexpr int WT_BLACKMAN = IndexOf(WindowType::Blackman);
inline constexpr int WT_CHEBYSHEV = IndexOf(WindowType::Chebyshev);
inline constexpr int WT_KAISER = IndexOf(WindowType::Kaiser);
inline constexpr int SC_NATURAL = IndexOf(IRScaling::Natural);
inline constexpr int SC_NORMALIZED = IndexOf(IRScaling::Normalized);
inline constexpr int SC_OPTIMIZED = IndexOf(IRScaling::Optimized);
inline constexpr int SC_CUSTOM = IndexOf(IRScaling::Custom);

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
