#include <gtest/gtest.h>

#include <string>

#include "ViewFixture.h"
#include "dsp/DesignKinds.h"
#include "form/CRequirementDlg.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CRemezDlg.h"
#include "form/DesignToRequirementCommand.h"

namespace {

using Action = ScriptedHost::Action;
using Rq = CRequirementDlg;

// The dialog's answer for the 8 kHz lowpass 0-1000 Hz 0.1 dB, 1200-4000 Hz 60 dB.
std::vector<Action> Lowpass(int method, int format = 0)
{
    return {{Action::Select, Rq::IDC_SPEC_TYPE, {}, FT_LOWPASS},
            {Action::Type, Rq::IDC_SPEC_RATE, "8000"},
            {Action::Type, Rq::IDC_SPEC_EDGE1, "1000"},
            {Action::Type, Rq::IDC_SPEC_EDGE2, "1200"},
            {Action::Type, Rq::IDC_SPEC_RIPPLE, "0.1"},
            {Action::Type, Rq::IDC_SPEC_ATTENUATION, "60"},
            {Action::Select, Rq::IDC_SPEC_METHOD, {}, method},
            {Action::Select, Rq::IDC_SPEC_FORMAT, {}, format}};
}

}  // namespace

// The dialog turns the transitions into the bands of each filter type.
TEST(DesignToSpecDialog, TransitionsBecomeBands)
{
    CRequirementDlg dlg(nullptr);
    dlg.m_nSamplingRate = 8001;
    const unsigned edges[4] = {500, 700, 2000, 2300};
    std::copy(edges, edges + 4, dlg.m_nEdge);
    dlg.m_strRipple = "0.5";
    dlg.m_strAttenuation = "50";
    struct Expect {
        int type;
        std::vector<std::pair<BandKind, std::pair<double, double>>> bands;
    };
    const BandKind P = BandKind::Pass, S = BandKind::Stop;
    // Whole hertz up to fs/2 as the band dialog takes them: 4000 at 8001 Hz.
    const std::vector<Expect> expected = {
        {FT_LOWPASS, {{P, {0, 500}}, {S, {700, 4000}}}},
        {FT_HIGHPASS, {{S, {0, 500}}, {P, {700, 4000}}}},
        {FT_BANDPASS, {{S, {0, 500}}, {P, {700, 2000}}, {S, {2300, 4000}}}},
        {FT_BANDSTOP, {{P, {0, 500}}, {S, {700, 2000}}, {P, {2300, 4000}}}},
    };
    for (const Expect& e : expected) {
        dlg.m_nFilterType = e.type;
        const SpecRequest r = dlg.Request();
        EXPECT_EQ(RequirementFilterType(r.requirement), e.type);
        ASSERT_EQ(r.requirement.bands.size(), e.bands.size());
        for (size_t i = 0; i < e.bands.size(); ++i) {
            const SpecBand& b = r.requirement.bands[i];
            EXPECT_EQ(b.kind, e.bands[i].first);
            EXPECT_EQ(b.loHz, e.bands[i].second.first);
            EXPECT_EQ(b.hiHz, e.bands[i].second.second);
            EXPECT_EQ(b.limitDb, b.kind == P ? 0.5 : 50.0);
        }
    }
    dlg.m_nMethod = 1;
    dlg.m_nFormat = 2;
    const SpecRequest r = dlg.Request();
    EXPECT_EQ(r.designMethod, DM_REMEZ);
    ASSERT_TRUE(r.quantize.has_value());
    EXPECT_EQ(QuantFormatName(*r.quantize), "Q15");
}

