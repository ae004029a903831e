#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/DesignMessages.h"

namespace {

struct Scaling : ::testing::Test, ViewFixture {
    void Lowpass(int mode, int f1, int taps = 63, int window = WT_HAMMING)
    {
        Configure(FT_LOWPASS, DM_SINC, window, taps, 8000, f1, 3000);
        Select(IDC_IR_SCALING, mode);
        Design();
    }
};

}  // namespace

TEST_F(Scaling, NaturalLeavesTheTaps)
{
    Lowpass(SC_NATURAL, 1000);
    EXPECT_EQ(view.m_dGain, 1.0);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1.00");
    EXPECT_EQ(view.m_Coeffs[31].real(), 0.25);
}

TEST_F(Scaling, NormalizedMakesTheReferencePeakOne)
{
    Lowpass(SC_NORMALIZED, 1000);
    EXPECT_EQ(view.m_dGain, 4.0);
    EXPECT_EQ(view.m_dIRScale, 4.0);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "4.00");
    EXPECT_DOUBLE_EQ(view.m_Coeffs[31].real(), 4.0 * 0.25 * view.m_Window[31].real());
    EXPECT_DOUBLE_EQ(doc.m_FilPar.m_dIRScale, 4.0);
}

TEST_F(Scaling, OptimizedIsAPowerOfTwo)
{
    Lowpass(SC_OPTIMIZED, 1200);  // peak 2 * 1200 / 8000 = 0.3
    EXPECT_DOUBLE_EQ(view.m_dIRPeak, 0.3);
    EXPECT_EQ(view.m_dGain, 2.0);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "2.00");

    Lowpass(SC_OPTIMIZED, 2000);  // peak exactly 0.5
    EXPECT_EQ(view.m_dIRPeak, 0.5);
    EXPECT_EQ(view.m_dGain, 2.0);

    Lowpass(SC_OPTIMIZED, 100);  // peak 0.025: 1/0.025 = 40, so 32
    EXPECT_EQ(view.m_dGain, 32.0);
}

TEST_F(Scaling, CalculatedFactorOutOfRangeFallsBackToOne)
{
    Lowpass(SC_NORMALIZED, 20);  // peak 0.005, factor 200
    ASSERT_EQ(MessageCount(), 1u);
    EXPECT_EQ(LastMessage(), kMsgCalculatedScale);
    EXPECT_EQ(view.m_dGain, 1.0);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1.00");
    EXPECT_EQ(view.m_bDesignValid, 1);  // the design continues
}

TEST_F(Scaling, LargeComputedScaleRefusesTheNextDesign)
{
    Lowpass(SC_NORMALIZED, 100);  // factor 40
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "40.00");
    Design();
    EXPECT_EQ(LastMessage(), kMsgScaleRange);

    host.ClearMessages();
    Select(IDC_IR_SCALING, SC_NATURAL);
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(view.m_bDesignValid, 1);
}

TEST_F(Scaling, NullResponseGivesTheCalculatedScaleMessage)
{
    // Moving average never is null; a lowpass at 0 Hz is.
    Lowpass(SC_NORMALIZED, 0);
    EXPECT_EQ(LastMessage(), kMsgCalculatedScale);
    EXPECT_EQ(view.m_dGain, 1.0);
}

TEST_F(Scaling, SinXCompensationLiftsTheTopOfTheBand)
{
    // An allpass shows the x/sin(x) rise directly: 0 dB at DC, about pi/2 at fs/2.
    Configure(FT_ALLPASS, DM_DIRECT, WT_RECTANGULAR, 65);
    Design();
    const double plain = view.m_MagnitudeWnd.m_values[480];
    host.Click(view, IDC_SINX_COMP);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_NEAR(view.m_MagnitudeWnd.m_values[0], 1.0, 1e-3);  // the copied last tap adds a trace
    const double lifted = view.m_MagnitudeWnd.m_values[480];
    const double x = std::numbers::pi * 480.0 / 1024.0;
    EXPECT_NEAR(lifted / plain, x / std::sin(x), 0.02);
    EXPECT_LT(20 * std::log10(lifted / plain), 20 * std::log10(std::numbers::pi / 2) + 0.01);
    // The peak is taken again after compensation.
    EXPECT_DOUBLE_EQ(view.m_dIRPeak, view.m_Coeffs.GetMaxMagnitude());
}
