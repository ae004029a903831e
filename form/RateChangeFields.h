#pragma once

#include <string>

// What the rate-change dialog held at its last OK besides the values the
// form gives it (rate, pass edge, taps), so that it reopens with them:
// kind 0 decimation, 1 interpolation, 2 half-band; factor 2 .. 64; alias
// bands only; design to a requirement with its ripple and attenuation as
// typed (dB) and format 0 none (double), 1 Q7, 2 Q15, 3 Q31.
struct RateChangeFields {
    int kind = 0;
    unsigned factor = 4;
    int aliasBands = 0;
    int toSpec = 0;
    std::string ripple = "0.1";
    std::string attenuation = "80";
    int format = 0;
    bool operator==(const RateChangeFields&) const = default;
};
