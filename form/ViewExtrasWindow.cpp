#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "dsp/Transforms.h"

void CZantroView::OnExtrasWindow()
{
    if (!UpdateData(true))
        return;
    m_bDesignValid = 0;
    if (!ValidateParameters())
        return;
    m_nFilterType = FT_LOWPASS;
    UpdateData(false);

    const int n = m_nTaps;
    ResizeArrays(n);
    if (!ComputeWindow(m_Window, m_nWindowType))
        return;
    m_Coeffs.Copy(m_Window);
    const double peak = m_Coeffs.GetMaxMagnitude();
    m_Coeffs.Divide(peak, 0.0);
    m_Step.Copy(m_Coeffs);
    m_Step.CumulativeSum();

    const int c = n % 2 == 1 ? 1025 : 1024;
    m_Spectrum.Copy(m_Coeffs);
    m_Spectrum.CenterPad(c);
    FFT(m_Spectrum, 10);
    m_Spectrum[m_Spectrum.m_nCount - 1] = m_Spectrum[0];

    m_dIRPeak = 1.0;
    m_dGain = m_Spectrum.GetValue(0, 2);
    ShowImpulse();
    ShowStep();
    ShowMagnitude();
    ShowPhase(n, c);
    m_bDesignValid = 1;
}
