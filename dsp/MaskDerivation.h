#pragma once

#include <vector>

#include "dsp/RemezBand.h"
#include "dsp/ResponseMeasurement.h"

// The bands a design is measured against when the user gives none.

// What the derivation reads of a design. Kinds are the form's indices
// (DesignKinds.h); frequencies in Hz.
struct DesignOutline {
    int filterType = 0;
    int designMethod = 0;
    int windowType = 0;
    int taps = 0;
    double fs = 0.0;
    double firstCorner = 0.0;
    double secondCorner = 0.0;
    double shapeFactor = 0.0;   // Kaiser beta
    double stopbandAtt = 0.0;   // Dolph-Chebyshev attenuation, dB
    double diffGain = 1.0;      // differentiator slope K: ideal gain K f / (fs/2)
    double gain = 1.0;          // scale factor applied to the taps after the design
    std::vector<RemezBand> remezBands;   // the band table (rows in use count)
    std::vector<double> inputData;       // frequency sampling: desired magnitude from 0 to fs/2
};

// Nominal transition width of a windowed design, as a fraction of fs: from
// pass-band edge to stop-band edge of a windowed sinc with this window.
// The window's main-lobe width: Rectangular 2/(N-1), Hanning and Hamming
// 4/(N-1), Blackman 6/(N-1), Dolph-Chebyshev from its attenuation; Kaiser by
// Kaiser's formula (A - 8) / (2.285 (N-1) 2 pi) with A the attenuation beta
// stands for. So the stop band starts where the window's sidelobes rule.
double NominalTransitionWidth(int windowType, int taps, double beta, double attenuationDb);

// Kaiser's attenuation for a shape factor: the inverse of
// beta = 0.1102 (A - 8.7) above 50 dB, 0.5842 (A - 21)^0.4 + 0.07886 (A - 21) from 21 dB; 21 dB for beta 0.
double KaiserAttenuationForBeta(double beta);

// Pass, stop and slope bands for the design: a Remez design's rows in use
// (value 0: stop; a differentiator's other rows: slope; others: pass at the
// value times gain); frequency sampling: runs of the input data near its
// largest value (pass) and near 0 (stop); otherwise the corners moved by half
// the window's nominal transition width. Bands that vanish are left out.
std::vector<MaskBand> DeriveMaskBands(const DesignOutline& design);

// True for the types whose -3 dB and -6 dB frequencies are measured.
bool HasCornerCrossings(int filterType);
