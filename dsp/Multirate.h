#pragma once

#include <optional>
#include <span>
#include <vector>

#include "dsp/DesignKinds.h"
#include "dsp/RemezBand.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// Rate changes by an integer factor: the bands a lowpass for decimation or
// interpolation must meet, its polyphase form, its cost and what folds
// onto its pass band. Rates in Hz; fs is always the high rate (the input
// of a decimator, the output of an interpolator).

enum class MultirateKind { Decimate, Interpolate, Halfband };
inline constexpr const char* kMultirateKindNames[] = {"decimate", "interpolate", "halfband"};

inline constexpr int kMinRateFactor = 2;
inline constexpr int kMaxRateFactor = 64;

enum class MultirateStatus {
    Ok,
    BadFactor,    // outside kMinRateFactor .. kMaxRateFactor (a half-band is 2)
    BadRate,      // fs not above 0 or not finite
    BadPassEdge,  // the pass edge not inside 0 < f1 < fs / (2 factor)
};

// What a lowpass was designed for: the kind, the factor, and the pass edge
// in Hz at the high rate.
struct MultirateDesign {
    MultirateKind kind = MultirateKind::Decimate;
    int factor = 2;
    double passHz = 0.0;
};

// Checks factor, fs and pass edge f1 (Hz).
MultirateStatus CheckMultirate(int factor, double fs, double passHz);

// The stop bands of a lowpass for a rate change by factor at the high rate
// fs with pass edge f1 (0 < f1 < fs / (2 factor)), ascending, in Hz:
//  - default: one band from fs/factor - f1 to fs/2, everything that can
//    fold onto the output's band (decimation) or is an image (interpolation);
//  - aliasBands: only what folds onto the pass band itself, the bands
//    k fs/factor - f1 .. k fs/factor + f1 for k = 1 .. factor/2, clipped to
//    fs/2. Between them the response may do anything; it needs fewer taps.
// Empty when CheckMultirate fails.
std::vector<MaskBand> MultirateStopBands(int factor, double fs, double passHz, bool aliasBands);

// The pass band 0 .. f1 and the alias bands k fs/factor -+ f1 as a
// measurement mask (alias attenuation is measured on it).
std::vector<MaskBand> MultirateAliasMask(int factor, double fs, double passHz);

// The Remez band table (whole hertz) of the lowpass: pass 0 .. f1 (value 1,
// weight 1), stop bands value 0, weight stopWeight. Stop edges are rounded
// inward (up at a lower edge, down at an upper one). The table holds
// kBandCount rows: alias bands beyond the seventh merge into one band that
// runs to fs/2, which asks for more than the alias bands alone. Returns the
// rows in use (0 when CheckMultirate fails).
int MultirateRemezTable(int factor, int fs, double passHz, bool aliasBands, double stopWeight,
                        RemezBand (&table)[kBandCount]);

// The same table from stop bands given in Hz (ascending, above passHz).
int LowpassRemezTable(int fs, double passHz, std::span<const MaskBand> stops, double stopWeight,
                      RemezBand (&table)[kBandCount]);

// The polyphase components of taps for factor phases, in natural order:
// phase p holds h[p], h[p + factor], h[p + 2 factor], ... (the last phases
// are one shorter when the count is not a multiple of factor).
std::vector<std::vector<double>> PolyphaseComponents(std::span<const double> taps, int factor);

// Taps zero-padded at the end to a multiple of factor (the delay stays).
int PaddedTapCount(int taps, int factor);

// Multiply-accumulates per output sample:
//  - Decimate: N per output at the low rate (CMSIS-DSP's arm_fir_decimate
//    computes only the outputs it keeps, each over all N taps);
//  - Interpolate: ceil(N / L) per output at the high rate (arm_fir_interpolate
//    runs one phase of numTaps / L per output);
//  - Halfband: as a decimator by 2 that skips the zero taps, the non-zero
//    taps per output: (N + 1) / 2 + 1.
int MacsPerOutput(MultirateKind kind, int taps, int factor);

// The figures of a multirate design.
struct MultirateFigures {
    MultirateStatus status = MultirateStatus::BadFactor;
    MultirateKind kind = MultirateKind::Decimate;
    int factor = 0;
    double inputRateHz = 0.0;
    double outputRateHz = 0.0;
    int phases = 0;
    int macsPerOutput = 0;
    // Weakest attenuation over the alias bands, dB below the nominal pass
    // gain: of the double taps, and of the quantised taps when asked for.
    double aliasAttenuationDb = 0.0;
    std::optional<double> quantAliasAttenuationDb;
};

// The weakest alias attenuation of taps (dB; NaN when they cannot be measured).
double AliasAttenuationDb(std::span<const double> taps, int factor, double fs, double passHz);

// Measures taps designed for kind and factor at the high rate fs with pass
// edge f1; quantize adds the alias attenuation of the quantised taps.
MultirateFigures MeasureMultirate(std::span<const double> taps, MultirateKind kind, int factor, double fs,
                                  double passHz, const std::optional<QuantSpec>& quantize);
