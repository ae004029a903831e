#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/ScriptedHost.h"
#include "plot/CPlotWnd.h"
#include "PlotTestSupport.h"

using Call = RecordingDC::Call;

namespace {

const Pen kGreen = {PS_SOLID, 1, RGB(0, 255, 0)};
const Pen kBlack = {PS_SOLID, 1, RGB(0, 0, 0)};
const Pen kCursor = {PS_DOT, 1, RGB(128, 128, 128)};

class PlotWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPlotAxes();
        wnd.OnCreate();
    }
    void TearDown() override { ResetPlotAxes(); }

    std::vector<double> Ramp(int n)
    {
        std::vector<double> v(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            v[static_cast<size_t>(i)] = 0.5 * i / n;
        return v;
    }

    CPlotWnd wnd;
};

// Records capture and repaint requests in the order the window makes them.
class EventHost : public ScriptedHost {
public:
    void SetCapture(CWnd&) override { events.push_back("capture"); }
    void ReleaseCapture() override { events.push_back("release"); }
    void RepaintNow(CWnd& wnd) override
    {
        ScriptedHost::RepaintNow(wnd);
        events.push_back("repaint");
    }
    int GetScreenLogPixelsY() const override { return dpi; }
    std::vector<std::string> events;
    int dpi = 96;
};

}  // namespace

TEST_F(PlotWndTest, UnloadedPlotPaintsOnlyWhite)
{
    const RecordingDC dc = Paint(wnd);
    ASSERT_EQ(dc.Calls().size(), 1u);
    EXPECT_EQ(dc.Calls()[0].kind, Call::Fill);
    EXPECT_EQ(dc.Calls()[0].rect, (Rect{0, 0, 568, 312}));
    EXPECT_EQ(dc.Calls()[0].color, RGB(255, 255, 255));
    EXPECT_EQ(wnd.m_rcPlot, (Rect{40, 20, 552, 276}));
}

TEST_F(PlotWndTest, CreationMakesTheFontAtTheScreenResolutionAndTheSixPens)
{
    EXPECT_EQ(wnd.m_font, (Font{"Arial", 11, 400}));
    EXPECT_EQ(wnd.m_penAxes, kBlack);
    EXPECT_EQ(wnd.m_penCursor, kCursor);
    EXPECT_EQ(wnd.m_penCurve[0], (Pen{PS_SOLID, 1, RGB(255, 0, 0)}));
    EXPECT_EQ(wnd.m_penCurve[1], kGreen);
    EXPECT_EQ(wnd.m_penCurve[2], (Pen{PS_SOLID, 1, RGB(0, 0, 255)}));
    EXPECT_EQ(wnd.m_penCurve[3], (Pen{PS_SOLID, 1, RGB(255, 0, 255)}));
    EXPECT_EQ(wnd.m_pAxes, nullptr);
    EXPECT_EQ(wnd.m_values.m_nCount, 0);
    EXPECT_EQ(wnd.m_nPen, 0);
    EXPECT_EQ(wnd.m_bTracking, 0);

    EventHost host;
    for (auto [dpi, height] : {std::pair{96, 11}, {120, 13}, {144, 16}, {72, 8}}) {
        host.dpi = dpi;
        CPlotWnd plot;
        plot.SetHost(&host);
        EXPECT_EQ(plot.Create({25, 220, 597, 536}), 0);
        EXPECT_EQ(plot.m_font.height, height) << dpi << " dpi";
        EXPECT_EQ(plot.GetClientRect(), (Rect{0, 0, 568, 312}));
        EXPECT_EQ(plot.GetWindowRect(), (Rect{25, 220, 597, 536}));
    }
}

TEST_F(PlotWndTest, AxesWithArrowheadsAndTicks)
{
    Load(wnd, &ImpulseAxes, Ramp(129));
    const RecordingDC dc = Paint(wnd);
    const std::vector<Point> axes = PointsOf(dc.PathOf(kBlack));
    const std::vector<Point> expected = {
        {30, 148}, {562, 148}, {557, 146}, {557, 150}, {562, 148},  // x axis and arrowhead
        {40, 286}, {40, 10},   {38, 15},   {42, 15},   {40, 10},    // y axis and arrowhead
        {168, 153}, {168, 143}, {296, 153}, {296, 143}, {424, 153}, {424, 143}, {552, 153}, {552, 143},
        {35, 276}, {45, 276}, {35, 212}, {45, 212}, {35, 148}, {45, 148}, {35, 84}, {45, 84}, {35, 20}, {45, 20},
    };
    EXPECT_EQ(axes, expected);
    const auto kinds = dc.PathOf(kBlack);
    EXPECT_EQ(kinds[0].kind, Call::MoveTo);
    EXPECT_EQ(kinds[4].kind, Call::LineTo);
    EXPECT_EQ(kinds[5].kind, Call::MoveTo);
}

