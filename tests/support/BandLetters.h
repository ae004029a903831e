#pragma once

#include "dsp/ResponseMeasurement.h"

// Short names for requirement tables: {P, 0, 1000, 0.1} is a pass band from
// 0 to 1000 Hz with 0.1 dB of ripple, {S, 1200, 4000, 60} a stop band.
inline constexpr BandKind P = BandKind::Pass;
inline constexpr BandKind S = BandKind::Stop;
