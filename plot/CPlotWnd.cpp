#include "plot/CPlotWnd.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "plot/PlotArithmetic.h"

namespace {

// Offsets of a curve stay within this many pixels of its axis, so that
// coordinates cannot overflow whatever the record's range is.
constexpr int kFarOff = 1 << 20;

}  // namespace

CPlotWnd::CPlotWnd()
{
    // The objects proper are made at creation; until then the window holds
    // the same objects at the screen's usual 96 dpi, so it can be drawn
    // off screen (an SVG or a report) before it has been placed anywhere.
    MakeObjects(96);
}

void CPlotWnd::MakeObjects(int logPixelsY)
{
    if (logPixelsY <= 0)
        logPixelsY = 96;
    // 8 points at logPixelsY dots per inch, rounded to the nearest unit.
    m_font = {"Arial", (8 * logPixelsY + 36) / 72, 400};
    m_penAxes = {PS_SOLID, 1, RGB(0, 0, 0)};
    m_penCursor = {PS_DOT, 1, RGB(128, 128, 128)};
    m_penCurve[0] = {PS_SOLID, 1, RGB(255, 0, 0)};
    m_penCurve[1] = {PS_SOLID, 1, RGB(0, 255, 0)};
    m_penCurve[2] = {PS_SOLID, 1, RGB(0, 0, 255)};
    m_penCurve[3] = {PS_SOLID, 1, RGB(255, 0, 255)};
}

int CPlotWnd::Create(const Rect& rect)
{
    m_rcWindow = rect;
    const int edge = 2 * kClientEdge;
    m_rcClientArea = {0, 0, rect.Width() > edge ? rect.Width() - edge : 0,
                      rect.Height() > edge ? rect.Height() - edge : 0};
    return OnCreate();
}

int CPlotWnd::OnCreate()
{
    MakeObjects(m_pHost ? m_pHost->GetScreenLogPixelsY() : 96);
    return 0;
}

void CPlotWnd::SetSeries(PlotAxes* axes, int count, int pen)
{
    m_pAxes = axes;
    m_values.SetSize(count);
    m_nPen = pen;
}

void CPlotWnd::OnPaint(DrawContext& dc)
{
    dc.FillRect(GetClientRect(), RGB(255, 255, 255));
    DrawAll(dc);
}

void CPlotWnd::DrawAll(DrawContext& dc)
{
    m_rcClient = GetClientRect();
    m_rcPlot = {m_rcClient.left + 40, m_rcClient.top + 20, m_rcClient.left + 552, m_rcClient.top + 276};
    DrawAxes(dc);
    DrawCurve(dc);
    DrawCursor(dc);
    if (!m_strNote.empty())
        dc.DrawTextA(m_strNote, {m_rcClient.left + 300, m_rcClient.top + 3, m_rcClient.right - 8, m_rcClient.top + 18},
                     DT_RIGHT | DT_TOP);
}

void CPlotWnd::OnLButtonDown(Point p)
{
    if (m_rcPlot.Contains(p.x, p.y)) {
        m_bTracking = 1;
        m_ptCursor = p;
        if (m_pHost)
            m_pHost->SetCapture(*this);
    } else {
        m_bTracking = 0;
    }
    RepaintNow();
}

void CPlotWnd::OnMouseMove(Point p)
{
    if (m_bTracking == 1 && m_rcPlot.Contains(p.x, p.y)) {
        m_ptCursor = p;
        RepaintNow();
    }
}

void CPlotWnd::OnLButtonUp(Point)
{
    m_bTracking = 0;
    RepaintNow();
    if (m_pHost)
        m_pHost->ReleaseCapture();
}

int CPlotWnd::YAxisX() const
{
    return m_rcClient.left + (m_pAxes && m_pAxes->yAxisAtLeft ? 40 : 296);
}

void CPlotWnd::DrawAxes(DrawContext& dc)
{
    DrawAxesOf(dc, true);
}

