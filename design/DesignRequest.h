#pragma once

#include <numbers>
#include <vector>

#include "dsp/CPoints.h"
#include "dsp/DesignKinds.h"
#include "dsp/Multirate.h"
#include "dsp/PulseShaping.h"
#include "dsp/ResponseShape.h"
#include "dsp/RemezBand.h"
#include "dsp/RemezDesign.h"

// The differentiator's slope: its normalised gain at fs/2.
enum class DifferentiatorGain : int { Pi, HalfPi, One, Other };

// The weights a Remez band table may carry: the band dialog's 1.00 .. 100.00,
// or any positive finite weight.
enum class RemezWeightRange { Dialog, AnyPositive };

// A lowpass for a change of the sample rate by an integer factor
// (Multirate.h); None designs the single-rate filter of the other fields.
enum class RateChangeKind { None, Decimate, Interpolate, Halfband };

// What a rate change asks besides the form's fields. The request's
// samplingRate is the high rate (Hz; a decimator's input, an
// interpolator's output), firstCorner the pass-band edge (Hz, 0 < f1 <
// fs / (2 factor)), taps N (4 .. 1025; a half-band 4k + 3, 7 .. 1023);
// the filter type is a lowpass and the method Remez or the windowed sinc
// (a half-band: Remez). The stop bands follow from the factor (every
// frequency from fs/factor - f1 to fs/2, or with aliasBands only the bands
// k fs/factor -+ f1 that fold onto the pass band) unless stopBands names
// them; Remez weighs them stopWeight against the pass band's 1. The
// windowed sinc cuts at fs / (2 factor) whatever the bands.
struct RateChange {
    RateChangeKind kind = RateChangeKind::None;
    int factor = 2;  // 2 .. 64; a half-band's is 2
    bool aliasBands = false;
    std::vector<MaskBand> stopBands;  // Hz, ascending, above f1; empty: derived
    double stopWeight = 1.0;          // above 0
};

// Everything one design needs: the form's fields and the answers of every
// dialog the design would ask. Frequencies in whole hertz; ranges are those
// ValidateRequest checks (DesignValidation.h), and the form's own.
struct DesignRequest {
    FilterType filterType = FilterType::Lowpass;
    DesignMethod method = DesignMethod::Sinc;
    WindowType window = WindowType::Hamming;  // windowed sinc, direct and frequency sampling
    int taps = 129;                           // N, 4 .. 1025 (frequency sampling takes 2P - 1 instead)
    int samplingRate = 8000;                  // fs, Hz
    int firstCorner = 1000;                   // Hz, 0 .. 10000000 and below fs/2 except for Remez
    int secondCorner = 3000;                  // Hz, likewise; above the first for bandpass and bandstop

    double kaiserBeta = 5.0;                  // Kaiser window, 0 .. 20
    int chebyshevAttenuation = 40;            // Dolph-Chebyshev window, dB, 10 .. 100
    DifferentiatorGain diffGainSelection = DifferentiatorGain::Pi;
    double diffGain = std::numbers::pi;       // the gain when diffGainSelection is Other, 0.1 .. 10.0
    double gaussianVariance = 1.0;            // Gaussian edge sigma, taps, 0.1 .. 3.0

    // Remez: the band table, at most kBandCount rows (rows with m_bUse 1
    // take part; edges 0 .. fs/2, ascending; values 0 .. 1, 0.1 .. 3.2 for a
    // differentiator; weights by weightRange), its grid density (8 .. 64)
    // and where the exchange starts.
    std::vector<RemezBand> bands;
    int gridDensity = 16;
    RemezWeightRange weightRange = RemezWeightRange::Dialog;
    RemezStart remezStart = RemezStart::Automatic;

    // Frequency sampling: P points sampling the wanted response evenly from
    // 0 to fs/2 (real parts the magnitudes, imaginary parts as read, 0 from a
    // file); hasInputData false when none were read. P >= 2.
    bool hasInputData = false;
    std::vector<Complex> samplingPoints;

    // Impulse-response scaling: natural (scale 1), normalized to a peak of
    // 1, optimized to a power of two, or custom by scale. The scale must be
    // 0.1 .. 10.0 whatever the mode (natural takes 1.0).
    IRScaling scaling = IRScaling::Natural;
    double scale = 1.0;
    bool sinXCompensation = false;  // x/sin(x) compensation of the taps

    // The methods beside the form's four (MethodDesign.h). Least squares
    // takes the band table as Remez does (weights by weightRange; the
    // command line gives AnyPositive), for a lowpass, highpass, bandpass,
    // bandstop or Hilbert transformer. minimumPhase: a Remez or
    // least-squares lowpass, bandpass or bandstop of N taps with minimum
    // phase, from the design of 2N - 1 taps for the squared magnitude.
    // remezShape: a Remez lowpass, bandpass or bandstop whose pass bands
    // follow a CIC's inverse or x/sin(x) (not with minimumPhase). pulse:
    // DesignMethod::Pulse, span x sps + 1 taps (5 .. 1025; taps is not used).
    bool minimumPhase = false;
    ResponseShape remezShape;
    PulseRequest pulse;

    RateChange rateChange;

    // Measure the finished taps on their derived mask (DesignOutcome::figures).
    bool measure = true;
};
