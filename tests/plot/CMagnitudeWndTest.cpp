#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plot/CMagnitudeWnd.h"
#include "PlotTestSupport.h"

using Call = RecordingDC::Call;

namespace {

class MagnitudeWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPlotAxes();
        wnd.OnCreate();
        Decibels();
    }
    void TearDown() override { ResetPlotAxes(); }

    // The record as the design code leaves it for a lowpass at 8000 Hz.
    static void Decibels()
    {
        MagnitudeAxes.yLog = 1;
        MagnitudeAxes.yMin = -100.0;
        MagnitudeAxes.yMax = 0.0;
        MagnitudeAxes.nxMax = 4000;
    }

    CMagnitudeWnd wnd;
};

}  // namespace

TEST_F(MagnitudeWndTest, UnloadedPlotPaintsOnlyWhite)
{
    const RecordingDC dc = Paint(wnd);
    ASSERT_EQ(dc.Calls().size(), 1u);
    EXPECT_EQ(dc.Calls()[0].kind, Call::Fill);
    EXPECT_EQ(wnd.m_dPlotGain, 0.0);
}

TEST_F(MagnitudeWndTest, DecibelAxesTakeTheRangeFromTheRecord)
{
    wnd.m_dPlotGain = 1.0;
    Load(wnd, &MagnitudeAxes, std::vector<double>(513, 1.0));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(MagnitudeAxes.nxMax, 4000);
    const std::vector<TextAt> expected = {
        {" 1000", {118, 281, 218, 298}, DT_CENTER},
        {" 2000", {246, 281, 346, 298}, DT_CENTER},
        {" 3000", {374, 281, 474, 298}, DT_CENTER},
        {" 4000", {502, 281, 602, 298}, DT_CENTER},
        {"-100.00", {-65, 268, 35, 284}, DT_RIGHT},
        {"-80.00", {-65, 217, 35, 233}, DT_RIGHT},
        {"-60.00", {-65, 166, 35, 182}, DT_RIGHT},
        {"-40.00", {-65, 115, 35, 131}, DT_RIGHT},
        {"-20.00", {-65, 64, 35, 80}, DT_RIGHT},
        {"0.00", {-65, 12, 35, 28}, DT_RIGHT},
        {"Gain = 1.000", {448, 20, 548, 37}, DT_RIGHT},
    };
    EXPECT_EQ(TextsOf(dc), expected);
    // The x axis on the bottom edge, the y axis on the left.
    const auto axes = PointsOf(dc.PathOf({PS_SOLID, 1, RGB(0, 0, 0)}));
    EXPECT_EQ(axes[0], (Point{30, 276}));
    EXPECT_EQ(axes[5], (Point{40, 286}));
    EXPECT_EQ(dc.CurrentPen(), RecordingDC::kStockPen);
    EXPECT_EQ(dc.CurrentFont(), RecordingDC::kStockFont);
    EXPECT_EQ(dc.FindText("Gain = 1.000")->font, wnd.m_font);
}

TEST_F(MagnitudeWndTest, DecibelOffsets)
{
    std::vector<double> values(513, 1.0);
    const double levels[] = {1.0, 0.1, 0.01, 1e-5, 0.0, 10.0, -1.0, std::nan(""), INFINITY};
    for (size_t i = 0; i < std::size(levels); ++i)
        values[i] = levels[i];
    Load(wnd, &MagnitudeAxes, values);
    const auto curve = PointsOf(Curve(Paint(wnd)));
    // 256, 205, 153, 0, 0 and 274 pixels above the axis; what has no level lies on it.
    const std::vector<Point> expected = {{40, 20},  {41, 71},  {42, 123}, {43, 276}, {44, 276},
                                         {45, 2},   {46, 276}, {47, 276}, {48, 276}};
    EXPECT_EQ(std::vector<Point>(curve.begin(), curve.begin() + 9), expected);
}

TEST_F(MagnitudeWndTest, LinearDifferentiatorScale)
{
    MagnitudeAxes.yLog = 0;
    MagnitudeAxes.yMin = 0.0;
    MagnitudeAxes.yMax = 3.141592653589793;
    std::vector<double> values(513, 0.0);
    values[0] = 3.141592653589793;
    values[1] = 1.0;
    values[2] = 10.0;
    Load(wnd, &MagnitudeAxes, values);
    const RecordingDC dc = Paint(wnd);
    const auto curve = PointsOf(Curve(dc));
    EXPECT_EQ(curve[0], (Point{40, 20}));   // offset 256
    EXPECT_EQ(curve[1], (Point{41, 195}));  // offset 81
    EXPECT_EQ(curve[2], (Point{42, 2}));    // limited to 274
    std::vector<std::string> y;
    for (const TextAt& t : TextsOf(dc))
        if (t.format == DT_RIGHT)
            y.push_back(t.text);
    EXPECT_EQ(y, (std::vector<std::string>{"0.00", "0.63", "1.26", "1.88", "2.51", "3.14", "Gain = 0.000"}));
}