TEST_F(PlotWndTest, ImpulsePlotOf129ValuesEndsOnTheRightEdge)
{
    Load(wnd, &ImpulseAxes, Ramp(129));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(ImpulseAxes.nxMax, 128);
    const std::vector<TextAt> expected = {
        {"  32", {118, 153, 218, 170}, DT_CENTER},
        {"  64", {246, 153, 346, 170}, DT_CENTER},
        {"  96", {374, 153, 474, 170}, DT_CENTER},
        {" 128", {502, 153, 602, 170}, DT_CENTER},
        {"-1.00", {-65, 268, 35, 284}, DT_RIGHT},
        {"-0.50", {-65, 204, 35, 220}, DT_RIGHT},
        {"0.00", {-65, 140, 35, 156}, DT_RIGHT},
        {"0.50", {-65, 76, 35, 92}, DT_RIGHT},
        {"1.00", {-65, 12, 35, 28}, DT_RIGHT},
    };
    EXPECT_EQ(TextsOf(dc), expected);
    const auto curve = Curve(dc);
    ASSERT_EQ(curve.size(), 129u);
    EXPECT_EQ(curve.front().kind, Call::MoveTo);
    EXPECT_EQ(curve.front().pt, (Point{40, 148}));
    EXPECT_EQ(curve[1].kind, Call::LineTo);
    EXPECT_EQ(curve[1].pt.x, 44);
    EXPECT_EQ(curve.back().pt.x, 552);
    EXPECT_EQ(curve.back().pt.y, 148 - static_cast<int>(0.5 * 128 / 129 * 128));
}

TEST_F(PlotWndTest, ImpulsePlotOf130ValuesRoundsTheRangeUp)
{
    Load(wnd, &ImpulseAxes, Ramp(130));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(ImpulseAxes.nxMax, 132);
    const std::vector<std::string> texts = dc.Texts();
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
              (std::vector<std::string>{"  33", "  66", "  99", " 132"}));
    const auto curve = Curve(dc);
    ASSERT_EQ(curve.size(), 130u);
    EXPECT_EQ(curve.back().pt.x, 540);
}

TEST_F(PlotWndTest, LongSeriesIsThinnedTo513Points)
{
    std::vector<double> values(1025);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = i % 2 == 0 ? 0.5 : -0.5;  // only even indices should show
    Load(wnd, &ImpulseAxes, values);
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(ImpulseAxes.nxMax, 1024);
    const auto curve = Curve(dc);
    ASSERT_EQ(curve.size(), 513u);
    for (size_t j = 0; j < curve.size(); ++j) {
        EXPECT_EQ(curve[j].pt, (Point{40 + static_cast<int>(j), 84})) << j;
    }
}

TEST_F(PlotWndTest, ValuesBeyondTheRangeAreClampedJustOutsideTheFrame)
{
    std::vector<double> values(129, 0.0);
    values[0] = 5.0;
    values[1] = -5.0;
    Load(wnd, &ImpulseAxes, values);
    const auto curve = Curve(Paint(wnd));
    EXPECT_EQ(curve[0].pt, (Point{40, 11}));  // 9 pixels above the 1.00 tick at y = 20
    EXPECT_EQ(curve[1].pt, (Point{44, 285}));

    // On a bottom axis the lower limit is yMin, the upper 274 pixels up.
    PlotAxes bottom = ImpulseAxes;
    bottom.xAxisAtBottom = 1;
    bottom.yMin = 0.0;
    Load(wnd, &bottom, values);
    const auto clamped = Curve(Paint(wnd));
    EXPECT_EQ(clamped[0].pt, (Point{40, 2}));
    EXPECT_EQ(clamped[1].pt, (Point{44, 276}));
}

