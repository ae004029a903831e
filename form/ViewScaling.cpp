#include "dsp/Scaling.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "platform/TextFormat.h"

void CZantroView::ApplySinXComp()
{
    ApplySinXCompensation(m_Coeffs, m_Spectrum, m_SinXComp);
}

void CZantroView::ScaleImpulseResponse()
{
    if (m_bSinXComp == 1)
        m_dIRPeak = m_Coeffs.GetMaxMagnitude();

    const ScaleFactor factor = ComputeScaleFactor(m_nIRScaling, m_dIRPeak, m_dIRScale);
    if (factor.status != DspStatus::Ok)
        MessageBox(kMsgCalculatedScale);
    m_dGain = factor.gain;
    m_dIRScale = m_dGain;
    m_strIRScale = FormatText("%2.2f", m_dGain);
    UpdateData(false);
}

void CZantroView::FinishDesign(int c)
{
    if (m_bSinXComp == 1)
        ApplySinXComp();
    ScaleImpulseResponse();
    m_Coeffs.Scale(m_dGain, 0.0);
    // A design must never show or export a tap that is not a number.
    if (!RequireFiniteCoefficients())
        return;
    AnalyseResponse(c);
    m_bDesignValid = 1;
}
