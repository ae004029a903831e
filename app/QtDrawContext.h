#pragma once

#include <QPoint>
#include <QSize>
#include <QTransform>

#include "platform/DrawContext.h"

class QPainter;

// The drawing context on a QPainter: pens (solid, and dotted 3 on / 3 off
// as the platform draws PS_DOT), fonts by character height in logical
// units, text aligned to the top of its rectangle, fills and the map modes
// MM_TEXT, MM_ISOTROPIC and MM_ANISOTROPIC with window and viewport
// extents and the viewport origin. Drawing is aliased, pixel for pixel.
class QtDrawContext : public DrawContext {
public:
    // dpi: the device's resolution (LOGPIXELSX/Y); size: HORZRES, VERTRES in pixels.
    QtDrawContext(QPainter& painter, int dpi, QSize size);

    Pen SelectPen(const Pen& pen) override;
    Font SelectFont(const Font& font) override;
    void MoveToEx(int x, int y) override;
    void LineTo(int x, int y) override;
    void DrawTextA(const std::string& text, const Rect& rect, unsigned format) override;
    void FillRect(const Rect& rect, ColorRef color) override;
    int SetMapMode(int mode) override;
    void SetWindowExtEx(int cx, int cy) override;
    void SetViewportExtEx(int cx, int cy) override;
    void SetViewportOrgEx(int x, int y) override;
    int GetDeviceCaps(int index) const override;

    // Family the face of a font is drawn with (Arial falls back to its
    // metric-compatible substitute).
    static QString FamilyOf(const std::string& face);

private:
    void ApplyTransform();

    QPainter& m_painter;
    int m_nDpi;
    QSize m_size;
    Pen m_pen;
    Font m_font;
    QPoint m_pos;
    int m_nMapMode = MM_TEXT;
    QSize m_windowExt{1, 1};
    QSize m_viewportExt{1, 1};
    QPoint m_viewportOrg{0, 0};
    QTransform m_base;  // the painter's transform before any mapping
};
