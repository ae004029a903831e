#include "platform/SvgDC.h"

#include <algorithm>
#include <cmath>

#include "platform/TextFormat.h"

namespace {

// Ascent of Arial as a fraction of its character height (1854 / 2048 units):
// the baseline lies this far below the top of a text's cell.
constexpr double kAscent = 1854.0 / 2048.0;

std::string Number(double v)
{
    return FormatText("%.6g", v);
}

std::string Colour(ColorRef c)
{
    return FormatText("#%02x%02x%02x", c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += ch; break;
        }
    }
    return out;
}

}  // namespace

SvgDC::SvgDC(int width, int height) : m_nWidth(width), m_nHeight(height) {}

bool SvgDC::Scaled() const
{
    return (m_nMapMode == MM_ISOTROPIC || m_nMapMode == MM_ANISOTROPIC) && m_nWindowExtX != 0 &&
           m_nWindowExtY != 0;
}

std::string SvgDC::Transform(bool line) const
{
    double sx = 1.0, sy = 1.0;
    if (Scaled()) {
        sx = static_cast<double>(m_nViewportExtX) / m_nWindowExtX;
        sy = static_cast<double>(m_nViewportExtY) / m_nWindowExtY;
        if (m_nMapMode == MM_ISOTROPIC) {
            // Equal units on both axes: the smaller scale wins, signs stay.
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    const double ox = m_nViewportOrgX + (line ? 0.5 : 0.0);
    const double oy = m_nViewportOrgY + (line ? 0.5 : 0.0);
    if (sx == 1.0 && sy == 1.0) {
        if (ox == 0.0 && oy == 0.0)
            return "";
        return " transform=\"translate(" + Number(ox) + " " + Number(oy) + ")\"";
    }
    return " transform=\"matrix(" + Number(sx) + " 0 0 " + Number(sy) + " " + Number(ox) + " " +
           Number(oy) + ")\"";
}

std::string SvgDC::PathElement() const
{
    if (m_path.empty())
        return "";
    std::string e = "<path d=\"" + m_path + "\" fill=\"none\" stroke=\"" + Colour(m_pathPen.color) +
                    "\" stroke-width=\"" + Number(std::max(m_pathPen.width, 1)) + "\"";
    if (m_pathPen.style == PS_DOT)
        e += " stroke-dasharray=\"3 3\"";
    if (Scaled())
        e += " vector-effect=\"non-scaling-stroke\"";
    return e + m_pathTransform + "/>\n";
}

void SvgDC::FlushPath()
{
    m_body += PathElement();
    m_path.clear();
}

std::string SvgDC::Svg() const
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(m_nWidth) + "\" height=\"" + std::to_string(m_nHeight) + "\" viewBox=\"0 0 " +
           std::to_string(m_nWidth) + " " + std::to_string(m_nHeight) + "\">\n" + m_body + PathElement() +
           "</svg>\n";
}

Pen SvgDC::SelectPen(const Pen& pen)
{
    const Pen previous = m_pen;
    m_pen = pen;
    return previous;
}

Font SvgDC::SelectFont(const Font& font)
{
    const Font previous = m_font;
    m_font = font;
    return previous;
}

void SvgDC::MoveToEx(int x, int y)
{
    m_ptCurrent = {x, y};
    m_bMovePending = true;
}

void SvgDC::LineTo(int x, int y)
{
    if (!m_path.empty() && !(m_pathPen == m_pen))
        FlushPath();
    if (m_path.empty()) {
        m_pathPen = m_pen;
        m_pathTransform = Transform(true);
        m_bMovePending = true;
    }
    if (m_bMovePending)
        m_path += (m_path.empty() ? "M" : " M") + std::to_string(m_ptCurrent.x) + " " + std::to_string(m_ptCurrent.y);
    m_path += " L" + std::to_string(x) + " " + std::to_string(y);
    m_ptCurrent = {x, y};
    m_bMovePending = false;
}

void SvgDC::DrawTextA(const std::string& text, const Rect& rect, unsigned format)
{
    FlushPath();
    double x = rect.left;
    const char* anchor = "start";
    if (format & DT_CENTER) {
        x = (rect.left + rect.right) / 2.0;
        anchor = "middle";
    } else if (format & DT_RIGHT) {
        x = rect.right;
        anchor = "end";
    }
    const double y = rect.top + kAscent * std::abs(m_font.height);
    m_body += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" font-family=\"" + Escape(m_font.face) +
              ", Liberation Sans, Helvetica, sans-serif\" font-size=\"" + Number(std::abs(m_font.height)) +
              "\"" + (m_font.weight >= 600 ? " font-weight=\"bold\"" : "") + " text-anchor=\"" + anchor +
              "\" fill=\"#000000\" xml:space=\"preserve\"" + Transform(false) + ">" + Escape(text) + "</text>\n";
}

void SvgDC::FillRect(const Rect& rect, ColorRef color)
{
    FlushPath();
    if (rect.IsEmpty())
        return;
    m_body += "<rect x=\"" + std::to_string(rect.left) + "\" y=\"" + std::to_string(rect.top) + "\" width=\"" +
              std::to_string(rect.Width()) + "\" height=\"" + std::to_string(rect.Height()) + "\" fill=\"" +
              Colour(color) + "\"" + Transform(false) + "/>\n";
}

int SvgDC::SetMapMode(int mode)
{
    FlushPath();
    const int previous = m_nMapMode;
    m_nMapMode = mode;
    return previous;
}

void SvgDC::SetWindowExtEx(int cx, int cy)
{
    FlushPath();
    m_nWindowExtX = cx;
    m_nWindowExtY = cy;
}

void SvgDC::SetViewportExtEx(int cx, int cy)
{
    FlushPath();
    m_nViewportExtX = cx;
    m_nViewportExtY = cy;
}

void SvgDC::SetViewportOrgEx(int x, int y)
{
    FlushPath();
    m_nViewportOrgX = x;
    m_nViewportOrgY = y;
}

int SvgDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case HORZRES:
        return m_nWidth;
    case VERTRES:
        return m_nHeight;
    default:
        return 0;
    }
}
