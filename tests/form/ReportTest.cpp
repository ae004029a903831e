#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/CMethodDlg.h"
#include "form/MoreMethodsCommand.h"
#include "platform/CPrintInfo.h"
#include "RecordingDC.h"
#include "plot/ReportText.h"

using Call = RecordingDC::Call;

namespace {

// Replays the recorded mapping calls the way the platform maps an isotropic
// page: one scale for both axes, the smaller of the two extent ratios.
struct Placed {
    Call call;
    double x = 0, y = 0;   // device position of the call's point or rectangle top left
    double scale = 1.0;    // device units per logical unit
    Point origin;          // viewport origin in force
};

std::vector<Placed> Place(const RecordingDC& dc)
{
    std::vector<Placed> placed;
    int mode = MM_TEXT;
    Point wext{1, 1}, vext{1, 1}, org;
    for (const Call& c : dc.Calls()) {
        switch (c.kind) {
        case Call::MapMode: mode = c.mode; break;
        case Call::WindowExt: wext = c.pt; break;
        case Call::ViewportExt: vext = c.pt; break;
        case Call::ViewportOrg: org = c.pt; break;
        default: break;
        }
        double s = 1.0;
        if (mode == MM_ISOTROPIC)
            s = std::min(static_cast<double>(vext.x) / wext.x, static_cast<double>(vext.y) / wext.y);
        const bool isText = c.kind == Call::Text;
        const int lx = isText ? c.rect.left : c.pt.x;
        const int ly = isText ? c.rect.top : c.pt.y;
        placed.push_back({c, org.x + s * lx, org.y + s * ly, s, org});
    }
    return placed;
}

const Placed* FindPlacedText(const std::vector<Placed>& placed, const std::string& text)
{
    for (const Placed& p : placed)
        if (p.call.kind == Call::Text && p.call.text == text)
            return &p;
    return nullptr;
}

constexpr int kW = 4800;
constexpr int kH = 6600;

CPrintInfo Page(int number)
{
    CPrintInfo info;
    info.m_nCurPage = number;
    info.m_rectDraw = {0, 0, kW, kH};
    return info;
}

struct ReportFixture : ViewFixture {
    RecordingDC dc{96, kW, kH};

    void PrintPage(int number)
    {
        dc.Clear();
        view.OnPrint(dc, Page(number));
    }

    // (label, value) of a row of the parameter list, read from the drawn
    // texts at their logical rectangles; empty strings where nothing stands.
    std::pair<std::string, std::string> Row(int row, bool rightColumn) const
    {
        const int labelLeft = rightColumn ? 640 : 0;
        const int valueLeft = rightColumn ? 896 : 256;
        const int right = rightColumn ? 1024 : 512;
        std::pair<std::string, std::string> texts;
        for (const Call& c : dc.Of(Call::Text)) {
            if (c.font.face != kReportFontFace || c.rect.top != 32 * row || c.rect.bottom != 32 * row + 32 ||
                c.rect.right != right)
                continue;
            if (c.rect.left == labelLeft)
                texts.first = c.text;
            else if (c.rect.left == valueLeft)
                texts.second = c.text;
        }
        return texts;
    }

    // Drawing calls (lines and texts) issued while plot k's viewport origin was in force.
    std::vector<Call> PlotCalls(int k) const
    {
        std::vector<Call> calls;
        int origins = 0;
        for (const Call& c : dc.Calls()) {
            if (c.kind == Call::ViewportOrg)
                ++origins;
            // Origin 1 is the parameter list's; origins 2..5 are the plots'.
            if (origins == k + 2 && c.kind != Call::ViewportOrg)
                calls.push_back(c);
        }
        return calls;
    }
};

using Cells = std::pair<std::string, std::string>;

}  // namespace

TEST(ReportText, FontAtScreenResolutions)
{
    EXPECT_EQ(ReportFont(96), (Font{"Courier New", 21, 400}));
    EXPECT_EQ(ReportFont(120).height, 27);  // 26.67 rounds up
    EXPECT_EQ(ReportFont(72).height, 16);
    EXPECT_EQ(ReportFont(0).height, 21);
}