void CPlotWnd::DrawAxesOf(DrawContext& dc, bool fitToSeries)
{
    if (!m_pAxes)
        return;
    PlotAxes& a = *m_pAxes;
    const int ct = m_rcClient.top;
    m_xOrigin = m_rcClient.left + 40;
    m_yOrigin = ct + (a.xAxisAtBottom ? 276 : 148);
    const Pen oldPen = dc.SelectPen(m_penAxes);
    const Font oldFont = dc.SelectFont(m_font);

    dc.MoveToEx(m_xOrigin - 10, m_yOrigin);
    dc.LineTo(m_xOrigin + 522, m_yOrigin);
    dc.LineTo(m_xOrigin + 517, m_yOrigin - 2);
    dc.LineTo(m_xOrigin + 517, m_yOrigin + 2);
    dc.LineTo(m_xOrigin + 522, m_yOrigin);

    const int h = YAxisX();
    dc.MoveToEx(h, ct + 286);
    dc.LineTo(h, ct + 10);
    dc.LineTo(h - 2, ct + 15);
    dc.LineTo(h + 2, ct + 15);
    dc.LineTo(h, ct + 10);

    const int n = m_values.m_nCount;
    if (a.xKind == 1) {
        if (fitToSeries) {
            // n - 1 rounded up to a multiple of the divisions; without
            // divisions there is nothing to round to.
            const std::int64_t N = a.nxDivisions;
            a.nxMax = N >= 1 ? ClampToInt(N * ((std::int64_t{n} + N - 2) / N)) : n - 1;
        }
        DrawIntegerXTicks(dc, h);
    } else if (a.xKind == 0) {
        if (fitToSeries) {
            a.xMax = n - 1;
            a.nxMax = n - 1;
        } else {
            a.nxMax = RoundToInt(std::floor(a.xMax + 0.5));
        }
        DrawRealXTicks(dc, h);
    }
    DrawYTicks(dc, h);

    dc.SelectPen(oldPen);
    dc.SelectFont(oldFont);
}

void CPlotWnd::DrawIntegerXTicks(DrawContext& dc, int h)
{
    const PlotAxes& a = *m_pAxes;
    const int N = TickDivisions(a.nxDivisions);
    if (N == 0)
        return;
    const std::int64_t range = std::int64_t{a.nxMax} - a.nxMin;
    for (int k = 0; k <= N; ++k) {
        const int x = m_xOrigin + (k * 512) / N;
        const int value = ClampToInt(a.nxMin + (k * range) / N);
        if (std::abs(x - h) <= 2)
            continue;
        DrawXTick(dc, x, FormatLabel(a.nxFormat, value));
    }
}

void CPlotWnd::DrawXTick(DrawContext& dc, int x, const std::string& label)
{
    dc.MoveToEx(x, m_yOrigin + 5);
    dc.LineTo(x, m_yOrigin - 5);
    dc.DrawTextA(label, {x - 50, m_yOrigin + 5, x + 50, m_yOrigin + 22}, DT_CENTER | DT_TOP);
}

void CPlotWnd::DrawRealXTicks(DrawContext& dc, int h)
{
    const PlotAxes& a = *m_pAxes;
    const int N = TickDivisions(a.xDivisions);
    if (N == 0)
        return;
    const double step = (a.xMax - a.xMin) / a.xDivisions;
    // At most N + 1 ticks: the last one lands on the right edge of the frame.
    double v = a.xMin;
    for (int k = 0; k <= N && v <= a.xMax + 1e-6; ++k, v += step) {
        const int x = m_xOrigin + (k * 512) / N;
        if (std::abs(x - h) <= 2)
            continue;
        DrawXTick(dc, x, FormatLabel(a.xFormat, v));
    }
}

void CPlotWnd::DrawYTicks(DrawContext& dc, int h)
{
    const PlotAxes& a = *m_pAxes;
    const int N = TickDivisions(a.yDivisions);
    if (N == 0)
        return;
    const double step = (a.yMax - a.yMin) / a.yDivisions;
    const int bottom = m_rcClient.top + 276;
    // At most N + 1 ticks, so a tiny range cannot put labels above the frame.
    double v = a.yMin;
    for (int k = 0; k <= N && v <= a.yMax + 1e-6; ++k, v += step) {
        const int y = bottom - (k * 256) / N;
        // The running sum reaches zero only approximately; never print -0.00.
        if (std::fabs(v) < 1e-6)
            v = std::fabs(v);
        if (a.yAxisAtLeft || std::abs(y - m_yOrigin) >= 2) {
            dc.MoveToEx(h - 5, y);
            dc.LineTo(h + 5, y);
            dc.DrawTextA(FormatLabel(a.yFormat, v), {h - 105, y - 8, h - 5, y + 8}, DT_RIGHT | DT_TOP);
        }
    }
}

