#pragma once

#include <span>
#include <vector>

// Pulse-shaping filters for digital modulation: raised cosine, root raised
// cosine and the Gaussian filter of GMSK, sampled at sps samples per symbol
// over span symbols (taps = span * sps + 1, centred on the middle tap).
//
// Closed forms, t in symbol periods (Ts = 1), rolloff alpha in 0 .. 1:
//   raised cosine      h(t) = sinc(t) cos(pi alpha t) / (1 - (2 alpha t)^2),
//                      h(+-1/(2 alpha)) = (pi/4) sinc(1/(2 alpha));
//   root raised cosine h(t) = [sin(pi t (1 - alpha)) + 4 alpha t cos(pi t (1 + alpha))]
//                             / [pi t (1 - (4 alpha t)^2)],
//                      h(0) = 1 - alpha + 4 alpha / pi,
//                      h(+-1/(4 alpha)) = (alpha / sqrt 2) [(1 + 2/pi) sin(pi/(4 alpha))
//                                                        + (1 - 2/pi) cos(pi/(4 alpha))];
//   Gaussian (BT)      h(t) = sqrt(2 pi / ln 2) BT exp(-2 pi^2 BT^2 t^2 / ln 2).
// Sources: J. G. Proakis, "Digital Communications", 4th ed., section 9.2
// (raised cosine spectrum and pulse); the root raised cosine as in
// liquid-dsp's documentation (firdes, rrcos) and F. Xiong, "Digital
// Modulation Techniques", section 2.4; the Gaussian filter of K. Murota and
// K. Hirade, "GMSK modulation for digital mobile radio telephony", IEEE
// Trans. Commun. 29(7), 1981, eq. (2).
// Sample instants within 1e-8 (relative) of a removable singularity take
// its limit: there the quotient would lose its digits to cancellation, and
// the limit is off by less than the distance times the slope.

enum class PulseShape { RaisedCosine, RootRaisedCosine, Gaussian };

// Scaling of the taps: the closed form as it stands (raised cosine: centre
// tap 1), sum of squares 1, or sum 1 (gain 1 at DC).
enum class PulseNormalisation { ClosedForm, UnitEnergy, UnitDcGain };

inline constexpr int kPulseMaxTaps = 4097;

struct PulseRequest {
    PulseShape shape = PulseShape::RootRaisedCosine;
    double rolloff = 0.35;  // alpha, 0 .. 1 (raised cosine shapes)
    double bt = 0.3;        // bandwidth-time product, 0.05 .. 1 (Gaussian)
    int sps = 8;            // samples per symbol, 2 .. 64
    int span = 8;           // symbols, 1 .. 64; taps = span * sps + 1 <= kPulseMaxTaps;
                            // span * sps even, so that the centre tap is a symbol instant
    PulseNormalisation normalisation = PulseNormalisation::UnitEnergy;
    bool operator==(const PulseRequest&) const = default;
};

enum class PulseStatus { Ok, BadShape, BadRolloff, BadBt, BadSps, BadSpan };

struct PulseResult {
    PulseStatus status = PulseStatus::BadShape;
    std::vector<double> taps;  // span * sps + 1 when Ok
    bool Ok() const { return status == PulseStatus::Ok; }
};

inline constexpr double kPulseMinBt = 0.05;
inline constexpr double kPulseMaxBt = 1.0;
inline constexpr int kPulseMinSps = 2;
inline constexpr int kPulseMaxSps = 64;
inline constexpr int kPulseMaxSpan = 64;

// The closed forms above at t symbol periods from the centre.
double RaisedCosinePulse(double t, double alpha);
double RootRaisedCosinePulse(double t, double alpha);
double GaussianPulse(double t, double bt);

PulseResult DesignPulse(const PulseRequest& request);

// What a pulse does to the symbols and the spectrum.
struct PulseAnalysis {
    // Inter-symbol interference at the symbol instants: of the pulse itself
    // (raised cosine, Gaussian) or of the pulse convolved with itself (root
    // raised cosine: transmit and matched receive filter). Ratios to the
    // centre sample: the root of the sum of squares of the others (ISI power
    // ratio, also in dB) and the sum of their magnitudes (peak distortion).
    double isiRms = 0.0;
    double isiDb = 0.0;    // 20 log10(isiRms), floored at -400
    double isiPeak = 0.0;
    bool cascaded = false;  // true for the root raised cosine
    // Occupied bandwidth: the frequency B (fraction of fs) with the given
    // share of the taps' power in 0 .. B, from the autocorrelation in closed
    // form (no grid); also in units of the symbol rate (B sps).
    double powerFraction = 0.99;
    double occupiedBandwidth = 0.0;
    double occupiedBandwidthSymbols = 0.0;
};

// taps: an odd count (the centre on a symbol instant); sps >= 1; powerFraction in (0, 1).
PulseAnalysis AnalysePulse(std::span<const double> taps, PulseShape shape, int sps, double powerFraction = 0.99);

// The power of the taps in 0 .. f (f a fraction of fs, 0 .. 0.5): integral
// of |H|^2, from the autocorrelation r as r0 f + sum_m r_m sin(2 pi m f)/(pi m).
double PowerBelow(std::span<const double> taps, double f);
