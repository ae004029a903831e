#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dsp/DesignKinds.h"

// The names the module takes and gives for the form's lists, as zantro-cli
// spells them; the form's own entries are accepted too.
inline const std::vector<std::string> kTypeNames = {"lowpass",        "highpass", "bandpass",
                                                    "bandstop",       "hilbert",  "differentiator",
                                                    "gaussian",       "allpass",  "moving-average"};
// The form's four methods, then least squares (designed without the form).
inline const std::vector<std::string> kMethodNames = {"sinc", "fsamp", "remez", "direct", "ls"};
inline const std::vector<std::string> kMethodEntries = {"Sync + Window", "Frequency Sampling", "Remez Exchange",
                                                        "direct", "Least Squares"};
inline constexpr int kLeastSquaresIndex = 4;
inline const std::vector<std::string> kPulseNames = {"rc", "rrc", "gaussian"};
inline const std::vector<std::string> kPulseGainNames = {"energy", "dc"};
inline const std::vector<std::string> kWindowNames = {"rectangular", "hanning",   "hamming",
                                                      "blackman",    "chebyshev", "kaiser"};
// scipy.signal.get_window's names of the same windows (its symmetric
// windows are the form's: firwin(..., window=name, scale=False) gives the
// windowed sinc's taps; Kaiser for odd N).
inline const std::vector<std::pair<const char*, int>> kWindowAliases = {
    {"boxcar", 0}, {"box", 0}, {"ones", 0},    {"rect", 0},    {"hann", 1}, {"han", 1},  {"hamm", 2},
    {"ham", 2},    {"black", 3}, {"blk", 3},   {"chebwin", 4}, {"cheb", 4}, {"ksr", 5}};
inline const std::vector<std::string> kScalingNames = {"natural", "normalized", "optimized", "custom"};

template <size_t N>
std::vector<std::string> EntriesOf(const char* const (&names)[N])
{
    return std::vector<std::string>(names, names + N);
}
