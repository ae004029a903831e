#include "plot/CMagnitudeWnd.h"

#include <cmath>

#include "plot/PlotArithmetic.h"
#include "platform/TextFormat.h"

void CMagnitudeWnd::DrawAxes(DrawContext& dc)
{
    DrawAxesOf(dc, false);
}

void CMagnitudeWnd::DrawCurve(DrawContext& dc)
{
    const int n = m_values.m_nCount;
    if (!m_pAxes || n <= 0)
        return;
    const PlotAxes& a = *m_pAxes;
    // On the bottom axis a curve may rise 274 pixels (about +6.8 dB over the
    // top edge); about a mid-height axis 146 pixels either way.
    const bool bottom = a.xAxisAtBottom != 0;
    const double S = bottom ? 256.0 : 128.0;
    const int lo = bottom ? 0 : -146;
    const int hi = bottom ? 274 : 146;

    const Pen oldPen = dc.SelectPen(m_penCurve[m_nPen >= 0 && m_nPen < 4 ? m_nPen : 0]);
    const Font oldFont = dc.SelectFont(m_font);

    // The decibel scale runs from yMin up to 0 dB, the linear one from yMin
    // to yMax; without a span there are no y positions to draw at.
    const bool decibels = a.yLog == 1;
    const double span = decibels ? std::fabs(a.yMin) : a.yMax - a.yMin;
    if (span != 0.0) {
        const int dx = CurveSpacing(n);
        const int d = CurveIndexStep(n);
        int x = m_xOrigin;
        for (int i = 0; i < n && x <= m_xOrigin + 512; i += d, x += dx) {
            const double v = m_values[i];
            double offset;
            if (decibels)
                offset = S * ((1.0 / (2.0 * S) + 1.0) * (20.0 * std::log10(v) - a.yMin)) / span;
            else
                offset = v * S / span;
            const int y = m_yOrigin - PixelOffset(offset, lo, hi);
            if (i == 0)
                dc.MoveToEx(x, y);
            else
                dc.LineTo(x, y);
        }
    }

    dc.DrawTextA(FormatText("Gain = %3.3f", m_dPlotGain), {m_rcClient.right - 120, m_rcClient.top + 20, m_rcClient.right - 20, m_rcClient.top + 37},
                 DT_RIGHT | DT_TOP);

    dc.SelectPen(oldPen);
    dc.SelectFont(oldFont);
}
