#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dsp/FrequencySampling.h"

namespace {

CPoints Points(std::initializer_list<double> values)
{
    CPoints p(static_cast<int>(values.size()));
    int i = 0;
    for (double v : values)
        p[i++] = Complex(v, 0.0);
    return p;
}

}  // namespace

TEST(FrequencySampling, ThreePointsGiveFiveTaps)
{
    // 1, 1, 0 mirrored over L = 4 is 1 1 0 1; its inverse DFT by hand is
    // b = {0.75, 0.25, -0.25, 0.25}, centred with halved ends.
    CPoints taps;
    ASSERT_EQ(FrequencySamplingTaps(Points({1.0, 1.0, 0.0}), taps), DspStatus::Ok);
    ASSERT_EQ(taps.m_nCount, 5);
    const double expected[] = {-0.125, 0.25, 0.75, 0.25, -0.125};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(taps[i].real(), expected[i], 1e-15) << i;
        EXPECT_EQ(taps[i].imag(), 0.0);
    }
}

TEST(FrequencySampling, TapsAreSymmetricAndSampleTheResponse)
{
    const CPoints points = Points({1, 1, 1, 0.9, 0.5, 0.1, 0, 0, 0});
    CPoints taps;
    ASSERT_EQ(FrequencySamplingTaps(points, taps), DspStatus::Ok);
    const int n = taps.m_nCount;
    ASSERT_EQ(n, FrequencySamplingTapCount(9));
    ASSERT_EQ(n, 17);
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(taps[i].real(), taps[n - 1 - i].real(), 1e-14);
    // The halved end taps together make the one tap of the period they share,
    // so the response at bin k of the period L = 16 is the point k.
    for (int k = 0; k < 9; ++k) {
        Complex sum;
        for (int i = 0; i < n; ++i)
            sum += taps[i] * std::polar(1.0, -2 * std::numbers::pi * k * (i - 8) / 16.0);
        EXPECT_NEAR(sum.real(), points[k].real(), 1e-13) << k;
        EXPECT_NEAR(sum.imag(), 0.0, 1e-13) << k;
    }
}

TEST(FrequencySampling, FewerThanTwoPointsAreRefused)
{
    CPoints taps(3);
    taps[1] = Complex(7.0, 0.0);
    EXPECT_EQ(FrequencySamplingTaps(Points({1.0}), taps), DspStatus::TooFewPoints);
    EXPECT_EQ(FrequencySamplingTaps(CPoints(), taps), DspStatus::TooFewPoints);
    EXPECT_EQ(taps.m_nCount, 3);
    EXPECT_EQ(taps[1].real(), 7.0);
}
