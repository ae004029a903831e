#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "dsp/Transforms.h"
#include "dsp/CPoints.h"

TEST(Transforms, FftOfUnitImpulseIsFlat)
{
    CPoints p(1024);
    p[0] = 1.0;
    FFT(p, 10);
    for (int k = 0; k < 1024; ++k) {
        EXPECT_NEAR(p[k].real(), 1.0, 1e-12);
        EXPECT_NEAR(p[k].imag(), 0.0, 1e-12);
    }
}

TEST(Transforms, FftOfAlternatingSequenceHitsNyquistBin)
{
    CPoints p(1024);
    for (int n = 0; n < 1024; ++n)
        p[n] = (n % 2 == 0) ? 1.0 : -1.0;
    FFT(p, 10);
    for (int k = 0; k < 1024; ++k) {
        const double expected = k == 512 ? 1024.0 : 0.0;
        EXPECT_NEAR(std::abs(p[k]), expected, 1e-9) << k;
    }
}

TEST(Transforms, FftAgreesWithDirectDft)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    CPoints x(1024), viaFft(1024), viaDft(1024);
    for (int n = 0; n < 1024; ++n)
        x[n] = Complex(u(rng), u(rng));
    viaFft.Copy(x);
    FFT(viaFft, 10);
    DFT(x, viaDft, 1024);
    for (int k = 0; k < 1024; ++k)
        EXPECT_NEAR(std::abs(viaFft[k] - viaDft[k]), 0.0, 1e-9) << k;

    CPoints small(8), smallDft(8);
    for (int n = 0; n < 8; ++n)
        small[n] = Complex(n, -n * 0.5);
    DFT(small, smallDft, 8);
    FFT(small, 3);
    for (int k = 0; k < 8; ++k)
        EXPECT_NEAR(std::abs(small[k] - smallDft[k]), 0.0, 1e-12);
}

TEST(Transforms, DftMatchesDefinitionAndIdftInverts)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int L : {5, 62, 1024}) {
        CPoints x(L), spectrum(L), back(L);
        for (int n = 0; n < L; ++n)
            x[n] = Complex(u(rng), u(rng));
        DFT(x, spectrum, L);
        for (int k : {0, 1, L / 2, L - 1}) {
            Complex expected;
            for (int n = 0; n < L; ++n)
                expected += x[n] * std::polar(1.0, -2.0 * std::numbers::pi * k * n / L);
            EXPECT_NEAR(std::abs(spectrum[k] - expected), 0.0, 1e-9 * L);
        }
        IDFT(spectrum, back, L);
        for (int n = 0; n < L; ++n)
            EXPECT_NEAR(std::abs(back[n] - x[n]), 0.0, 1e-10) << "L=" << L << " n=" << n;
    }
}

TEST(Transforms, ComplexDivide)
{
    const Complex half = ComplexDivide(Complex(1, 1), Complex(2, 0));
    EXPECT_EQ(half, Complex(0.5, 0.5));
    const Complex q = ComplexDivide(Complex(1, 2), Complex(3, 4));
    EXPECT_NEAR(q.real(), 0.44, 1e-15);
    EXPECT_NEAR(q.imag(), 0.08, 1e-15);
    const Complex big = ComplexDivide(Complex(1e300, 1e300), Complex(1e300, 1e300));
    EXPECT_NEAR(big.real(), 1.0, 1e-15);  // Smith's method does not overflow
    EXPECT_NEAR(big.imag(), 0.0, 1e-15);

    for (Complex bad : {Complex(0, 0), Complex(std::nan(""), 1), Complex(1, std::nan(""))}) {
        const Complex r = ComplexDivide(Complex(1, 1), bad);
        EXPECT_TRUE(std::isnan(r.real()));
        EXPECT_TRUE(std::isnan(r.imag()));
    }
}

TEST(Transforms, DirectTransformsKeepTheOneOutputAtATimeArithmetic)
{
    // The plain loop of the definition: per output a rotation factor w, a
    // running factor u = u w and an accumulator; the results must agree bit for bit.
    auto plain = [](const CPoints& x, int L, double sign, bool inverse, int k) {
        const double angle = sign * 2.0 * std::numbers::pi * k / L;
        const Complex w(std::cos(angle), std::sin(angle));
        Complex u(1.0, 0.0), acc;
        for (int n = 0; n < L; ++n) {
            acc += x[n] * u;
            u *= w;
        }
        return inverse ? acc / static_cast<double>(L) : acc;
    };
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int L : {1, 7, 8, 9, 1024}) {
        CPoints x(L), forward(L), inverse(L);
        for (int n = 0; n < L; ++n)
            x[n] = Complex(d(rng), d(rng));
        DFT(x, forward, L);
        IDFT(x, inverse, L);
        for (int k = 0; k < L; ++k) {
            EXPECT_EQ(forward[k], plain(x, L, -1.0, false, k)) << L << " " << k;
            EXPECT_EQ(inverse[k], plain(x, L, +1.0, true, k)) << L << " " << k;
        }
    }
}
