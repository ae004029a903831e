#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewFixture.h"
#include "design/DesignMessages.h"
#include "design/MethodDesign.h"
#include "dsp/DesignKinds.h"
#include "form/CMethodDlg.h"
#include "form/CRemezDlg.h"
#include "form/DesignAnalysis.h"
#include "form/MoreMethodsCommand.h"

namespace {

using Action = ScriptedHost::Action;
using M = CMethodDlg;

struct Refusal {
    const char* name;
    int filterType;
    std::vector<Action> actions;
    const char* message;
};

std::vector<Action> Pulse(const char* rolloff, const char* sps, const char* span, int shape = 1)
{
    return {{Action::Select, M::IDC_MORE_METHOD, {}, 2},
            {Action::Select, M::IDC_MORE_PULSE, {}, shape},
            {Action::Type, M::IDC_MORE_ROLLOFF, rolloff},
            {Action::Type, M::IDC_MORE_SPS, sps},
            {Action::Type, M::IDC_MORE_SPAN, span},
            {Action::Ok, 0, {}}};
}

std::vector<Action> Cic(int method, const char* r, const char* m, const char* n)
{
    return {{Action::Select, M::IDC_MORE_METHOD, {}, method},
            {Action::Select, M::IDC_MORE_SHAPE, {}, 1},
            {Action::Type, M::IDC_MORE_CIC_R, r},
            {Action::Type, M::IDC_MORE_CIC_M, m},
            {Action::Type, M::IDC_MORE_CIC_N, n},
            {Action::Ok, 0, {}}};
}

const Refusal kRefusals[] = {
    {"roll-off above 1", FT_LOWPASS, Pulse("1.5", "8", "8"), kMsgPulseRange},
    {"one sample per symbol", FT_LOWPASS, Pulse("0.35", "1", "8"), kMsgPulseRange},
    {"span x sps odd", FT_LOWPASS, Pulse("0.35", "3", "5"), kMsgPulseRange},
    {"more than 1025 taps", FT_LOWPASS, Pulse("0.35", "64", "32"), kMsgPulseRange},
    {"BT below 0.05", FT_LOWPASS, Pulse("0.01", "4", "4", 2), kMsgPulseRange},
    {"no roll-off", FT_LOWPASS, Pulse("", "8", "8"), kMsgPulseRange},
    {"roll-off not a number", FT_LOWPASS, Pulse("0.3.5", "8", "8"), kMsgPulseRange},
    {"least squares differentiator", FT_DIFFERENTIATOR,
     {{Action::Select, M::IDC_MORE_METHOD, {}, 0}, {Action::Ok, 0, {}}}, kMsgLeastSquaresNotSupported},
    {"minimum phase highpass", FT_HIGHPASS,
     {{Action::Select, M::IDC_MORE_METHOD, {}, 1}, {Action::Click, M::IDC_MORE_MIN_PHASE, {}}, {Action::Ok, 0, {}}},
     kMsgMinimumPhaseNotSupported},
    {"CIC with least squares", FT_LOWPASS, Cic(0, "8", "1", "4"), kMsgShapeNotSupported},
    {"CIC of no decimation", FT_LOWPASS, Cic(1, "0", "1", "4"), kMsgShapeRange},
    {"CIC of 17 stages", FT_LOWPASS, Cic(1, "8", "1", "17"), kMsgShapeRange},
    {"inverse sinc with minimum phase", FT_BANDPASS,
     {{Action::Select, M::IDC_MORE_METHOD, {}, 1},
      {Action::Click, M::IDC_MORE_MIN_PHASE, {}},
      {Action::Select, M::IDC_MORE_SHAPE, {}, 2},
      {Action::Ok, 0, {}}},
     kMsgShapeNotSupported},
};

}  // namespace

// OK refuses what no design can take, with the design's own message; the
// dialog stays open (then cancelled) and the form's design is untouched.
TEST(MoreMethods, DialogRefusesBadInputWithTheDesignsMessages)
{
    for (const Refusal& c : kRefusals) {
        SCOPED_TRACE(c.name);
        ViewFixture f;
        f.Configure(c.filterType, DM_REMEZ, WT_HAMMING, 63, 8000, 1000, 2000);
        f.host.QueueDialog(M::IDD, c.actions);
        DesignMoreMethods(f.view);
        EXPECT_EQ(f.LastMessage(), c.message);
        EXPECT_EQ(f.host.RefusedDialogs(), 1);
        EXPECT_EQ(f.view.m_bDesignValid, 0);
        EXPECT_FALSE((f.view.ShownMethodRequest() != nullptr));
    }
}

