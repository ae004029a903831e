#pragma once

#include <optional>
#include <string>
#include <vector>

#include "design/MethodReport.h"
#include "dsp/CPoints.h"
#include "dsp/Multirate.h"
#include "dsp/RemezDesign.h"
#include "dsp/ResponseMeasurement.h"

// What a design refuses or notes, in the order the form shows them.
enum class DesignCode {
    // The request's fields.
    FirstCornerRange,   // first corner outside 0 .. 10000000 Hz
    SecondCornerRange,  // second corner outside 0 .. 10000000 Hz
    TapsRange,          // taps outside 4 .. 1025
    CornerFrequencies,  // a corner at or above fs/2 (integer half) in a design other than Remez
    ScaleRange,         // scale outside 0.1 .. 10.0
    // The method and its data.
    SincNotSupported,          // windowed sinc of a Gaussian edge, allpass or moving average
    FreqSamplingNotSupported,  // frequency sampling of a type beyond bandstop
    RemezNotSupported,         // Remez of a type beyond differentiator
    DirectNotSupported,        // direct design of a type other than Gaussian edge, allpass, moving average
    NoInputData,               // frequency sampling without points read
    TooFewPoints,              // frequency sampling of fewer than 2 points
    // The parameter dialogs' values (value: the band row for the band table).
    AttenuationRange,        // Dolph-Chebyshev attenuation outside 10 .. 100 dB
    ShapeFactorBounds,       // Kaiser beta outside 0 .. 20
    DiffGainRange,           // differentiator gain outside 0.1 .. 10.0
    VarianceRange,           // Gaussian variance outside 0.1 .. 3.0
    TooManyBands,            // more than kBandCount rows
    GridDensityRange,        // grid density outside 8 .. 64
    EdgeAboveHalf,           // an edge of a row in use above fs/2
    EdgeOrder,               // edges of the rows in use not ascending
    EdgesEqual,              // a row in use with equal edges
    DiffValueRange,          // a differentiator's value outside 0.1 .. 3.2
    ValueRange,              // a value outside 0 .. 1
    WeightRange,             // a weight of a row in use not positive and finite
    NoBand,                  // no row in use
    // The design itself.
    CornerOrder,    // bandpass or bandstop with the second corner not above the first
    NonFiniteTaps,  // the taps are not all finite: no design
    // Notes: the design goes on.
    RemezPasses,         // converged (value: passes)
    RemezNoConvergence,  // did not converge; the best taps reached are kept
    CalculatedScale,     // the scale factor came out of 0.01 .. 100; the taps are scaled by 1
    // The methods beside the form's four (MethodDesign.h), refusals all.
    LeastSquaresNotSupported,  // least squares of a type other than lowpass, highpass, bandpass, bandstop, Hilbert
    MinimumPhaseNotSupported,  // minimum phase other than of a Remez or least-squares lowpass, bandpass or bandstop
    ShapeNotSupported,         // a shaped pass band other than of a Remez lowpass, bandpass or bandstop
    ShapeRange,                // CIC parameters out of range, or a pass band over a null (gain above 60 dB)
    PulseRange,                // pulse parameters out of range (roll-off, BT, sps, span, taps)
    MethodFailed,              // the least-squares solve or the minimum-phase factor gave no taps
    // A rate change (RateChangeDesign.h), refusals all.
    RateChangeNotSupported,  // not a lowpass, or a method other than Remez and windowed sinc (half-band: Remez)
    RateFactorRange,         // factor outside 2 .. 64 (a half-band's not 2)
    RateSamplingRate,        // the sampling rate not above 0
    RatePassEdge,            // the pass-band edge not inside 0 < f1 < fs / (2 factor)
    HalfbandTaps,            // a half-band's N not 4k + 3 in 7 .. 1023 (value: N)
    RateTapsRange,           // N outside 4 .. 1025
    RateStopBands,           // given stop bands not ascending above f1 within fs/2, or a weight not above 0
    RateDesignFailed,        // the window or the half-band design gave no taps
};

struct DesignNote {
    DesignCode code = DesignCode::NoBand;
    int value = 0;  // RemezPasses: passes; band table codes: the row, 0 .. 7
    bool operator==(const DesignNote&) const = default;
};

// Where the form meets a code: its fields before anything else, the method
// check (frequency-sampling data included), a parameter dialog, the design
// routine, or a note after designing.
enum class CodeSource { Fields, Method, Dialog, Design, Note };
CodeSource SourceOf(DesignCode code);
inline bool IsRefusal(DesignCode code)
{
    return SourceOf(code) != CodeSource::Note;
}

// A rate change's lowpass: what it was designed for, on which bands, and
// its polyphase figures (of the double taps).
struct RateChangeReport {
    bool ran = false;
    MultirateDesign rate;              // kind, factor, pass edge (Hz)
    std::vector<MaskBand> stopBands;   // the stop bands designed for, Hz
    std::vector<RemezBand> table;      // kBandCount rows the exchange ran on (a half-band: G's one band; the sinc: the derived table)
    MultirateFigures figures;          // rates, phases, MACs, alias attenuation
    std::vector<std::vector<double>> phases;  // the polyphase components, natural order
};

struct RemezReport {
    bool ran = false;
    RemezStatus status = RemezStatus::NoGrid;
    int passes = 0;  // exchange passes of the design returned; 64 when it did not converge
    bool exact = false;
    RemezStart startUsed = RemezStart::Uniform;
};

// The result of Design: the taps, the arrays the form plots, the scaling,
// the method's status, the figures measured, and the refusals and notes.
struct DesignOutcome {
    bool valid = false;  // finite taps, scaled and analysed
    // The design routine started: window, coeffs, step and spectrum hold its
    // state (true also after CornerOrder or NonFiniteTaps).
    bool ran = false;
    // The taps were scaled: gain and irPeak hold the result.
    bool scaled = false;
    std::vector<DesignNote> notes;

    int taps = 0;     // N designed; frequency sampling: 2P - 1
    int firType = 0;  // 0 .. 3 (FirTypeOf)
    double irPeak = 0.0;  // the largest tap before scaling (after x/sin(x))
    double gain = 1.0;    // the scale factor applied

    CPoints window;       // N window samples (zeros for Remez)
    CPoints coeffs;       // N taps, real
    CPoints step;         // N step-response samples
    CPoints spectrum;     // the DFT of the taps padded to spectrumLength (1024 or 1025)
    int spectrumLength = 0;
    bool sinXApplied = false;
    CPoints sinXFactors;  // N x/sin(x) factors when applied

    RemezReport remez;
    MethodReport methods;  // least squares, minimum phase, pulse, shaped Remez
    RateChangeReport rateChange;

    // valid and measured: the mask derived from the request and the figures
    // of the taps on it (-3/-6 dB crossings for the pass types).
    std::vector<MaskBand> mask;
    ResponseFigures figures;

    // Sets ran, taps = n and the four arrays to n zeros, as a design
    // routine starts.
    void ResizeArrays(int n);
    // The refusal that stopped the design, if any.
    std::optional<DesignNote> Refusal() const;
    bool Has(DesignCode code) const;
    // The taps' real parts.
    std::vector<double> Taps() const;
};
