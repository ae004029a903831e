#include "design/Transforms.h"

#include <cmath>
#include <limits>
#include <utility>

#include "remez/CPoints.h"

std::complex<double> ComplexDivide(std::complex<double> a, std::complex<double> b)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double c = b.real(), d = b.imag();
    if (std::isnan(c) || std::isnan(d) || (c == 0.0 && d == 0.0))
        return {nan, nan};
    if (std::fabs(c) >= std::fabs(d)) {
        const double r = d / c;
        const double den = c + d * r;
        if (std::isnan(den) || den == 0.0)
            return {nan, nan};
        return {(a.real() + a.imag() * r) / den, (a.imag() - a.real() * r) / den};
    }
    const double r = c / d;
    const double den = c * r + d;
    if (std::isnan(den) || den == 0.0)
        return {nan, nan};
    return {(a.real() * r + a.imag()) / den, (a.imag() * r - a.real()) / den};
}

void FFT(CPoints& points, int m)
{
    const int n = 1 << m;
    Complex* x = points.m_pData.get();

    // Bit reversal with 1-based positions i and j, as the classic loop has it.
    int j = 1;
    for (int i = 1; i < n; ++i) {
        if (i < j)
            std::swap(x[i - 1], x[j - 1]);
        int k = n / 2;
        while (k < j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }

    for (int s = 1; s <= m; ++s) {
        const int le = 1 << s;
        const int h = le / 2;
        const Complex w(std::cos(M_PI / h), -std::sin(M_PI / h));
        Complex u(1.0, 0.0);
        for (int t = 0; t < h; ++t) {
            for (int p = t; p < n; p += le) {
                const int q = p + h;
                const Complex v = u * x[q];
                x[q] = x[p] - v;
                x[p] = x[p] + v;
            }
            u *= w;
        }
    }
}

namespace {

void DirectTransform(const CPoints& source, CPoints& destination, int L, double sign, bool inverse)
{
    const Complex* x = source.m_pData.get();
    Complex* out = destination.m_pData.get();
    for (int k = 0; k < L; ++k) {
        const double angle = sign * 2.0 * M_PI * k / L;
        const Complex w(std::cos(angle), std::sin(angle));
        Complex u(1.0, 0.0);
        Complex acc;
        for (int n = 0; n < L; ++n) {
            acc += x[n] * u;
            u *= w;
        }
        out[k] = inverse ? acc / static_cast<double>(L) : acc;
    }
}

}  // namespace

void DFT(const CPoints& source, CPoints& destination, int L)
{
    DirectTransform(source, destination, L, -1.0, false);
}

void IDFT(const CPoints& source, CPoints& destination, int L)
{
    DirectTransform(source, destination, L, +1.0, true);
}