TEST(ReportText, BandAndGridLines)
{
    EXPECT_EQ(FormatBandLine(3, {0, 1000, 2000, 0.5, 1.0}),
              "  3     0      1000        2000          0.500     1.000");
    EXPECT_EQ(FormatBandLine(1, {1, 0, 50, 1.0, 10.0}),
              "  1     1         0          50          1.000     10.000");
    EXPECT_EQ(FormatGridLine(16), "Grid Size:  16");
    EXPECT_EQ(FormatGridLine(8), "Grid Size:   8");
    // A corrupted document must not overrun anything: the line just gets long.
    const std::string wide = FormatBandLine(8, {1, 0, 0, 1e300, -1e300});
    EXPECT_GT(wide.size(), 600u);
    EXPECT_EQ(wide.substr(0, 9), "  8     1");
    EXPECT_EQ(FormatTrimmed("%4d", 129), "129");
    EXPECT_EQ(FormatTrimmed("%6d", 8000), "8000");
    EXPECT_EQ(FormatTrimmed("%2.2f", 5.0), "5.00");
    EXPECT_EQ(FormatTrimmed("%6d", -12), "-12");
}

TEST(Report, PageCountByDesignMethod)
{
    ReportFixture f;
    CPrintInfo info;
    const int expected[] = {1, 1, 2, 1};
    for (int method = 0; method < 4; ++method) {
        f.view.m_nDesignMethod = method;
        info.SetMaxPage(99);
        EXPECT_TRUE(f.view.OnPreparePrinting(info));
        EXPECT_EQ(info.GetMinPage(), 1);
        EXPECT_EQ(info.GetMaxPage(), expected[method]) << "method " << method;
    }
}

TEST(Report, PageOneMappingSequence)
{
    ReportFixture f;
    f.PrintPage(1);
    std::vector<Call> mapping;
    for (const Call& c : f.dc.Calls())
        if (c.kind == Call::MapMode || c.kind == Call::WindowExt || c.kind == Call::ViewportExt ||
            c.kind == Call::ViewportOrg)
            mapping.push_back(c);
    ASSERT_EQ(mapping.size(), 10u);
    EXPECT_EQ(f.dc.Calls().front().kind, Call::MapMode);
    EXPECT_EQ(mapping[0].mode, MM_ISOTROPIC);
    EXPECT_EQ(mapping[1].pt, (Point{1024, 256}));
    EXPECT_EQ(mapping[2].pt, (Point{3600, 4950}));
    EXPECT_EQ(mapping[3].pt, (Point{600, 412}));
    EXPECT_EQ(mapping[4].kind, Call::WindowExt);
    EXPECT_EQ(mapping[4].pt, (Point{572, 316}));
    EXPECT_EQ(mapping[5].kind, Call::ViewportExt);
    EXPECT_EQ(mapping[5].pt, (Point{2400, 3300}));
    const int ys[] = {1237, 2557, 3877, 5197};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(mapping[6 + k].kind, Call::ViewportOrg);
        EXPECT_EQ(mapping[6 + k].pt, (Point{1200, ys[k]}));
    }
    // The report font is selected for the list and the previous one restored.
    const std::vector<Call> fonts = f.dc.Of(Call::SelectFont);
    ASSERT_GE(fonts.size(), 2u);
    EXPECT_EQ(fonts[0].font, ReportFont(96));
    EXPECT_EQ(fonts[1].font, RecordingDC::kStockFont);
    EXPECT_EQ(f.dc.CurrentFont(), RecordingDC::kStockFont);
}

TEST(Report, PortraitPageGeometry)
{
    ReportFixture f;
    f.PrintPage(1);
    const std::vector<Placed> placed = Place(f.dc);

    const Placed* first = FindPlacedText(placed, "Filter Type");
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->x, 600.0);
    EXPECT_DOUBLE_EQ(first->y, 412.0);
    EXPECT_DOUBLE_EQ(first->scale, 3.515625);
    const Placed* taps = FindPlacedText(placed, "# of Taps");
    ASSERT_NE(taps, nullptr);
    EXPECT_DOUBLE_EQ(taps->y - first->y, 112.5);
    const Placed* rate = FindPlacedText(placed, "Sampling Rate");
    ASSERT_NE(rate, nullptr);
    EXPECT_DOUBLE_EQ(rate->x, 600.0 + 640 * 3.515625);

    // Every plot block: 572 x 316 logical units on 2400 x 1326 device units.
    std::vector<const Placed*> origins;
    for (const Placed& p : placed)
        if (p.call.kind == Call::ViewportOrg)
            origins.push_back(&p);
    ASSERT_EQ(origins.size(), 5u);
    const int ys[] = {1237, 2557, 3877, 5197};
    for (int k = 0; k < 4; ++k) {
        const Placed& o = *origins[k + 1];
        EXPECT_EQ(o.origin, (Point{1200, ys[k]}));
        EXPECT_DOUBLE_EQ(o.scale * 572, 2400.0);
        EXPECT_EQ(std::lround(o.scale * 316), 1326);
    }
}

