#include "dsp/Scaling.h"

#include <cmath>
#include <numbers>

#include "dsp/DesignKinds.h"
#include "dsp/Transforms.h"

void SinXFactors(CPoints& factors, int n)
{
    const int d = n - 1;
    factors.SetSize(n);
    for (int i = 0; i <= d / 2; ++i) {
        const double x = i * std::numbers::pi / d;
        const double factor = std::fabs(x) < 0.0001 ? 1.0 : x / std::sin(x);
        factors[i] = Complex(factor, 0.0);
    }
    for (int i = d / 2 + 1; i < n; ++i)
        factors[i] = factors[n - 1 - i];
}

void ApplySinXCompensation(CPoints& coeffs, CPoints& spectrum, CPoints& factors)
{
    const int n = coeffs.m_nCount;
    const int d = n - 1;
    spectrum.SetSize(n);
    DFT(coeffs, spectrum, d);
    SinXFactors(factors, n);
    spectrum.Multiply(factors);
    spectrum[n - 1] = spectrum[0];
    IDFT(spectrum, coeffs, d);
    coeffs[n - 1] = coeffs[0];
}

ScaleFactor ComputeScaleFactor(int mode, double peak, double customScale)
{
    double g;
    switch (mode) {
    case SC_NORMALIZED:
        g = 1.0 / peak;
        break;
    case SC_OPTIMIZED:
        g = std::pow(2.0, std::floor(std::log(1.0 / peak) / std::log(2.0)));
        break;
    case SC_CUSTOM:
        g = customScale;
        break;
    default:
        g = 1.0;
        break;
    }
    // The negated test also catches a NaN factor (0 / 0 from a null response).
    if (!(g >= 0.01 && g <= 100.0))
        return {DspStatus::ScaleOutOfRange, 1.0};
    return {DspStatus::Ok, g};
}
