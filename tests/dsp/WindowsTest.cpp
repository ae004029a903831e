#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "dsp/DesignKinds.h"
#include "dsp/WindowFunctions.h"
#include "dsp/Windows.h"

namespace {

// n samples of window type with the given parameters; the status must be Ok.
std::vector<double> Window(int n, int type, WindowParameters parameters = {})
{
    CPoints points(n);
    EXPECT_EQ(ComputeWindowSamples(points, type, parameters), DspStatus::Ok);
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        EXPECT_LT(std::abs(points[i].imag()), 1e-12) << "sample " << i;
        v.push_back(points[i].real());
    }
    return v;
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "sample " << i;
}

// Largest sidelobe of the window's amplitude spectrum in dB relative to DC,
// by a direct DFT on a fine grid from 0 to fs/2 written for this test.
double LargestSidelobeDb(const std::vector<double>& w)
{
    const int grid = 8192;
    std::vector<double> mag(grid / 2 + 1);
    for (int k = 0; k <= grid / 2; ++k) {
        std::complex<double> s;
        for (size_t n = 0; n < w.size(); ++n)
            s += w[n] * std::polar(1.0, -2.0 * std::numbers::pi * k * static_cast<double>(n) / grid);
        mag[static_cast<size_t>(k)] = std::abs(s);
    }
    size_t k = 1;
    while (k + 1 < mag.size() && mag[k + 1] < mag[k])
        ++k;
    double peak = 0.0;
    for (; k < mag.size(); ++k)
        peak = std::max(peak, mag[k]);
    return 20.0 * std::log10(peak / mag[0]);
}

}  // namespace

TEST(WindowFunctions, BesselI0AgreesWithReferenceValues)
{
    // scipy.special.i0; the series stops at a relative term of 1e-6.
    const struct {
        double x, i0;
    } cases[] = {{0.5, 1.0634833707413234}, {1.0, 1.2660658777520082}, {3.0, 4.880792585865024},
                 {5.0, 27.239871823604442}, {10.0, 2815.716628466254},  {20.0, 43558282.559553534}};
    for (const auto& c : cases)
        EXPECT_NEAR(BesselI0(c.x) / c.i0, 1.0, 1e-6) << "x = " << c.x;
    EXPECT_EQ(BesselI0(0.0), 1.0);
    EXPECT_EQ(BesselI0(-5.0), BesselI0(5.0));
}

TEST(WindowFunctions, ChebyshevPolyOnBothSidesOfOne)
{
    EXPECT_NEAR(ChebyshevPoly(0.5, 3), -1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(-0.5, 2), -0.5, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(1.0, 7), 1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(-1.0, 7), -1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(2.0, 3), 26.0, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(1.5, 5), 61.5, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(2.0, 4), 97.0, 1e-12);
    // Below -1 the parity of T_n gives the value.
    EXPECT_NEAR(ChebyshevPoly(-2.0, 3), -26.0, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(-2.0, 4), 97.0, 1e-12);
    EXPECT_EQ(ArcCosh(1.0), 0.0);
    EXPECT_NEAR(ArcCosh(std::cosh(2.0)), 2.0, 1e-14);
}

TEST(Windows, CosineWindowsGoldenSamples)
{
    ExpectNear(Window(4, WT_HAMMING), {0.08, 0.77, 0.77, 0.08}, 1e-15);
    const std::vector<double> hanning = Window(5, WT_HANNING);
    ExpectNear(hanning, {0.0, 0.5, 1.0, 0.5, 0.0}, 1e-15);
    EXPECT_EQ(hanning[0], 0.0);
    EXPECT_EQ(hanning[4], 0.0);
    ExpectNear(Window(5, WT_BLACKMAN), {0.0, 0.34, 1.0, 0.34, 0.0}, 1e-15);
    EXPECT_EQ(Window(6, WT_RECTANGULAR), std::vector<double>(6, 1.0));
}

