#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "RemezTestSupport.h"
#include "ViewFixture.h"
#include "form/CRemezDlg.h"
#include "form/RemezMessages.h"

namespace {

struct RemezView : ViewFixture {
    // A Remez design of the form's filter type and taps with these bands.
    void Prepare(int filterType, int taps, const BandTable& table, int density = 16)
    {
        Configure(filterType, DM_REMEZ, WT_HAMMING, taps);
        for (int i = 0; i < kBandCount; ++i)
            doc.m_FilPar.m_Bands[i] = table.bands[i];
        doc.m_FilPar.m_nGridDensity = density;
    }
};

struct RemezCommand : ::testing::Test, RemezView {};

const BandTable kLowpassBands{Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 1.0)};

}  // namespace

TEST_F(RemezCommand, DesignReportsThePassesAndFinishesTheDesign)
{
    Prepare(FT_LOWPASS, 63, kLowpassBands);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    ASSERT_GE(MessageCount(), 1u);
    const int passes = view.m_nRemezPasses;
    ASSERT_GT(passes, 0);
    ASSERT_LT(passes, 64);
    char expected[80];
    std::snprintf(expected, sizeof expected, "The Remez algorithm took %3d iterations to converge.", passes);
    EXPECT_EQ(host.Messages()[0].text, expected);
    EXPECT_EQ(host.Messages()[0].type, static_cast<unsigned>(MB_OK));

    // The taps are the algorithm's, under Natural scaling; the tail ran with a 1024-point spectrum.
    CPoints h;
    RemezCase c{"lowpass", 63, FT_LOWPASS, kLowpassBands};
    RunDesign(c, h);
    for (int k = 0; k < 63; ++k)
        EXPECT_EQ(view.m_Coeffs[k].real(), h[k].real());
    EXPECT_EQ(view.m_Spectrum.m_nCount, 1024);
    EXPECT_EQ(view.m_PhaseWnd.m_values.m_nCount, 513);
    EXPECT_EQ(view.m_MagnitudeWnd.m_values.m_nCount, 513);
    EXPECT_EQ(view.m_Spectrum[1023], view.m_Spectrum[0]);
    EXPECT_DOUBLE_EQ(view.m_dIRPeak, h.GetMaxMagnitude());
    double total = 0.0;
    for (int k = 0; k < 63; ++k)
        total += view.m_Coeffs[k].real();
    EXPECT_NEAR(view.m_Step[62].real(), total, 1e-15);
    EXPECT_EQ(host.Repaints(view.m_ImpulseWnd), 1);
    EXPECT_TRUE(doc.IsModified());
    // The window is resized and cleared, never filled.
    EXPECT_EQ(view.m_Window.m_nCount, 63);
    EXPECT_EQ(view.m_Window.GetMaxMagnitude(), 0.0);
}

TEST_F(RemezCommand, PhaseUsesTheSpectrumLength1024ForOddAndEvenTaps)
{
    for (int taps : {63, 64}) {
        RemezView f;
        f.Prepare(FT_LOWPASS, taps, kLowpassBands);
        f.Design();
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        EXPECT_EQ(f.view.m_Spectrum.m_nCount, 1024);
        const double d = (1024 - taps) * std::numbers::pi / 1023;
        for (int i : {1, 7, 40}) {
            double v = f.view.m_Spectrum.GetValue(i, 3) + std::fmod(i * d, 2 * std::numbers::pi);
            if (v > std::numbers::pi)
                v -= 2 * std::numbers::pi;
            EXPECT_DOUBLE_EQ(f.view.m_PhaseWnd.m_values[i], v) << taps << " " << i;
        }
    }
}

TEST_F(RemezCommand, CancelLeavesEverythingAsItWas)
{
    Prepare(FT_LOWPASS, 63, kLowpassBands);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    const double tap = view.m_Coeffs[31].real();
    const int repaints = host.Repaints(view.m_MagnitudeWnd);
    host.ClearMessages();
    doc.SetModifiedFlag(false);

    // Different bands typed in the dialog, then Cancel.
    host.QueueDialog(CRemezDlg::IDD, {{ScriptedHost::Action::Type, CRemezDlg::UpperEdgeId(0), "500"},
                                      {ScriptedHost::Action::Cancel, 0, {}}});
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(view.m_Coeffs[31].real(), tap);
    // Repainted once, only to mark the plots as the previous design.
    EXPECT_EQ(host.Repaints(view.m_MagnitudeWnd), repaints + 1);
    EXPECT_EQ(view.m_MagnitudeWnd.m_strNote, ShownDesign::kPreviousNote);
    EXPECT_EQ(doc.m_FilPar.m_Bands[0].m_nUpperEdge, 1000);
    EXPECT_TRUE(doc.IsModified());  // the Design command stores the parameters after any attempt
}