TEST_F(PlotWndTest, StepPlotLabelsNeverShowNegativeZero)
{
    StepAxes.yMin = -1.2;
    StepAxes.yMax = 1.2;
    Load(wnd, &StepAxes, Ramp(63));
    const RecordingDC dc = Paint(wnd);
    std::vector<TextAt> y;
    for (const TextAt& t : TextsOf(dc))
        if (t.format == DT_RIGHT)
            y.push_back(t);
    const std::vector<std::string> labels = {"-1.20", "-1.00", "-0.80", "-0.60", "-0.40", "-0.20", "0.00",
                                             "0.20",  "0.40",  "0.60",  "0.80",  "1.00",  "1.20"};
    const int rows[] = {276, 255, 234, 212, 191, 170, 148, 127, 106, 84, 63, 42, 20};
    ASSERT_EQ(y.size(), labels.size());
    for (size_t k = 0; k < y.size(); ++k) {
        EXPECT_EQ(y[k].text, labels[k]);
        EXPECT_EQ(y[k].rect, (Rect{-65, rows[k] - 8, 35, rows[k] + 8})) << k;
    }
    EXPECT_EQ(StepAxes.nxMax, 64);

    // A gain of 0.5: still 12 divisions, ticks step by 0.1.
    StepAxes.yMin = -0.6;
    StepAxes.yMax = 0.6;
    std::vector<std::string> half;
    for (const TextAt& t : TextsOf(Paint(wnd)))
        if (t.format == DT_RIGHT)
            half.push_back(t.text);
    EXPECT_EQ(half, (std::vector<std::string>{"-0.60", "-0.50", "-0.40", "-0.30", "-0.20", "-0.10", "0.00",
                                              "0.10", "0.20", "0.30", "0.40", "0.50", "0.60"}));
}

TEST_F(PlotWndTest, MidWidthYAxisSkipsTicksOnTheOtherAxis)
{
    PlotAxes centred = ImpulseAxes;
    centred.yAxisAtLeft = 0;
    Load(wnd, &centred, Ramp(129));
    const RecordingDC dc = Paint(wnd);
    const std::vector<Point> axes = PointsOf(dc.PathOf(kBlack));
    EXPECT_EQ(axes[5], (Point{296, 286}));
    std::vector<std::string> texts = dc.Texts();
    // The x tick at 296 sits on the y axis, the y tick at 148 on the x axis.
    EXPECT_EQ(texts, (std::vector<std::string>{"   0", "  32", "  96", " 128", "-1.00", "-0.50", "0.50", "1.00"}));
    EXPECT_EQ(dc.FindText("   0")->rect, (Rect{-10, 153, 90, 170}));
    EXPECT_EQ(dc.FindText("1.00")->rect, (Rect{191, 12, 291, 28}));
}

TEST_F(PlotWndTest, RealXAxisFollowsTheSeries)
{
    PlotAxes real = ImpulseAxes;
    real.xKind = 0;
    Load(wnd, &real, Ramp(129));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(real.xMax, 128.0);
    EXPECT_EQ(real.nxMax, 128);
    const std::vector<std::string> texts = dc.Texts();
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
              (std::vector<std::string>{"32.0", "64.0", "96.0", "128.0"}));
    EXPECT_EQ(dc.FindText("128.0")->rect, (Rect{502, 153, 602, 170}));
    EXPECT_EQ(Curve(dc).back().pt.x, 552);
}

TEST_F(PlotWndTest, RoutinesSelectTheirObjectsAndSelectThePreviousOnesBack)
{
    Load(wnd, &ImpulseAxes, Ramp(129));
    Paint(wnd);
    wnd.OnLButtonDown({296, 84});
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(dc.CurrentPen(), RecordingDC::kStockPen);
    EXPECT_EQ(dc.CurrentFont(), RecordingDC::kStockFont);
    for (const Call& call : dc.Of(Call::Text))
        EXPECT_EQ(call.font, wnd.m_font) << call.text;
    for (const Call& call : dc.Of(Call::LineTo))
        EXPECT_TRUE(call.pen == kBlack || call.pen == kGreen || call.pen == kCursor);
    EXPECT_EQ(dc.PathOf(RecordingDC::kStockPen).size(), 0u);
}