TEST(Windows, CosineWindowsAreSymmetricForEvenAndOddLengths)
{
    for (int type : {WT_HANNING, WT_HAMMING, WT_BLACKMAN})
        for (int n : {64, 129}) {
            const std::vector<double> w = Window(n, type);
            for (int i = 0; i < n; ++i)
                EXPECT_NEAR(w[static_cast<size_t>(i)], w[static_cast<size_t>(n - 1 - i)], 1e-14)
                    << "type " << type << " n " << n << " i " << i;
        }
}

TEST(Windows, KaiserUsesTheIntegerHalfLength)
{
    // scipy.special.i0(0) / i0(5) and i0(5 sqrt(0.75)) / i0(5).
    const double edge = 0.036710892271286676, inner = 0.5528517696991324;
    const std::vector<double> even = Window(4, WT_KAISER, {40, 5.0});
    ExpectNear(even, {edge, inner, 1.0, inner}, 1e-6);
    EXPECT_EQ(even[2], 1.0);
    EXPECT_NE(even[0], even[3]);
    // Odd N gives the usual symmetric window (scipy.signal.windows.kaiser(5, 5)).
    ExpectNear(Window(5, WT_KAISER, {40, 5.0}), {edge, inner, 1.0, inner, edge}, 1e-6);
    EXPECT_EQ(Window(7, WT_KAISER, {40, 0.0}), std::vector<double>(7, 1.0));
}

TEST(Windows, DolphChebyshevGoldenSamples)
{
    // scipy.signal.windows.chebwin(N, 40).
    const std::vector<double> odd = {0.1179052969785759,  0.27762935514380654, 0.5064343476629294,
                                     0.7468325929095349,  0.9309195144836199,  1.0,
                                     0.9309195144836199,  0.7468325929095349,  0.5064343476629294,
                                     0.27762935514380654, 0.1179052969785759};
    const std::vector<double> even = {0.11672706255845249, 0.2572140869419311, 0.4633175313088938,
                                      0.6901477689766918,  0.8861124235001353, 1.0,
                                      1.0,                 0.8861124235001353, 0.6901477689766918,
                                      0.4633175313088938,  0.2572140869419311, 0.11672706255845249};
    for (const auto* expected : {&odd, &even}) {
        const int n = static_cast<int>(expected->size());
        const std::vector<double> w = Window(n, WT_CHEBYSHEV, {40, 5.0});
        ExpectNear(w, *expected, 1e-12);
        EXPECT_DOUBLE_EQ(w[static_cast<size_t>((n - 1) / 2)], 1.0);
        EXPECT_EQ(w.front(), w.back());
        EXPECT_NEAR(LargestSidelobeDb(w), -40.0, 0.01) << "N = " << n;
    }
}

TEST(Windows, DolphChebyshevSidelobesFollowTheAttenuation)
{
    for (int att : {10, 60, 100})
        EXPECT_NEAR(LargestSidelobeDb(Window(51, WT_CHEBYSHEV, {att, 5.0})), -att, 0.05) << att << " dB";
}

TEST(Windows, UnknownTypeLeavesThePointsAlone)
{
    for (int type : {-1, 6, 99}) {
        CPoints points(4);
        points[1] = Complex(3.0, -1.0);
        EXPECT_EQ(ComputeWindowSamples(points, type, {}), DspStatus::UnknownKind);
        EXPECT_EQ(points[1], Complex(3.0, -1.0));
        EXPECT_EQ(points[0], Complex(0.0, 0.0));
    }
}

TEST(Windows, ShortWindowsAreFinite)
{
    // Every formula divides by N - 1 or N / 2; one tap must not give NaN.
    for (int type = WT_RECTANGULAR; type <= WT_KAISER; ++type) {
        EXPECT_EQ(Window(1, type), std::vector<double>{1.0}) << "type " << type;
        for (double v : Window(2, type))
            EXPECT_TRUE(std::isfinite(v)) << "type " << type;
    }
}