TEST_F(RemezCommand, OkStoresTheEditedBandsBeforeTheDesign)
{
    Prepare(FT_LOWPASS, 63, kLowpassBands);
    host.QueueDialog(CRemezDlg::IDD, {{ScriptedHost::Action::Type, CRemezDlg::UpperEdgeId(0), "900"},
                                      {ScriptedHost::Action::Type, CRemezDlg::WeightId(1), "10"},
                                      {ScriptedHost::Action::Type, CRemezDlg::IDC_GRID_DENSITY, "32"}});
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(doc.m_FilPar.m_Bands[0].m_nUpperEdge, 900);
    EXPECT_EQ(doc.m_FilPar.m_Bands[1].m_dWeight, 10.0);
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 32);
    CPoints h;
    RemezCase c{"edited", 63, FT_LOWPASS, {Band(0, 900, 1.0, 1.0), Band(1200, 4000, 0.0, 10.0)}, 32};
    RunDesign(c, h);
    EXPECT_EQ(view.m_Coeffs[10].real(), h[10].real());
}

TEST_F(RemezCommand, NonConvergenceIsReportedAndTheDesignStillShown)
{
    Prepare(FT_LOWPASS, 63, {Band(0, 1000, 1.0, 1.0), Band(3000, 4000, 0.0, 1.0)});
    Design();
    ASSERT_GE(MessageCount(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "The Remez algorithm did not converge.");
    EXPECT_EQ(view.m_nRemezPasses, 64);
    EXPECT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(host.Repaints(view.m_PhaseWnd), 1);
}

TEST_F(RemezCommand, PresetsDesignThroughTheTargetFilterCombo)
{
    for (int preset = 2; preset <= 10; ++preset) {
        RemezView f;
        f.Select(IDC_TARGET_FILTER, preset);
        ASSERT_EQ(f.view.m_nDesignMethod, DM_REMEZ) << preset;
        f.Design();
        EXPECT_EQ(f.view.m_bDesignValid, 1) << preset;
        ASSERT_GE(f.MessageCount(), 1u);
        EXPECT_EQ(f.host.Messages()[0].text.rfind("The Remez algorithm took ", 0), 0u) << preset;
        const RemezCase c = PresetCase(preset);
        CPoints h;
        EXPECT_EQ(f.view.m_nRemezPasses, RunDesign(c, h).nPasses) << preset;
        const bool anti = c.FirType() >= 2;
        for (int k = 0; k < c.taps; ++k)
            EXPECT_EQ(f.view.m_Coeffs[k].real(), (anti ? -1 : 1) * f.view.m_Coeffs[c.taps - 1 - k].real());
    }
}

TEST_F(RemezCommand, PassCountIsRightAlignedInThreeCharacters)
{
    // An even-length highpass that settles in 5 passes.
    Prepare(FT_HIGHPASS, 64, {Band(0, 1000, 0.0, 1.0), Band(1200, 4000, 1.0, 1.0)});
    Design();
    ASSERT_GE(MessageCount(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "The Remez algorithm took   5 iterations to converge.");
}

TEST_F(RemezCommand, CompensationTakesThePeakOfTheCompensatedTaps)
{
    Prepare(FT_LOWPASS, 63, kLowpassBands);
    Select(IDC_IR_SCALING, SC_NORMALIZED);
    host.Click(view, IDC_SINX_COMP);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    ASSERT_EQ(view.m_bSinXComp, 1);
    CPoints h;
    RemezCase c{"lowpass", 63, FT_LOWPASS, kLowpassBands};
    RunDesign(c, h);
    EXPECT_NE(view.m_dIRPeak, h.GetMaxMagnitude());
    EXPECT_NEAR(view.m_Coeffs.GetMaxMagnitude(), 1.0, 1e-12);
    EXPECT_EQ(view.m_Coeffs[62], view.m_Coeffs[0]);
}

TEST_F(RemezCommand, RefusedPairsAndTheSkippedCornerCheck)
{
    // Remez designs do not check the corners against fs/2.
    Prepare(FT_LOWPASS, 63, kLowpassBands);
    Type(IDC_FIRST_CORNER, "5000");
    Design();
    EXPECT_EQ(view.m_bDesignValid, 1);
    Select(IDC_FILTER_TYPE, FT_GAUSSIAN);
    host.ClearMessages();
    Design();
    EXPECT_EQ(LastMessage(), "Remex Exchange design not supported for this filter type");
}

// A band-stop table whose second pass band sits far from its stop band: the
// response between them rises 33 dB over the pass bands. Design says so at
// once in the status bar (the text the exports and zantro-cli give); the
// next design that behaves clears it.
TEST_F(RemezCommand, DesignSaysInTheStatusBarWhenTheResponseRisesOutsideTheStopBands)
{
    Prepare(FT_BANDSTOP, 41, BandTable{Band(0, 1000, 1.0, 1.0), Band(1200, 2000, 0.0, 10.0), Band(3200, 4000, 1.0, 1.0)});
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    ASSERT_EQ(host.StatusTexts().size(), 1u);
    EXPECT_EQ(host.StatusTexts()[0], "The response rises 33.20 dB above the pass band at 2817.39 Hz, outside the stop bands.");

    Prepare(FT_LOWPASS, 63, kLowpassBands);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    ASSERT_EQ(host.StatusTexts().size(), 2u);
    EXPECT_EQ(host.StatusTexts()[1], "");
}
