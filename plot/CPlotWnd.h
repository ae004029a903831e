#pragma once

#include "platform/CWnd.h"
#include "platform/DrawContext.h"
#include "plot/CValues.h"
#include "plot/PlotAxes.h"

// A plot child window: one series in a fixed 512 x 256 pixel frame whose
// top left corner is 40, 20 pixels into the client area.
class CPlotWnd : public CWnd {
public:
    CPlotWnd();

    // Stores the record (not owned), resizes the series and stores the pen
    // index 0..3. Nothing is redrawn.
    void SetSeries(PlotAxes* axes, int count, int pen);
    // 0 <= index < count.
    void SetValue(int index, double value) { m_values[index] = value; }

    // Window creation: makes the font and the pens.
    virtual int OnCreate();
    // Paint handler: white background, then DrawAll.
    void OnPaint(DrawContext& dc);
    // Draws axes, curve and cursor; paints no background.
    void DrawAll(DrawContext& dc);
    // Client rectangle of the window (568 x 312 on screen).
    void SetClientRect(const Rect& rc) { m_rcClientArea = rc; }

    void OnLButtonDown(Point p);
    void OnMouseMove(Point p);
    void OnLButtonUp(Point p);

    virtual void DrawAxes(DrawContext& dc);
    virtual void DrawCurve(DrawContext& dc);
    virtual void DrawCursor(DrawContext& dc);

    Font m_font;
    Pen m_penAxes;
    Pen m_penCursor;
    Pen m_penCurve[4];
    PlotAxes* m_pAxes = nullptr;
    CValues m_values;
    int m_nPen = 0;
    Rect m_rcClient;
    Rect m_rcPlot;
    int m_xOrigin = 0;
    int m_yOrigin = 0;
    int m_bTracking = 0;
    Point m_ptCursor;

protected:
    Rect m_rcClientArea{0, 0, 568, 312};
};
