#pragma once

#include <numbers>
#include <optional>
#include <variant>
#include <vector>

#include "dsp/CPoints.h"
#include "dsp/DesignKinds.h"
#include "dsp/Multirate.h"
#include "dsp/PulseShaping.h"
#include "dsp/ResponseShape.h"
#include "dsp/RemezBand.h"
#include "dsp/RemezDesign.h"

// One design as a value: the filter type, length, rate and corners every
// design has, exactly one method with the parameters that method takes, the
// scaling around it, and optionally a rate change the lowpass is made for.
// Frequencies in whole hertz. The ranges below are those ValidateRequest
// checks (DesignValidation.h).

// A window and the parameter its kind takes (the other is not used).
struct WindowChoice {
    WindowType type = WindowType::Hamming;
    double kaiserBeta = 5.0;        // Kaiser, 0 .. 20
    int chebyshevAttenuation = 40;  // Dolph-Chebyshev, dB, 10 .. 100
    bool operator==(const WindowChoice&) const = default;
};

// "Sync + Window": the filter type's ideal response (lowpass ..
// differentiator) times the window.
struct SincMethod {
    WindowChoice window;
    double differentiatorGain = std::numbers::pi;  // a differentiator's gain at fs/2, 0.1 .. 10.0
    bool operator==(const SincMethod&) const = default;
};

// "Frequency Sampling": the taps of P points sampling the wanted response
// evenly from 0 to fs/2 (real parts the magnitudes, imaginary parts as read),
// 2P - 1 of them whatever the request's taps, times the window (lowpass ..
// bandstop). No points: none were read; P >= 2.
struct FrequencySamplingMethod {
    WindowChoice window;
    std::optional<std::vector<Complex>> points;
    bool operator==(const FrequencySamplingMethod&) const = default;
};

// "Remez Exchange" on a band table (at most kBandCount rows; rows with
// m_bUse 1 take part: edges 0 .. fs/2 ascending, values 0 .. 1 or 0.1 ..
// 3.2 for a differentiator, weights positive and finite) at a grid density
// of 8 .. 64, lowpass .. differentiator. Minimum phase (lowpass, bandpass,
// bandstop): the design of 2N - 1 taps for the squared magnitude, factored
// into N taps. A shape (lowpass, bandpass, bandstop, not with minimum
// phase): the pass bands follow a CIC's inverse or x/sin(x).
struct RemezMethod {
    std::vector<RemezBand> bands;
    int gridDensity = 16;
    RemezStart start = RemezStart::Automatic;
    bool minimumPhase = false;
    ResponseShape shape;
    bool operator==(const RemezMethod&) const = default;
};

// "direct": a Gaussian edge (sigma in taps, 0.1 .. 3.0), an allpass or a
// moving average; all but the moving average times the window.
struct DirectMethod {
    WindowChoice window;
    double gaussianVariance = 1.0;
    bool operator==(const DirectMethod&) const = default;
};

// Least squares on a band table as Remez takes it, for a lowpass,
// highpass, bandpass, bandstop or Hilbert transformer; minimum phase as
// Remez has it (the grid density serves the prototype).
struct LeastSquaresMethod {
    std::vector<RemezBand> bands;
    int gridDensity = 16;
    bool minimumPhase = false;
    bool operator==(const LeastSquaresMethod&) const = default;
};

// A pulse-shaping lowpass of span x sps + 1 taps (5 .. 1025; the request's
// taps are not used). Its normalisation is its gain: the scaling and x/sin(x)
// compensation do not apply to it.
struct PulseMethod {
    PulseRequest pulse;
    bool operator==(const PulseMethod&) const = default;
};

// In DesignMethod's order, so that the index names the method.
using MethodParameters =
    std::variant<SincMethod, FrequencySamplingMethod, RemezMethod, DirectMethod, LeastSquaresMethod, PulseMethod>;
static_assert(std::variant_size_v<MethodParameters> == IndexOf(DesignMethod::Pulse) + 1);

// The lowpass of a change of the sample rate by an integer factor
// (Multirate.h). The request's samplingRate is the high rate (a decimator's
// input, an interpolator's output), firstCorner the pass-band edge (0 < f1 <
// fs / (2 factor)), taps N (4 .. 1025; a half-band 4k + 3, 7 .. 1023); the
// filter type a lowpass and the method Remez (no minimum phase, no shape;
// its band table is not used) or the windowed sinc (not a half-band). The
// stop bands follow from the factor (every frequency from fs/factor - f1 to
// fs/2, or with aliasBands only the bands k fs/factor -+ f1 that fold onto
// the pass band) unless stopBands names them; Remez weighs them stopWeight
// against the pass band's 1. The windowed sinc cuts at fs / (2 factor)
// whatever the bands. The scaling does not apply: the lowpass keeps its gain.
enum class RateChangeKind { Decimate, Interpolate, Halfband };
inline bool operator==(const MaskBand& a, const MaskBand& b)
{
    return a.kind == b.kind && a.loHz == b.loHz && a.hiHz == b.hiHz && a.desired == b.desired;
}
struct RateChange {
    RateChangeKind kind = RateChangeKind::Decimate;
    int factor = 2;  // 2 .. 64; a half-band's is 2
    bool aliasBands = false;
    std::vector<MaskBand> stopBands;  // Hz, ascending, above f1; empty: derived
    double stopWeight = 1.0;          // above 0
    bool operator==(const RateChange&) const = default;
};

struct DesignRequest {
    FilterType filterType = FilterType::Lowpass;
    int taps = 129;            // N, 4 .. 1025
    int samplingRate = 8000;   // fs, Hz
    int firstCorner = 1000;    // Hz, 0 .. 10000000; below fs/2 for the windowed methods
    int secondCorner = 3000;   // Hz, likewise; above the first for a bandpass or bandstop
    MethodParameters method;   // the windowed sinc unless set

    // Impulse-response scaling: natural (scale 1), normalized to a peak of
    // 1, optimized to a power of two, or custom by scale. The scale must be
    // 0.1 .. 10.0 whatever the mode (natural takes 1.0).
    IRScaling scaling = IRScaling::Natural;
    double scale = 1.0;
    bool sinXCompensation = false;  // x/sin(x) compensation of the taps

    std::optional<RateChange> rateChange;

    // Measure the finished taps on their derived mask (DesignOutcome::figures).
    bool measure = true;

    DesignMethod Method() const { return static_cast<DesignMethod>(method.index()); }
    // The method's parameters when the request holds that method, else nullptr.
    template <class M>
    const M* As() const
    {
        return std::get_if<M>(&method);
    }
    template <class M>
    M* As()
    {
        return std::get_if<M>(&method);
    }
    bool operator==(const DesignRequest&) const = default;
};

// The window of a windowed method (sinc, frequency sampling, direct); nullptr for the others.
const WindowChoice* WindowOf(const DesignRequest& request);
// The band table of Remez or least squares; nullptr for the others.
const std::vector<RemezBand>* BandsOf(const DesignRequest& request);
// Its grid density, or 16 for a method without a table.
int GridDensityOf(const DesignRequest& request);
// Minimum phase of Remez or least squares.
bool IsMinimumPhase(const DesignRequest& request);
// The shape of a Remez pass band; ShapeKind::None for the others.
ResponseShape ShapeOf(const DesignRequest& request);
