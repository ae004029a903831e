#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "dsp/Transforms.h"
#include "document/CZantroDoc.h"
#include "form/CSelFileDlg.h"
#include "document/InputFile.h"
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
    // One point gives a single tap and an inverse transform of length 0;
    // none (a document saved without points) a negative length.
    const int points = par.m_InputData.m_nCount;
    if (points < 2) {
        MessageBox(kMsgTooFewPoints);
        return;
    }

    // The points sample 0 .. fs/2; mirrored they make one period of the
    // response, of length L = N - 1.
    CPoints spectrum;
    spectrum.Copy(par.m_InputData);
    spectrum.MirrorExtend(1);
    const int n = spectrum.m_nCount;
    const int length = n - 1;
    m_nTaps = n;
    UpdateData(false);

    ResizeArrays(n);
    CPoints b(n);
    if (!ComputeWindow(m_Window, m_nWindowType))
        return;
    IDFT(spectrum, b, length);
    b.MakeReal();

    // Centred: tap n/2 is b[0], both end taps are b[n/2], halved.
    for (int i = 0; i < n; ++i)
        m_Coeffs[i] = b[(i + n / 2) % length];
    m_Coeffs[0] /= 2.0;
    m_Coeffs[n - 1] /= 2.0;

    m_dIRPeak = m_Coeffs.GetMaxMagnitude();
    m_Coeffs.Multiply(m_Window);
    if (m_bSinXComp == 1)
        ApplySinXComp();
    ScaleImpulseResponse();
    m_Coeffs.Scale(m_dGain, 0.0);
    // Points near the largest double sum to infinity in the transform.
    if (!RequireFiniteCoefficients())
        return;
    AnalyseResponse(1024);
    m_bDesignValid = 1;
}
