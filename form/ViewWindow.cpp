#include <cmath>

#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CZantroView.h"
#include "dsp/Transforms.h"
#include "dsp/WindowFunctions.h"

namespace {

enum WindowType {
    WT_RECTANGULAR = 0,
    WT_HANNING = 1,
    WT_HAMMING = 2,
    WT_BLACKMAN = 3,
    WT_CHEBYSHEV = 4,
    WT_KAISER = 5,
};

void CosineWindow(CPoints& points, double a0, double a1, double a2)
{
    const int n = points.m_nCount;
    const double d = n - 1;
    for (int i = 0; i < n; ++i) {
        const double w = a0 - a1 * std::cos(2.0 * M_PI * i / d) + a2 * std::cos(4.0 * M_PI * i / d);
        points[i] = Complex(w, 0.0);
    }
}

// Half length M = floor(N/2), so for even N the window is not symmetric:
// the peak sits at i = M and the last sample lies one step inside the edge.
void KaiserWindow(CPoints& points, double beta)
{
    const int n = points.m_nCount;
    const double g = BesselI0(beta);
    const double m = static_cast<double>(n / 2);
    for (int i = 0; i < n; ++i) {
        const double t = (i - m) / m;
        points[i] = Complex(BesselI0(beta * std::sqrt(1.0 - t * t)) / g, 0.0);
    }
}

}  // namespace

// The Dolph-Chebyshev samples come from a direct inverse DFT of length
// N - 1 into m_Window; when the caller passed another array it gets a copy.
int CZantroView::ComputeWindow(CPoints& points, int type)
{
    if (type < WT_RECTANGULAR || type > WT_KAISER)
        return 1;

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

    const int n = points.m_nCount;
    // Every formula divides by N - 1 or N / 2; a single tap is its own window.
    if (n < 2) {
        for (int i = 0; i < n; ++i)
            points[i] = Complex(1.0, 0.0);
        return 1;
    }

    switch (type) {
    case WT_RECTANGULAR:
        for (int i = 0; i < n; ++i)
            points[i] = Complex(1.0, 0.0);
        break;
    case WT_HANNING:
        CosineWindow(points, 0.5, 0.5, 0.0);
        break;
    case WT_HAMMING:
        CosineWindow(points, 0.54, 0.46, 0.0);
        break;
    case WT_BLACKMAN:
        CosineWindow(points, 0.42, 0.5, 0.08);
        break;
    case WT_CHEBYSHEV: {
        const int d = n - 1;
        const double r = std::pow(10.0, m_nStopbandAtt / 20.0);
        const double x0 = std::cosh(ArcCosh(r) / d);
        CPoints samples(n);
        for (int k = 0; k <= d / 2; ++k) {
            const double t = ChebyshevPoly(x0 * std::cos(M_PI * k / d), d) / r;
            samples[k] = Complex(k % 2 == 0 ? t : -t, 0.0);
        }
        for (int k = d / 2 + 1; k < n; ++k)
            samples[k] = samples[n - 1 - k];

        m_Window.SetSize(n);
        IDFT(samples, m_Window, d);
        m_Window[0] = ComplexDivide(m_Window[0], Complex(2.0, 0.0));
        m_Window[n - 1] = m_Window[0];
        const double v = std::abs(m_Window[d / 2]);
        m_Window.Divide(v, 0.0);
        if (&points != &m_Window)
            for (int i = 0; i < n; ++i)
                points[i] = m_Window[i];
        break;
    }
    case WT_KAISER:
        KaiserWindow(points, m_dShapeFactor);
        break;
    }
    return 1;
}
