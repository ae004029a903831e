#pragma once

#include <span>
#include <vector>

// Weighted least-squares design of linear-phase FIR filters of all four
// types: the taps minimise
//
//     E = sum over bands of  weight * integral over the band of (A(f) - value)^2 df
//
// where A(f) is the real amplitude (the response with its linear phase
// removed) and f runs in fractions of fs. The weight multiplies the squared
// error, as in scipy.signal.firls.
//
// A(f) is a sum of r basis functions cos(pi p f) (symmetric taps) or
// sin(pi p f) (antisymmetric taps), p = 2k for odd N and 2k - 1 for even N.
// The Gram matrix of that basis over the bands and the right-hand side are
// integrals of products of cosines, taken in closed form (a Toeplitz plus a
// Hankel matrix), and solved by Cholesky in double. Sources: I. Selesnick,
// "Linear-phase FIR filter design by least squares" (Connexions notes,
// 2005), sections 2-5; T. W. Parks and C. S. Burrus, "Digital Filter
// Design" (Wiley, 1987), ch. 3 (least squares and the discrete/continuous
// error measures).
//
// Wide transition bands make the problem itself nearly singular: taps whose
// energy lies in the transition bands barely change E (the Gram matrix's
// smallest eigenvalues fall like those of prolate spheroidal sequences,
// below 1e-16 of the largest for a few hundred taps). When the condition
// estimate exceeds kLeastSquaresMaxCondition, a ridge of
// kLeastSquaresRidge times the largest eigenvalue is added to the diagonal:
// for the symmetric odd type that is the same as asking for zero across all
// of 0 .. fs/2 with a weight of about 4e-10 of the largest, which settles
// the taps the bands leave free at their smallest size and changes E by
// a negligible amount.

// FIR types as elsewhere: 0 symmetric odd N, 1 symmetric even N,
// 2 antisymmetric odd N, 3 antisymmetric even N.

inline constexpr int kLeastSquaresMaxBands = 8;
inline constexpr int kLeastSquaresMinTaps = 2;
inline constexpr int kLeastSquaresMaxTaps = 4097;
inline constexpr double kLeastSquaresMaxCondition = 1e10;
inline constexpr double kLeastSquaresRidge = 1e-10;

// One band: edges in fractions of fs, 0 <= lower < upper <= 0.5; the
// desired amplitude over the band; weight > 0 (any finite positive value).
struct LeastSquaresBand {
    double lower = 0.0;
    double upper = 0.0;
    double value = 0.0;
    double weight = 1.0;
};

enum class LeastSquaresStatus {
    Ok,
    BadTaps,       // taps outside kLeastSquaresMinTaps .. kLeastSquaresMaxTaps, or a FIR type outside 0..3
    NoBands,       // no band, or more than kLeastSquaresMaxBands
    BadBand,       // an edge outside 0 .. 0.5, lower >= upper, bands overlapping, a value or weight not finite, weight <= 0
    NotSolvable,   // the Cholesky factor failed even with the ridge (no finite taps)
};

struct LeastSquaresResult {
    LeastSquaresStatus status = LeastSquaresStatus::BadTaps;
    std::vector<double> taps;            // N taps when Ok, else empty
    double conditionEstimate = 0.0;      // largest / smallest eigenvalue of the Gram matrix (power and inverse iteration; infinite when singular)
    double ridge = 0.0;                  // added to the diagonal: 0, or kLeastSquaresRidge times the largest eigenvalue
    double relativeResidual = 0.0;       // |G a - b| / |b| of the system without the ridge, after one step of refinement
    double weightedSquaredError = 0.0;   // E above for the taps returned
    int functions = 0;                   // r, the size of the system

    bool Ok() const { return status == LeastSquaresStatus::Ok; }
};

// Designs N = taps coefficients of the given FIR type for the bands (they
// may come in any order; they must not overlap).
LeastSquaresResult DesignLeastSquares(int taps, int firType, std::span<const LeastSquaresBand> bands);

// The amplitude A(f) of linear-phase taps of the given FIR type at f in
// fractions of fs (no check of the symmetry): the response times
// exp(j pi f (N - 1)), times -j for the antisymmetric types.
double LinearPhaseAmplitude(std::span<const double> taps, int firType, double f);
