#pragma once

#include <complex>

class CPoints;

// a / b by Smith's method. Both parts are a quiet NaN when b is 0 or NaN, or
// when the intermediate denominator is 0 or NaN.
std::complex<double> ComplexDivide(std::complex<double> a, std::complex<double> b);

// In-place radix-2 decimation-in-time FFT of the first 2^m points:
// X_k = sum x_n exp(-2 pi j k n / 2^m), not normalised. The points must
// hold at least 2^m elements.
void FFT(CPoints& points, int m);

// Direct transforms of length L into a separate destination (both must
// hold at least L points). DFT: X_k = sum x_n exp(-2 pi j k n / L);
// IDFT: x_k = (1/L) sum X_n exp(+2 pi j k n / L). O(L^2).
void DFT(const CPoints& source, CPoints& destination, int L);
void IDFT(const CPoints& source, CPoints& destination, int L);
