#include "dsp/Windows.h"

#include <cmath>
#include <numbers>

#include "dsp/DesignKinds.h"
#include "dsp/Transforms.h"
#include "dsp/WindowFunctions.h"

namespace {

using std::numbers::pi;

void CosineWindow(CPoints& points, double a0, double a1, double a2)
{
    const int n = points.m_nCount;
    const double d = n - 1;
    for (int i = 0; i < n; ++i) {
        const double w = a0 - a1 * std::cos(2.0 * pi * i / d) + a2 * std::cos(4.0 * pi * i / d);
        points[i] = Complex(w, 0.0);
    }
}

void KaiserWindow(CPoints& points, double beta)
{
    const int n = points.m_nCount;
    const double g = BesselI0(beta);
    const double m = static_cast<double>(n / 2);
    for (int i = 0; i < n; ++i) {
        const double t = (i - m) / m;
        points[i] = Complex(BesselI0(beta * std::sqrt(1.0 - t * t)) / g, 0.0);
    }
}

// The samples of the Chebyshev polynomial on the unit circle, mirrored,
// transformed back over one period of N - 1; the end sample is halved and
// repeated, and the whole normalised to the centre sample.
void DolphChebyshevWindow(CPoints& points, int attenuation)
{
    const int n = points.m_nCount;
    const int d = n - 1;
    const double r = std::pow(10.0, attenuation / 20.0);
    const double x0 = std::cosh(ArcCosh(r) / d);
    CPoints samples(n);
    for (int k = 0; k <= d / 2; ++k) {
        const double t = ChebyshevPoly(x0 * std::cos(pi * k / d), d) / r;
        samples[k] = Complex(k % 2 == 0 ? t : -t, 0.0);
    }
    for (int k = d / 2 + 1; k < n; ++k)
        samples[k] = samples[n - 1 - k];

    IDFT(samples, points, d);
    points[0] = ComplexDivide(points[0], Complex(2.0, 0.0));
    points[n - 1] = points[0];
    const double v = std::abs(points[d / 2]);
    points.Divide(v, 0.0);
}

}  // namespace

DspStatus ComputeWindowSamples(CPoints& points, int type, const WindowParameters& parameters)
{
    if (type < WT_RECTANGULAR || type > WT_KAISER)
        return DspStatus::UnknownKind;

    const int n = points.m_nCount;
    // Every formula divides by N - 1 or N / 2; a single tap is its own window.
    if (n < 2) {
        for (int i = 0; i < n; ++i)
            points[i] = Complex(1.0, 0.0);
        return DspStatus::Ok;
    }

    switch (type) {
    case WT_RECTANGULAR:
        for (int i = 0; i < n; ++i)
            points[i] = Complex(1.0, 0.0);
        break;
    case WT_HANNING:
        CosineWindow(points, 0.5, 0.5, 0.0);
        break;
    case WT_HAMMING:
        CosineWindow(points, 0.54, 0.46, 0.0);
        break;
    case WT_BLACKMAN:
        CosineWindow(points, 0.42, 0.5, 0.08);
        break;
    case WT_CHEBYSHEV:
        DolphChebyshevWindow(points, parameters.stopbandAttenuation);
        break;
    case WT_KAISER:
        KaiserWindow(points, parameters.shapeFactor);
        break;
    }
    return DspStatus::Ok;
}
