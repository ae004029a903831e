#pragma once

#include <string>

#include "platform/DrawContext.h"

// A drawing context that writes an SVG document of width x height pixels.
// Lines drawn with one pen become one path in the pen's colour, width and
// dash; texts become text elements placed as DrawTextA places them (top
// of the character cell on the rectangle's top, left-aligned, centred or
// right-aligned in the rectangle); FillRect becomes a rect. Text is black
// on a transparent background. The map mode, extents and viewport origin
// map logical units to pixels as on a printer context.
class SvgDC : public DrawContext {
public:
    SvgDC(int width, int height);

    // The complete document.
    std::string Svg() const;

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

private:
    // The transform attribute of an element ("" for none); a line is moved
    // by half a pixel so a one-pixel stroke covers whole pixels.
    std::string Transform(bool line) const;
    bool Scaled() const;
    std::string PathElement() const;
    void FlushPath();

    int m_nWidth;
    int m_nHeight;
    Pen m_pen;
    Font m_font;
    Point m_ptCurrent;
    bool m_bMovePending = true;
    std::string m_body;
    std::string m_path;  // d attribute of the path being built
    Pen m_pathPen;
    std::string m_pathTransform;
    int m_nMapMode = MM_TEXT;
    int m_nWindowExtX = 1, m_nWindowExtY = 1;
    int m_nViewportExtX = 1, m_nViewportExtY = 1;
    int m_nViewportOrgX = 0, m_nViewportOrgY = 0;
};
