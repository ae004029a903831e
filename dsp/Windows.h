#pragma once

#include "dsp/CPoints.h"
#include "dsp/DspStatus.h"

// The parameters of the two windows that take one.
struct WindowParameters {
    // Dolph-Chebyshev sidelobe attenuation in dB (10..100 through the form).
    int stopbandAttenuation = 40;
    // Kaiser shape factor beta (0..20 through the form).
    double shapeFactor = 5.0;
};

// Fills all points.m_nCount samples (real, imaginary parts 0) with window
// type (WindowType: rectangular, Hanning, Hamming, Blackman, Dolph-Chebyshev,
// Kaiser). N < 2 gives samples of 1. The cosine windows are symmetric;
// Kaiser uses the half length floor(N/2), so for even N its peak sits at
// N/2 and the last sample lies one step inside the edge; Dolph-Chebyshev is
// an inverse DFT of length N - 1 with both end samples equal, peak 1.
// UnknownKind leaves the points as they are.
DspStatus ComputeWindowSamples(CPoints& points, int type, const WindowParameters& parameters);
