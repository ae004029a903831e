#pragma once

#include <span>
#include <vector>

#include "dsp/RemezAlgorithm.h"

// Minimum-phase FIR filters from linear-phase designs, by the method of
// O. Herrmann and W. Schuessler, "Design of nonrecursive digital filters
// with minimum phase", Electronics Letters 6(11), 1970 (also T. W. Parks
// and C. S. Burrus, "Digital Filter Design", 1987, section 3.6):
//
// 1. The caller designs a linear-phase prototype of length 2N - 1 (symmetric,
//    odd) for the square of the wanted magnitude: pass values squared, stop
//    values 0 (Remez or least squares).
// 2. Its amplitude A(f) dips to -delta in the stop bands; the shifted
//    G(f) = (A(f) + s) / (1 + s), s = delta (1 + kMinimumPhaseMargin), is
//    the squared magnitude of a filter of N taps where it stays positive.
//    delta is the stop bands' ripple: a prototype that dips deeper in a
//    transition band has no factor that keeps the stop bands, and is
//    designed again on narrowed transitions, then with weak transition
//    bands (DesignMinimumPhase), or refused.
// 3. That filter, the one with every zero inside the unit circle, is found
//    by the homomorphic (cepstral) method: the real cepstrum of log G / 2,
//    folded onto its causal half, exponentiated back (A. V. Oppenheim and
//    R. W. Schafer, "Discrete-Time Signal Processing", 3rd ed., sections
//    13.5 and 13.8). The margin moves the double zeros the equiripple stop
//    band puts on the unit circle just inside it, so the cepstrum decays
//    geometrically and an FFT of kMinimumPhaseMinFft points or more (doubled
//    until the taps beyond N carry no energy, or that energy stops falling,
//    at most kMinimumPhaseMaxFft) leaves no visible aliasing. The FFT is this file's own, with twiddles
//    to an ulp: G is needed to a small relative accuracy near its minima.
//
// |H|^2 = G, so |H| = sqrt(G): a pass-band ripple of +-dp in the prototype
// becomes about +-dp/2, a stop-band level ds becomes sqrt((ds + s) / (1 + s)),
// about sqrt(2 ds); the factor is measured on the stop bands and refused
// when it falls short of that, and every zero must lie strictly inside the
// unit circle (the margin grows tenfold, up to kMinimumPhaseMaxMargin,
// until they do, or the design is refused).

inline constexpr double kMinimumPhaseMargin = 1e-3;
inline constexpr int kMinimumPhaseMinFft = 1 << 16;
inline constexpr int kMinimumPhaseMaxFft = 1 << 22;
inline constexpr int kMinimumPhaseMaxTaps = 1025;
inline constexpr double kMinimumPhaseMaxMargin = 1e-1;
// The measured stop bands may lie this far above the promised level (the
// measurement's own resolution).
inline constexpr double kMinimumPhaseStopToleranceDb = 1e-3;

// A band in fractions of fs, 0 .. 0.5.
struct FrequencyBand {
    double lower = 0.0;
    double upper = 0.0;
};

enum class MinimumPhaseStatus {
    Ok,
    BadLength,     // N outside 2 .. kMinimumPhaseMaxTaps, or the prototype not 2N - 1 taps
    NotSymmetric,  // the prototype's taps not symmetric within 1e-9 of its largest
    NonFinite,     // a prototype tap not finite, or nothing left after the shift (all-zero prototype)
    NoPrototype,   // the prototype's design gave no taps (its bands refused, or no grid)
    TransitionDips,  // the prototype dips below its stop-band ripple outside the stop bands
    ZerosOutside,    // a zero stayed on or outside the unit circle at the largest margin
    StopBandShort,   // the factor's stop bands fall short of the promised level
};

struct MinimumPhaseResult {
    MinimumPhaseStatus status = MinimumPhaseStatus::BadLength;
    std::vector<double> taps;   // N taps when Ok
    double delta = 0.0;         // -min A(f) on the FFT grid, 0 when A stays non-negative
    double shift = 0.0;         // s
    int fftSize = 0;            // points of the last transform used
    double tailEnergy = 0.0;    // energy of the factor beyond N taps / its whole energy (aliasing)
    double squareError = 0.0;   // max over the FFT grid of | |H|^2 - G |, H from the N taps
    double margin = kMinimumPhaseMargin;  // s = delta (1 + margin)
    bool Ok() const { return status == MinimumPhaseStatus::Ok; }
};

// The minimum-phase filter of N = taps coefficients from the symmetric
// prototype of 2N - 1 taps. Gain at the prototype's largest pass value: 1.
// delta from the prototype's stop bands (fractions of fs; none: its lowest
// value anywhere); TransitionDips when it dips deeper elsewhere.
MinimumPhaseResult MinimumPhaseFromPrototype(std::span<const double> prototype, int taps,
                                             const std::vector<FrequencyBand>& stopBands = {},
                                             double margin = kMinimumPhaseMargin);

// The number of zeros of H(z) = sum h[n] z^-n on or outside the unit circle
// by the argument principle (the phase of H over a full turn, refined where
// it turns fast); -1 when a zero lies on the circle to working precision.
int ZerosOutsideUnitCircle(std::span<const double> taps);

// The zero-phase amplitude of a symmetric odd-length prototype at f
// (fraction of fs): h[M] + 2 sum h[M + k] cos(2 pi k f), M = centre.
double SymmetricAmplitude(std::span<const double> prototype, double f);

// The whole design: the prototype of 2N - 1 taps by the Remez exchange
// (grid density as DesignRemez's) or by least squares for the squares of
// the bands' values (edges in fractions of fs, weights as given), then its
// factor. The prototype's own outcome is kept for the report.
enum class PrototypeMethod { Remez, LeastSquares };

// How the prototype was made to keep its transition bands above its stop
// bands' ripple.
enum class PrototypeRemedy { None, NarrowedTransitions, WeakTransitionBands };

struct MinimumPhaseDesign {
    MinimumPhaseResult factor;
    PrototypeRemedy remedy = PrototypeRemedy::None;
    double promisedStopDb = 0.0;  // the stop-band level sqrt((ds + s) / (1 + s)), dB
    double stopDb = 0.0;          // the factor's largest stop-band gain, measured, dB
    PrototypeMethod method = PrototypeMethod::Remez;
    bool prototypeConverged = false;  // Remez converged, or the least-squares solve succeeded
    double prototypeError = 0.0;      // Remez: |delta| of the prototype; least squares: its weighted squared error
    std::vector<double> prototype;    // 2N - 1 taps
};

MinimumPhaseDesign DesignMinimumPhase(int taps, PrototypeMethod method, const std::vector<RemezEdge>& bands,
                                      int gridDensity);
