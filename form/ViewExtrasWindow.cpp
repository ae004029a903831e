#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"

// The window alone, normalised to a peak of 1, through the design's
// analysis; the plots are scaled by its DC gain.
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

    const int c = n % 2 == 1 ? 1025 : 1024;
    ComputeResponse(c);
    m_dIRPeak = 1.0;
    m_dGain = m_Spectrum.GetValue(0, 2);
    ShowResponse(n, c);
    m_bDesignValid = 1;
    m_bConverged = true;
    // The window's taps are what the plots now show: no request made them.
    DesignValue window;
    window.fields = Fields();
    for (int i = 0; i < n; ++i)
        window.taps.push_back(m_Coeffs.GetValue(i, 0));
    window.gain = m_dGain;
    window.firType = m_nFirType;
    m_design = std::move(window);
    m_shown.Designed(*this);
    m_history.Record(*this);
}
