#pragma once

#include <QFont>
#include <QRect>
#include <QString>

struct DialogTemplate;

// Dialog units to pixels, as the windowing platform maps a dialog template:
// the base units are the average width of the letters A-Z a-z and the
// character height of the template's font, and
//   x_px = x_du * baseX / 4,  y_px = y_du * baseY / 8   (rounded to nearest).
// "MS Sans Serif" falls back to a sans font metric-compatible with the
// platform's own sans fonts (Liberation Sans), which gives the platform's
// 6 x 13 base units at 8 points and 96 dots per inch.
class DialogUnits {
public:
    // points: font size; dpi: vertical resolution the size is converted with.
    DialogUnits(const QString& face, int points, int dpi);
    explicit DialogUnits(const DialogTemplate& t);

    // The font the controls are drawn with (pixel size = points * dpi / 72).
    const QFont& GetFont() const { return m_font; }
    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    int ToPixelsX(int du) const;
    int ToPixelsY(int du) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;

    // The installed family used for face: face itself when installed,
    // else the metric-compatible fallback.
    static QString ResolveFamily(const QString& face);
    // The platform's MulDiv: a * b / c rounded to nearest, halves away from zero.
    static int MulDiv(int a, int b, int c);
    // Vertical resolution of the primary screen (96 when there is none).
    static int ScreenDpi();

private:
    QFont m_font;
    int m_nBaseX = 6;
    int m_nBaseY = 13;
};
