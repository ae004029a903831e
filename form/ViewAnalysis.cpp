#include <cmath>
#include <numbers>
#include <vector>

#include "dsp/DesignKinds.h"
#include "dsp/ResponseAnalysis.h"
#include "form/CZantroView.h"
#include "plot/PlotAxes.h"

void CZantroView::ComputeResponse(int c)
{
    StepResponse(m_Coeffs, m_Step);
    ResponseSpectrum(m_Coeffs, m_Spectrum, c);
}

void CZantroView::ShowResponse(int n, int c)
{
    ShowImpulse();
    ShowStep();
    ShowMagnitude();
    ShowPhase(n, c);
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
        MagnitudeAxes.yMax = m_dGain * std::numbers::pi;
        MagnitudeAxes.yLog = 0;
    } else {
        SetDlgItemText(IDC_MAGNITUDE_CAPTION, "Logarithmic Magnitude");
        MagnitudeAxes.yMin = -100.0;
        MagnitudeAxes.yMax = 0.0;
        MagnitudeAxes.yLog = 1;
    }
    const std::vector<double> values = MagnitudeSeries(m_Spectrum, m_dGain, linear);
    const int count = static_cast<int>(values.size());
    m_MagnitudeWnd.SetSeries(&MagnitudeAxes, count, 1);
    for (int i = 0; i < count; ++i)
        m_MagnitudeWnd.SetValue(i, values[static_cast<size_t>(i)]);
    MagnitudeAxes.nxMax = m_nSamplingRate / 2;
    m_MagnitudeWnd.m_dPlotGain = m_dGain;
    m_MagnitudeWnd.RepaintNow();
}

void CZantroView::ShowPhase(int n, int c)
{
    const std::vector<double> values = PhaseSeries(m_Spectrum, n, c);
    const int count = static_cast<int>(values.size());
    m_PhaseWnd.SetSeries(&PhaseAxes, count, 1);
    for (int i = 0; i < count; ++i)
        m_PhaseWnd.SetValue(i, values[static_cast<size_t>(i)]);
    PhaseAxes.nxMax = m_nSamplingRate / 2;
    m_PhaseWnd.RepaintNow();
}
