#pragma once

#include <string>
#include <vector>

#include "platform/DrawContext.h"

// A drawing context that draws nothing and keeps every call, with the pen
// and font selected at the time, for tests of drawing routines. It starts
// with a stock pen and font that differ from anything the program creates,
// so a routine that fails to select its objects back is visible.
class RecordingDC : public DrawContext {
public:
    struct Call {
        enum Kind {
            SelectPen, SelectFont, MoveTo, LineTo, Text, Fill,
            MapMode, WindowExt, ViewportExt, ViewportOrg
        } kind = MoveTo;
        Point pt;            // MoveTo, LineTo; extents and origins as (cx, cy)
        Rect rect;           // Text, Fill
        std::string text;    // Text
        unsigned format = 0; // Text
        ColorRef color = 0;  // Fill
        int mode = 0;        // MapMode
        Pen pen;             // pen selected when the call was made (the new one for SelectPen)
        Font font;           // font selected when the call was made (the new one for SelectFont)
    };

    static const Pen kStockPen;
    static const Font kStockFont;

    // logPixels: the answer to GetDeviceCaps(LOGPIXELSX / LOGPIXELSY);
    // width, height: HORZRES and VERTRES in pixels.
    explicit RecordingDC(int logPixels = 96, int width = 568, int height = 312);

    const std::vector<Call>& Calls() const { return m_calls; }
    // The calls of one kind, in order.
    std::vector<Call> Of(Call::Kind kind) const;
    // The texts drawn, in order.
    std::vector<std::string> Texts() const;
    // The first text call with this text, nullptr when there is none.
    const Call* FindText(const std::string& text) const;
    // MoveTo and LineTo calls made with this pen, in order.
    std::vector<Call> PathOf(const Pen& pen) const;
    const Pen& CurrentPen() const { return m_pen; }
    const Font& CurrentFont() const { return m_font; }
    void Clear() { m_calls.clear(); }

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
    Call& Add(Call::Kind kind);

    std::vector<Call> m_calls;
    Pen m_pen = kStockPen;
    Font m_font = kStockFont;
    int m_nMapMode = MM_TEXT;
    int m_nLogPixels;
    int m_nWidth;
    int m_nHeight;
};
