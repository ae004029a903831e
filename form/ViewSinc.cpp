#include <cmath>

#include "dsp/DesignKinds.h"
#include "dsp/IdealResponses.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CVarianceDlg.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "platform/TextFormat.h"

double CZantroView::StopForm(double a, double b)
{
    return StopBandResponse(m_Coeffs, a, b, m_nSamplingRate);
}

double CZantroView::PassForm(double a, double b)
{
    return PassBandResponse(m_Coeffs, a, b, m_nSamplingRate);
}

double CZantroView::HilbertForm(double a, double b)
{
    return HilbertResponse(m_Coeffs, a, b, m_nSamplingRate);
}

double CZantroView::DifferentiatorForm(double a, double b)
{
    return DifferentiatorResponse(m_Coeffs, a, b, m_nSamplingRate, m_dDiffGain);
}

double CZantroView::GaussianEdge()
{
    CVarianceDlg dlg(this);
    dlg.m_dVariance = m_dVariance;
    if (RunParameterDialog(dlg) == IDOK)
        m_dVariance = dlg.m_dVariance;
    else
        m_dVariance = 1.0;
    return GaussianEdgeResponse(m_Coeffs, m_dVariance);
}

double CZantroView::MovingAverage()
{
    return MovingAverageResponse(m_Coeffs);
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
        dlg.m_strGain = FormatText("%1.5f", m_dDiffGain);
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
    FinishDesign(n % 2 == 1 ? 1025 : 1024);
}
