#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include "app/CommandIds.h"

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 15;

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kDarkYellow(128, 128, 0);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);

void Page(QPainter& p, int x, int y, int w, int h)
{
    // A sheet with a folded top right corner.
    QPolygon sheet({QPoint(x, y), QPoint(x + w - 4, y), QPoint(x + w, y + 4), QPoint(x + w, y + h), QPoint(x, y + h)});
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawPolygon(sheet);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void Lines(QPainter& p, int x, int y, int w, int count)
{
    p.setPen(kGrey);
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
}

void DrawNew(QPainter& p)
{
    Page(p, 3, 1, 9, 12);
}

void DrawOpen(QPainter& p)
{
    p.setPen(kBlack);
    p.setBrush(kDarkYellow);
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(11, 4), QPoint(11, 12), QPoint(1, 12)}));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 12), QPoint(1, 12)}));
    p.drawLine(10, 1, 13, 1);
    p.drawLine(13, 1, 14, 3);
}

void DrawSave(QPainter& p)
{
    p.setPen(kBlack);
    p.setBrush(kTeal);
    p.drawRect(1, 1, 13, 13);
    p.setBrush(kWhite);
    p.drawRect(3, 1, 9, 6);
    p.setBrush(kGrey);
    p.drawRect(4, 10, 7, 4);
    p.fillRect(8, 11, 2, 2, kNavy);
}

void DrawCut(QPainter& p)
{
    p.setPen(kBlack);
    p.drawLine(5, 1, 9, 9);
    p.drawLine(10, 1, 6, 9);
    p.setPen(kNavy);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void DrawCopy(QPainter& p)
{
    Page(p, 1, 1, 8, 9);
    Lines(p, 3, 4, 4, 3);
    Page(p, 6, 5, 8, 9);
    Lines(p, 8, 8, 4, 3);
}

void DrawPaste(QPainter& p)
{
    p.setPen(kBlack);
    p.setBrush(kDarkYellow);
    p.drawRect(1, 2, 10, 12);
    p.setBrush(kGrey);
    p.drawRect(4, 1, 4, 2);
    Page(p, 7, 6, 7, 8);
}

void DrawPrint(QPainter& p)
{
    p.setPen(kBlack);
    Page(p, 4, 1, 8, 5);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(kWhite);
    p.drawRect(4, 10, 8, 4);
    p.fillRect(12, 8, 2, 1, QColor(0, 255, 0));
}

void DrawQuestion(QPainter& p, int x, int y)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kNavy);
    p.drawText(QRect(x, y, 8, 13), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawAbout(QPainter& p)
{
    p.setPen(kNavy);
    p.setBrush(kYellow);
    p.drawEllipse(2, 1, 12, 12);
    DrawQuestion(p, 4, 1);
}

void DrawContextHelp(QPainter& p)
{
    // The mouse pointer with a question mark beside it.
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(1, 12), QPoint(4, 9), QPoint(6, 13), QPoint(8, 12), QPoint(6, 8),
                            QPoint(9, 8)}));
    DrawQuestion(p, 8, 1);
}

}  // namespace

QIcon ToolbarIcon(int commandId)
{
    void (*draw)(QPainter&) = nullptr;
    switch (commandId) {
    case ID_FILE_NEW: draw = DrawNew; break;
    case ID_FILE_OPEN: draw = DrawOpen; break;
    case ID_FILE_SAVE: draw = DrawSave; break;
    case ID_EDIT_CUT: draw = DrawCut; break;
    case ID_EDIT_COPY: draw = DrawCopy; break;
    case ID_EDIT_PASTE: draw = DrawPaste; break;
    case ID_FILE_PRINT: draw = DrawPrint; break;
    case ID_APP_ABOUT: draw = DrawAbout; break;
    case ID_CONTEXT_HELP: draw = DrawContextHelp; break;
    default: return QIcon();
    }
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

void InitZantroResources()
{
    // The resources live in a static library, whose initialiser the linker may drop.
    static const bool done = [] {
        Q_INIT_RESOURCE(zantro);
        return true;
    }();
    (void)done;
}

QIcon ApplicationIcon()
{
    InitZantroResources();
    QIcon icon;
    for (const char* file : {":/icons/zantro-48.png", ":/icons/zantro-128.png"})
        icon.addFile(QLatin1String(file));
    return icon;
}
