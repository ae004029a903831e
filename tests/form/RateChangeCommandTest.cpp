#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "dsp/DesignKinds.h"
#include "dsp/Multirate.h"
#include "form/CRateChangeDlg.h"
#include "form/CRemezDlg.h"
#include "form/RateChangeAnalysis.h"
#include "form/RateChangeCommand.h"

namespace {

using Action = ScriptedHost::Action;
using R = CRateChangeDlg;

std::vector<Action> Decimate4(bool alias)
{
    std::vector<Action> a = {{Action::Select, R::IDC_RATE_KIND, {}, 0},
                             {Action::Type, R::IDC_RATE_FACTOR, "4"},
                             {Action::Type, R::IDC_RATE_FS, "48000"},
                             {Action::Type, R::IDC_RATE_PASS, "1000"},
                             {Action::Type, R::IDC_RATE_TAPS, "31"}};
    if (alias)
        a.push_back({Action::Click, R::IDC_RATE_ALIAS, {}});
    return a;
}

}  // namespace

// Extras > Rate Change...: the form gets a Remez lowpass on the derived band
// table at the high rate and designs it; with alias bands only the bands
// k fs/4 -+ f1 are stopped, and the taps match the dsp design of that table.
TEST(RateChangeCommand, FillsTheBandTableAndDesigns)
{
    for (bool alias : {false, true}) {
        SCOPED_TRACE(alias ? "alias bands" : "whole stop band");
        ViewFixture f;
        f.host.QueueDialog(R::IDD, Decimate4(alias));
        DesignRateChange(f.view);
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        EXPECT_EQ(f.view.m_nTaps, 31);
        EXPECT_EQ(f.view.m_nSamplingRate, 48000);
        EXPECT_EQ(f.view.m_nDesignMethod, DM_REMEZ);
        EXPECT_EQ(f.view.m_nFilterType, FT_LOWPASS);
        RemezBand table[kBandCount];
        const int rows = MultirateRemezTable(4, 48000, 1000, alias, 1.0, table);
        EXPECT_EQ(rows, alias ? 3 : 2);
        for (int row = 0; row < kBandCount; ++row) {
            const RemezBand& b = f.doc.m_FilPar.m_Bands[row];
            EXPECT_EQ(b.m_bUse, table[row].m_bUse) << row;
            EXPECT_EQ(b.m_nLowerEdge, table[row].m_nLowerEdge) << row;
            EXPECT_EQ(b.m_nUpperEdge, table[row].m_nUpperEdge) << row;
        }
        std::vector<double> taps;
        for (int i = 0; i < f.view.m_nTaps; ++i)
            taps.push_back(f.view.m_Coeffs.GetValue(i, 0));
        EXPECT_GT(AliasAttenuationDb(taps, 4, 48000, 1000), 40.0);
    }
}

TEST(RateChangeCommand, RefusesAPassEdgeAboveTheOutputBand)
{
    ViewFixture f;
    std::vector<Action> a = Decimate4(false);
    a.push_back({Action::Type, R::IDC_RATE_PASS, "6000"});
    a.push_back({Action::Ok, 0, {}});
    f.host.QueueDialog(R::IDD, a);
    DesignRateChange(f.view);
    EXPECT_EQ(f.LastMessage(), "The pass-band edge must lie above 0 Hz and below fs / (2 x factor).");
    EXPECT_EQ(f.view.m_bDesignValid, 0);
}

