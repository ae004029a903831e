#pragma once

#include <vector>

#include "dsp/ResponseMeasurement.h"

// A filter requirement and the classic estimates of the taps that meet it.
// Frequencies in Hz unless a name says "fraction" (of the sampling rate).

// One band of a requirement. A pass band asks that its ripple (largest minus
// smallest gain in dB over the band) stays at most limitDb; a stop band
// asks that its attenuation below the nominal pass gain is at least limitDb.
// Only BandKind::Pass and BandKind::Stop are requirements.
struct SpecBand {
    BandKind kind = BandKind::Pass;
    double loHz = 0.0;
    double hiHz = 0.0;
    double limitDb = 0.0;
};

// Bands in ascending order of frequency, 0 <= loHz < hiHz <= fs/2, pass and
// stop alternating with a transition between neighbours.
struct SpecRequirement {
    double fs = 0.0;
    std::vector<SpecBand> bands;
};

enum class SpecCheck {
    Ok,
    BadRate,         // fs not above 0
    TooFewBands,     // fewer than two bands
    TooManyBands,    // more than three bands
    BadEdges,        // an edge outside 0..fs/2, or loHz >= hiHz
    NoTransition,    // bands overlap or touch
    NotAlternating,  // two pass bands or two stop bands side by side
    BadLimit,        // a ripple or attenuation that is not above 0 (or not finite)
};

// Checks the requirement; the first failure in the order above.
SpecCheck CheckRequirement(const SpecRequirement& req);

// The filter type (FT_LOWPASS .. FT_BANDSTOP of DesignKinds.h) that the
// band pattern describes: pass-stop lowpass, stop-pass highpass,
// stop-pass-stop bandpass, pass-stop-pass bandstop; -1 for another pattern.
int RequirementFilterType(const SpecRequirement& req);

// Symmetric highpass and bandstop filters of even length have a zero at
// fs/2, so they need an odd number of taps.
bool NeedsOddTaps(int filterType);

// Linear deviations of the limits: a pass ripple R dB allows 1 +- dp with
// 20 log10((1 + dp) / (1 - dp)) = R; a stop attenuation A dB allows ds = 10^(-A/20).
double PassDeviation(double rippleDb);
double StopDeviation(double attenuationDb);
// The limit of a band as a linear deviation (pass: PassDeviation, stop: StopDeviation).
double BandDeviation(const SpecBand& band);

// Kaiser's window formulas for a stop-band attenuation A dB (the window
// method gives the same deviation in pass and stop bands):
// beta = 0.1102 (A - 8.7) above 50 dB, 0.5842 (A - 21)^0.4 + 0.07886 (A - 21)
// from 21 dB, else 0; taps = ceil((A - 7.95) / (2.285 pi w) + 1), w the
// transition width as a fraction of fs/2, A taken as at least 8 dB.
double KaiserBeta(double attenuationDb);
int KaiserTaps(double attenuationDb, double widthFraction);
// The length before rounding and the tap limit.
double KaiserLength(double attenuationDb, double widthFraction);

// Parks-McClellan length estimates of a lowpass with pass edge fp and stop
// edge fst (fractions of fs, fp < fst < 0.5), pass deviation dp and stop
// deviation ds; real-valued, before rounding up.
// Herrmann, Rabiner and Chan (1973).
double HerrmannLength(double fp, double fst, double dp, double ds);
// Ichige, Iwaki and Ishii (2000), more accurate for long filters.
double IchigeLength(double fp, double fst, double dp, double ds);

// The window design for a requirement: the Kaiser window of the tightest
// deviation over all bands and the narrowest transition, with the sinc's
// corners at the middle of each transition (rounded to whole Hz).
struct KaiserDesignEstimate {
    int taps = 0;               // 4 .. 1025, of the parity the filter type allows
    double attenuationDb = 0.0; // -20 log10 of the tightest deviation
    double beta = 0.0;
    double widthHz = 0.0;       // narrowest transition
    std::vector<int> cornersHz; // one per transition, ascending
};
KaiserDesignEstimate EstimateKaiserDesign(const SpecRequirement& req);

// The Parks-McClellan design for a requirement: each transition as a
// lowpass (a pass band above the transition mirrored about fs/4), the
// longest wins; Herrmann's length, or Ichige's where Herrmann's exceeds
// kIchigeFromTaps (Herrmann's falls short on longer filters). Band weights
// are the largest deviation over the band's own, so the loosest band weighs 1.
inline constexpr int kIchigeFromTaps = 30;
struct RemezDesignEstimate {
    int taps = 0;                  // 4 .. 1025, of the parity the filter type allows
    double herrmannLength = 0.0;   // before rounding
    double ichigeLength = 0.0;
    bool usedIchige = false;
    std::vector<double> weights;   // one per band of the requirement
};
RemezDesignEstimate EstimateRemezDesign(const SpecRequirement& req);

// n moved up to the parity the filter type allows and into 4 .. 1025
// (1025 is odd, so an odd-only type never lands on 1024).
int AllowedTaps(int n, int filterType);