// A shaped pass band over the CIC's first null is refused by the design
// once the band table is known; the previous design goes.
TEST(MoreMethods, PassBandOverTheCicNullIsRefusedByTheDesign)
{
    ViewFixture f;
    f.Configure(FT_LOWPASS, DM_REMEZ, WT_HAMMING, 63, 8000);
    f.SetBands({{1, 0, 3000, 1.0, 1.0}, {1, 3500, 4000, 0.0, 1.0}});
    f.host.QueueDialog(M::IDD, Cic(1, "8", "4", "4"));
    DesignMoreMethods(f.view);
    EXPECT_EQ(f.LastMessage(), kMsgShapeRange);
    EXPECT_EQ(f.view.m_bDesignValid, 0);
}

// A pulse: the taps field takes span x sps + 1, the analysis measures the
// raised cosine's flat and stop bands, the dialog opens with the last
// answers, and the form's own Design forgets the method.
TEST(MoreMethods, PulseSetsTheTapsAndTheAnalysisBands)
{
    ViewFixture f;
    f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 129, 48000);
    f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, 2},
                                {Action::Select, M::IDC_MORE_PULSE, {}, 0},
                                {Action::Type, M::IDC_MORE_ROLLOFF, "0.5"},
                                {Action::Type, M::IDC_MORE_SPS, "6"},
                                {Action::Type, M::IDC_MORE_SPAN, "12"}});
    DesignMoreMethods(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    EXPECT_EQ(f.view.m_nTaps, 73);
    EXPECT_EQ(f.view.GetDlgItemText(IDC_TAPS), "73");
    EXPECT_EQ(f.doc.m_FilPar.m_nTaps, 73);
    EXPECT_EQ(f.doc.m_FilPar.m_nDesignMethod, DM_SINC);  // documents keep the form's methods

    const DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, QuantSpec{});
    ASSERT_EQ(a.bands.size(), 2u);
    EXPECT_EQ(a.bands[0].kind, BandKind::Pass);
    EXPECT_DOUBLE_EQ(a.bands[0].hiHz, 0.25 * 48000 / 6);  // (1 - alpha)/2 of the symbol rate
    EXPECT_EQ(a.bands[1].kind, BandKind::Stop);
    EXPECT_DOUBLE_EQ(a.bands[1].loHz, 0.75 * 48000 / 6);
    EXPECT_GT(a.figures.bands[1].attenuationDb, 30.0);

    CMethodDlg seeded(nullptr);
    SeedMethodDialog(f.view, seeded);
    EXPECT_EQ(seeded.m_nMethod, CMethodDlg::kPulse);
    EXPECT_EQ(seeded.m_nPulse, 0);
    EXPECT_EQ(seeded.m_strRolloff, "0.5");
    EXPECT_EQ(seeded.m_nSps, 6u);
    EXPECT_EQ(seeded.m_nSpan, 12u);

    f.Design();
    EXPECT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_FALSE((f.view.ShownMethodRequest() != nullptr));
}

// A pulse chosen with unit gain at DC gets that gain whatever the form's
// scaling (Custom 2.00 here), which stays in the scale field for the form's
// own designs; the dialog starts at unit energy, as zantro-cli and the
// Python module do.
TEST(MoreMethods, APulseKeepsItsOwnGain)
{
    EXPECT_EQ(CMethodDlg(nullptr).Choice().pulse.normalisation, PulseNormalisation::UnitEnergy);
    ViewFixture f;
    f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 129, 48000);
    f.Select(IDC_IR_SCALING, SC_CUSTOM);
    f.Type(IDC_IR_SCALE, "2.00");
    f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, 2},
                                {Action::Select, M::IDC_MORE_PULSE_GAIN, {}, 1}});
    DesignMoreMethods(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    double dc = 0.0;
    for (int i = 0; i < f.view.m_Coeffs.m_nCount; ++i)
        dc += f.view.m_Coeffs.GetValue(i, 0);
    EXPECT_NEAR(dc, 1.0, 1e-12);
    EXPECT_EQ(f.view.m_dGain, 1.0);
    EXPECT_EQ(f.view.GetDlgItemText(IDC_IR_SCALE), "2.00");
    EXPECT_EQ(f.view.m_dIRScale, 2.0);
}

// Cancelling the method or the band dialog designs nothing.
TEST(MoreMethods, CancelLeavesTheDesign)
{
    for (int cancelled : {static_cast<int>(M::IDD), static_cast<int>(CRemezDlg::IDD)}) {
        ViewFixture f;
        f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 31, 8000);
        f.Design();
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        const double centre = f.view.m_Coeffs.GetValue(15, 0);
        if (cancelled == M::IDD) {
            f.host.QueueDialogCancel(M::IDD);
        } else {
            f.host.QueueDialogOk(M::IDD);
            f.host.QueueDialogCancel(CRemezDlg::IDD);
        }
        DesignMoreMethods(f.view);
        EXPECT_EQ(f.view.m_bDesignValid, 1);
        EXPECT_EQ(f.view.m_Coeffs.GetValue(15, 0), centre);
        EXPECT_FALSE((f.view.ShownMethodRequest() != nullptr));
        EXPECT_EQ(f.MessageCount(), 0u);
    }
}
