#pragma once

#include <complex>
#include <span>
#include <vector>

// Achieved figures of a set of real taps, measured on a dense frequency grid.

// What a band of the measurement mask asks of the response.
enum class BandKind { Pass, Stop, Slope };

// One band of the mask. Edges in Hz, 0 <= loHz < hiHz <= fs/2. desired is the
// ideal linear gain of a pass band, or for a slope band (differentiators) the
// ideal gain at fs/2, the ideal being desired * f / (fs/2); stop bands ignore it.
struct MaskBand {
    BandKind kind = BandKind::Pass;
    double loHz = 0.0;
    double hiHz = 0.0;
    double desired = 1.0;
};

// Figures of one band. Gains in dB are 20 log10 |H|, floored at kFloorDb.
// A slope band's maxDb and minDb are the gain relative to its ideal line.
struct BandFigures {
    MaskBand band;
    double maxDb = 0.0;          // largest gain over the band
    double minDb = 0.0;          // smallest gain over the band
    double rippleDb = 0.0;       // pass and slope bands: maxDb - minDb
    double attenuationDb = 0.0;  // stop bands: 20 log10(nominal pass gain) - maxDb
    double maxDeviation = 0.0;   // pass and slope bands: largest | |H| - ideal |, linear
};

enum class MeasureStatus { Ok, NoTaps, BadRate, BadBand, NonFinite };

// The whole response: the largest gain anywhere outside the stop bands
// (pass and slope bands, transition bands, whatever no band covers),
// refined between grid points as the band figures are, in dB relative to
// the top of the pass bands (their largest gain; without pass bands, the
// slope bands'). At least 0 dB, since the pass bands count too; above it,
// something outside the stop bands rises above the pass band.
struct WholeResponseFigures {
    bool measured = false;  // the mask has a pass or slope band with gain
    double peakDb = 0.0;    // the largest gain outside the stop bands over the pass bands' top
    double peakHz = 0.0;    // where it is
    double passTopDb = 0.0; // the pass bands' top, 20 log10 |H|
};

struct ResponseFigures {
    MeasureStatus status = MeasureStatus::NoTaps;
    int gridIntervals = 0;           // uniform grid: gridIntervals + 1 points from 0 to fs/2
    double nominalPassGain = 1.0;    // midpoint of the pass bands' largest and smallest linear gain; 1 without pass bands
    std::vector<BandFigures> bands;  // in the order of the mask
    // Frequencies (Hz, ascending) where the gain crosses 3 and 6 dB below the
    // nominal pass gain on the way out of a pass band; empty unless asked for.
    std::vector<double> minus3dbHz;
    std::vector<double> minus6dbHz;
    bool linearPhase = false;        // taps symmetric or antisymmetric
    double groupDelaySamples = 0.0;  // (N-1)/2 for linear phase; else the mean over the pass bands (whole band without)
    double groupDelayMs = 0.0;
    double groupDelayMinSamples = 0.0;
    double groupDelayMaxSamples = 0.0;
    double dcGainDb = 0.0;
    double nyquistGainDb = 0.0;      // at fs/2
    double peakTap = 0.0;            // signed value of the largest-magnitude tap
    int peakTapIndex = 0;
    double sumAbsTaps = 0.0;         // worst-case gain of the filter, exactly rounded (ExactAbsSum)
    int headroomBits = 0;            // HeadroomBits(sumAbsTaps)
    WholeResponseFigures whole;
};

inline constexpr double kFloorDb = -400.0;

// The smallest rise of the whole response over the pass band's top that
// counts as rising above the pass band, whatever the pass band's ripple.
inline constexpr double kWholeResponseToleranceDb = 0.1;
// The whole response rises above the pass band: the mask has a pass band
// and the largest gain outside the stop bands exceeds the pass bands' top
// by more than their largest ripple (and kWholeResponseToleranceDb). A
// transition band that peaks there passes what the stop bands were meant
// to stop louder than the pass band, and fixed-point words sized for the
// pass band saturate.
bool WholeResponseExceeds(const ResponseFigures& figures);

// sum |values[i]|, rounded once to the nearest double (ties to even): exact
// whatever the order and count of the values.
double ExactAbsSum(std::span<const double> values);
// Bits above the binary point that a worst-case sum needs: ceil(log2(sumAbs))
// exactly (2 needs 1, 2 + 2^-51 needs 2), 0 for sums of 1 or less.
int HeadroomBits(double sumAbs);

// Uniform grid intervals for N taps: a power of two, at least 16 per tap
// interval (16 (N - 1)) and never fewer than 8192.
int MeasurementGridIntervals(int taps);

// H at a frequency given as a fraction of fs: sum h[n] exp(-2 pi j f n).
std::complex<double> FrequencyResponseAt(std::span<const double> taps, double fraction);
// Group delay in samples at a fraction of fs; NaN where |H| vanishes.
double GroupDelayAt(std::span<const double> taps, double fraction);
// 20 log10 |H| floored at kFloorDb.
double GainDb(double magnitude);

// Measures taps at sampling rate fs (Hz) against the mask bands, in
// O(G log G) for G grid intervals plus O(N) per band. The grid is uniform
// from 0 to fs/2 (one FFT) plus both edges of every band exactly; the local
// extremes of a band nearest its largest (smallest) sampled value are
// refined between their neighbouring grid points by parabolic steps on |H|
// evaluated exactly, so the band figures hold under any denser evaluation
// (to well below 0.001 dB); the whole response likewise. crossings:
// find the -3 dB and -6 dB frequencies (lowpass, highpass, band-pass and
// band-stop designs). A band outside 0..fs/2 or with loHz >= hiHz gives BadBand.
ResponseFigures MeasureResponse(std::span<const double> taps, double fs, std::span<const MaskBand> bands,
                                bool crossings);

// Taps symmetric (+1), antisymmetric (-1) or neither (0), within
// tolerance * the largest tap magnitude (0: exact).
int TapSymmetry(std::span<const double> taps, double tolerance);

// count points from 0 to fs/2 inclusive (count >= 2): frequencies in Hz and
// the gain in dB, for drawing.
struct ResponseCurve {
    std::vector<double> hz;
    std::vector<double> values;
};
ResponseCurve MagnitudeCurveDb(std::span<const double> taps, double fs, int count);
// Group delay in samples; points where |H| vanishes carry NaN.
ResponseCurve GroupDelayCurve(std::span<const double> taps, double fs, int count);