TEST(Report, DefaultParameterRows)
{
    ReportFixture f;  // a new document: 63 taps, Hamming lowpass by windowed sinc
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "Lowpass"}));
    EXPECT_EQ(f.Row(1, false), (Cells{"# of Taps", "63"}));
    EXPECT_EQ(f.Row(2, false), (Cells{"Design Method", "Sync + Window"}));
    EXPECT_EQ(f.Row(3, false), (Cells{"Window Type", "Hamming"}));
    EXPECT_EQ(f.Row(4, false), (Cells{"IR Scaling", "Natural"}));
    EXPECT_EQ(f.Row(5, false), (Cells{}));
    EXPECT_EQ(f.Row(0, true), (Cells{"Sampling Rate", "8000"}));
    EXPECT_EQ(f.Row(1, true), (Cells{"First Corner", "1000"}));
    EXPECT_EQ(f.Row(2, true), (Cells{"Second Corner", "3000"}));
    EXPECT_EQ(f.Row(3, true), (Cells{"sin(x)/x Comp", "NO"}));
    EXPECT_EQ(f.Row(4, true), (Cells{"IR Scale", "1.00"}));

    // Left column first, then the right, each label before its value, all
    // left-aligned at the top of their rows.
    const std::vector<std::string> texts = f.dc.Texts();
    ASSERT_GE(texts.size(), 20u);
    EXPECT_THAT(std::vector<std::string>(texts.begin(), texts.begin() + 20),
                testing::ElementsAre("Filter Type", "Lowpass", "# of Taps", "63", "Design Method",
                                     "Sync + Window", "Window Type", "Hamming", "IR Scaling", "Natural",
                                     "Sampling Rate", "8000", "First Corner", "1000", "Second Corner",
                                     "3000", "sin(x)/x Comp", "NO", "IR Scale", "1.00"));
    for (const Call& c : f.dc.Of(Call::Text)) {
        if (c.font.face == kReportFontFace) {
            EXPECT_EQ(c.format, 0u) << c.text;
        }
    }
}

TEST(Report, TrimmedValuesStandAtTheirColumns)
{
    ReportFixture f;
    f.Type(IDC_TAPS, "129");
    f.Type(IDC_IR_SCALE, "+0.50");
    f.host.Click(f.view, IDC_SINX_COMP);
    f.Design();
    f.PrintPage(1);
    const Call* taps = f.dc.FindText("129");
    ASSERT_NE(taps, nullptr);
    EXPECT_EQ(taps->rect, (Rect{256, 32, 512, 64}));
    const Call* rate = f.dc.FindText("8000");
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->rect, (Rect{896, 0, 1024, 32}));
    EXPECT_EQ(f.Row(3, true), (Cells{"sin(x)/x Comp", "YES"}));

    // The form's fields, not the controls: the scale text exactly as held,
    // blanks and sign included, and edits since the last Design do not show.
    f.view.m_strIRScale = " +0.5 ";
    f.Type(IDC_TAPS, "77");
    f.Type(IDC_SAMPLING_RATE, "44100");
    f.PrintPage(1);
    EXPECT_EQ(f.Row(4, true), (Cells{"IR Scale", " +0.5 "}));
    EXPECT_EQ(f.Row(1, false), (Cells{"# of Taps", "129"}));
    EXPECT_EQ(f.Row(0, true), (Cells{"Sampling Rate", "8000"}));
}