// OK refuses what cannot be designed, with its message, and stays open.
TEST(DesignToSpecDialog, RefusesWhatCannotBeDesigned)
{
    ViewFixture f;
    struct Refusal {
        std::vector<Action> actions;
        const char* message;
    };
    const std::vector<Refusal> refusals = {
        {{{Action::Type, Rq::IDC_SPEC_EDGE2, "900"}}, kMsgSpecTransitions},
        {{{Action::Type, Rq::IDC_SPEC_EDGE2, "5000"}}, kMsgSpecEdges},
        {{{Action::Type, Rq::IDC_SPEC_RIPPLE, "0"}}, kMsgSpecLimits},
        {{{Action::Type, Rq::IDC_SPEC_ATTENUATION, "abc"}}, kMsgSpecLimits},
        {{{Action::Type, Rq::IDC_SPEC_RATE, "0"}}, kMsgSpecRate},
    };
    for (const Refusal& r : refusals) {
        std::vector<Action> actions = Lowpass(0);
        actions.insert(actions.end(), r.actions.begin(), r.actions.end());
        actions.push_back({Action::Ok, 0, {}});
        f.host.QueueDialog(Rq::IDD, actions);
        const int taps = f.view.m_nTaps;
        DesignToSpecification(f.view);
        EXPECT_EQ(f.LastMessage(), r.message);
        EXPECT_EQ(f.view.m_nTaps, taps);
        EXPECT_EQ(f.view.m_bDesignValid, 0);
    }
    EXPECT_EQ(f.host.RefusedDialogs(), static_cast<int>(refusals.size()));
}

// Seeded from the form: its rate, type and transitions of fs/40 at its corners.
TEST(DesignToSpecDialog, SeededFromTheForm)
{
    ViewFixture f;
    f.Configure(FT_BANDSTOP, DM_SINC, WT_HAMMING, 63, 48000, 6000, 9000);
    CRequirementDlg dlg(&f.view);
    SeedSpecDialog(f.view, dlg);
    EXPECT_EQ(dlg.m_nSamplingRate, 48000u);
    EXPECT_EQ(dlg.m_nFilterType, FT_BANDSTOP);
    EXPECT_EQ(dlg.m_nEdge[0], 6000u);
    EXPECT_EQ(dlg.m_nEdge[1], 7200u);
    EXPECT_EQ(dlg.m_nEdge[2], 9000u);
    EXPECT_EQ(dlg.m_nEdge[3], 10200u);
    f.Select(IDC_FILTER_TYPE, FT_HILBERT);
    CRequirementDlg other(&f.view);
    SeedSpecDialog(f.view, other);
    EXPECT_EQ(other.m_nFilterType, FT_LOWPASS);
}

// The command fills the form and runs its Design: the Kaiser dialog opens
// with the beta found (two decimals) and is accepted, the form shows the N
// found, and the message names N, the estimate and the figures. The beta
// is chosen for the N: 5.69 meets at 147 taps, where the formula's 5.65
// needed 149.
TEST(DesignToSpecCommand, KaiserLowpassFillsTheFormAndDesigns)
{
    ViewFixture f;
    f.host.QueueDialog(Rq::IDD, Lowpass(0));
    DesignToSpecification(f.view);
    EXPECT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_EQ(f.view.m_nTaps, 147);
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_TAPS), "147");
    EXPECT_EQ(f.view.m_nDesignMethod, DM_SINC);
    EXPECT_EQ(f.view.m_nWindowType, WT_KAISER);
    EXPECT_EQ(f.view.m_nFirstCorner, 1100);
    EXPECT_EQ(f.view.m_nSamplingRate, 8000);
    EXPECT_DOUBLE_EQ(f.view.m_dShapeFactor, 5.69);
    EXPECT_EQ(f.doc.m_FilPar.m_nTaps, 147);
    // The stop-band peak refined between grid points: 60.169 dB, as a
    // 2^18-point evaluation with refined peaks finds.
    EXPECT_EQ(f.LastMessage(),
              "147 taps meet the requirement (estimate: 147 taps by Kaiser's formula).\n"
              "145 taps do not.\n"
              "Pass band 0 - 1000 Hz: ripple 0.016 dB (at most 0.100 dB)\n"
              "Stop band 1200 - 4000 Hz: attenuation 60.17 dB (at least 60.00 dB)");
}

