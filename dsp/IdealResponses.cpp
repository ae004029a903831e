#include "dsp/IdealResponses.h"

#include <cmath>
#include <numbers>

namespace {

using std::numbers::pi;

// Position of tap i about the centre: integers for odd N, half-integers for even N.
double TapPosition(int i, int n)
{
    return i - (n - 1) / 2.0;
}

// The formulas divide by x; the centre tap takes its limit instead.
bool IsCentre(double x)
{
    return std::fabs(x) < 0.0001;
}

}  // namespace

double StopBandResponse(CPoints& coeffs, double a, double b, double fs)
{
    const int n = coeffs.m_nCount;
    const double centre = 1.0 + 2.0 * (a - b) / fs;
    for (int i = 0; i < n; ++i) {
        const double x = TapPosition(i, n);
        const double h = IsCentre(x) ? centre
                                     : (std::sin(pi * x) + std::sin(2.0 * pi * x * a / fs) -
                                        std::sin(2.0 * pi * x * b / fs)) / (pi * x);
        coeffs[i] = Complex(h, 0.0);
    }
    return centre;
}

double PassBandResponse(CPoints& coeffs, double a, double b, double fs)
{
    const int n = coeffs.m_nCount;
    const double centre = 2.0 * (a - b) / fs;
    for (int i = 0; i < n; ++i) {
        const double x = TapPosition(i, n);
        const double h = IsCentre(x) ? centre
                                     : (std::sin(2.0 * pi * x * a / fs) - std::sin(2.0 * pi * x * b / fs)) /
                                           (pi * x);
        coeffs[i] = Complex(h, 0.0);
    }
    return centre;
}

double HilbertResponse(CPoints& coeffs, double a, double b, double fs)
{
    const int n = coeffs.m_nCount;
    for (int i = 0; i < n; ++i) {
        const double x = TapPosition(i, n);
        const double h = IsCentre(x) ? 0.0
                                     : (std::cos(2.0 * pi * x * a / fs) - std::cos(2.0 * pi * x * b / fs)) /
                                           (pi * x);
        coeffs[i] = Complex(h, 0.0);
    }
    return 0.0;
}

double DifferentiatorResponse(CPoints& coeffs, double a, double b, double fs, double gain)
{
    const int n = coeffs.m_nCount;
    for (int i = 0; i < n; ++i) {
        const double x = TapPosition(i, n);
        double h = 0.0;
        if (!IsCentre(x)) {
            const double ta = 2.0 * pi * x * a / fs;
            const double tb = 2.0 * pi * x * b / fs;
            h = gain * ((std::sin(ta) - std::sin(tb)) / (pi * x * x) +
                        2.0 * ((b / fs) * std::cos(tb) - (a / fs) * std::cos(ta)) / x) /
                pi;
        }
        coeffs[i] = Complex(h, 0.0);
    }
    return 0.0;
}

double GaussianEdgeResponse(CPoints& coeffs, double sigma)
{
    const int n = coeffs.m_nCount;
    const double norm = std::sqrt(2.0 * pi) * sigma * sigma * sigma;
    for (int i = 0; i < n; ++i) {
        const double x = TapPosition(i, n);
        coeffs[i] = Complex(-x * std::exp(-x * x / (2.0 * sigma * sigma)) / norm, 0.0);
    }
    return 0.0;
}

double MovingAverageResponse(CPoints& coeffs)
{
    const int n = coeffs.m_nCount;
    for (int i = 0; i < n; ++i)
        coeffs[i] = Complex(1.0 / n, 0.0);
    return 1.0;
}