TEST_F(PlotWndTest, CursorShowsCrosshairAndReadouts)
{
    Load(wnd, &ImpulseAxes, Ramp(129));
    Paint(wnd);
    wnd.OnLButtonDown({296, 84});
    RecordingDC dc = Paint(wnd);
    EXPECT_EQ(PointsOf(dc.PathOf(kCursor)),
              (std::vector<Point>{{40, 84}, {552, 84}, {296, 20}, {296, 276}}));
    const std::vector<TextAt> texts = TextsOf(dc);
    ASSERT_GE(texts.size(), 2u);
    // 128 x (2 + 256) div 512 = 64; -1 + 2 x 192 / 256 = 0.5.
    EXPECT_EQ(texts[texts.size() - 2], (TextAt{"0.50", {-65, 76, 35, 92}, DT_RIGHT}));
    EXPECT_EQ(texts.back(), (TextAt{"  64", {246, 281, 346, 298}, DT_CENTER}));

    // The half-unit term rounds: 128 x (2 + 1) div 512 = 0, 128 x (2 + 3) div 512 = 1.
    wnd.OnMouseMove({41, 276 - 1});
    EXPECT_EQ(Paint(wnd).Texts().back(), "   0");
    wnd.OnMouseMove({43, 20});
    dc = Paint(wnd);
    EXPECT_EQ(dc.Texts().back(), "   1");
    EXPECT_EQ(dc.Texts()[dc.Texts().size() - 2], "1.00");

    // A real axis reads out below the x axis.
    PlotAxes real = ImpulseAxes;
    real.xKind = 0;
    real.xFormat = "4.1f";
    wnd.SetSeries(&real, 129, 1);
    wnd.OnMouseMove({104, 148});
    const std::vector<TextAt> realTexts = TextsOf(Paint(wnd));
    EXPECT_EQ(realTexts.back(), (TextAt{"16.0", {54, 153, 154, 170}, DT_CENTER}));
}

TEST_F(PlotWndTest, CursorOfAnUnloadedPlotIsOnlyTheCrosshair)
{
    Paint(wnd);
    wnd.OnLButtonDown({100, 100});
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(dc.Of(Call::Text).size(), 0u);
    EXPECT_EQ(PointsOf(dc.PathOf(kCursor)), (std::vector<Point>{{40, 100}, {552, 100}, {100, 20}, {100, 276}}));
}

TEST_F(PlotWndTest, MouseStateMachine)
{
    EventHost host;
    wnd.SetHost(&host);
    Load(wnd, &ImpulseAxes, Ramp(129));

    // Before the first paint there is no frame to hit.
    wnd.OnLButtonDown({100, 100});
    EXPECT_EQ(wnd.m_bTracking, 0);
    Paint(wnd);

    // Outside the frame (right and bottom edges are outside): no crosshair, and moves do not start one.
    for (Point p : {Point{552, 100}, Point{100, 276}, Point{39, 100}, Point{100, 19}}) {
        host.events.clear();
        wnd.OnLButtonDown(p);
        EXPECT_EQ(wnd.m_bTracking, 0);
        EXPECT_EQ(host.events, (std::vector<std::string>{"repaint"}));
    }
    host.events.clear();
    wnd.OnMouseMove({100, 100});
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(Paint(wnd).PathOf(kCursor).size(), 0u);

    // The top left corner is inside: tracking with capture.
    host.events.clear();
    wnd.OnLButtonDown({40, 20});
    EXPECT_EQ(wnd.m_bTracking, 1);
    EXPECT_EQ(wnd.m_ptCursor, (Point{40, 20}));
    EXPECT_EQ(host.events, (std::vector<std::string>{"capture", "repaint"}));

    host.events.clear();
    wnd.OnMouseMove({200, 150});
    wnd.OnMouseMove({700, 400});  // dragged out of the window
    EXPECT_EQ(wnd.m_ptCursor, (Point{200, 150}));
    EXPECT_EQ(host.events, (std::vector<std::string>{"repaint"}));
    EXPECT_EQ(PointsOf(Paint(wnd).PathOf(kCursor))[0], (Point{40, 150}));

    host.events.clear();
    wnd.OnLButtonUp({700, 400});
    EXPECT_EQ(wnd.m_bTracking, 0);
    EXPECT_EQ(host.events, (std::vector<std::string>{"repaint", "release"}));
    EXPECT_EQ(Paint(wnd).PathOf(kCursor).size(), 0u);
    wnd.OnMouseMove({210, 150});
    EXPECT_EQ(wnd.m_ptCursor, (Point{200, 150}));
}

