#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dsp/DesignKinds.h"
#include "dsp/IdealResponses.h"
#include "dsp/ResponseAnalysis.h"
#include "dsp/Windows.h"

namespace {

using std::numbers::pi;

// A Hamming-windowed lowpass of n taps, 1000 Hz at 8000 Hz.
CPoints Lowpass(int n)
{
    CPoints h(n), w(n);
    StopBandResponse(h, 1000.0, 4000.0, 8000.0);
    ComputeWindowSamples(w, WT_HAMMING, {});
    h.Multiply(w);
    return h;
}

// The taps placed at offset in the frame, at bin k of a 1024-point
// transform, by direct summation.
Complex CentredSpectrum(const CPoints& taps, int offset, int k)
{
    Complex sum;
    for (int n = 0; n < taps.m_nCount; ++n)
        sum += taps[n] * std::polar(1.0, -2.0 * pi * k * (n + offset) / 1024.0);
    return sum;
}

double Wrap(double v)
{
    v = std::remainder(v, 2 * pi);
    return v <= -pi ? v + 2 * pi : v;
}

}  // namespace

TEST(ResponseAnalysis, StepIsTheRunningSum)
{
    const CPoints h = Lowpass(63);
    CPoints step;
    StepResponse(h, step);
    ASSERT_EQ(step.m_nCount, 63);
    double sum = 0;
    for (int i = 0; i < 63; ++i) {
        sum += h[i].real();
        EXPECT_NEAR(step[i].real(), sum, 1e-15);
    }
}

TEST(ResponseAnalysis, MagnitudeMatchesAnIndependentDftOfTheCentredTaps)
{
    for (int taps : {63, 64}) {
        const CPoints h = Lowpass(taps);
        const int c = taps % 2 ? 1025 : 1024;
        const int offset = (c - taps) / 2;  // 481 for 63 taps, 480 for 64
        CPoints spectrum;
        ResponseSpectrum(h, spectrum, c);
        ASSERT_EQ(spectrum.m_nCount, c);
        EXPECT_EQ(spectrum[c - 1], spectrum[0]);
        const double gain = 2.0;
        const std::vector<double> logarithmic = MagnitudeSeries(spectrum, gain, false);
        const std::vector<double> linear = MagnitudeSeries(spectrum, gain, true);
        ASSERT_EQ(logarithmic.size(), 513u);
        for (int k = 0; k <= 512; ++k) {
            const double expected = std::abs(CentredSpectrum(h, offset, k));
            EXPECT_NEAR(linear[static_cast<size_t>(k)], expected, 1e-12) << k;
            EXPECT_EQ(logarithmic[static_cast<size_t>(k)], linear[static_cast<size_t>(k)] / gain) << k;
        }
    }
}

TEST(ResponseAnalysis, PhaseOfASymmetricDesignIsItsLinearSlope)
{
    const CPoints h = Lowpass(63);
    CPoints spectrum;
    ResponseSpectrum(h, spectrum, 1025);
    const std::vector<double> phase = PhaseSeries(spectrum, 63, 1025);
    ASSERT_EQ(phase.size(), 513u);
    for (int k = 1; k < 100; ++k) {  // passband: amplitude positive, no sign jumps
        const double w = 2 * pi * k / 1024.0;
        EXPECT_NEAR(Wrap(phase[static_cast<size_t>(k)] - (-31.0 * w)), 0.0, 1e-9) << k;
    }
    for (int k = 0; k <= 512; ++k) {
        EXPECT_LE(phase[static_cast<size_t>(k)], pi);
        EXPECT_GT(phase[static_cast<size_t>(k)], -pi - 1e-12);
    }
    // In the stop band the amplitude changes sign: the phase differs from the slope by 0 or pi.
    for (int k = 200; k < 512; ++k) {
        const double w = 2 * pi * k / 1024.0;
        const double d = std::fabs(Wrap(phase[static_cast<size_t>(k)] + 31.0 * w));
        EXPECT_TRUE(d < 1e-6 || std::fabs(d - pi) < 1e-6) << k;
    }
}
