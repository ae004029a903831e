#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "dsp/DesignKinds.h"
#include "dsp/Scaling.h"

using std::numbers::pi;

TEST(Scaling, SinXFactorsForFiveTaps)
{
    CPoints f;
    SinXFactors(f, 5);
    ASSERT_EQ(f.m_nCount, 5);
    EXPECT_EQ(f[0].real(), 1.0);
    EXPECT_DOUBLE_EQ(f[1].real(), (pi / 4) / std::sin(pi / 4));
    EXPECT_DOUBLE_EQ(f[2].real(), pi / 2);
    EXPECT_EQ(f[3], f[1]);
    EXPECT_EQ(f[4], f[0]);
}

TEST(Scaling, CompensationOfAnImpulseIsTheInverseTransformOfTheFactors)
{
    // A unit impulse at tap 0 has a flat spectrum, so the result is the
    // inverse DFT of the factors over the period N - 1 = 8.
    CPoints h(9), spectrum(9), factors(9);
    h[0] = Complex(1.0, 0.0);
    ApplySinXCompensation(h, spectrum, factors);
    for (int k = 0; k < 8; ++k) {
        Complex expected;
        for (int i = 0; i < 8; ++i)
            expected += factors[i] * std::polar(1.0, 2 * pi * i * k / 8.0) / 8.0;
        EXPECT_NEAR(h[k].real(), expected.real(), 1e-14) << k;
        EXPECT_NEAR(h[k].imag(), expected.imag(), 1e-14) << k;
    }
    EXPECT_EQ(h[8], h[0]);
    EXPECT_EQ(spectrum[8], spectrum[0]);
}

TEST(Scaling, FactorOfEachMode)
{
    EXPECT_EQ(ComputeScaleFactor(SC_NATURAL, 0.3, 5.0).gain, 1.0);
    EXPECT_EQ(ComputeScaleFactor(SC_NORMALIZED, 0.25, 5.0).gain, 4.0);
    EXPECT_EQ(ComputeScaleFactor(SC_OPTIMIZED, 0.3, 5.0).gain, 2.0);
    EXPECT_EQ(ComputeScaleFactor(SC_OPTIMIZED, 0.5, 5.0).gain, 2.0);
    EXPECT_EQ(ComputeScaleFactor(SC_OPTIMIZED, 0.025, 5.0).gain, 32.0);
    EXPECT_EQ(ComputeScaleFactor(SC_CUSTOM, 0.3, 2.5).gain, 2.5);
    EXPECT_EQ(ComputeScaleFactor(99, 0.3, 2.5).gain, 1.0);
    EXPECT_EQ(ComputeScaleFactor(SC_NORMALIZED, 0.01, 1.0).status, DspStatus::Ok);
    EXPECT_EQ(ComputeScaleFactor(SC_NORMALIZED, 0.01, 1.0).gain, 100.0);
}

TEST(Scaling, FactorOutOfRangeOrNaNIsRefusedWithOne)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [mode, peak, custom] :
         {std::tuple{SC_NORMALIZED, 0.005, 1.0}, std::tuple{SC_NORMALIZED, 200.0, 1.0},
          std::tuple{SC_CUSTOM, 1.0, 0.009}, std::tuple{SC_NORMALIZED, 0.0, 1.0}, std::tuple{SC_NORMALIZED, nan, 1.0},
          std::tuple{SC_OPTIMIZED, 0.0, 1.0}}) {
        const ScaleFactor f = ComputeScaleFactor(mode, peak, custom);
        EXPECT_EQ(f.status, DspStatus::ScaleOutOfRange) << mode << " " << peak;
        EXPECT_EQ(f.gain, 1.0);
    }
}
