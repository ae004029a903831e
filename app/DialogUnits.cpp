#include "app/DialogUnits.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdlib>

#include "platform/DialogTemplate.h"

DialogUnits::DialogUnits(const QString& face, int points, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_font = QFont(ResolveFamily(face));
    m_font.setPixelSize(std::max(1, MulDiv(points, dpi, 72)));
    m_font.setWeight(QFont::Normal);
    m_font.setItalic(false);

    // The platform rounds the ascent and the descent up to whole pixels
    // and averages the 52 letters as (width / 26 + 1) / 2.
    QFontMetricsF fm(m_font);
    const qreal letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = std::max(1, (static_cast<int>(std::lround(letters)) / 26 + 1) / 2);
    m_nBaseY = std::max(1, static_cast<int>(std::ceil(fm.ascent() - 1e-3) + std::ceil(fm.descent() - 1e-3)));
}

DialogUnits::DialogUnits(const DialogTemplate& t)
    : DialogUnits(QString::fromStdString(t.fontFace), t.fontPoints, ScreenDpi())
{
}

int DialogUnits::MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long num = static_cast<long long>(a) * b;
    long long half = std::llabs(c) / 2;
    bool negative = (num < 0) != (c < 0);
    long long q = (std::llabs(num) + half) / std::llabs(c);
    return static_cast<int>(negative ? -q : q);
}

int DialogUnits::ScreenDpi()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return std::max(1, static_cast<int>(std::lround(s->logicalDotsPerInchY())));
    return 96;
}

QString DialogUnits::ResolveFamily(const QString& face)
{
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(face, Qt::CaseInsensitive))
        return face;
    // Arial and MS Sans Serif share their widths closely enough for the
    // platform's dialog layouts; Liberation Sans and Arimo carry Arial's metrics.
    for (const char* fallback : {"Liberation Sans", "Arimo", "Arial", "Helvetica"})
        if (installed.contains(QLatin1String(fallback), Qt::CaseInsensitive))
            return QLatin1String(fallback);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

int DialogUnits::ToPixelsX(int du) const
{
    return MulDiv(du, m_nBaseX, 4);
}

int DialogUnits::ToPixelsY(int du) const
{
    return MulDiv(du, m_nBaseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    // Position and size are each converted, as the dialog manager places controls.
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}
