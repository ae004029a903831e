#pragma once

#include <span>
#include <vector>

// How the taps of a filter follow from the free words an optimiser chooses,
// and the response each free word contributes.
//
// Linear-phase taps (symmetric or antisymmetric) have a real amplitude
// A(w) with |H(w)| = |A(w)|: for N = 2M + 1 symmetric taps
// A(w) = h[M] + sum_k 2 h[M-k] cos(k w), for N = 2M symmetric
// A(w) = sum_k 2 h[M-1-k] cos((k + 1/2) w), antisymmetric likewise with
// sin (the middle tap of odd N then 0). One free word stands for a tap and
// its mirror, so the words stay symmetric. Other taps are free one by one,
// with H(w) = sum_n h[n] (cos(n w) - j sin(n w)).
// w is the angular frequency in radians per sample, 0 .. pi.
struct WordLayout {
    int taps = 0;
    int symmetry = 0;      // +1 symmetric, -1 antisymmetric, 0 neither (complex response)
    int variables = 0;     // free words
    std::vector<int> tap;  // per free word: its tap (the lower of a mirrored pair)
    std::vector<int> mirror;  // the mirror tap, -1 for none (a middle tap, or no symmetry)
    // Per free word: its function is amplitude * cos(halfMultiple * w / 2)
    // (sine for antisymmetric taps); complex: cos(n w) - j sin(n w) with
    // halfMultiple 2n and amplitude 1.
    std::vector<int> halfMultiple;
    std::vector<double> amplitude;

    bool Complex() const { return symmetry == 0; }
};

// The layout of taps whose symmetry is given (TapSymmetry's +1, -1 or 0);
// an antisymmetric middle tap is left out (always 0).
WordLayout LayoutOf(int taps, int symmetry);
// The same, leaving out the taps that are exactly 0 (a half-band filter's
// every second tap): their words stay 0, as rounding keeps them.
WordLayout LayoutOf(std::span<const double> taps, int symmetry);

// The taps the free words give (mirror taps negated for antisymmetry).
std::vector<long long> TapsOfWords(const WordLayout& layout, std::span<const long long> words);
// The free words of taps (the lower tap of each pair).
std::vector<long long> WordsOfTaps(const WordLayout& layout, std::span<const long long> taps);
std::vector<double> WordsOfTaps(const WordLayout& layout, std::span<const double> taps);

// The value of a free word's function at w: real (linear phase, the
// imaginary part 0) or complex.
struct WordBasisValue {
    double re = 0.0;
    double im = 0.0;
};
WordBasisValue WordBasisAt(const WordLayout& layout, int word, double w);
