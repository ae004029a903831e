#include "dsp/Transforms.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "dsp/CPoints.h"

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
        const Complex w(std::cos(std::numbers::pi / h), -std::sin(std::numbers::pi / h));
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

// Outputs computed side by side. Each output keeps its own running factor, so
// the arithmetic per output is exactly the one-at-a-time loop's; interleaving
// only hides the latency of the u = u w chain.
constexpr int kLanes = 8;

void DirectTransform(const CPoints& source, CPoints& destination, int L, double sign, bool inverse)
{
    const Complex* x = source.m_pData.get();
    Complex* out = destination.m_pData.get();
    for (int k0 = 0; k0 < L; k0 += kLanes) {
        const int lanes = std::min(kLanes, L - k0);
        double wr[kLanes], wi[kLanes], ur[kLanes], ui[kLanes], ar[kLanes], ai[kLanes];
        for (int j = 0; j < kLanes; ++j) {
            const double angle = sign * 2.0 * std::numbers::pi * (j < lanes ? k0 + j : 0) / L;
            wr[j] = std::cos(angle);
            wi[j] = std::sin(angle);
            ur[j] = 1.0;
            ui[j] = 0.0;
            ar[j] = 0.0;
            ai[j] = 0.0;
        }
        for (int n = 0; n < L; ++n) {
            const double xr = x[n].real(), xi = x[n].imag();
            for (int j = 0; j < kLanes; ++j) {
                // acc += x u, then u = u w, as complex products (ac - bd, ad + bc).
                ar[j] += xr * ur[j] - xi * ui[j];
                ai[j] += xr * ui[j] + xi * ur[j];
                const double nr = ur[j] * wr[j] - ui[j] * wi[j];
                const double ni = ur[j] * wi[j] + ui[j] * wr[j];
                ur[j] = nr;
                ui[j] = ni;
            }
        }
        for (int j = 0; j < lanes; ++j) {
            const Complex acc(ar[j], ai[j]);
            out[k0 + j] = inverse ? acc / static_cast<double>(L) : acc;
        }
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
