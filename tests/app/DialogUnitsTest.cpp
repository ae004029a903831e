#include <QFontInfo>
#include <gtest/gtest.h>

#include "app/DialogUnits.h"
#include "form/FormTemplate.h"
#include "platform/DialogTemplate.h"

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(DialogUnits::MulDiv(811, 6, 4), 1217);  // 1216.5
    EXPECT_EQ(DialogUnits::MulDiv(561, 13, 8), 912);  // 911.625
    EXPECT_EQ(DialogUnits::MulDiv(14, 13, 8), 23);    // 22.75
    EXPECT_EQ(DialogUnits::MulDiv(-3, 6, 4), -5);     // -4.5
    EXPECT_EQ(DialogUnits::MulDiv(5, 1, 2), 3);
    EXPECT_EQ(DialogUnits::MulDiv(8, 96, 72), 11);    // 8 points at 96 dpi
    EXPECT_EQ(DialogUnits::MulDiv(1, 1, 0), -1);
}

TEST(DialogUnits, MsSansSerifFallsBackToAMetricCompatibleSansWithThePlatformsBaseUnits)
{
    // fonts-liberation is one of the packages the two commands install.
    const DialogUnits units(QStringLiteral("MS Sans Serif"), 8, 96);
    EXPECT_EQ(QFontInfo(units.GetFont()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(units.GetFont().pixelSize(), 11);
    EXPECT_EQ(units.BaseX(), 6);
    EXPECT_EQ(units.BaseY(), 13);
    // At 120 dpi the font is 13 pixels and the units grow with it.
    const DialogUnits large(QStringLiteral("MS Sans Serif"), 8, 120);
    EXPECT_EQ(large.GetFont().pixelSize(), 13);
    EXPECT_GT(large.BaseY(), units.BaseY());
}

TEST(DialogUnits, ControlsArePlacedByPositionAndSizeInPixels)
{
    const DialogUnits units(QStringLiteral("MS Sans Serif"), 8, 96);
    // The taps edit of the form: 140, 30, 40, 14 dialog units.
    EXPECT_EQ(units.ToPixels(140, 30, 40, 14), QRect(210, 49, 60, 23));
    // The Design button: 740, 10, 50, 14.
    EXPECT_EQ(units.ToPixels(740, 10, 50, 14), QRect(1110, 16, 75, 23));
    // The form is 811 x 561 units: wide and high enough for the plot
    // windows, whose lower right corner is at 1194, 887 pixels.
    EXPECT_EQ(units.ToPixelsX(ZantroFormTemplate().cx), 1217);
    EXPECT_EQ(units.ToPixelsY(ZantroFormTemplate().cy), 912);
    EXPECT_GE(units.ToPixelsX(ZantroFormTemplate().cx), kStepRect[2]);
    EXPECT_GE(units.ToPixelsY(ZantroFormTemplate().cy), kStepRect[3]);
}
