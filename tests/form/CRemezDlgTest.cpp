#include <gtest/gtest.h>

#include <string>

#include "RemezTestSupport.h"
#include "platform/DialogTemplate.h"
#include "platform/ScriptedHost.h"
#include "form/CRemezDlg.h"

namespace {

// The band dialog open on a scripted host, as the design command opens it.
struct BandDialog : ::testing::Test {
    ScriptedHost host;
    CWnd owner;
    CRemezDlg dlg{&owner};

    BandDialog() { owner.SetHost(&host); dlg.SetHost(&host); }

    void Open(const BandTable& table, int fs = 8000, int filterType = FT_LOWPASS, int density = 16)
    {
        dlg.LoadBands(table.bands, density, fs);
        dlg.m_nFilterType = filterType;
        dlg.ResetModalState();
        host.CreateControls(dlg);
        dlg.OnInitDialog();
        host.ClearMessages();
    }
    void Type(int id, const std::string& text) { host.TypeText(dlg, id, text); }
    // OK pressed: the dialog closes, or the refusal's message is returned.
    std::string Ok()
    {
        const size_t before = host.Messages().size();
        host.Click(dlg, IDOK);
        return host.Messages().size() > before ? host.Messages().back().text : std::string();
    }
    int Focus() const { return host.FocusedControl(dlg); }
};

const BandTable kTwoBands{Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 10.0)};

}  // namespace

TEST_F(BandDialog, EveryRowTakesItsKindOfTextAndLoads)
{
    // Each row's edges take digits only, its value and weight what a number
    // is made of; the grid density digits only.
    Open(kTwoBands);
    for (int row = 0; row < CRemezDlg::kRows; ++row) {
        Type(CRemezDlg::LowerEdgeId(row), "1.5x");
        EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::LowerEdgeId(row)), "15") << row;
        Type(CRemezDlg::UpperEdgeId(row), "-20");
        EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::UpperEdgeId(row)), "20") << row;
        Type(CRemezDlg::ValueId(row), "0.5");
        EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::ValueId(row)), "0.5") << row;
        Type(CRemezDlg::WeightId(row), "+2.5");
        EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::WeightId(row)), "+2.5") << row;
    }
    Type(CRemezDlg::IDC_GRID_DENSITY, "3.2");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::IDC_GRID_DENSITY), "32");
}

TEST_F(BandDialog, LoadsTheBandsIntoTheRows)
{
    Open({Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 10.0), RemezBand{0, 5, 6, 0.25, 100.0}}, 8000, FT_LOWPASS,
         32);
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, CRemezDlg::UseId(0)), 1);
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, CRemezDlg::UseId(2)), 0);
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::LowerEdgeId(0)), "0");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::UpperEdgeId(0)), "1000");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::ValueId(0)), "1.000");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::WeightId(0)), "1.00");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::ValueId(1)), "0.000");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::WeightId(1)), "10.00");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::ValueId(2)), "0.250");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::WeightId(2)), "100.00");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::IDC_GRID_DENSITY), "32");
    EXPECT_EQ(Focus(), CRemezDlg::LowerEdgeId(0));
    EXPECT_EQ(host.TextLimit(dlg, CRemezDlg::ValueId(0)), 8);
    EXPECT_EQ(host.TextLimit(dlg, CRemezDlg::WeightId(7)), 8);

    // The value and weight edits take only what a number is made of.
    Type(CRemezDlg::ValueId(0), "0.5x");
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::ValueId(0)), "0.5");
    EXPECT_EQ(host.Beeps(), 1);
}

