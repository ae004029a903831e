#include "plot/CPlotWnd.h"

CPlotWnd::CPlotWnd()
{
    m_penAxes = {PS_SOLID, 1, RGB(0, 0, 0)};
    m_penCursor = {PS_DOT, 1, RGB(128, 128, 128)};
    m_penCurve[0] = {PS_SOLID, 1, RGB(255, 0, 0)};
    m_penCurve[1] = {PS_SOLID, 1, RGB(0, 255, 0)};
    m_penCurve[2] = {PS_SOLID, 1, RGB(0, 0, 255)};
    m_penCurve[3] = {PS_SOLID, 1, RGB(255, 0, 255)};
}

void CPlotWnd::SetSeries(PlotAxes* axes, int count, int pen)
{
    m_pAxes = axes;
    m_values.SetSize(count);
    m_nPen = pen;
}

int CPlotWnd::OnCreate()
{
    m_font = {"Arial", 11, 400};
    return 0;
}

void CPlotWnd::OnPaint(DrawContext& dc)
{
    dc.FillRect(m_rcClientArea, RGB(255, 255, 255));
    DrawAll(dc);
}

void CPlotWnd::DrawAll(DrawContext& dc)
{
    m_rcClient = m_rcClientArea;
    m_rcPlot = {m_rcClient.left + 40, m_rcClient.top + 20, m_rcClient.left + 552, m_rcClient.top + 276};
    DrawAxes(dc);
    DrawCurve(dc);
    DrawCursor(dc);
}

void CPlotWnd::OnLButtonDown(Point p)
{
    if (m_rcPlot.Contains(p.x, p.y)) {
        m_bTracking = 1;
        m_ptCursor = p;
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
}

// The drawing routines arrive with the plot windows; until then a plot
// paints only its background.
void CPlotWnd::DrawAxes(DrawContext&) {}
void CPlotWnd::DrawCurve(DrawContext&) {}
void CPlotWnd::DrawCursor(DrawContext&) {}
