#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
#include "form/CRemezDlg.h"
#include "form/CZantroView.h"

bool CZantroView::AskRemezBands()
{
    if (!m_pDocument)
        return false;
    CFilPar& par = m_pDocument->m_FilPar;

    CRemezDlg dlg(this);
    dlg.LoadBands(par.m_Bands, par.m_nGridDensity, m_nSamplingRate);
    dlg.m_nFilterType = m_nFilterType;
    const int result = RunParameterDialog(dlg);
    if (result == IDCANCEL)
        return false;
    if (result == IDOK)
        dlg.StoreBands(par.m_Bands, par.m_nGridDensity);
    return true;
}

void CZantroView::DesignRemezFilter()
{
    if (AskRemezBands())
        RunDesign();
}
