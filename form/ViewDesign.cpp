#include "document/CFilPar.h"
#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "platform/DataExchange.h"

void CZantroView::OnDesign()
{
    if (!UpdateData(true))
        return;
    m_dIRScale = TextToDouble(m_strIRScale);
    if (m_nIRScaling == SC_NATURAL) {
        m_strIRScale = "1.00";
        m_dIRScale = 1.0;
        UpdateData(false);
    }
    if (!ValidateParameters())
        return;
    m_bDesignValid = 0;
    m_nFirType = GetFirType(m_nFilterType, m_nTaps);

    switch (m_nDesignMethod) {
    case DM_SINC:
        if (m_nFilterType > FT_DIFFERENTIATOR) {
            MessageBox(kMsgSincNotSupported);
            return;
        }
        DesignSincOrDirect();
        break;
    case DM_FREQUENCY_SAMPLING:
        if (m_nFilterType > FT_BANDSTOP) {
            MessageBox(kMsgFreqSamplingNotSupported);
            return;
        }
        DesignFrequencySampling();
        break;
    case DM_REMEZ:
        if (m_nFilterType > FT_DIFFERENTIATOR) {
            MessageBox(kMsgRemezNotSupported);
            return;
        }
        DesignRemezFilter();
        break;
    case DM_DIRECT:
        if (m_nFilterType != FT_GAUSSIAN && m_nFilterType != FT_ALLPASS && m_nFilterType != FT_MOVING_AVERAGE) {
            MessageBox(kMsgDirectNotSupported);
            return;
        }
        DesignSincOrDirect();
        break;
    default:
        break;
    }
    StoreParameters();
}

int CZantroView::ValidateParameters()
{
    if (m_nDesignMethod != DM_REMEZ) {
        const int half = m_nSamplingRate / 2;
        if (m_nFirstCorner >= half || m_nSecondCorner >= half) {
            MessageBox(kMsgCornerFrequencies);
            return 0;
        }
    }
    if (m_dIRScale < 0.1 || m_dIRScale > 10.0) {
        MessageBox(kMsgScaleRange);
        return 0;
    }
    return 1;
}

int CZantroView::GetFirType(int filterType, int taps)
{
    return FirTypeOf(filterType, taps);
}

void CZantroView::ResizeArrays(int n)
{
    m_Window.SetSize(n);
    m_Coeffs.SetSize(n);
    m_Step.SetSize(n);
    m_Spectrum.SetSize(n);
    m_SinXComp.SetSize(n);
    m_Window.Clear();
    m_Coeffs.Clear();
    m_Step.Clear();
    m_Spectrum.Clear();
}
