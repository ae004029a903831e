#include <cmath>

#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "dsp/Transforms.h"
#include "platform/DataExchange.h"

void CZantroView::ApplySinXComp()
{
    const int n = m_nTaps;
    const int d = n - 1;
    // The N taps are treated as one period of length N - 1; the last tap is
    // restored from the first afterwards.
    DFT(m_Coeffs, m_Spectrum, d);
    for (int i = 0; i <= d / 2; ++i) {
        const double x = i * M_PI / d;
        const double factor = std::fabs(x) < 0.0001 ? 1.0 : x / std::sin(x);
        m_SinXComp[i] = Complex(factor, 0.0);
    }
    for (int i = d / 2 + 1; i < n; ++i)
        m_SinXComp[i] = m_SinXComp[n - 1 - i];
    m_Spectrum.Multiply(m_SinXComp);
    m_Spectrum[n - 1] = m_Spectrum[0];
    IDFT(m_Spectrum, m_Coeffs, d);
    m_Coeffs[n - 1] = m_Coeffs[0];
}

void CZantroView::ScaleImpulseResponse()
{
    if (m_bSinXComp == 1)
        m_dIRPeak = m_Coeffs.GetMaxMagnitude();

    double g;
    switch (m_nIRScaling) {
    case SC_NORMALIZED:
        g = 1.0 / m_dIRPeak;
        break;
    case SC_OPTIMIZED:
        g = std::pow(2.0, std::floor(std::log(1.0 / m_dIRPeak) / std::log(2.0)));
        break;
    case SC_CUSTOM:
        g = m_dIRScale;
        break;
    default:
        g = 1.0;
        break;
    }
    m_dGain = g;
    // The negated test also catches a NaN factor (0 / 0 from a null response).
    if (!(m_dGain >= 0.01 && m_dGain <= 100.0)) {
        MessageBox(kMsgCalculatedScale);
        m_dGain = 1.0;
    }
    m_dIRScale = m_dGain;
    m_strIRScale = FormatDouble("%2.2f", m_dGain);
    UpdateData(false);
}
