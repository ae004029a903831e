#pragma once

#include "dsp/CPoints.h"
#include "dsp/DspStatus.h"

// The x/sin(x) factors of N taps into factors (resized to N): the taps are
// one period of length L = N - 1, bin i (0..L/2) gets x/sin(x) with
// x = i pi / L (1 at DC), the upper bins mirror the lower ones. N >= 2.
void SinXFactors(CPoints& factors, int n);

// Compensates the sin(x)/x droop of a hold stage: the N = coeffs.m_nCount
// taps (N >= 2) are transformed over one period of N - 1, multiplied by the
// factors, transformed back, and the last tap restored from the first.
// spectrum and factors are work arrays resized to N; afterwards they hold
// the compensated spectrum and the factors.
void ApplySinXCompensation(CPoints& coeffs, CPoints& spectrum, CPoints& factors);

struct ScaleFactor {
    DspStatus status;
    // The factor the taps are multiplied by; 1 when status is ScaleOutOfRange.
    double gain;
};

// The factor of an impulse-response scaling mode (IRScaling) for a response
// whose largest tap magnitude is peak: natural 1, normalized 1/peak,
// optimized the power of two 2^floor(log2(1/peak)), custom the given scale.
// A factor outside 0.01..100, or NaN (a null response), gives ScaleOutOfRange
// and 1. An unknown mode scales by 1.
ScaleFactor ComputeScaleFactor(int mode, double peak, double customScale);