TEST_F(BandDialog, OrderAndEdgeChecksWithTheirFocus)
{
    Open(kTwoBands);
    EXPECT_EQ(Ok(), "");
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);

    Open({Band(0, 1000, 1.0, 1.0), Band(1000, 2000, 0.0, 1.0)});  // touching
    EXPECT_EQ(Ok(), "");
    EXPECT_TRUE(dlg.IsEnded());

    Open({Band(0, 1000, 1.0, 1.0), Band(900, 2000, 0.0, 1.0)});
    EXPECT_EQ(Ok(), "Edge frequencies must be in ascending order.");
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(Focus(), CRemezDlg::LowerEdgeId(1));

    Open({Band(0, 1000, 1.0, 1.0), Band(2000, 1500, 0.0, 1.0)});
    EXPECT_EQ(Ok(), "Edge frequencies must be in ascending order.");
    EXPECT_EQ(Focus(), CRemezDlg::UpperEdgeId(1));

    Open({Band(500, 500, 1.0, 1.0)});
    EXPECT_EQ(Ok(), "Lower and upper edge frequencies must not be equal.");
    EXPECT_EQ(Focus(), CRemezDlg::UpperEdgeId(0));

    // fs = 8001: half is 4000.
    Open({Band(0, 4000, 1.0, 1.0)}, 8001);
    EXPECT_EQ(Ok(), "");
    Open({Band(0, 4001, 1.0, 1.0)}, 8001);
    EXPECT_EQ(Ok(), "Edge frequencies must be <= fs/2.");
    EXPECT_EQ(Focus(), CRemezDlg::UpperEdgeId(0));
    Open({Band(0, 1000, 1.0, 1.0), Band(4001, 4002, 0.0, 1.0)}, 8001);
    EXPECT_EQ(Ok(), "Edge frequencies must be <= fs/2.");
    EXPECT_EQ(Focus(), CRemezDlg::LowerEdgeId(1));

    // Rows not in use are not checked; none in use at all is refused.
    Open({Band(0, 1000, 1.0, 1.0), RemezBand{0, 9000, 10, 7.0, 0.0}});
    EXPECT_EQ(Ok(), "");
    Open({});
    EXPECT_EQ(Ok(), "You must specify at least one band");
    EXPECT_FALSE(dlg.IsEnded());

    // The checks follow the rows as typed.
    Open(kTwoBands);
    Type(CRemezDlg::UpperEdgeId(1), "800");
    EXPECT_EQ(Ok(), "Edge frequencies must be in ascending order.");
    host.Click(dlg, CRemezDlg::UseId(1));  // row 2 out of use
    EXPECT_EQ(Ok(), "");
    EXPECT_EQ(dlg.m_bUse[1], 0);
}

TEST_F(BandDialog, ValueAndWeightBounds)
{
    auto check = [&](int filterType, const std::string& value, const std::string& weight) {
        Open({Band(0, 1000, 1.0, 1.0)}, 8000, filterType);
        host.SetDlgItemText(dlg, CRemezDlg::ValueId(0), value);  // pasted, past the keystroke filter
        host.SetDlgItemText(dlg, CRemezDlg::WeightId(0), weight);
        const std::string msg = Ok();
        return msg;
    };
    for (const char* v : {"0", "1", "0.5", "1.000", "abc"})
        EXPECT_EQ(check(FT_LOWPASS, v, "1"), "") << v;
    for (const char* v : {"-0.01", "1.01", "3.14", "nan"}) {
        EXPECT_EQ(check(FT_BANDSTOP, v, "1"), "Values must be in the range from 0.00 to 1.00.") << v;
        EXPECT_EQ(Focus(), CRemezDlg::ValueId(0));
    }
    for (const char* v : {"0.1", "3.2", "3.14"})
        EXPECT_EQ(check(FT_DIFFERENTIATOR, v, "1"), "") << v;
    for (const char* v : {"0.09", "3.21", "abc", "0"})
        EXPECT_EQ(check(FT_DIFFERENTIATOR, v, "1"), "Values must be in the range from 0.10 to 3.20.") << v;
    for (const char* w : {"1", "100", "1.00", "55.5"})
        EXPECT_EQ(check(FT_LOWPASS, "1", w), "") << w;
    for (const char* w : {"0.99", "100.01", "abc", "inf"}) {
        EXPECT_EQ(check(FT_LOWPASS, "1", w), "Weight must be in the range from 1.00 to 100.00.") << w;
        EXPECT_EQ(Focus(), CRemezDlg::WeightId(0));
    }
    // The accepted text becomes the row's number.
    check(FT_LOWPASS, "0.25", "12.5");
    EXPECT_EQ(dlg.m_dValue[0], 0.25);
    EXPECT_EQ(dlg.m_dWeight[0], 12.5);
}

