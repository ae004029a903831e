#include "dsp/ResponseAnalysis.h"

#include <cmath>
#include <numbers>

#include "dsp/Transforms.h"

void StepResponse(const CPoints& coeffs, CPoints& step)
{
    step.Copy(coeffs);
    step.CumulativeSum();
}

void ResponseSpectrum(const CPoints& coeffs, CPoints& spectrum, int c)
{
    spectrum.Copy(coeffs);
    spectrum.CenterPad(c);
    FFT(spectrum, 10);
    spectrum[spectrum.m_nCount - 1] = spectrum[0];
}

std::vector<double> MagnitudeSeries(const CPoints& spectrum, double gain, bool linear)
{
    const int count = spectrum.m_nCount / 2 + 1;
    std::vector<double> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double v = spectrum.GetValue(i, 2);
        values[static_cast<size_t>(i)] = linear ? v : v / gain;
    }
    return values;
}

std::vector<double> PhaseSeries(const CPoints& spectrum, int n, int c)
{
    using std::numbers::pi;
    const int count = c / 2 + 1;
    const double d = (c - n) * pi / (c - 1);
    std::vector<double> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        double v = spectrum.GetValue(i, 3) + std::fmod(i * d, 2.0 * pi);
        if (v > pi)
            v -= 2.0 * pi;
        values[static_cast<size_t>(i)] = v;
    }
    return values;
}