TEST(Report, RowFiveByFilterAndWindow)
{
    ReportFixture f;
    f.view.m_nFilterType = FT_LOWPASS;
    f.view.m_nWindowType = WT_KAISER;
    f.view.m_dShapeFactor = 5.0;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(5, false), (Cells{"Shape Factor", "5.00"}));
    EXPECT_EQ(f.Row(5, true), (Cells{}));

    f.view.m_nFilterType = FT_GAUSSIAN;
    f.view.m_dVariance = 1.0;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "Gaussian Edge"}));
    EXPECT_EQ(f.Row(5, false), (Cells{"Variance", "1.00"}));

    f.view.m_nFilterType = FT_HIGHPASS;
    f.view.m_nWindowType = WT_CHEBYSHEV;
    f.view.m_nStopbandAtt = 60;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(5, false), (Cells{"Stopband Att", "60"}));

    f.view.m_nFilterType = FT_LOWPASS;
    f.view.m_nWindowType = WT_HAMMING;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(5, false), (Cells{}));
    EXPECT_EQ(f.dc.FindText("Shape Factor"), nullptr);
}

TEST(Report, KaiserDesignThroughTheForm)
{
    ReportFixture f;
    f.Configure(FT_BANDPASS, DM_SINC, WT_KAISER, 129);
    f.Design();  // the Kaiser dialog is accepted with its seeded 5.0
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "Bandpass"}));
    EXPECT_EQ(f.Row(1, false), (Cells{"# of Taps", "129"}));
    EXPECT_EQ(f.Row(3, false), (Cells{"Window Type", "Kaiser"}));
    EXPECT_EQ(f.Row(5, false), (Cells{"Shape Factor", "5.00"}));
}

TEST(Report, CustomFilterTypeForSampledAndRemezDesigns)
{
    ReportFixture f;
    f.view.m_nFilterType = FT_BANDSTOP;
    f.view.m_nDesignMethod = DM_REMEZ;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "custom"}));
    EXPECT_EQ(f.Row(2, false), (Cells{"Design Method", "Remez Exchange"}));

    f.view.m_nDesignMethod = DM_FREQUENCY_SAMPLING;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "custom"}));
    EXPECT_EQ(f.Row(2, false), (Cells{"Design Method", "Frequency Sampling"}));

    f.view.m_nDesignMethod = DM_DIRECT;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", "Bandstop"}));
}

TEST(Report, IndexOutsideAListPrintsAnEmptyValue)
{
    ReportFixture f;
    f.view.m_nFilterType = 42;
    f.view.m_nWindowType = -1;
    f.view.m_nIRScaling = 9;
    f.PrintPage(1);
    EXPECT_EQ(f.Row(0, false), (Cells{"Filter Type", ""}));
    EXPECT_EQ(f.Row(3, false), (Cells{"Window Type", ""}));
    EXPECT_EQ(f.Row(4, false), (Cells{"IR Scaling", ""}));
    EXPECT_EQ(f.Row(5, false), (Cells{}));
}

TEST(Report, UnloadedPlotsLeaveEmptyAreas)
{
    ReportFixture f;
    f.PrintPage(1);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(f.PlotCalls(k).empty()) << "plot " << k;
    EXPECT_TRUE(f.dc.Of(Call::Fill).empty());
    EXPECT_EQ(f.dc.Of(Call::Text).size(), 20u);
}

TEST(Report, PlotsAreDrawnByTheirOwnDrawAll)
{
    ReportFixture f;
    f.Type(IDC_TAPS, "129");
    f.Design();
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    f.PrintPage(1);
    CPlotWnd* plots[] = {&f.view.m_MagnitudeWnd, &f.view.m_PhaseWnd, &f.view.m_ImpulseWnd, &f.view.m_StepWnd};
    for (int k = 0; k < 4; ++k) {
        RecordingDC alone{96, kW, kH};
        plots[k]->DrawAll(alone);
        const std::vector<Call> printed = f.PlotCalls(k);
        ASSERT_EQ(printed.size(), alone.Calls().size()) << "plot " << k;
        ASSERT_FALSE(printed.empty()) << "plot " << k;
        for (size_t i = 0; i < printed.size(); ++i) {
            EXPECT_EQ(printed[i].kind, alone.Calls()[i].kind);
            EXPECT_EQ(printed[i].pt, alone.Calls()[i].pt);
            EXPECT_EQ(printed[i].rect, alone.Calls()[i].rect);
            EXPECT_EQ(printed[i].text, alone.Calls()[i].text);
        }
    }
    // The magnitude plot brings its gain text; no block fills a background.
    EXPECT_NE(f.dc.FindText("Gain = 1.000"), nullptr);
    EXPECT_TRUE(f.dc.Of(Call::Fill).empty());
}

