#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dsp/IdealResponses.h"

namespace {

using std::numbers::pi;

struct Taps {
    explicit Taps(int n) : points(n) {}
    double operator[](int i) const { return points[i].real(); }
    CPoints points;
};

}  // namespace

TEST(IdealResponses, LowpassCentreTapAndSymmetry)
{
    Taps h(63);
    EXPECT_EQ(StopBandResponse(h.points, 1000.0, 4000.0, 8000.0), 0.25);
    EXPECT_EQ(h[31], 0.25);
    for (int i = 0; i < 63; ++i) {
        EXPECT_NEAR(h[i], h[62 - i], 1e-15);
        EXPECT_EQ(h.points[i].imag(), 0.0);
    }
    EXPECT_NEAR(h[30], std::sin(2 * pi * 1000.0 / 8000.0) / pi, 1e-15);
}

TEST(IdealResponses, HighpassIsTheComplementOfTheLowpass)
{
    Taps h(63);
    EXPECT_DOUBLE_EQ(StopBandResponse(h.points, 0.0, 1000.0, 8000.0), 0.75);
    for (int i = 0; i < 63; ++i) {
        if (i == 31)
            continue;
        const double x = i - 31.0;
        EXPECT_NEAR(h[i], -std::sin(2 * pi * x * 1000.0 / 8000.0) / (pi * x), 1e-15);
    }
}

TEST(IdealResponses, BandpassCarriesTheOppositeSignOfTheBandstop)
{
    Taps pass(64), stop(64);
    EXPECT_DOUBLE_EQ(PassBandResponse(pass.points, 1000.0, 3000.0, 8000.0), -0.5);
    EXPECT_DOUBLE_EQ(StopBandResponse(stop.points, 1000.0, 3000.0, 8000.0), 0.5);
    // Even N: no centre tap; sin(pi x) adds the allpass of half-integer positions.
    for (int i = 0; i < 64; ++i) {
        const double x = i - 31.5;
        EXPECT_NEAR(stop[i], std::sin(pi * x) / (pi * x) + pass[i], 1e-15) << i;
    }
}

TEST(IdealResponses, AllpassAndMovingAverage)
{
    Taps odd(33);
    EXPECT_EQ(StopBandResponse(odd.points, 4000.0, 4000.0, 8000.0), 1.0);
    for (int i = 0; i < 33; ++i)
        EXPECT_NEAR(odd[i], i == 16 ? 1.0 : 0.0, 1e-15);

    Taps even(32);
    StopBandResponse(even.points, 4000.0, 4000.0, 8000.0);
    for (int i = 0; i < 32; ++i) {
        const double x = i - 15.5;
        EXPECT_NEAR(even[i], std::sin(pi * x) / (pi * x), 1e-15);
    }

    Taps average(4);
    EXPECT_EQ(MovingAverageResponse(average.points), 1.0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(average[i], 0.25);
}

TEST(IdealResponses, HilbertIsAntisymmetricWithZeroCentre)
{
    Taps h(31);
    EXPECT_EQ(HilbertResponse(h.points, 1000.0, 0.0, 8000.0), 0.0);
    EXPECT_EQ(h[15], 0.0);
    for (int i = 0; i < 31; ++i) {
        EXPECT_NEAR(h[i], -h[30 - i], 1e-15);
        if (i == 15)
            continue;
        const double x = i - 15.0;
        EXPECT_NEAR(h[i], (std::cos(2 * pi * x * 1000.0 / 8000.0) - 1.0) / (pi * x), 1e-15);
    }
}

TEST(IdealResponses, DifferentiatorSlopeFollowsTheGain)
{
    // Full band 0..fs/2: the ideal response is K f / (fs/2); at f = fs/4 it is K/2.
    for (double gain : {1.0, pi / 2, pi}) {
        Taps h(255);
        EXPECT_EQ(DifferentiatorResponse(h.points, 0.0, 3999.0, 8000.0, gain), 0.0);
        Complex sum;
        for (int i = 0; i < 255; ++i)
            sum += h.points[i] * std::polar(1.0, -pi / 2 * (i - 127));
        EXPECT_NEAR(std::abs(sum), gain / 2, 0.01 * gain) << gain;
        EXPECT_EQ(h[127], 0.0);
        for (int i = 0; i < 255; ++i)
            EXPECT_NEAR(h[i], -h[254 - i], 1e-15);
    }
}

TEST(IdealResponses, GaussianEdgeIsTheDerivativeOfAGaussian)
{
    for (double sigma : {1.0, 0.5, 3.0}) {
        Taps h(9);
        EXPECT_EQ(GaussianEdgeResponse(h.points, sigma), 0.0);
        const double norm = std::sqrt(2 * pi) * sigma * sigma * sigma;
        for (int i = 0; i < 9; ++i) {
            const double x = i - 4.0;
            EXPECT_NEAR(h[i], -x * std::exp(-x * x / (2 * sigma * sigma)) / norm, 1e-15) << sigma;
        }
        EXPECT_EQ(h[4], 0.0);
    }
}