namespace {

std::vector<double> TapsOf(const CZantroView& view)
{
    std::vector<double> taps;
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
        taps.push_back(view.m_Coeffs.GetValue(i, 0));
    return taps;
}

std::vector<Action> Halfband(const std::string& taps)
{
    return {{Action::Select, R::IDC_RATE_KIND, {}, R::kHalfband},
            {Action::Type, R::IDC_RATE_FS, "48000"},
            {Action::Type, R::IDC_RATE_PASS, "10000"},
            {Action::Type, R::IDC_RATE_TAPS, taps}};
}

// The request zantro-cli --halfband --fs 48000 --f1 10000 --taps 47 designs.
DesignRequest CliHalfband()
{
    DesignRequest q;
    q.method = RemezMethod{{}, 16};
    q.rateChange = RateChange{RateChangeKind::Halfband, 2};
    q.samplingRate = 48000;
    q.firstCorner = 10000;
    q.taps = 47;
    q.scale = 1.0;
    return q;
}

// The largest deviation of |H| from gain over lo .. hi Hz, on a grid of 2001 points.
double Deviation(const std::vector<double>& taps, double fs, double lo, double hi, double gain)
{
    double worst = 0.0;
    for (int k = 0; k <= 2000; ++k) {
        const double w = 2.0 * std::numbers::pi * (lo + (hi - lo) * k / 2000.0) / fs;
        double re = 0.0, im = 0.0;
        for (size_t n = 0; n < taps.size(); ++n) {
            re += taps[n] * std::cos(w * static_cast<double>(n));
            im -= taps[n] * std::sin(w * static_cast<double>(n));
        }
        worst = std::max(worst, std::abs(std::hypot(re, im) - gain));
    }
    return worst;
}

}  // namespace

