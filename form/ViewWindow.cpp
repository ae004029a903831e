#include "dsp/DesignKinds.h"
#include "dsp/Windows.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CZantroView.h"

int CZantroView::AskWindowParameters(int type)
{
    if (type == WT_CHEBYSHEV) {
        CStopbandAttDlg dlg(this);
        dlg.m_nAttenuation = m_nStopbandAtt;
        if (RunParameterDialog(dlg) != IDOK)
            return 0;
        m_nStopbandAtt = dlg.m_nAttenuation;
    } else if (type == WT_KAISER) {
        CKaiserShapeDlg dlg(this);
        dlg.m_dShapeFactor = m_dShapeFactor;
        if (RunParameterDialog(dlg) != IDOK)
            return 0;
        m_dShapeFactor = dlg.m_dShapeFactor;
    }
    return 1;
}

// The Dolph-Chebyshev samples are always computed into m_Window; when the
// caller passed another array it gets a copy.
int CZantroView::ComputeWindow(CPoints& points, int type)
{
    if (type < WT_RECTANGULAR || type > WT_KAISER)
        return 1;
    if (!AskWindowParameters(type))
        return 0;

    const WindowParameters parameters{m_nStopbandAtt, m_dShapeFactor};
    const int n = points.m_nCount;
    if (type == WT_CHEBYSHEV && n >= 2 && &points != &m_Window) {
        m_Window.SetSize(n);
        ComputeWindowSamples(m_Window, type, parameters);
        for (int i = 0; i < n; ++i)
            points[i] = m_Window[i];
        return 1;
    }
    ComputeWindowSamples(points, type, parameters);
    return 1;
}
