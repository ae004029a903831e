#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "dsp/TrigPi.h"

namespace {

constexpr long double kPiLong = std::numbers::pi_v<long double>;

double Ulp(long double v)
{
    const double d = static_cast<double>(v);
    return std::fabs(std::nextafter(d, 2.0 * d + 1.0) - d);
}

}  // namespace

// Against cosl and sinl of the long double angle (an error of about 1e-19
// at most): within two ulps wherever the value is 1e-3 or more in size, and
// within 2.3e-16 (an ulp of values near 1) everywhere on [-1, 1].
TEST(TrigPi, WithinTwoUlpsOfTheLongDoubleValues)
{
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> any(-1.0, 1.0);
    double worstUlps = 0.0;
    double worstAbsolute = 0.0;
    for (int i = 0; i < 400000; ++i) {
        const double x = i % 2 ? any(rng) : (i / 2) / 200000.0 - 1.0;
        const long double c = std::cos(kPiLong * x);
        const long double s = std::sin(kPiLong * x);
        const long double ec = std::fabs(static_cast<long double>(CosPi(x)) - c);
        const long double es = std::fabs(static_cast<long double>(SinPi(x)) - s);
        worstAbsolute = std::max(worstAbsolute, static_cast<double>(std::max(ec, es)));
        if (std::fabs(c) >= 1e-3L)
            worstUlps = std::max(worstUlps, static_cast<double>(ec) / Ulp(c));
        if (std::fabs(s) >= 1e-3L)
            worstUlps = std::max(worstUlps, static_cast<double>(es) / Ulp(s));
    }
    EXPECT_LE(worstUlps, 2.0);
    EXPECT_LE(worstAbsolute, 2.3e-16);
}

// Exact at the quarter turns, even and odd exactly, and accurate near a
// zero where the rounded angle of std::cos is not: cos(2 pi f) near
// f = 1/4 keeps its relative accuracy.
TEST(TrigPi, ExactQuarterTurnsSymmetryAndZeros)
{
    EXPECT_EQ(CosPi(0.0), 1.0);
    EXPECT_EQ(CosPi(1.0), -1.0);
    EXPECT_EQ(CosPi(-1.0), -1.0);
    EXPECT_EQ(SinPi(0.5), 1.0);
    EXPECT_EQ(SinPi(-0.5), -1.0);
    const double zeros[] = {CosPi(0.5), CosPi(-0.5), SinPi(0.0), SinPi(1.0)};
    for (double z : zeros) {
        EXPECT_EQ(z, 0.0);
        EXPECT_FALSE(std::signbit(z));
    }
    EXPECT_NE(std::cos(2.0 * M_PI * 0.25), 0.0);
    std::mt19937_64 rng(9);
    std::uniform_real_distribution<double> any(0.0, 1.0);
    for (int i = 0; i < 10000; ++i) {
        const double x = any(rng);
        EXPECT_EQ(CosPi(-x), CosPi(x));
        EXPECT_EQ(SinPi(-x), -SinPi(x));
    }
    for (double d : {1e-9, 3e-12, 1e-15}) {
        const double x = 0.5 - d;
        // cos(pi x) = sin(pi (1/2 - x)), 1/2 - x exact: a reference that
        // keeps its relative accuracy here.
        const long double want = std::sin(kPiLong * static_cast<long double>(0.5 - x));
        EXPECT_LE(std::fabs(CosPi(x) - want) / want, 4e-16L) << d;
    }
}
