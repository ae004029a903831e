#pragma once

#include <complex>
#include <span>
#include <vector>

#include "dsp/HugePageAllocator.h"

// The response of real taps on the uniform grid f_k = k fs / (2 I), k = 0 ..
// I (I = intervals, a power of two), by one real FFT of 2 I points (FFTW),
// and with delays also sum n h[n] exp(-j w n), for the group delay.
// O(I log I) whatever the number of taps (at most 2 I).
class FftResponseGrid {
public:
    FftResponseGrid(std::span<const double> taps, int intervals, bool withDelay);

    int Intervals() const { return m_intervals; }
    // |H(f_k)|, k = 0 .. Intervals().
    const double& Magnitude(int k) const { return m_magnitude[static_cast<size_t>(k)]; }
    // Group delay in samples at f_k: Re(sum n h[n] z^-n / H); NaN where |H|
    // is below 1e-9 of sum |h| (as GroupDelayAt). Needs withDelay.
    double GroupDelay(int k) const;

private:
    int m_intervals = 0;
    double m_scale = 0.0;  // sum |h|
    HugePageVector<double> m_response;  // bins as (re, im) pairs; kept only withDelay
    HugePageVector<double> m_delayed;
    HugePageVector<double> m_magnitude;
};