TEST(Report, BandTableOnPageTwo)
{
    ReportFixture f;
    CFilPar& par = f.doc.m_FilPar;
    for (int b = 0; b < kBandCount; ++b)
        par.m_Bands[b] = {1, 100 * b, 100 * b + 50, 1.0, 10.0};
    par.m_Bands[2] = {0, 1000, 2000, 0.5, 1.0};
    par.m_nGridDensity = 32;
    f.view.m_nDesignMethod = DM_REMEZ;
    f.PrintPage(2);

    const std::vector<Call> mapping = [&] {
        std::vector<Call> m;
        for (const Call& c : f.dc.Calls())
            if (c.kind == Call::MapMode || c.kind == Call::WindowExt || c.kind == Call::ViewportExt ||
                c.kind == Call::ViewportOrg)
                m.push_back(c);
        return m;
    }();
    ASSERT_EQ(mapping.size(), 4u);
    EXPECT_EQ(mapping[0].mode, MM_ISOTROPIC);
    EXPECT_EQ(mapping[1].pt, (Point{1024, 256}));
    EXPECT_EQ(mapping[2].pt, (Point{3600, 4950}));
    EXPECT_EQ(mapping[3].pt, (Point{600, 412}));

    const std::vector<Call> texts = f.dc.Of(Call::Text);
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[0].text, kBandTableHeader);
    EXPECT_EQ(texts[0].rect, (Rect{0, 0, 1024, 32}));
    for (int b = 1; b <= 8; ++b) {
        EXPECT_EQ(texts[b].rect, (Rect{0, 32 + 32 * b, 1024, 64 + 32 * b}));
        EXPECT_EQ(texts[b].text, FormatBandLine(b, par.m_Bands[b - 1]));
        EXPECT_EQ(texts[b].font, ReportFont(96));
        EXPECT_EQ(texts[b].format, 0u);
    }
    EXPECT_EQ(texts[3].text, "  3     0      1000        2000          0.500     1.000");
    EXPECT_EQ(texts[9].text, "Grid Size:  32");
    EXPECT_EQ(texts[9].rect, (Rect{0, 384, 1024, 416}));
    EXPECT_EQ(f.dc.CurrentFont(), RecordingDC::kStockFont);

    // Nothing of page 1 is on page 2 and nothing is drawn for a third page.
    EXPECT_EQ(f.dc.FindText("Filter Type"), nullptr);
    f.PrintPage(3);
    EXPECT_TRUE(f.dc.Calls().empty());
}

TEST(Report, FontFollowsTheScreenResolution)
{
    struct LargeFontsHost : ScriptedHost {
        int GetScreenLogPixelsY() const override { return 120; }
    };
    LargeFontsHost host;
    CZantroDoc doc;
    CZantroView view;
    StartForm(host, doc, view);
    RecordingDC dc{96, kW, kH};
    view.OnPrint(dc, Page(1));
    EXPECT_EQ(dc.Of(Call::SelectFont).front().font, (Font{"Courier New", 27, 400}));
    dc.Clear();
    view.OnPrint(dc, Page(2));
    EXPECT_EQ(dc.Of(Call::SelectFont).front().font.height, 27);
}

// A design of Extras > More Methods prints its method, not the list's entry.
TEST(Report, MoreMethodsDesignNamesItsMethod)
{
    ReportFixture f;
    f.host.QueueDialog(CMethodDlg::IDD, {{ScriptedHost::Action::Select, CMethodDlg::IDC_MORE_METHOD, {}, 2}});
    DesignMoreMethods(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    f.PrintPage(1);
    EXPECT_EQ(f.Row(1, false), (Cells{"# of Taps", "65"}));
    EXPECT_EQ(f.Row(2, false), (Cells{"Design Method", "Pulse Shaping"}));
}