TEST_F(PlotWndTest, ClientRectangleOffsetMovesTheWholePlot)
{
    // A report draws a plot whose client rectangle it chooses.
    wnd.SetClientRect({100, 50, 668, 362});
    Load(wnd, &ImpulseAxes, Ramp(129));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(dc.Calls()[0].rect, (Rect{100, 50, 668, 362}));
    EXPECT_EQ(wnd.m_rcPlot, (Rect{140, 70, 652, 326}));
    EXPECT_EQ(PointsOf(dc.PathOf(kBlack))[0], (Point{130, 198}));
    EXPECT_EQ(dc.FindText("1.00")->rect, (Rect{35, 62, 135, 78}));
    EXPECT_EQ(Curve(dc).back().pt.x, 652);
}

TEST_F(PlotWndTest, AwkwardSeriesAndRecordsDrawWhatTheyCan)
{
    // A single value: the range is 0, the point sits on the y axis as a move.
    Load(wnd, &ImpulseAxes, {0.5});
    RecordingDC dc = Paint(wnd);
    EXPECT_EQ(ImpulseAxes.nxMax, 0);
    EXPECT_EQ(PointsOf(Curve(dc)), (std::vector<Point>{{40, 84}}));
    EXPECT_EQ(Curve(dc)[0].kind, Call::MoveTo);

    // An empty series with a record: axes and labels only.
    Load(wnd, &ImpulseAxes, {});
    dc = Paint(wnd);
    EXPECT_EQ(Curve(dc).size(), 0u);
    EXPECT_EQ(dc.Texts().size(), 9u);

    // No x divisions: no x ticks, the range is the series' own.
    PlotAxes odd = ImpulseAxes;
    odd.nxDivisions = 0;
    Load(wnd, &odd, Ramp(129));
    dc = Paint(wnd);
    EXPECT_EQ(odd.nxMax, 128);
    EXPECT_EQ(dc.Texts().size(), 5u);
    EXPECT_EQ(Curve(dc).back().pt.x, 552);

    // No y divisions: no y ticks.
    odd = ImpulseAxes;
    odd.yDivisions = 0.0;
    Load(wnd, &odd, Ramp(129));
    EXPECT_EQ(Paint(wnd).Texts().size(), 4u);

    // yMax 0: no y scale, so no curve; the axes are still drawn.
    odd = ImpulseAxes;
    odd.yMax = 0.0;
    Load(wnd, &odd, Ramp(129));
    dc = Paint(wnd);
    EXPECT_EQ(Curve(dc).size(), 0u);
    EXPECT_EQ(dc.PathOf(kBlack).size(), 10u + 8u + 10u);

    // An empty y range labels every tick with the same value instead of looping.
    odd = ImpulseAxes;
    odd.yMin = odd.yMax = 1.0;
    Load(wnd, &odd, Ramp(129));
    EXPECT_EQ(Paint(wnd).Texts(), (std::vector<std::string>{"  32", "  64", "  96", " 128", "1.00", "1.00", "1.00",
                                                              "1.00", "1.00"}));

    // A real axis over a single value.
    odd = ImpulseAxes;
    odd.xKind = 0;
    Load(wnd, &odd, {0.25});
    dc = Paint(wnd);
    EXPECT_EQ(odd.xMax, 0.0);
    EXPECT_EQ(dc.Texts().size(), 4u + 5u);

    // A tracking cursor on a record with an x range of 0.
    Load(wnd, &ImpulseAxes, {0.5});
    Paint(wnd);
    wnd.OnLButtonDown({300, 100});
    EXPECT_EQ(Paint(wnd).Texts().back(), "   0");

    // Normalising an all-zero series keeps it on the axis.
    odd = ImpulseAxes;
    odd.normalize = true;
    Load(wnd, &odd, std::vector<double>(129, 0.0));
    wnd.m_bTracking = 0;
    for (const Call& call : Curve(Paint(wnd)))
        EXPECT_EQ(call.pt.y, 148);

    // Not-a-number values sit on the lower limit.
    Load(wnd, &ImpulseAxes, {std::nan(""), 0.0, 0.0, 0.0, 0.0});
    EXPECT_EQ(Curve(Paint(wnd))[0].pt, (Point{40, 285}));
}

TEST_F(PlotWndTest, NormalisedSeriesIsDividedByItsPeak)
{
    PlotAxes norm = ImpulseAxes;
    norm.normalize = true;
    Load(wnd, &norm, {0.0, -4.0, 2.0, 1.0, 0.0});
    const auto curve = PointsOf(Curve(Paint(wnd)));
    EXPECT_EQ(curve, (std::vector<Point>{{40, 148}, {168, 276}, {296, 84}, {424, 116}, {552, 148}}));
}
