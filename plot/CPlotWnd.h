#pragma once

#include <string>

#include "platform/CWnd.h"
#include "platform/DrawContext.h"
#include "plot/CValues.h"
#include "plot/PlotAxes.h"

// A plot child window: one series in a fixed 512 x 256 pixel frame whose
// top left corner is 40, 20 pixels into the client area, two axes with
// arrowheads and labelled ticks, the series as a polyline, and a dotted
// crosshair with readouts while the left button is held inside the frame.
// All coordinates are pixels of the client area (logical units when drawn
// into a printer context).
class CPlotWnd : public CWnd {
public:
    // Size of the form's plot windows and the sunken edge around their client area.
    static constexpr int kWindowWidth = 572;
    static constexpr int kWindowHeight = 316;
    static constexpr int kClientEdge = 2;

    CPlotWnd();
    ~CPlotWnd() override = default;

    // Creates the window as a visible child at rect (pixels of the parent's
    // client area): the sunken edge leaves a client area 2 pixels smaller on
    // every side (568 x 312 for a 572 x 316 window). Returns OnCreate's result.
    int Create(const Rect& rect);
    // Window creation: makes the font (Arial, 8 points at the host screen's
    // resolution: 11 units at 96 dpi) and the six pens. Returns 0.
    virtual int OnCreate();

    // Stores the record (not owned), resizes the series to count values and
    // stores the pen index 0..3. Nothing is redrawn.
    void SetSeries(PlotAxes* axes, int count, int pen);
    // 0 <= index < count; unchecked.
    void SetValue(int index, double value) { m_values[index] = value; }

    // Paint handler: fills the client area white, then DrawAll.
    void OnPaint(DrawContext& dc);
    // Draws axes, curve and cursor into dc; paints no background. Also used
    // for printing, with the printer context's own mapping.
    void DrawAll(DrawContext& dc);

    // Client rectangle of the window, left and top 0 on screen.
    Rect GetClientRect() const { return m_rcClientArea; }
    void SetClientRect(const Rect& rc) { m_rcClientArea = rc; }
    // Rectangle given to Create, in the parent's client area.
    Rect GetWindowRect() const { return m_rcWindow; }

    // Mouse messages, p in client pixels.
    void OnLButtonDown(Point p);
    void OnMouseMove(Point p);
    void OnLButtonUp(Point p);

    // Axes, arrowheads, ticks and labels; the x range follows the series
    // (nxMax = n - 1 rounded up to a multiple of nxDivisions).
    virtual void DrawAxes(DrawContext& dc);
    // The series as a polyline placed by nxMin .. nxMax, clamped to 137/128 yMax.
    virtual void DrawCurve(DrawContext& dc);
    // The crosshair and its x and y readouts while tracking.
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
    // A note drawn right-aligned above the plot frame ("" none): the form
    // marks a design older than its fields with it.
    std::string m_strNote;

protected:
    // The axis routine of every plot. fitToSeries: the base plot's x range
    // from the series count; otherwise the range the record holds (the
    // magnitude and phase plots).
    void DrawAxesOf(DrawContext& dc, bool fitToSeries);
    // x coordinate of the y axis.
    int YAxisX() const;
    // The ticks and labels of the x axis, N divisions over nxMin .. nxMax.
    void DrawIntegerXTicks(DrawContext& dc, int h);
    void DrawRealXTicks(DrawContext& dc, int h);
    // One x tick at x with its label centred below the axis.
    void DrawXTick(DrawContext& dc, int x, const std::string& label);
    void DrawYTicks(DrawContext& dc, int h);
    void MakeObjects(int logPixelsY);

    Rect m_rcClientArea{0, 0, kWindowWidth - 2 * kClientEdge, kWindowHeight - 2 * kClientEdge};
    Rect m_rcWindow;
};