TEST_F(MagnitudeWndTest, PointsAreSpacedByTheirCount)
{
    struct Case {
        int n;
        size_t points;
        int dx;
        int lastX;
    };
    for (const Case& c : {Case{65, 65, 8, 552}, Case{101, 101, 5, 540}, Case{513, 513, 1, 552},
                          Case{2000, 500, 1, 539}}) {
        std::vector<double> values(static_cast<size_t>(c.n));
        for (int i = 0; i < c.n; ++i)
            values[static_cast<size_t>(i)] = i % 4 == 0 ? 1.0 : 1e-5;
        Load(wnd, &MagnitudeAxes, values);
        const RecordingDC dc = Paint(wnd);
        const auto curve = PointsOf(Curve(dc));
        ASSERT_EQ(curve.size(), c.points) << c.n;
        EXPECT_EQ(curve[1].x - curve[0].x, c.dx) << c.n;
        EXPECT_EQ(curve.back().x, c.lastX) << c.n;
        // The labels still run to fs / 2.
        EXPECT_NE(dc.FindText(" 4000"), nullptr);
        if (c.n == 2000) {
            // Indices 0, 4, ..., 1996: every one a multiple of 4.
            for (const Point& p : curve)
                EXPECT_EQ(p.y, 20);
        }
    }
}

TEST_F(MagnitudeWndTest, GainTextShowsTheAppliedScale)
{
    wnd.m_dPlotGain = 0.5;
    Load(wnd, &MagnitudeAxes, std::vector<double>(513, 1.0));
    const RecordingDC dc = Paint(wnd);
    ASSERT_NE(dc.FindText("Gain = 0.500"), nullptr);
    EXPECT_EQ(dc.FindText("Gain = 0.500")->rect, (Rect{448, 20, 548, 37}));
    EXPECT_EQ(dc.FindText("Gain = 0.500")->format, static_cast<unsigned>(DT_RIGHT));
}

TEST_F(MagnitudeWndTest, MidHeightAxisLimitsBothWays)
{
    MagnitudeAxes.xAxisAtBottom = 0;
    MagnitudeAxes.yLog = 0;
    MagnitudeAxes.yMin = 0.0;
    MagnitudeAxes.yMax = 1.0;
    Load(wnd, &MagnitudeAxes, {5.0, -5.0, 0.5});
    const auto curve = PointsOf(Curve(Paint(wnd)));
    EXPECT_EQ(curve, (std::vector<Point>{{40, 2}, {296, 294}, {552, 84}}));
}

TEST_F(MagnitudeWndTest, HighSamplingRatesLabelWithoutOverflow)
{
    MagnitudeAxes.nxMax = 1073741823;  // fs = 2147483647
    Load(wnd, &MagnitudeAxes, std::vector<double>(513, 1.0));
    RecordingDC dc = Paint(wnd);
    const std::vector<std::string> texts = dc.Texts();
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
              (std::vector<std::string>{"268435455", "536870911", "805306367", "1073741823"}));
    wnd.OnLButtonDown({296, 100});
    EXPECT_EQ(Paint(wnd).Texts().back(), "536870911");
}

TEST_F(MagnitudeWndTest, AwkwardRecordsDrawWhatTheyCan)
{
    // A decibel scale without a floor has no y positions: gain text only.
    MagnitudeAxes.yMin = 0.0;
    wnd.m_dPlotGain = 2.0;
    Load(wnd, &MagnitudeAxes, std::vector<double>(513, 1.0));
    RecordingDC dc = Paint(wnd);
    EXPECT_EQ(Curve(dc).size(), 0u);
    EXPECT_NE(dc.FindText("Gain = 2.000"), nullptr);

    // An empty linear range: the same.
    MagnitudeAxes.yLog = 0;
    MagnitudeAxes.yMin = MagnitudeAxes.yMax = 1.0;
    EXPECT_EQ(Curve(Paint(wnd)).size(), 0u);

    // One value: a single move, no spacing to divide by.
    Decibels();
    Load(wnd, &MagnitudeAxes, {1.0});
    dc = Paint(wnd);
    ASSERT_EQ(Curve(dc).size(), 1u);
    EXPECT_EQ(Curve(dc)[0].kind, Call::MoveTo);
    EXPECT_EQ(Curve(dc)[0].pt, (Point{40, 20}));

    // An empty series draws no curve and no gain text.
    Load(wnd, &MagnitudeAxes, {});
    EXPECT_EQ(Paint(wnd).FindText("Gain = 2.000"), nullptr);

    // A sampling rate of 0: every label is 0, and the cursor reads 0.
    MagnitudeAxes.nxMax = 0;
    Load(wnd, &MagnitudeAxes, std::vector<double>(513, 1.0));
    dc = Paint(wnd);
    EXPECT_EQ(dc.Texts()[0], "    0");
    wnd.OnLButtonDown({296, 100});
    EXPECT_EQ(Paint(wnd).Texts().back(), "    0");

    // A real x axis keeps its range and rounds it into nxMax.
    PlotAxes real = MagnitudeAxes;
    real.xKind = 0;
    real.xMax = 99.6;
    wnd.m_bTracking = 0;
    Load(wnd, &real, std::vector<double>(513, 1.0));
    dc = Paint(wnd);
    EXPECT_EQ(real.xMax, 99.6);
    EXPECT_EQ(real.nxMax, 100);
    EXPECT_EQ(dc.Texts()[0], " 24.9");
}