// Remez: the band table gets the bands with weights from the deviations and
// the grid density; the taps on the form are those verified, also in Q15.
TEST(DesignToSpecCommand, RemezLowpassInQ15FillsTheBandTable)
{
    ViewFixture f;
    f.host.QueueDialog(Rq::IDD, Lowpass(1, 2));
    DesignToSpecification(f.view);
    EXPECT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_EQ(f.view.m_nDesignMethod, DM_REMEZ);
    EXPECT_EQ(f.view.m_nTaps, 118);
    const RemezBand* bands = f.doc.m_FilPar.m_Bands;
    EXPECT_EQ(bands[0].m_bUse, 1);
    EXPECT_EQ(bands[0].m_nLowerEdge, 0);
    EXPECT_EQ(bands[0].m_nUpperEdge, 1000);
    EXPECT_EQ(bands[0].m_dValue, 1.0);
    EXPECT_EQ(bands[0].m_dWeight, 1.0);
    EXPECT_EQ(bands[1].m_nLowerEdge, 1200);
    EXPECT_EQ(bands[1].m_nUpperEdge, 4000);
    EXPECT_EQ(bands[1].m_dValue, 0.0);
    EXPECT_DOUBLE_EQ(bands[1].m_dWeight, 5.76);  // (10^(0.1/20) - 1) / (10^(0.1/20) + 1) / 0.001
    for (int row = 2; row < kBandCount; ++row)
        EXPECT_EQ(bands[row].m_bUse, 0) << row;
    EXPECT_EQ(f.doc.m_FilPar.m_nGridDensity, 16);
    const std::string text = f.LastMessage();
    EXPECT_EQ(text.rfind("118 taps meet the requirement in double precision and in Q15 (estimate: 112 taps by "
                         "Ichige's formula).\n117 taps do not.\nPass band 0 - 1000 Hz: ripple ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find(", Q15 "), std::string::npos);
}

// A parameter dialog changed during the final Design makes the taps differ
// from those verified, and the message says so.
TEST(DesignToSpecCommand, SaysSoWhenTheFormShowsAnotherDesign)
{
    ViewFixture f;
    f.host.QueueDialog(Rq::IDD, Lowpass(0));
    f.host.QueueDialog(CKaiserShapeDlg::IDD, {{Action::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "2"}});
    DesignToSpecification(f.view);
    EXPECT_EQ(f.view.m_nTaps, 147);
    EXPECT_NE(f.LastMessage().find(kMsgSpecFormDiffers), std::string::npos) << f.LastMessage();
}

// No N up to 1025 meets 60 dB in Q7: the form stays as it was and the
// message names the best figures; Cancel does nothing at all.
TEST(DesignToSpecCommand, UnreachableLeavesTheFormAlone)
{
    ViewFixture f;
    f.Design();
    const int taps = f.view.m_nTaps;
    const double first = f.view.m_Coeffs.GetValue(0, 0);
    const size_t messages = f.MessageCount();
    f.host.QueueDialog(Rq::IDD, Lowpass(0, 1));
    DesignToSpecification(f.view);
    EXPECT_EQ(f.MessageCount(), messages + 1);
    const std::string text = f.LastMessage();
    EXPECT_EQ(text.rfind("No design up to 1025 taps meets the requirement in double precision and in Q7", 0), 0u)
        << text;
    EXPECT_NE(text.find("Best reached with "), std::string::npos);
    EXPECT_NE(text.find("Stop band 1200 - 4000 Hz: attenuation "), std::string::npos);
    EXPECT_EQ(f.view.m_nTaps, taps);
    EXPECT_EQ(f.view.m_Coeffs.GetValue(0, 0), first);
    EXPECT_EQ(f.view.m_bDesignValid, 1);

    f.host.QueueDialogCancel(Rq::IDD);
    DesignToSpecification(f.view);
    EXPECT_EQ(f.MessageCount(), messages + 1);
}

// A trial designs on its own off-screen form: the form on screen, its
// document and the program-wide plot axes stay as they were.
TEST(DesignToSpecCommand, TrialsLeaveTheScreenAlone)
{
    ViewFixture f;
    f.Design();
    const double stepMin = StepAxes.yMin;
    const int nxMax = MagnitudeAxes.nxMax;
    SpecFormSetting s;
    s.filterType = FT_LOWPASS;
    s.designMethod = DM_SINC;
    s.windowType = WT_KAISER;
    s.taps = 41;
    s.samplingRate = 48000;
    s.firstCorner = 6000;
    s.secondCorner = 6000;
    s.shapeFactor = 3.0;
    FormSeed seed;
    seed.irScaling = SC_NORMALIZED;
    const TrialDesign t = DesignOffscreen(seed, s);
    ASSERT_EQ(t.status, TrialStatus::Designed);
    EXPECT_EQ(t.taps.size(), 41u);
    EXPECT_NEAR(t.taps[20], 1.0, 1e-12);  // normalized: the centre tap is the peak
    EXPECT_EQ(StepAxes.yMin, stepMin);
    EXPECT_EQ(MagnitudeAxes.nxMax, nxMax);
    EXPECT_EQ(f.view.m_nSamplingRate, 8000);

    // A Remez trial passes its pass-count message; any other message fails
    // it: here normalizing a 1025-tap lowpass of 100 Hz wants a scale above 100.
    s.designMethod = DM_REMEZ;
    s.taps = 1025;
    s.bands = {RemezBand{1, 0, 100, 1.0, 1.0}, RemezBand{1, 101, 24000, 0.0, 100.0}};
    s.gridDensity = 8;
    EXPECT_EQ(DesignOffscreen(seed, s).status, TrialStatus::Failed);
    seed.irScaling = SC_NATURAL;
    const TrialDesign r = DesignOffscreen(seed, s);
    EXPECT_EQ(r.status, TrialStatus::Designed);
    EXPECT_EQ(r.taps.size(), 1025u);
}

// The search reports each N to the host's progress meter; a cancel there
// leaves the form alone, says how many designs were tried and opens the
// dialog again with what was typed, which OK then designs.
TEST(DesignToSpecCommand, ACancelledSearchReturnsToTheDialog)
{
    ViewFixture f;
    f.Design();
    const int taps = f.view.m_nTaps;
    f.host.CancelProgressAfter(3);
    std::vector<Action> answer = Lowpass(1);
    answer.push_back({Action::Type, Rq::IDC_SPEC_ATTENUATION, "65"});
    f.host.QueueDialog(Rq::IDD, answer);
    f.host.QueueDialogOk(Rq::IDD);
    const size_t messages = f.MessageCount();
    const size_t progressBefore = f.host.ProgressTexts().size();
    DesignToSpecification(f.view);
    // Cancelled, then the pass count of the final Remez design, then the outcome.
    ASSERT_EQ(f.MessageCount(), messages + 3);
    const std::string cancelled = f.host.Messages()[messages].text;
    EXPECT_EQ(cancelled.rfind("The search was cancelled after 3 designs tried (estimate: ", 0), 0u) << cancelled;
    EXPECT_NE(cancelled.find("\nBest so far, "), std::string::npos) << cancelled;
    const std::vector<std::string>& progress = f.host.ProgressTexts();
    ASSERT_GT(progress.size(), progressBefore + 3);
    EXPECT_EQ(progress[progressBefore].rfind("0 designs tried, now ", 0), 0u) << progress[progressBefore];
    EXPECT_EQ(progress[progressBefore + 1].rfind("1 design tried, now ", 0), 0u) << progress[progressBefore + 1];
    EXPECT_EQ(progress[progressBefore + 3].rfind("0 designs tried, now ", 0), 0u) << progress[progressBefore + 3];

    // The second search, from the dialog as it reopened, found its design.
    EXPECT_NE(f.LastMessage().find("taps meet the requirement"), std::string::npos) << f.LastMessage();
    EXPECT_NE(f.LastMessage().find("(at least 65.00 dB)"), std::string::npos) << f.LastMessage();
    EXPECT_EQ(f.view.m_nDesignMethod, DM_REMEZ);
    EXPECT_NE(f.view.m_nTaps, taps);
}
