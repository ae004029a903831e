#include "plot/CPhaseWnd.h"

#include <cmath>
#include <numbers>

#include "plot/PlotArithmetic.h"

namespace {

constexpr double kTolerance = 1e-6;
// Offsets stay within this many pixels of the axis whatever the record holds.
constexpr int kFarOff = 1 << 20;

}  // namespace

void CPhaseWnd::DrawAxes(DrawContext& dc)
{
    DrawAxesOf(dc, false);
}

void CPhaseWnd::DrawCurve(DrawContext& dc)
{
    const int n = m_values.m_nCount;
    if (!m_pAxes || n <= 0)
        return;
    const PlotAxes& a = *m_pAxes;
    const double S = a.xAxisAtBottom ? 256.0 : 128.0;
    const Pen oldPen = dc.SelectPen(m_penCurve[m_nPen >= 0 && m_nPen < 4 ? m_nPen : 0]);

    if (a.yMax != 0.0) {
        const int dx = CurveSpacing(n);
        const int d = CurveIndexStep(n);
        // Offset of -pi: the bottom edge below the axis, the top edge above it.
        const int w = PixelOffset(-std::numbers::pi * S / a.yMax, -kFarOff, kFarOff);
        int x = m_xOrigin;
        for (int i = 0; i < n && x <= m_xOrigin + 512; i += d, x += dx) {
            double v = m_values[i];
            if (v > a.yMax)
                v = a.yMax;
            if (v < a.yMin)
                v = a.yMin;
            if (std::isnan(v))
                v = a.yMin;
            const int offset = PixelOffset(v * S / a.yMax, -kFarOff, kFarOff);
            if (i == 0) {
                dc.MoveToEx(x, m_yOrigin - offset);
                continue;
            }
            // +pi straight after a zero is where the phase wraps: treat it as -pi.
            if (std::fabs(v - std::numbers::pi) < kTolerance && std::fabs(m_values[i - 1]) < kTolerance)
                v = -std::numbers::pi;
            if (std::fabs(v + std::numbers::pi) < kTolerance) {
                dc.LineTo(x, m_yOrigin - w);
                dc.MoveToEx(x, m_yOrigin + w);
            } else {
                dc.LineTo(x, m_yOrigin - offset);
            }
        }
    }
    dc.SelectPen(oldPen);
}
