#include <cmath>

#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "dsp/Transforms.h"
#include "plot/PlotAxes.h"

void CZantroView::AnalyseResponse(int c)
{
    const int n = m_Coeffs.m_nCount;
    m_Step.Copy(m_Coeffs);
    m_Step.CumulativeSum();
    m_Spectrum.Copy(m_Coeffs);
    m_Spectrum.CenterPad(c);
    FFT(m_Spectrum, 10);
    m_Spectrum[m_Spectrum.m_nCount - 1] = m_Spectrum[0];
    ShowImpulse();
    ShowStep();
    ShowMagnitude();
    ShowPhase(n, c);
}

bool CZantroView::RequireFiniteCoefficients()
{
    for (int i = 0; i < m_Coeffs.m_nCount; ++i)
        if (!std::isfinite(m_Coeffs[i].real()) || !std::isfinite(m_Coeffs[i].imag())) {
            MessageBox(kMsgTapsNotFinite);
            return false;
        }
    return true;
}

void CZantroView::ShowImpulse()
{
    const int n = m_Coeffs.m_nCount;
    m_ImpulseWnd.SetSeries(&ImpulseAxes, n, 1);
    for (int i = 0; i < n; ++i)
        m_ImpulseWnd.SetValue(i, m_Coeffs.GetValue(i, 0));
    m_ImpulseWnd.RepaintNow();
}

void CZantroView::ShowStep()
{
    StepAxes.yMin = -1.2 * m_dGain;
    StepAxes.yMax = 1.2 * m_dGain;
    const int n = m_Step.m_nCount;
    m_StepWnd.SetSeries(&StepAxes, n, 1);
    for (int i = 0; i < n; ++i)
        m_StepWnd.SetValue(i, m_Step.GetValue(i, 0));
    m_StepWnd.RepaintNow();
}

void CZantroView::ShowMagnitude()
{
    const bool linear = m_nFilterType == FT_HILBERT || m_nFilterType == FT_DIFFERENTIATOR;
    if (m_nFilterType == FT_HILBERT) {
        SetDlgItemText(IDC_MAGNITUDE_CAPTION, "Linear Magnitude");
        MagnitudeAxes.yMin = 0.0;
        MagnitudeAxes.yMax = m_dGain;
        MagnitudeAxes.yLog = 0;
    } else if (m_nFilterType == FT_DIFFERENTIATOR) {
        SetDlgItemText(IDC_MAGNITUDE_CAPTION, "Linear Magnitude");
        MagnitudeAxes.yMin = 0.0;
        MagnitudeAxes.yMax = m_dGain * M_PI;
        MagnitudeAxes.yLog = 0;
    } else {
        SetDlgItemText(IDC_MAGNITUDE_CAPTION, "Logarithmic Magnitude");
        MagnitudeAxes.yMin = -100.0;
        MagnitudeAxes.yMax = 0.0;
        MagnitudeAxes.yLog = 1;
    }
    const int count = m_Spectrum.m_nCount / 2 + 1;
    m_MagnitudeWnd.SetSeries(&MagnitudeAxes, count, 1);
    for (int i = 0; i < count; ++i) {
        const double v = m_Spectrum.GetValue(i, 2);
        m_MagnitudeWnd.SetValue(i, linear ? v : v / m_dGain);
    }
    MagnitudeAxes.nxMax = m_nSamplingRate / 2;
    m_MagnitudeWnd.m_dPlotGain = m_dGain;
    m_MagnitudeWnd.RepaintNow();
}

void CZantroView::ShowPhase(int n, int c)
{
    const int count = c / 2 + 1;
    const double d = (c - n) * M_PI / (c - 1);
    m_PhaseWnd.SetSeries(&PhaseAxes, count, 1);
    for (int i = 0; i < count; ++i) {
        double v = m_Spectrum.GetValue(i, 3) + std::fmod(i * d, 2.0 * M_PI);
        if (v > M_PI)
            v -= 2.0 * M_PI;
        m_PhaseWnd.SetValue(i, v);
    }
    PhaseAxes.nxMax = m_nSamplingRate / 2;
    m_PhaseWnd.RepaintNow();
}
