#include "app/QtDrawContext.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/DialogUnits.h"

namespace {

QColor ToColor(ColorRef c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

}  // namespace

QtDrawContext::QtDrawContext(QPainter& painter, int dpi, QSize size)
    : m_painter(painter), m_nDpi(dpi > 0 ? dpi : 96), m_size(size), m_base(painter.transform())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBrush(Qt::NoBrush);
    // The device context starts with a black solid pen and the system font.
    m_pen = {PS_SOLID, 1, RGB(0, 0, 0)};
    m_font = {"Arial", 11, 400};
    SelectPen(m_pen);
    SelectFont(m_font);
}

QString QtDrawContext::FamilyOf(const std::string& face)
{
    return DialogUnits::ResolveFamily(QString::fromStdString(face));
}

Pen QtDrawContext::SelectPen(const Pen& pen)
{
    Pen previous = m_pen;
    m_pen = pen;
    QPen p(ToColor(pen.color));
    // Width 0 is one device pixel whatever the mapping; wider pens scale.
    if (pen.width <= 0) {
        p.setCosmetic(true);
        p.setWidth(1);
    } else {
        p.setWidth(pen.width);
    }
    if (pen.style == PS_DOT && pen.width <= 1)
        p.setDashPattern({3.0, 3.0});
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(p);
    return previous;
}

Font QtDrawContext::SelectFont(const Font& font)
{
    Font previous = m_font;
    m_font = font;
    QFont f(FamilyOf(font.face));
    f.setPixelSize(std::max(1, std::abs(font.height)));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 900)));
    m_painter.setFont(f);
    return previous;
}

void QtDrawContext::MoveToEx(int x, int y)
{
    m_pos = QPoint(x, y);
}

void QtDrawContext::LineTo(int x, int y)
{
    const QPoint to(x, y);
    m_painter.drawLine(m_pos, to);
    m_pos = to;
}

void QtDrawContext::DrawTextA(const std::string& text, const Rect& rect, unsigned format)
{
    int flags = Qt::AlignTop;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // Text is drawn in the text colour, black, not in the pen's colour.
    const QPen pen = m_painter.pen();
    m_painter.setPen(QPen(Qt::black));
    m_painter.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()), flags, QString::fromStdString(text));
    m_painter.setPen(pen);
}

void QtDrawContext::FillRect(const Rect& rect, ColorRef color)
{
    if (rect.IsEmpty())
        return;
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToColor(color));
}

int QtDrawContext::SetMapMode(int mode)
{
    const int previous = m_nMapMode;
    m_nMapMode = mode;
    ApplyTransform();
    return previous;
}

void QtDrawContext::SetWindowExtEx(int cx, int cy)
{
    m_windowExt = QSize(cx, cy);
    ApplyTransform();
}

void QtDrawContext::SetViewportExtEx(int cx, int cy)
{
    m_viewportExt = QSize(cx, cy);
    ApplyTransform();
}

void QtDrawContext::SetViewportOrgEx(int x, int y)
{
    m_viewportOrg = QPoint(x, y);
    ApplyTransform();
}

void QtDrawContext::ApplyTransform()
{
    double sx = 1.0, sy = 1.0;
    if ((m_nMapMode == MM_ISOTROPIC || m_nMapMode == MM_ANISOTROPIC) && m_windowExt.width() != 0 &&
        m_windowExt.height() != 0) {
        sx = static_cast<double>(m_viewportExt.width()) / m_windowExt.width();
        sy = static_cast<double>(m_viewportExt.height()) / m_windowExt.height();
        if (m_nMapMode == MM_ISOTROPIC) {
            // One unit is as long in x as in y: the smaller scale wins, the signs stay.
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    QTransform t;
    t.translate(m_viewportOrg.x(), m_viewportOrg.y());
    t.scale(sx, sy);
    m_painter.setTransform(t * m_base);
}

int QtDrawContext::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_nDpi;
    case HORZRES:
        return m_size.width();
    case VERTRES:
        return m_size.height();
    default:
        return 0;
    }
}
