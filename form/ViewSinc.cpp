#include "dsp/DesignKinds.h"
#include "dsp/Windows.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CVarianceDlg.h"
#include "form/CZantroView.h"
#include "platform/TextFormat.h"

void CZantroView::DesignSincOrDirect()
{
    ResizeArrays(m_nTaps);
    if (!AskWindowParameters(m_nWindowType))
        return;
    if (m_nFilterType == FT_DIFFERENTIATOR) {
        CDifferentiatorDlg dlg(this);
        dlg.m_strGain = FormatText("%1.5f", m_dDiffGain);
        dlg.m_nGainSel = m_nDiffGainSel;
        const int result = RunParameterDialog(dlg);
        if (result == IDCANCEL) {
            // The window was computed before the gain was asked for.
            ComputeWindowSamples(m_Window, m_nWindowType, WindowParameters{m_nStopbandAtt, m_dShapeFactor});
            return;
        }
        if (result == IDOK) {
            m_dDiffGain = dlg.m_dGain;
            m_nDiffGainSel = dlg.m_nGainSel;
        }
    } else if (m_nFilterType == FT_GAUSSIAN) {
        CVarianceDlg dlg(this);
        dlg.m_dVariance = m_dVariance;
        if (RunParameterDialog(dlg) == IDOK)
            m_dVariance = dlg.m_dVariance;
        else
            m_dVariance = 1.0;
    }
    RunDesign();
}
