#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/TextFormat.h"
#include "form/CRemezDlg.h"
#include "dsp/RemezDesign.h"
#include "form/RemezMessages.h"

void CZantroView::DesignRemezFilter()
{
    if (!m_pDocument)
        return;
    CFilPar& par = m_pDocument->m_FilPar;

    CRemezDlg dlg(this);
    dlg.LoadBands(par.m_Bands, par.m_nGridDensity, m_nSamplingRate);
    dlg.m_nFilterType = m_nFilterType;
    const int result = RunParameterDialog(dlg);
    if (result == IDCANCEL)
        return;
    if (result == IDOK)
        dlg.StoreBands(par.m_Bands, par.m_nGridDensity);

    ResizeArrays(m_nTaps);
    const RemezResult design =
        DesignRemez(m_nTaps, m_nFilterType, m_nFirType, m_nSamplingRate, par.m_Bands, par.m_nGridDensity, m_Coeffs);
    m_nRemezPasses = design.nPasses;
    if (design.Converged())
        MessageBox(FormatText(kMsgRemezPasses, design.nPasses));
    else
        MessageBox(kMsgRemezNoConvergence);

    m_dIRPeak = m_Coeffs.GetMaxMagnitude();
    FinishDesign(1024);
}
