#include "RecordingDC.h"

const Pen RecordingDC::kStockPen = {PS_SOLID, 0, RGB(1, 2, 3)};
const Font RecordingDC::kStockFont = {"System", 16, 700};

RecordingDC::RecordingDC(int logPixels, int width, int height)
    : m_nLogPixels(logPixels), m_nWidth(width), m_nHeight(height)
{
}

RecordingDC::Call& RecordingDC::Add(Call::Kind kind)
{
    Call& call = m_calls.emplace_back();
    call.kind = kind;
    call.pen = m_pen;
    call.font = m_font;
    return call;
}

std::vector<RecordingDC::Call> RecordingDC::Of(Call::Kind kind) const
{
    std::vector<Call> calls;
    for (const Call& call : m_calls)
        if (call.kind == kind)
            calls.push_back(call);
    return calls;
}

std::vector<std::string> RecordingDC::Texts() const
{
    std::vector<std::string> texts;
    for (const Call& call : m_calls)
        if (call.kind == Call::Text)
            texts.push_back(call.text);
    return texts;
}

const RecordingDC::Call* RecordingDC::FindText(const std::string& text) const
{
    for (const Call& call : m_calls)
        if (call.kind == Call::Text && call.text == text)
            return &call;
    return nullptr;
}

std::vector<RecordingDC::Call> RecordingDC::PathOf(const Pen& pen) const
{
    std::vector<Call> calls;
    for (const Call& call : m_calls)
        if ((call.kind == Call::MoveTo || call.kind == Call::LineTo) && call.pen == pen)
            calls.push_back(call);
    return calls;
}

Pen RecordingDC::SelectPen(const Pen& pen)
{
    const Pen previous = m_pen;
    m_pen = pen;
    Add(Call::SelectPen);
    return previous;
}

Font RecordingDC::SelectFont(const Font& font)
{
    const Font previous = m_font;
    m_font = font;
    Add(Call::SelectFont);
    return previous;
}

void RecordingDC::MoveToEx(int x, int y)
{
    Add(Call::MoveTo).pt = {x, y};
}

void RecordingDC::LineTo(int x, int y)
{
    Add(Call::LineTo).pt = {x, y};
}

void RecordingDC::DrawTextA(const std::string& text, const Rect& rect, unsigned format)
{
    Call& call = Add(Call::Text);
    call.text = text;
    call.rect = rect;
    call.format = format;
}

void RecordingDC::FillRect(const Rect& rect, ColorRef color)
{
    Call& call = Add(Call::Fill);
    call.rect = rect;
    call.color = color;
}

int RecordingDC::SetMapMode(int mode)
{
    const int previous = m_nMapMode;
    m_nMapMode = mode;
    Add(Call::MapMode).mode = mode;
    return previous;
}

void RecordingDC::SetWindowExtEx(int cx, int cy)
{
    Add(Call::WindowExt).pt = {cx, cy};
}

void RecordingDC::SetViewportExtEx(int cx, int cy)
{
    Add(Call::ViewportExt).pt = {cx, cy};
}

void RecordingDC::SetViewportOrgEx(int x, int y)
{
    Add(Call::ViewportOrg).pt = {x, y};
}

int RecordingDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_nLogPixels;
    case HORZRES:
        return m_nWidth;
    case VERTRES:
        return m_nHeight;
    default:
        return 0;
    }
}
