#pragma once

#include <string>
#include <vector>

#include "dsp/RemezDesign.h"

// Half-band lowpass filters (cutoff fs/4) by the method of P. P. Vaidyanathan
// and T. Q. Nguyen, "A 'trick' for the design of FIR half-band filters",
// IEEE Trans. Circuits Syst. 34(3), 1987, pp. 297-300: a one-band Remez
// design G of (N + 1) / 2 taps approximating 1 on 0 .. 2 f1, then
//   h = (delta(n - (N-1)/2) + G(z^2)) / 2.
// G has an even length (symmetric, type II), so its amplitude is odd about
// fs/2; H's amplitude (1 + A_G(2f)) / 2 then stays within delta/2 of 1 on
// the pass band 0 .. f1 and of 0 on the stop band fs/2 - f1 .. fs/2: pass
// and stop ripple are equal. The centre tap is exactly 0.5 and every
// second tap from it exactly 0 (they are never computed, only placed).

// N = 4k + 3 from kMinHalfbandTaps to kMaxHalfbandTaps.
inline constexpr int kMinHalfbandTaps = 7;
inline constexpr int kMaxHalfbandTaps = 1023;

enum class HalfbandStatus {
    Converged,
    DidNotConverge,  // the best finite design of G (still exact zeros and 0.5)
    BadTaps,         // N is not 4k + 3 in range: see NearestHalfbandTaps
    BadPassEdge,     // f1 not inside 0 < f1 < fs/4 (after rounding 2 f1 to whole Hz, 2 f1 < fs/2)
    BadRate,         // fs below 8 Hz
};

// The valid N nearest to taps (ties go to the longer filter), within
// kMinHalfbandTaps .. kMaxHalfbandTaps.
int NearestHalfbandTaps(int taps);
bool IsHalfbandTaps(int taps);

// The refusal of an invalid N, naming the nearest valid one.
std::string HalfbandTapsMessage(int taps);

struct HalfbandResult {
    HalfbandStatus status = HalfbandStatus::BadTaps;
    std::vector<double> taps;  // N taps, natural order; empty unless designed
    std::vector<double> g;     // the one-band design G, (N + 1) / 2 taps
    RemezResult remez;         // of G
    // The larger of H's pass deviation |A - 1| over 0 .. f1 and its stop gain
    // over fs/2 - f1 .. fs/2, measured (the two are equal up to the grid).
    double ripple = 0.0;
};

// Designs a half-band lowpass of taps (= 4k + 3) at fs (Hz) with pass edge
// passHz; G's band runs from 0 to 2 passHz rounded to whole hertz, on a
// Remez grid of gridDensity (8 .. 64).
HalfbandResult DesignHalfband(int taps, int fs, double passHz, int gridDensity);
