#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
#include "document/InputFile.h"
#include "dsp/FrequencySampling.h"
#include "form/CSelFileDlg.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"

void CZantroView::OnReadFile()
{
    CSelFileDlg dlg(true, "txt", "", OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY, kInputFileFilter, this);
    if (dlg.DoModal() != IDOK || !m_pDocument)
        return;
    CFilPar& par = m_pDocument->m_FilPar;
    if (ReadInputFile(dlg.GetPathName(), par.m_InputData, *this) != 0)
        par.m_bInputData = 1;
}

void CZantroView::DesignFrequencySampling()
{
    if (!m_pDocument)
        return;
    const CFilPar& par = m_pDocument->m_FilPar;
    // A document saved without points holds none; one point is too few too.
    if (par.m_bInputData == 0) {
        MessageBox(kMsgNoInputData);
        return;
    }
    if (par.m_InputData.m_nCount < 2) {
        MessageBox(kMsgTooFewPoints);
        return;
    }
    // The taps follow from the points; the field shows their count. The
    // request keeps the count typed, which the field's range was checked on.
    const int typed = m_nTaps;
    const int n = FrequencySamplingTapCount(par.m_InputData.m_nCount);
    m_nTaps = n;
    UpdateData(false);

    ResizeArrays(n);
    if (!AskWindowParameters(m_nWindowType))
        return;
    std::optional<DesignRequest> request = MakeRequest();
    request->taps = typed;
    TakeOutcome(*request, Design(*request));
}
