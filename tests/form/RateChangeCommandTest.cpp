#include <gtest/gtest.h>

#include <string>

#include "ViewFixture.h"
#include "dsp/DesignKinds.h"
#include "dsp/Multirate.h"
#include "form/CRateChangeDlg.h"
#include "form/RateChangeCommand.h"

namespace {

using Action = ScriptedHost::Action;
using D = CRateChangeDlg;

std::vector<Action> Decimate4(bool alias)
{
    std::vector<Action> a = {{Action::Select, D::IDC_RATE_KIND, {}, 0},
                             {Action::Type, D::IDC_RATE_FACTOR, "4"},
                             {Action::Type, D::IDC_RATE_FS, "48000"},
                             {Action::Type, D::IDC_RATE_PASS, "1000"},
                             {Action::Type, D::IDC_RATE_TAPS, "31"}};
    if (alias)
        a.push_back({Action::Click, D::IDC_RATE_ALIAS, {}});
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
        f.host.QueueDialog(D::IDD, Decimate4(alias));
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
    a.push_back({Action::Type, D::IDC_RATE_PASS, "6000"});
    a.push_back({Action::Ok, 0, {}});
    f.host.QueueDialog(D::IDD, a);
    DesignRateChange(f.view);
    EXPECT_EQ(f.LastMessage(), "The pass-band edge must lie above 0 Hz and below fs / (2 x factor).");
    EXPECT_EQ(f.view.m_bDesignValid, 0);
}