void CPlotWnd::DrawCurve(DrawContext& dc)
{
    const int n = m_values.m_nCount;
    if (!m_pAxes || n <= 0)
        return;
    const PlotAxes& a = *m_pAxes;

    double peak = 1.0;
    if (a.normalize) {
        double largest = 0.0;
        for (int i = 0; i < n; ++i)
            largest = std::fmax(largest, std::fabs(m_values[i]));
        // An all-zero series stays as it is.
        if (largest > 0.0 && std::isfinite(largest))
            peak = largest;
    }
    const double upper = 1.0703125 * a.yMax;
    const double lower = a.xAxisAtBottom ? a.yMin : -upper;
    const double S = a.xAxisAtBottom ? 256.0 : 128.0;

    const Pen oldPen = dc.SelectPen(m_penCurve[m_nPen >= 0 && m_nPen < 4 ? m_nPen : 0]);
    // Without a scale there are no y positions to draw at.
    if (a.yMax != 0.0) {
        const int d = CurveIndexStep(n);
        const std::int64_t range = std::int64_t{a.nxMax} - a.nxMin;
        int xPrev = 0;
        for (int i = 0; i < n; i += d) {
            if (xPrev > m_xOrigin + 512)
                break;
            // A range of 0 (a single value) puts every point on the y axis.
            const int x = range != 0 ? ClampToInt(m_xOrigin + (std::int64_t{i} * 512) / range) : m_xOrigin;
            double v = m_values[i] / peak;
            v = std::isnan(v) ? lower : std::fmax(std::fmin(v, upper), lower);
            const int y = m_yOrigin - PixelOffset(v * S / a.yMax, -kFarOff, kFarOff);
            if (i == 0)
                dc.MoveToEx(x, y);
            else
                dc.LineTo(x, y);
            xPrev = x;
        }
    }
    dc.SelectPen(oldPen);
}

void CPlotWnd::DrawCursor(DrawContext& dc)
{
    if (m_bTracking != 1)
        return;
    const int mx = m_ptCursor.x, my = m_ptCursor.y;
    const Rect& r = m_rcPlot;
    const Pen oldPen = dc.SelectPen(m_penCursor);
    dc.MoveToEx(r.left, my);
    dc.LineTo(r.right, my);
    dc.MoveToEx(mx, r.top);
    dc.LineTo(mx, r.bottom);
    dc.SelectPen(oldPen);
    if (!m_pAxes)
        return;
    const PlotAxes& a = *m_pAxes;
    const Font oldFont = dc.SelectFont(m_font);

    const int height = r.bottom - r.top;
    const double yValue = height != 0 ? a.yMin + (a.yMax - a.yMin) * (r.bottom - my) / height : a.yMin;
    const int lx = m_xOrigin + (a.yAxisAtLeft ? 0 : 256);
    dc.DrawTextA(FormatLabel(a.yFormat, yValue), {lx - 105, my - 8, lx - 5, my + 8}, DT_RIGHT | DT_TOP);

    const int width = r.right - r.left;
    if (a.xKind == 1) {
        const std::int64_t range = std::int64_t{a.nxMax} - a.nxMin;
        // Half a unit, so the readout rounds rather than truncates.
        const std::int64_t half = range != 0 ? 512 / (2 * range) : 0;
        const int value = width != 0 ? ClampToInt(a.nxMin + (range * (half + mx - r.left)) / width) : a.nxMin;
        dc.DrawTextA(FormatLabel(a.nxFormat, value), {mx - 50, r.bottom + 5, mx + 50, r.bottom + 22},
                     DT_CENTER | DT_TOP);
    } else if (a.xKind == 0) {
        const double value = width != 0 ? a.xMin + (a.xMax - a.xMin) * (mx - r.left) / width : a.xMin;
        dc.DrawTextA(FormatLabel(a.xFormat, value), {mx - 50, m_yOrigin + 5, mx + 50, m_yOrigin + 22},
                     DT_CENTER | DT_TOP);
    }
    dc.SelectFont(oldFont);
}
