#pragma once

#include "dsp/CPoints.h"
#include "dsp/DspStatus.h"

// Taps from P points that sample the wanted response evenly from 0 to fs/2
// (P >= 2). Mirrored the points make one period of L = 2P - 2; its inverse
// DFT, made real and centred, gives N = 2P - 1 taps with tap N/2 the
// transform's first value and both end taps half of value L/2.
// taps is resized to N. TooFewPoints (P < 2) leaves taps alone.
DspStatus FrequencySamplingTaps(const CPoints& points, CPoints& taps);

// N for P points: 2P - 1.
inline int FrequencySamplingTapCount(int points)
{
    return 2 * points - 1;
}
