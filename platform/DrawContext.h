#pragma once

#include <cstdint>
#include <string>

// The drawing surface that plots and the printed report draw on: a small
// GDI-like device context. Coordinates are logical units, mapped to the
// device by the map mode, extents and origins.

using ColorRef = std::uint32_t;  // 0x00BBGGRR, as RGB() builds it

constexpr ColorRef RGB(int r, int g, int b)
{
    return static_cast<ColorRef>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}

enum PenStyle : int { PS_SOLID = 0, PS_DOT = 2 };

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    ColorRef color = RGB(0, 0, 0);
    bool operator==(const Pen&) const = default;
};

struct Font {
    std::string face = "Arial";
    int height = 11;  // character height in logical units
    int weight = 400;
    bool operator==(const Font&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Left and top edges inside, right and bottom edges outside.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

enum DrawTextFormat : unsigned { DT_TOP = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2 };
enum MapMode : int { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };
enum DeviceCap : int { LOGPIXELSX = 88, LOGPIXELSY = 90, HORZRES = 8, VERTRES = 10 };

class DrawContext {
public:
    virtual ~DrawContext() = default;

    // Selecting returns the previously selected object, for selecting it back.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Font SelectFont(const Font& font) = 0;

    virtual void MoveToEx(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void DrawTextA(const std::string& text, const Rect& rect, unsigned format) = 0;
    virtual void FillRect(const Rect& rect, ColorRef color) = 0;

    virtual int SetMapMode(int mode) = 0;
    virtual void SetWindowExtEx(int cx, int cy) = 0;
    virtual void SetViewportExtEx(int cx, int cy) = 0;
    virtual void SetViewportOrgEx(int x, int y) = 0;
    virtual int GetDeviceCaps(int index) const = 0;
};
