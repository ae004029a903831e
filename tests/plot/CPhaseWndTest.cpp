#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "plot/CPhaseWnd.h"
#include "PlotTestSupport.h"

using Call = RecordingDC::Call;

namespace {


struct Step {
    Call::Kind kind;
    Point pt;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Step& s)
{
    return os << (s.kind == Call::MoveTo ? "move " : "line ") << s.pt;
}

class PhaseWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPlotAxes();
        PhaseAxes.nxMax = 4000;
        wnd.OnCreate();
    }
    void TearDown() override { ResetPlotAxes(); }

    // The curve of a 65-value series (dx = 8) that starts with these values.
    std::vector<RecordingDC::Call> CurveOf(std::vector<double> first)
    {
        first.resize(65, 0.0);
        Load(wnd, &PhaseAxes, first);
        return Curve(Paint(wnd));
    }

    static std::vector<Step> Steps(const std::vector<Call>& calls, size_t count)
    {
        std::vector<Step> steps;
        for (size_t i = 0; i < count && i < calls.size(); ++i)
            steps.push_back({calls[i].kind, calls[i].pt});
        return steps;
    }

    CPhaseWnd wnd;
};

}  // namespace

TEST_F(PhaseWndTest, ConstructionAndUnloadedPlot)
{
    EXPECT_EQ(wnd.m_pAxes, nullptr);
    EXPECT_EQ(wnd.m_nPen, 0);
    const RecordingDC dc = Paint(wnd);
    ASSERT_EQ(dc.Calls().size(), 1u);
    EXPECT_EQ(dc.Calls()[0].kind, Call::Fill);
}

TEST_F(PhaseWndTest, AxesLabelsInRadians)
{
    Load(wnd, &PhaseAxes, std::vector<double>(513, 0.0));
    const RecordingDC dc = Paint(wnd);
    EXPECT_EQ(PhaseAxes.nxMax, 4000);
    const std::vector<TextAt> expected = {
        {" 1000", {118, 153, 218, 170}, DT_CENTER},
        {" 2000", {246, 153, 346, 170}, DT_CENTER},
        {" 3000", {374, 153, 474, 170}, DT_CENTER},
        {" 4000", {502, 153, 602, 170}, DT_CENTER},
        {"-3.14", {-65, 268, 35, 284}, DT_RIGHT},
        {"-1.57", {-65, 204, 35, 220}, DT_RIGHT},
        {"0.00", {-65, 140, 35, 156}, DT_RIGHT},
        {"1.57", {-65, 76, 35, 92}, DT_RIGHT},
        {"3.14", {-65, 12, 35, 28}, DT_RIGHT},
    };
    EXPECT_EQ(TextsOf(dc), expected);
    EXPECT_EQ(dc.CurrentPen(), RecordingDC::kStockPen);
    EXPECT_EQ(dc.CurrentFont(), RecordingDC::kStockFont);
}

TEST_F(PhaseWndTest, WrapFromMinusPiIsAnEdgeDownAndAJumpToTheTop)
{
    EXPECT_EQ(Steps(CurveOf({0.5, -std::numbers::pi, 3.0}), 4),
              (std::vector<Step>{{Call::MoveTo, {40, 128}},
                                 {Call::LineTo, {48, 276}},
                                 {Call::MoveTo, {48, 20}},
                                 {Call::LineTo, {56, 26}}}));
}

TEST_F(PhaseWndTest, PlusPiAfterZeroCountsAsMinusPi)
{
    EXPECT_EQ(Steps(CurveOf({0.0, std::numbers::pi, 0.0}), 4),
              (std::vector<Step>{{Call::MoveTo, {40, 148}},
                                 {Call::LineTo, {48, 276}},
                                 {Call::MoveTo, {48, 20}},
                                 {Call::LineTo, {56, 148}}}));
    // Not after a nonzero value: a plain rise to the top edge.
    EXPECT_EQ(Steps(CurveOf({0.5, std::numbers::pi}), 2),
              (std::vector<Step>{{Call::MoveTo, {40, 128}}, {Call::LineTo, {48, 20}}}));
}

TEST_F(PhaseWndTest, ValuesAreLimitedToPlusMinusPi)
{
    EXPECT_EQ(Steps(CurveOf({4.0, 1.0, -4.0, 0.0}), 5),
              (std::vector<Step>{{Call::MoveTo, {40, 20}},
                                 {Call::LineTo, {48, 148 - 40}},
                                 {Call::LineTo, {56, 276}},
                                 {Call::MoveTo, {56, 20}},
                                 {Call::LineTo, {64, 148}}}));
}

TEST_F(PhaseWndTest, FirstValueOfMinusPiIsOnlyAMove)
{
    const auto calls = CurveOf({-std::numbers::pi, -3.0, 0.5});
    EXPECT_EQ(Steps(calls, 3), (std::vector<Step>{{Call::MoveTo, {40, 276}},
                                                  {Call::LineTo, {48, 148 + 122}},
                                                  {Call::LineTo, {56, 148 - 20}}}));
    EXPECT_EQ(calls.size(), 65u);
}

TEST_F(PhaseWndTest, CurveSelectsOnlyThePen)
{
    Load(wnd, &PhaseAxes, std::vector<double>(513, 0.25));
    RecordingDC first;
    wnd.DrawAll(first);
    RecordingDC dc;
    wnd.DrawCurve(dc);
    EXPECT_EQ(dc.Of(Call::SelectFont).size(), 0u);
    EXPECT_EQ(dc.Of(Call::SelectPen).size(), 2u);
    const auto curve = Curve(dc);
    ASSERT_EQ(curve.size(), 513u);
    EXPECT_EQ(curve.back().pt, (Point{552, 148 - 10}));
    EXPECT_EQ(dc.CurrentPen(), RecordingDC::kStockPen);
}

TEST_F(PhaseWndTest, AwkwardRecordsDrawWhatTheyCan)
{
    PlotAxes odd = PhaseAxes;
    odd.yMax = 0.0;
    Load(wnd, &odd, std::vector<double>(65, 0.5));
    EXPECT_EQ(Curve(Paint(wnd)).size(), 0u);

    Load(wnd, &PhaseAxes, {0.5});
    const auto curve = Curve(Paint(wnd));
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0].kind, Call::MoveTo);

    Load(wnd, &PhaseAxes, {std::nan(""), 0.0});
    EXPECT_EQ(Curve(Paint(wnd))[0].pt, (Point{40, 276}));
}
