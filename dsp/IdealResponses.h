#pragma once

#include "dsp/CPoints.h"

// The ideal (unwindowed) impulse responses of the sinc and direct designs.
// Each fills all coeffs.m_nCount taps (N) with real values, tap i at
// position x = i - (N - 1)/2 (half-integers for even N), and returns the
// value at the centre (0 where the formula has none). Frequencies a, b and
// fs in Hz.

// A stopband from a to b: sin(pi x) + sin(2 pi x a/fs) - sin(2 pi x b/fs),
// over pi x; centre 1 + 2(a - b)/fs. Lowpass (f1, fs/2), highpass (0, f1),
// bandstop (f1, f2) and allpass (fs/2, fs/2).
double StopBandResponse(CPoints& coeffs, double a, double b, double fs);
// A passband from a to b (bandpass a = f1 < b = f2): the difference of two
// sincs; centre 2(a - b)/fs.
double PassBandResponse(CPoints& coeffs, double a, double b, double fs);
// A Hilbert transformer for the band a..b: (cos 2 pi x a/fs - cos 2 pi x b/fs)
// over pi x, 0 at the centre.
double HilbertResponse(CPoints& coeffs, double a, double b, double fs);
// A differentiator of slope gain for the band a..b, 0 at the centre.
double DifferentiatorResponse(CPoints& coeffs, double a, double b, double fs, double gain);
// The derivative of a Gaussian of deviation sigma (taps), -x exp(-x^2 / 2
// sigma^2) / (sqrt(2 pi) sigma^3); sigma > 0.
double GaussianEdgeResponse(CPoints& coeffs, double sigma);
// N taps of 1/N; returns 1.
double MovingAverageResponse(CPoints& coeffs);
