#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
#include "document/InputFile.h"
#include "dsp/FrequencySampling.h"
#include "form/CSelFileDlg.h"
#include "form/CZantroView.h"
#include "form/RemezMessages.h"

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
    if (par.m_bInputData == 0) {
        MessageBox(kMsgNoInputData);
        return;
    }
    // A document saved without points holds none; one point is too few too.
    CPoints taps;
    if (FrequencySamplingTaps(par.m_InputData, taps) != DspStatus::Ok) {
        MessageBox(kMsgTooFewPoints);
        return;
    }
    const int n = taps.m_nCount;
    m_nTaps = n;
    UpdateData(false);

    ResizeArrays(n);
    if (!ComputeWindow(m_Window, m_nWindowType))
        return;
    for (int i = 0; i < n; ++i)
        m_Coeffs[i] = taps[i];

    m_dIRPeak = m_Coeffs.GetMaxMagnitude();
    m_Coeffs.Multiply(m_Window);
    FinishDesign(1024);
}
