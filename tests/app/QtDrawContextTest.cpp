#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "app/QtDrawContext.h"

namespace {

struct Canvas {
    QImage image{200, 100, QImage::Format_RGB32};
    QPainter painter;
    QtDrawContext* dc = nullptr;

    Canvas()
    {
        image.fill(Qt::white);
        painter.begin(&image);
        dc = new QtDrawContext(painter, 96, image.size());
    }
    ~Canvas() { delete dc; }
    QImage Done()
    {
        painter.end();
        return image;
    }
};

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

}  // namespace

TEST(QtDrawContext, SolidLinesLandOnTheirPixelsInThePensColour)
{
    Canvas c;
    EXPECT_EQ(c.dc->SelectPen({PS_SOLID, 1, RGB(0, 255, 0)}), (Pen{PS_SOLID, 1, RGB(0, 0, 0)}));
    c.dc->MoveToEx(10, 20);
    c.dc->LineTo(60, 20);
    c.dc->LineTo(60, 50);
    const QImage image = c.Done();
    for (int x = 10; x < 60; ++x)
        EXPECT_EQ(At(image, x, 20), QColor(0, 255, 0)) << x;
    for (int y = 21; y < 50; ++y)
        EXPECT_EQ(At(image, 60, y), QColor(0, 255, 0)) << y;
    EXPECT_EQ(At(image, 10, 19), QColor(Qt::white));
    EXPECT_EQ(At(image, 10, 21), QColor(Qt::white));
    EXPECT_EQ(At(image, 9, 20), QColor(Qt::white));
}

TEST(QtDrawContext, DottedPensAlternateThreePixelsOnAndThreeOff)
{
    Canvas c;
    c.dc->SelectPen({PS_DOT, 1, RGB(128, 128, 128)});
    c.dc->MoveToEx(0, 10);
    c.dc->LineTo(60, 10);
    const QImage image = c.Done();
    std::string pattern;
    for (int x = 0; x < 12; ++x)
        pattern += At(image, x, 10) == QColor(128, 128, 128) ? '#' : '.';
    EXPECT_EQ(pattern, "###...###...");
}

TEST(QtDrawContext, FillRectLeavesTheRightAndBottomEdgesOut)
{
    Canvas c;
    c.dc->FillRect({5, 5, 15, 10}, RGB(255, 0, 0));
    c.dc->FillRect({30, 30, 30, 40}, RGB(0, 0, 255));  // empty
    const QImage image = c.Done();
    EXPECT_EQ(At(image, 5, 5), QColor(255, 0, 0));
    EXPECT_EQ(At(image, 14, 9), QColor(255, 0, 0));
    EXPECT_EQ(At(image, 15, 9), QColor(Qt::white));
    EXPECT_EQ(At(image, 14, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 30, 30), QColor(Qt::white));
}

TEST(QtDrawContext, TextIsAlignedToTheTopAndRightOrCentreOfItsRectangle)
{
    Canvas c;
    EXPECT_EQ(c.dc->SelectFont({"Arial", 11, 400}), (Font{"Arial", 11, 400}));
    c.dc->DrawTextA("-1.00", {0, 0, 100, 16}, DT_RIGHT);
    c.dc->DrawTextA("64", {0, 40, 200, 57}, DT_CENTER);
    const QImage image = c.Done();
    auto inkColumns = [&](int top, int bottom, int& first, int& last) {
        first = -1;
        last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = top; y < bottom; ++y)
                if (qGray(image.pixel(x, y)) < 128) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
    };
    int first, last;
    inkColumns(0, 16, first, last);
    EXPECT_GE(last, 95);
    EXPECT_LT(last, 100);
    inkColumns(40, 57, first, last);
    EXPECT_NEAR((first + last) / 2.0, 100.0, 2.0);
    // Nothing of the text lies above its rectangle's top.
    int topInk = -1;
    for (int y = 0; y < 16 && topInk < 0; ++y)
        for (int x = 0; x < 100; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                topInk = y;
                break;
            }
    EXPECT_GE(topInk, 0);
    EXPECT_LE(topInk, 4);
}

TEST(QtDrawContext, IsotropicMappingKeepsOneScaleForBothAxes)
{
    Canvas c;
    EXPECT_EQ(c.dc->SetMapMode(MM_ISOTROPIC), MM_TEXT);
    c.dc->SetWindowExtEx(1000, 1000);
    c.dc->SetViewportExtEx(400, 100);  // the smaller scale, 0.1, wins
    c.dc->SetViewportOrgEx(50, 0);
    c.dc->FillRect({0, 0, 200, 500}, RGB(0, 0, 255));
    EXPECT_EQ(c.dc->GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(c.dc->GetDeviceCaps(HORZRES), 200);
    EXPECT_EQ(c.dc->GetDeviceCaps(VERTRES), 100);
    const QImage image = c.Done();
    EXPECT_EQ(At(image, 50, 0), QColor(0, 0, 255));
    EXPECT_EQ(At(image, 69, 49), QColor(0, 0, 255));
    EXPECT_EQ(At(image, 70, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 60, 50), QColor(Qt::white));
    EXPECT_EQ(At(image, 49, 10), QColor(Qt::white));
}

TEST(QtDrawContext, AnisotropicMappingScalesEachAxisOnItsOwn)
{
    Canvas c;
    c.dc->SetMapMode(MM_ANISOTROPIC);
    c.dc->SetWindowExtEx(100, 100);
    c.dc->SetViewportExtEx(200, 50);
    c.dc->FillRect({0, 0, 50, 50}, RGB(255, 0, 0));
    const QImage image = c.Done();
    EXPECT_EQ(At(image, 99, 24), QColor(255, 0, 0));
    EXPECT_EQ(At(image, 100, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 10, 25), QColor(Qt::white));
}
