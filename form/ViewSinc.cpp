#include <cmath>

#include "form/CDifferentiatorDlg.h"
#include "document/CFilPar.h"
#include "form/CVarianceDlg.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "platform/DataExchange.h"

namespace {

// Position of tap i about the centre: integers for odd N, half-integers for even N.
double TapPosition(int i, int n)
{
    return i - (n - 1) / 2.0;
}

bool IsCentre(double x)
{
    return std::fabs(x) < 0.0001;
}

}  // namespace

double CZantroView::StopForm(double a, double b)
{
    const double fs = m_nSamplingRate;
    const double centre = 1.0 + 2.0 * (a - b) / fs;
    for (int i = 0; i < m_nTaps; ++i) {
        const double x = TapPosition(i, m_nTaps);
        const double h = IsCentre(x) ? centre
                                     : (std::sin(M_PI * x) + std::sin(2.0 * M_PI * x * a / fs) -
                                        std::sin(2.0 * M_PI * x * b / fs)) / (M_PI * x);
        m_Coeffs[i] = Complex(h, 0.0);
    }
    return centre;
}

double CZantroView::PassForm(double a, double b)
{
    const double fs = m_nSamplingRate;
    const double centre = 2.0 * (a - b) / fs;
    for (int i = 0; i < m_nTaps; ++i) {
        const double x = TapPosition(i, m_nTaps);
        const double h = IsCentre(x) ? centre
                                     : (std::sin(2.0 * M_PI * x * a / fs) - std::sin(2.0 * M_PI * x * b / fs)) /
                                           (M_PI * x);
        m_Coeffs[i] = Complex(h, 0.0);
    }
    return centre;
}

double CZantroView::HilbertForm(double a, double b)
{
    const double fs = m_nSamplingRate;
    for (int i = 0; i < m_nTaps; ++i) {
        const double x = TapPosition(i, m_nTaps);
        const double h = IsCentre(x) ? 0.0
                                     : (std::cos(2.0 * M_PI * x * a / fs) - std::cos(2.0 * M_PI * x * b / fs)) /
                                           (M_PI * x);
        m_Coeffs[i] = Complex(h, 0.0);
    }
    return 0.0;
}

double CZantroView::DifferentiatorForm(double a, double b)
{
    const double fs = m_nSamplingRate;
    const double k = m_dDiffGain;
    for (int i = 0; i < m_nTaps; ++i) {
        const double x = TapPosition(i, m_nTaps);
        double h = 0.0;
        if (!IsCentre(x)) {
            const double ta = 2.0 * M_PI * x * a / fs;
            const double tb = 2.0 * M_PI * x * b / fs;
            h = k * ((std::sin(ta) - std::sin(tb)) / (M_PI * x * x) +
                     2.0 * ((b / fs) * std::cos(tb) - (a / fs) * std::cos(ta)) / x) /
                M_PI;
        }
        m_Coeffs[i] = Complex(h, 0.0);
    }
    return 0.0;
}

double CZantroView::GaussianEdge()
{
    CVarianceDlg dlg(this);
    dlg.m_dVariance = m_dVariance;
    if (RunParameterDialog(dlg) == IDOK)
        m_dVariance = dlg.m_dVariance;
    else
        m_dVariance = 1.0;

    const double sigma = m_dVariance;
    const double norm = std::sqrt(2.0 * M_PI) * sigma * sigma * sigma;
    for (int i = 0; i < m_nTaps; ++i) {
        const double x = TapPosition(i, m_nTaps);
        m_Coeffs[i] = Complex(-x * std::exp(-x * x / (2.0 * sigma * sigma)) / norm, 0.0);
    }
    return 0.0;
}

double CZantroView::MovingAverage()
{
    for (int i = 0; i < m_nTaps; ++i)
        m_Coeffs[i] = Complex(1.0 / m_nTaps, 0.0);
    return 1.0;
}

void CZantroView::DesignSincOrDirect()
{
    const int n = m_nTaps;
    ResizeArrays(n);
    if (!ComputeWindow(m_Window, m_nWindowType))
        return;
    m_Coeffs.Clear();

    const double f1 = m_nFirstCorner;
    const double f2 = m_nSecondCorner;
    const double nyquist = m_nSamplingRate * 0.5;
    double r = 0.0;
    switch (m_nFilterType) {
    case FT_LOWPASS:
        r = StopForm(f1, nyquist);
        break;
    case FT_HIGHPASS:
        r = StopForm(0.0, f1);
        break;
    case FT_BANDPASS:
        if (m_nSecondCorner <= m_nFirstCorner) {
            MessageBox(kMsgCornerOrder);
            return;
        }
        r = PassForm(f1, f2);
        break;
    case FT_BANDSTOP:
        if (m_nSecondCorner <= m_nFirstCorner) {
            MessageBox(kMsgCornerOrder);
            return;
        }
        r = StopForm(f1, f2);
        break;
    case FT_HILBERT:
        HilbertForm(f1, f2);
        r = m_Coeffs.GetMaxMagnitude();
        break;
    case FT_DIFFERENTIATOR: {
        CDifferentiatorDlg dlg(this);
        dlg.m_strGain = FormatDouble("%1.5f", m_dDiffGain);
        dlg.m_nGainSel = m_nDiffGainSel;
        const int result = RunParameterDialog(dlg);
        if (result == IDCANCEL)
            return;
        if (result == IDOK) {
            m_dDiffGain = dlg.m_dGain;
            m_nDiffGainSel = dlg.m_nGainSel;
        }
        DifferentiatorForm(f1, f2);
        r = m_Coeffs.GetMaxMagnitude();
        break;
    }
    case FT_GAUSSIAN:
        GaussianEdge();
        r = m_Coeffs.GetMaxMagnitude();
        break;
    case FT_ALLPASS:
        r = StopForm(nyquist, nyquist);
        break;
    case FT_MOVING_AVERAGE:
        r = MovingAverage();
        break;
    default:
        break;
    }
    m_dIRPeak = std::fabs(r);
    if (m_nFilterType != FT_MOVING_AVERAGE)
        m_Coeffs.Multiply(m_Window);

    if (m_bSinXComp == 1)
        ApplySinXComp();
    ScaleImpulseResponse();
    m_Coeffs.Scale(m_dGain, 0.0);
    AnalyseResponse(n % 2 == 1 ? 1025 : 1024);
    m_bDesignValid = 1;
}
