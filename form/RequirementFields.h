#pragma once

#include <array>
#include <string>

// What the requirement dialog held at its last OK, so that it reopens with
// it: filter type 0 lowpass .. 3 bandstop, rate and transition edges in Hz,
// ripple and attenuation as typed (dB), method 0 Kaiser window or 1 Remez
// exchange, format 0 none (double), 1 Q7, 2 Q15, 3 Q31, and whether the
// format's words are chosen for the requirement rather than rounded.
struct RequirementFields {
    int filterType = 0;
    unsigned samplingRate = 8000;
    std::array<unsigned, 4> edges{1000, 1200, 3000, 3200};
    std::string ripple = "0.1";
    std::string attenuation = "60";
    int method = 0;
    int format = 0;
    bool chooseWords = false;
    bool operator==(const RequirementFields&) const = default;
};
