#include <gtest/gtest.h>

#include <string>

#include "platform/SvgDC.h"

namespace {

std::string Body(const SvgDC& dc)
{
    const std::string svg = dc.Svg();
    const size_t start = svg.find("\">\n", svg.find("<svg")) + 3;
    const size_t end = svg.rfind("</svg>");
    return svg.substr(start, end - start);
}

const std::string kFont = "font-family=\"Arial, Liberation Sans, Helvetica, sans-serif\" font-size=\"11\"";

}  // namespace

TEST(SvgDC, DocumentHasTheGivenSize)
{
    SvgDC dc(568, 312);
    EXPECT_EQ(dc.Svg(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"568\" height=\"312\" viewBox=\"0 0 568 312\">\n"
              "</svg>\n");
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 568);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 312);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
}

TEST(SvgDC, LinesOfOnePenFormOnePath)
{
    SvgDC dc(100, 100);
    dc.SelectPen({PS_SOLID, 1, RGB(0, 255, 0)});
    dc.MoveToEx(30, 148);
    dc.LineTo(562, 148);
    dc.LineTo(557, 146);
    dc.MoveToEx(40, 286);
    dc.LineTo(40, 10);
    dc.MoveToEx(1, 1);  // a move without a line leaves no trace
    dc.SelectPen({PS_DOT, 1, RGB(128, 128, 128)});
    dc.LineTo(5, 1);
    EXPECT_EQ(Body(dc),
              "<path d=\"M30 148 L562 148 L557 146 M40 286 L40 10\" fill=\"none\" stroke=\"#00ff00\" "
              "stroke-width=\"1\" transform=\"translate(0.5 0.5)\"/>\n"
              "<path d=\"M1 1 L5 1\" fill=\"none\" stroke=\"#808080\" stroke-width=\"1\" "
              "stroke-dasharray=\"3 3\" transform=\"translate(0.5 0.5)\"/>\n");
}

TEST(SvgDC, PenChangeContinuesFromTheCurrentPoint)
{
    SvgDC dc(100, 100);
    dc.SelectPen({PS_SOLID, 2, RGB(255, 0, 0)});
    dc.MoveToEx(0, 0);
    dc.LineTo(10, 0);
    dc.SelectPen({PS_SOLID, 1, RGB(0, 0, 255)});
    dc.LineTo(10, 10);
    const std::string body = Body(dc);
    EXPECT_NE(body.find("d=\"M0 0 L10 0\" fill=\"none\" stroke=\"#ff0000\" stroke-width=\"2\""), std::string::npos);
    EXPECT_NE(body.find("d=\"M10 0 L10 10\" fill=\"none\" stroke=\"#0000ff\""), std::string::npos);
}

TEST(SvgDC, TextsArePlacedAsInTheirRectangles)
{
    SvgDC dc(568, 312);
    dc.SelectFont({"Arial", 11, 400});
    dc.DrawTextA("  32", {118, 153, 218, 170}, DT_CENTER);
    dc.DrawTextA("-1.00", {-65, 268, 35, 284}, DT_RIGHT);
    dc.DrawTextA("a<b & \"c\"", {10, 20, 110, 40}, DT_TOP);
    // Top of the character cell on the rectangle's top: the baseline lies an
    // ascent (1854 / 2048 of 11 units) lower.
    EXPECT_EQ(Body(dc),
              "<text x=\"168\" y=\"162.958\" " + kFont +
                  " text-anchor=\"middle\" fill=\"#000000\" xml:space=\"preserve\">  32</text>\n"
                  "<text x=\"35\" y=\"277.958\" " + kFont +
                  " text-anchor=\"end\" fill=\"#000000\" xml:space=\"preserve\">-1.00</text>\n"
                  "<text x=\"10\" y=\"29.958\" " + kFont +
                  " text-anchor=\"start\" fill=\"#000000\" xml:space=\"preserve\">a&lt;b &amp; &quot;c&quot;</text>\n");
}

TEST(SvgDC, DrawingOrderIsKept)
{
    SvgDC dc(568, 312);
    dc.FillRect({0, 0, 568, 312}, RGB(255, 255, 255));
    dc.MoveToEx(0, 0);
    dc.LineTo(5, 5);
    dc.DrawTextA("x", {0, 0, 10, 10}, DT_CENTER);
    dc.LineTo(9, 9);
    dc.FillRect({3, 3, 3, 9}, RGB(0, 0, 0));  // empty: nothing
    const std::string body = Body(dc);
    EXPECT_EQ(body.find("<rect x=\"0\" y=\"0\" width=\"568\" height=\"312\" fill=\"#ffffff\"/>\n"), 0u);
    const size_t first = body.find("M0 0 L5 5");
    const size_t text = body.find("<text");
    const size_t second = body.find("M5 5 L9 9");
    EXPECT_LT(first, text);
    EXPECT_LT(text, second);
    EXPECT_EQ(body.find("<rect", 1), std::string::npos);
}

TEST(SvgDC, MappingScalesWithEqualUnits)
{
    SvgDC dc(500, 500);
    EXPECT_EQ(dc.SetMapMode(MM_ISOTROPIC), MM_TEXT);
    dc.SetWindowExtEx(1000, 1000);
    dc.SetViewportExtEx(500, 250);
    dc.SetViewportOrgEx(10, 20);
    dc.MoveToEx(0, 0);
    dc.LineTo(100, 0);
    dc.FillRect({0, 0, 4, 4}, RGB(255, 255, 255));
    const std::string body = Body(dc);
    EXPECT_NE(body.find("vector-effect=\"non-scaling-stroke\" transform=\"matrix(0.25 0 0 0.25 10.5 20.5)\""),
              std::string::npos);
    EXPECT_NE(body.find("fill=\"#ffffff\" transform=\"matrix(0.25 0 0 0.25 10 20)\""), std::string::npos);
}