// A half-band filter from the dialog is the engine's design of zantro-cli's
// request, bit for bit: the centre tap exactly 0.5, every second tap from it
// exactly 0, pass and stop ripple equal (about 3.38e-4 for 47 taps at 48 kHz
// with the pass band to 10 kHz, as scipy.signal.remez gives through the same
// construction). The form holds the lowpass at the high rate, naturally
// scaled, its band table the lowpass's pass and stop band.
TEST(RateChangeCommand, HalfbandIsTheEnginesDesign)
{
    ViewFixture f;
    f.host.QueueDialog(R::IDD, Halfband("47"));
    DesignRateChange(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const DesignOutcome cli = Design(CliHalfband());
    ASSERT_TRUE(cli.valid);
    const std::vector<double> taps = TapsOf(f.view);
    EXPECT_EQ(taps, cli.Taps());
    ASSERT_EQ(taps.size(), 47u);
    EXPECT_EQ(taps[23], 0.5);
    for (int i = 2; 23 + i < 47; i += 2) {
        EXPECT_EQ(taps[static_cast<size_t>(23 + i)], 0.0) << i;
        EXPECT_EQ(taps[static_cast<size_t>(23 - i)], 0.0) << i;
    }
    const double pass = Deviation(taps, 48000, 0, 10000, 1.0), stop = Deviation(taps, 48000, 14000, 24000, 0.0);
    EXPECT_NEAR(pass, 3.38e-4, 0.02e-4);
    EXPECT_NEAR(stop, pass, 1e-6);

    EXPECT_EQ(f.view.GetDlgItemText(IDC_TAPS), "47");
    EXPECT_EQ(f.view.GetDlgItemText(IDC_FIRST_CORNER), "10000");
    EXPECT_EQ(f.view.GetCurSel(IDC_IR_SCALING), SC_NATURAL);
    EXPECT_EQ(f.view.m_nDesignMethod, DM_REMEZ);
    const RemezBand* bands = f.doc.m_FilPar.m_Bands;
    EXPECT_EQ(bands[0].m_nUpperEdge, 10000);
    EXPECT_EQ(bands[1].m_nLowerEdge, 14000);
    EXPECT_EQ(bands[1].m_nUpperEdge, 24000);
    EXPECT_EQ(bands[2].m_bUse, 0);
    const std::optional<MultirateDesign> rate = RateChangeOf(f.view);
    ASSERT_TRUE(rate.has_value());
    EXPECT_EQ(rate->kind, MultirateKind::Halfband);
    EXPECT_EQ(rate->factor, 2);
    EXPECT_NE(f.view.m_shown.Caption().find("(half-band)"), std::string::npos) << f.view.m_shown.Caption();

    // The form's own Design makes the Remez lowpass its fields hold, no
    // rate change.
    f.host.QueueDialogOk(CRemezDlg::IDD);
    f.Design();
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_FALSE(RateChangeOf(f.view).has_value());
}

// Taps other than 4k + 3 get the engine's message naming the nearest (45 lies
// between 43 and 47; the tie goes up); nothing is designed.
TEST(RateChangeCommand, HalfbandRefusesOtherTaps)
{
    ViewFixture f;
    std::vector<Action> a = Halfband("45");
    a.push_back({Action::Ok, 0, {}});
    f.host.QueueDialog(R::IDD, a);
    const int shown = f.view.DesignsShown();
    DesignRateChange(f.view);
    EXPECT_EQ(f.LastMessage(), "A half-band filter has 4k + 3 taps (7 .. 1023); 45 is not one. The nearest is 47.");
    EXPECT_EQ(f.view.DesignsShown(), shown);
    EXPECT_FALSE(RateChangeOf(f.view).has_value());
}

namespace {

std::vector<Action> Requirement(int kind, bool alias, const std::string& attenuation, int format)
{
    std::vector<Action> a = {{Action::Select, R::IDC_RATE_KIND, {}, kind},
                             {Action::Type, R::IDC_RATE_FACTOR, "4"},
                             {Action::Type, R::IDC_RATE_FS, "48000"},
                             {Action::Type, R::IDC_RATE_PASS, kind == R::kHalfband ? "10000" : "1000"},
                             {Action::Click, R::IDC_RATE_TO_SPEC, {}},
                             {Action::Type, R::IDC_RATE_RIPPLE, "0.1"},
                             {Action::Type, R::IDC_RATE_ATTENUATION, attenuation},
                             {Action::Select, R::IDC_RATE_FORMAT, {}, format}};
    if (alias)
        a.push_back({Action::Click, R::IDC_RATE_ALIAS, {}});
    return a;
}

}  // namespace

// Design to requirement: a decimator by 4 at 48 kHz passing 0 .. 1 kHz with
// 0.1 dB ripple and 80 dB down in Q15 needs fewer taps when only the alias
// bands are stopped; each design found meets the requirement, is shown with
// the search's message and judged by the analysis on the bands asked for.
TEST(RateChangeCommand, RequirementFindsTheFewestTaps)
{
    int found[2] = {0, 0};
    for (bool alias : {false, true}) {
        SCOPED_TRACE(alias ? "alias bands" : "whole stop band");
        ViewFixture f;
        f.host.QueueDialog(R::IDD, Requirement(R::kDecimation, alias, "80", 2));
        DesignRateChange(f.view);
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        ASSERT_TRUE(RateChangeOf(f.view).has_value());
        const int n = f.view.m_nTaps;
        found[alias ? 1 : 0] = n;
        EXPECT_EQ(f.view.m_design->request->taps, n);
        EXPECT_EQ(f.LastMessage().rfind("The requirement is met with " + std::to_string(n) + " taps (", 0), 0u)
            << f.LastMessage();
        EXPECT_NE(f.LastMessage().find(", also in Q15."), std::string::npos) << f.LastMessage();
        const std::vector<double> taps = TapsOf(f.view);
        EXPECT_GE(AliasAttenuationDb(taps, 4, 48000, 1000), 80.0);
        EXPECT_LE(20.0 * std::log10((1.0 + Deviation(taps, 48000, 0, 1000, 1.0)) /
                                    (1.0 - Deviation(taps, 48000, 0, 1000, 1.0))),
                  0.1);
        const SpecRequirement* asked = f.view.ShownRequirement();
        ASSERT_NE(asked, nullptr);
        EXPECT_EQ(asked->bands.size(), alias ? 3u : 2u);
        EXPECT_EQ(asked->bands.back().limitDb, 80.0);
    }
    EXPECT_LT(found[1], found[0]);
}

// A requirement no design meets leaves the form as it was, with the search's message.
TEST(RateChangeCommand, RequirementNotMetLeavesTheForm)
{
    ViewFixture f;
    f.Design();
    const std::vector<double> before = TapsOf(f.view);
    const std::string tapsField = f.view.GetDlgItemText(IDC_TAPS);
    f.host.QueueDialog(R::IDD, Requirement(R::kHalfband, false, "200", 1));
    DesignRateChange(f.view);
    EXPECT_EQ(f.LastMessage().rfind("No design of up to 1023 taps meets the requirement; the best reached has ", 0),
              0u)
        << f.LastMessage();
    // How far it falls short, a positive number of dB.
    EXPECT_EQ(f.LastMessage().find(" taps, -"), std::string::npos) << f.LastMessage();
    EXPECT_EQ(f.LastMessage().substr(f.LastMessage().size() - 10), " dB short.") << f.LastMessage();
    EXPECT_EQ(TapsOf(f.view), before);
    EXPECT_FALSE(RateChangeOf(f.view).has_value());
    EXPECT_EQ(f.view.GetDlgItemText(IDC_TAPS), tapsField);
}

// Undo and Redo bring a rate change back with its design, a decimator's
// and a half-band's; Undo to the single-rate design before them clears it.
TEST(RateChangeCommand, UndoAndRedoRestoreTheRateChange)
{
    ViewFixture f;
    f.Design();
    f.host.QueueDialog(R::IDD, Decimate4(true));
    DesignRateChange(f.view);
    f.host.QueueDialog(R::IDD, Halfband("47"));
    DesignRateChange(f.view);
    const std::vector<double> halfband = TapsOf(f.view);
    ASSERT_EQ(f.view.m_history.Count(), 3);

    ASSERT_TRUE(f.view.m_history.Undo(f.view));
    std::optional<MultirateDesign> rate = RateChangeOf(f.view);
    ASSERT_TRUE(rate.has_value());
    EXPECT_EQ(rate->kind, MultirateKind::Decimate);
    EXPECT_EQ(rate->factor, 4);
    EXPECT_EQ(rate->passHz, 1000.0);

    ASSERT_TRUE(f.view.m_history.Undo(f.view));
    EXPECT_FALSE(RateChangeOf(f.view).has_value());

    ASSERT_TRUE(f.view.m_history.Redo(f.view));
    ASSERT_TRUE(RateChangeOf(f.view).has_value());
    EXPECT_EQ(RateChangeOf(f.view)->factor, 4);
    ASSERT_TRUE(f.view.m_history.Redo(f.view));
    rate = RateChangeOf(f.view);
    ASSERT_TRUE(rate.has_value());
    EXPECT_EQ(rate->kind, MultirateKind::Halfband);
    ASSERT_TRUE(f.view.m_design->rateChangeExport.has_value());
    EXPECT_EQ(f.view.m_design->rateChangeExport->taps, halfband);
    EXPECT_EQ(TapsOf(f.view), halfband);
}

// The dialog reopens with the kind, factor, bands and requirement last
// given (the rate, pass edge and taps come from the form): OK alone designs
// the same again.
TEST(RateChangeCommand, DialogReopensWithTheLastAnswer)
{
    ViewFixture f;
    f.host.QueueDialog(R::IDD, Requirement(R::kDecimation, true, "80", 2));
    DesignRateChange(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const std::vector<double> first = TapsOf(f.view);
    const std::string message = f.LastMessage();
    ASSERT_TRUE(f.view.m_LastRateChange.has_value());
    const RateChangeFields expected{R::kDecimation, 4, 1, 1, "0.1", "80", 2};
    EXPECT_EQ(*f.view.m_LastRateChange, expected);

    f.Design();
    f.host.QueueDialog(R::IDD, {{Action::Ok, 0, {}}});
    DesignRateChange(f.view);
    ASSERT_TRUE(RateChangeOf(f.view).has_value());
    EXPECT_EQ(TapsOf(f.view), first);
    EXPECT_EQ(f.LastMessage(), message);
}