// Design to Requirement stores weights at the true ratio of the
// deviations, beyond the 100.00 a user may type: such a weight, loaded and
// left untouched, stays as it is; typed, the range holds.
TEST_F(BandDialog, ALoadedWeightBeyondTheRangeStaysAsLoaded)
{
    Open({Band(0, 1000, 1.0, 1.0), Band(1025, 4000, 0.0, 287.7)});
    EXPECT_EQ(host.GetDlgItemText(dlg, CRemezDlg::WeightId(1)), "287.70");
    EXPECT_EQ(Ok(), "");
    EXPECT_EQ(dlg.m_dWeight[1], 287.7);

    Open({Band(0, 1000, 1.0, 1.0), Band(1025, 4000, 0.0, 287.7)});
    host.SetDlgItemText(dlg, CRemezDlg::WeightId(1), "287.71");
    EXPECT_EQ(Ok(), "Weight must be in the range from 1.00 to 100.00.");
    Open({Band(0, 1000, 1.0, 1.0), Band(1025, 4000, 0.0, 2.0)});
    host.SetDlgItemText(dlg, CRemezDlg::WeightId(1), "287.70");
    EXPECT_EQ(Ok(), "Weight must be in the range from 1.00 to 100.00.");
}

TEST_F(BandDialog, FieldExchangeRanges)
{
    Open(kTwoBands);
    Type(CRemezDlg::IDC_GRID_DENSITY, "7");
    EXPECT_EQ(Ok(), "Please enter an integer between 8 and 64.");
    EXPECT_EQ(host.Messages().back().type, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(Focus(), CRemezDlg::IDC_GRID_DENSITY);
    Type(CRemezDlg::IDC_GRID_DENSITY, "65");
    EXPECT_EQ(Ok(), "Please enter an integer between 8 and 64.");
    Type(CRemezDlg::IDC_GRID_DENSITY, "64");
    EXPECT_EQ(Ok(), "");
    EXPECT_EQ(dlg.m_nGridDensity, 64u);

    Open(kTwoBands);
    Type(CRemezDlg::UpperEdgeId(1), "10000001");
    host.ClearMessages();
    EXPECT_EQ(Ok(), "Please enter an integer between 0 and 10000000.");
    // One message only: the band checks do not run on a half-read table.
    EXPECT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(Focus(), CRemezDlg::UpperEdgeId(1));
    Type(CRemezDlg::UpperEdgeId(1), "");
    EXPECT_EQ(Ok(), "Please enter a positive integer.");
    Type(CRemezDlg::UpperEdgeId(1), "10000000");
    EXPECT_EQ(Ok(), "Edge frequencies must be <= fs/2.");
}

TEST_F(BandDialog, StoreBandsWritesTheRowsBack)
{
    Open({Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 10.0), RemezBand{0, 5, 6, 0.25, 100.0}}, 8000,
         FT_LOWPASS, 16);
    Type(CRemezDlg::UpperEdgeId(0), "900");
    Type(CRemezDlg::ValueId(1), "0.125");
    Type(CRemezDlg::ValueId(2), "0.75");  // row 3 is not in use: its value is not converted
    Type(CRemezDlg::UpperEdgeId(2), "7");     // but its edges are exchanged as typed
    Type(CRemezDlg::IDC_GRID_DENSITY, "24");
    ASSERT_EQ(Ok(), "");
    RemezBand table[8] = {};
    int density = 0;
    dlg.StoreBands(table, density);
    EXPECT_EQ(density, 24);
    EXPECT_EQ(table[0].m_bUse, 1);
    EXPECT_EQ(table[0].m_nUpperEdge, 900);
    EXPECT_EQ(table[1].m_dValue, 0.125);
    EXPECT_EQ(table[1].m_dWeight, 10.0);
    EXPECT_EQ(table[2].m_bUse, 0);
    EXPECT_EQ(table[2].m_nUpperEdge, 7);
    EXPECT_EQ(table[2].m_dValue, 0.25);
    EXPECT_EQ(table[2].m_dWeight, 100.0);
    EXPECT_EQ(table[7].m_bUse, 0);
}

TEST_F(BandDialog, ANegativeSamplingRateRefusesEveryBand)
{
    Open(kTwoBands, -8000);
    EXPECT_EQ(Ok(), "Edge frequencies must be <= fs/2.");
}
