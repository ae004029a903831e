#include <gtest/gtest.h>

#include <cmath>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/DesignMessages.h"

namespace {

struct ExtrasWindowCommand : ::testing::Test, ViewFixture {};

}  // namespace

TEST_F(ExtrasWindowCommand, RectangularEightTaps)
{
    Configure(FT_LOWPASS, DM_SINC, WT_RECTANGULAR, 8);
    ExtrasWindow();
    ASSERT_EQ(view.m_bDesignValid, 1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(view.m_Coeffs[i].real(), 1.0);
        EXPECT_EQ(view.m_StepWnd.m_values[i], i + 1.0);
    }
    EXPECT_NEAR(view.m_dGain, 8.0, 1e-12);
    EXPECT_EQ(view.m_dIRPeak, 1.0);
    EXPECT_NEAR(view.m_MagnitudeWnd.m_values[0], 1.0, 1e-12);  // 0 dB at DC
    EXPECT_NEAR(view.m_MagnitudeWnd.m_values[128], 0.0, 1e-12); // first null at fs/8
    EXPECT_DOUBLE_EQ(StepAxes.yMax, 1.2 * view.m_dGain);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION), "Logarithmic Magnitude");
    EXPECT_DOUBLE_EQ(view.m_MagnitudeWnd.m_dPlotGain, view.m_dGain);
    EXPECT_FALSE(doc.IsModified());  // nothing stored
}

TEST_F(ExtrasWindowCommand, HammingIsNormalisedToItsPeak)
{
    ExtrasWindow();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_NEAR(view.m_Coeffs[31].real(), 1.0, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[0].real(), 0.08, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[62].real(), 0.08, 1e-15);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1.00");  // untouched
}

TEST_F(ExtrasWindowCommand, SwitchesTheFilterTypeToLowpass)
{
    Select(IDC_FILTER_TYPE, FT_BANDPASS);
    ExtrasWindow();
    EXPECT_EQ(host.GetCurSel(view, IDC_FILTER_TYPE), FT_LOWPASS);
    EXPECT_EQ(view.m_nFilterType, FT_LOWPASS);
    EXPECT_EQ(doc.m_FilPar.m_nFilterType, FT_LOWPASS);  // default; the document changes only on Design
}

TEST_F(ExtrasWindowCommand, RefusedByTheNumericScaleOfTheLastDesign)
{
    Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 63, 8000, 100);
    Select(IDC_IR_SCALING, SC_NORMALIZED);
    Design();
    ASSERT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "40.00");
    ExtrasWindow();
    EXPECT_EQ(LastMessage(), kMsgScaleRange);
    EXPECT_EQ(view.m_bDesignValid, 0);
}

TEST_F(ExtrasWindowCommand, CancelledKaiserDialogKeepsThePlots)
{
    ExtrasWindow();
    const double before = view.m_ImpulseWnd.m_values[0];
    Select(IDC_WINDOW_TYPE, WT_KAISER);
    host.QueueDialogCancel(132);
    ExtrasWindow();
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(view.m_ImpulseWnd.m_values[0], before);
    EXPECT_EQ(MessageCount(), 0u);
}
