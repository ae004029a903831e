#pragma once

#include <vector>

#include "dsp/CPoints.h"

// The step response: the running sum of the taps (step gets their count).
void StepResponse(const CPoints& coeffs, CPoints& step);

// The frequency response on the plots' grid: the taps centred in c points
// (c = 1025 for odd, 1024 for even tap counts; more taps than c are kept as
// they are), the first 1024 transformed by the radix-2 FFT, and the last
// point set to the first (the response at fs repeats DC).
void ResponseSpectrum(const CPoints& coeffs, CPoints& spectrum, int c);

// The magnitudes of bins 0 .. count/2 of the spectrum (count/2 + 1 values);
// divided by gain unless linear (the logarithmic plot shows the response
// relative to the scaled passband).
std::vector<double> MagnitudeSeries(const CPoints& spectrum, double gain, bool linear);

// The phases of bins 0 .. c/2 of the spectrum of n taps centred in c
// points, with the linear phase of the centring, (c - n) pi i / (c - 1)
// modulo 2 pi, added back; values above pi wrap by -2 pi.
std::vector<double> PhaseSeries(const CPoints& spectrum, int n, int c);
