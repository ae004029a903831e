#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "dsp/ResponseAnalysis.h"

namespace {

struct Analysis : ::testing::Test, ViewFixture {};

}  // namespace

TEST_F(Analysis, PlotsShowTheResponseSeries)
{
    for (int taps : {63, 64}) {
        ViewFixture f;
        f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, taps);
        f.Select(IDC_IR_SCALING, SC_NORMALIZED);
        f.Design();
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        const int c = taps % 2 ? 1025 : 1024;
        EXPECT_EQ(f.view.m_Spectrum.m_nCount, c);
        const std::vector<double> magnitude = MagnitudeSeries(f.view.m_Spectrum, f.view.m_dGain, false);
        const std::vector<double> phase = PhaseSeries(f.view.m_Spectrum, taps, c);
        ASSERT_EQ(f.view.m_MagnitudeWnd.m_values.m_nCount, 513);
        ASSERT_EQ(f.view.m_PhaseWnd.m_values.m_nCount, 513);
        for (int k = 0; k <= 512; ++k) {
            EXPECT_EQ(f.view.m_MagnitudeWnd.m_values[k], magnitude[static_cast<size_t>(k)]) << k;
            EXPECT_EQ(f.view.m_PhaseWnd.m_values[k], phase[static_cast<size_t>(k)]) << k;
        }
        EXPECT_NEAR(f.view.m_MagnitudeWnd.m_values[0], 1.0, 0.01);  // near 0 dB in every mode
    }
}

TEST_F(Analysis, StepResponseAndImpulsePlot)
{
    Design();
    ASSERT_EQ(view.m_ImpulseWnd.m_values.m_nCount, 63);
    ASSERT_EQ(view.m_StepWnd.m_values.m_nCount, 63);
    double sum = 0;
    for (int i = 0; i < 63; ++i) {
        sum += view.m_Coeffs[i].real();
        EXPECT_EQ(view.m_ImpulseWnd.m_values[i], view.m_Coeffs[i].real());
        EXPECT_NEAR(view.m_StepWnd.m_values[i], sum, 1e-15);
    }
    EXPECT_EQ(view.m_ImpulseWnd.m_pAxes, &ImpulseAxes);
    EXPECT_EQ(view.m_StepWnd.m_pAxes, &StepAxes);
    EXPECT_EQ(view.m_MagnitudeWnd.m_pAxes, &MagnitudeAxes);
    EXPECT_EQ(view.m_PhaseWnd.m_pAxes, &PhaseAxes);
    EXPECT_EQ(view.m_ImpulseWnd.m_nPen, 1);
    EXPECT_EQ(view.m_PhaseWnd.m_nPen, 1);
    // Each plot repainted once, at once.
    EXPECT_EQ(host.Repaints(view.m_ImpulseWnd), 1);
    EXPECT_EQ(host.Repaints(view.m_StepWnd), 1);
    EXPECT_EQ(host.Repaints(view.m_MagnitudeWnd), 1);
    EXPECT_EQ(host.Repaints(view.m_PhaseWnd), 1);
}

TEST_F(Analysis, AxisRecordsFollowTheDesign)
{
    EXPECT_EQ(host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION), "Magnitude");

    Configure(FT_DIFFERENTIATOR, DM_SINC, WT_HAMMING, 31, 8000, 0, 3999);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(MagnitudeAxes.yLog, 0);
    EXPECT_EQ(MagnitudeAxes.yMin, 0.0);
    EXPECT_EQ(MagnitudeAxes.yMax, 3.141592653589793);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION), "Linear Magnitude");
    // Linear types are not divided by the gain.
    EXPECT_NEAR(view.m_MagnitudeWnd.m_values[256], std::abs(view.m_Spectrum[256]), 1e-15);

    Configure(FT_HILBERT, DM_SINC, WT_HAMMING, 31, 8000, 300, 3700);
    Design();
    EXPECT_EQ(MagnitudeAxes.yMax, view.m_dGain);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION), "Linear Magnitude");

    Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 63, 8001, 1000, 3000);
    Design();
    EXPECT_EQ(MagnitudeAxes.yLog, 1);
    EXPECT_EQ(MagnitudeAxes.yMin, -100.0);
    EXPECT_EQ(MagnitudeAxes.yMax, 0.0);
    EXPECT_EQ(MagnitudeAxes.nxMax, 4000);
    EXPECT_EQ(PhaseAxes.nxMax, 4000);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION), "Logarithmic Magnitude");
    EXPECT_EQ(view.m_MagnitudeWnd.m_dPlotGain, 1.0);

    Select(IDC_IR_SCALING, SC_CUSTOM);
    Type(IDC_IR_SCALE, "0.5");
    Design();
    EXPECT_DOUBLE_EQ(StepAxes.yMin, -0.6);
    EXPECT_DOUBLE_EQ(StepAxes.yMax, 0.6);
    EXPECT_EQ(StepAxes.yDivisions, 12.0);
    EXPECT_EQ(view.m_MagnitudeWnd.m_dPlotGain, 0.5);
}

TEST_F(Analysis, DifferentiatorLinearPlotRunsFromZeroToPi)
{
    Configure(FT_DIFFERENTIATOR, DM_SINC, WT_HAMMING, 63, 8000, 0, 3999);
    Design();
    ASSERT_EQ(view.m_dDiffGain, std::numbers::pi);
    const CValues& m = view.m_MagnitudeWnd.m_values;
    EXPECT_NEAR(m[0], 0.0, 1e-3);
    EXPECT_NEAR(m[256], std::numbers::pi / 2, 0.01);  // K f / (fs/2) at fs/4
    EXPECT_NEAR(m[128], std::numbers::pi / 4, 0.01);
}
