#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>
#include <string>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/CKaiserShapeDlg.h"
#include "form/DesignMessages.h"

namespace {

struct FrequencySampling : ::testing::Test, ViewFixture {
    FrequencySampling() { Configure(FT_LOWPASS, DM_FREQUENCY_SAMPLING, WT_RECTANGULAR, 63); }

    void SetPoints(std::initializer_list<double> values)
    {
        CPoints& p = doc.m_FilPar.m_InputData;
        p.SetSize(static_cast<int>(values.size()));
        int i = 0;
        for (double v : values)
            p[i++] = Complex(v, 0.0);
        doc.m_FilPar.m_bInputData = 1;
    }
    void SetPoints(int count, double value)
    {
        CPoints& p = doc.m_FilPar.m_InputData;
        p.SetSize(count);
        for (int i = 0; i < count; ++i)
            p[i] = Complex(value, 0.0);
        doc.m_FilPar.m_bInputData = 1;
    }
};

}  // namespace

TEST_F(FrequencySampling, ThreePointsGiveTheFiveTapExample)
{
    SetPoints({1.0, 1.0, 0.0});
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(view.m_nTaps, 5);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "5");
    ASSERT_EQ(view.m_Coeffs.m_nCount, 5);
    const double expected[5] = {-0.125, 0.25, 0.75, 0.25, -0.125};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(view.m_Coeffs[i].real(), expected[i], 1e-15) << i;
        EXPECT_EQ(view.m_Coeffs[i].imag(), 0.0);
    }
    EXPECT_NEAR(view.m_dIRPeak, 0.75, 1e-15);
    EXPECT_EQ(view.m_Spectrum.m_nCount, 1024);
    EXPECT_EQ(view.m_PhaseWnd.m_values.m_nCount, 513);
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 5);  // stored with the design
    EXPECT_EQ(MessageCount(), 0u);
}

TEST_F(FrequencySampling, TheWindowShapesTheTaps)
{
    SetPoints({1.0, 1.0, 0.0});
    Select(IDC_WINDOW_TYPE, WT_HANNING);  // 0, 0.5, 1, 0.5, 0
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_NEAR(view.m_Coeffs[0].real(), 0.0, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[1].real(), 0.125, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[2].real(), 0.75, 1e-15);
    EXPECT_NEAR(view.m_dIRPeak, 0.75, 1e-15);  // taken before windowing
}

TEST_F(FrequencySampling, LengthFollowsThePoints)
{
    SetPoints(512, 1.0);
    Design();
    EXPECT_EQ(view.m_nTaps, 1023);
    EXPECT_EQ(view.m_Coeffs.m_nCount, 1023);
    // All ones: a single centre tap of 1.
    EXPECT_NEAR(view.m_Coeffs[511].real(), 1.0, 1e-12);
    double rest = 0.0;
    for (int i = 0; i < 1023; ++i)
        if (i != 511)
            rest = std::max(rest, std::fabs(view.m_Coeffs[i].real()));
    EXPECT_LT(rest, 1e-12);

    SetPoints({0.5, 0.5});
    Design();
    EXPECT_EQ(view.m_nTaps, 3);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "3");
    EXPECT_NEAR(view.m_Coeffs[0].real(), 0.0, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[1].real(), 0.5, 1e-15);
    EXPECT_NEAR(view.m_Coeffs[2].real(), 0.0, 1e-15);
}

TEST_F(FrequencySampling, MissingOrTooFewPointsAreRefused)
{
    Design();
    EXPECT_EQ(LastMessage(), "No input data available.\nPlease read file first.");
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(host.Repaints(view.m_MagnitudeWnd), 0);
    EXPECT_EQ(view.m_nTaps, 63);

    // One point would transform a period of length 0; none (a document
    // saved that way) a negative one.
    for (int count : {1, 0}) {
        SetPoints(count, 1.0);
        host.ClearMessages();
        Design();
        EXPECT_EQ(LastMessage(),
                  "A frequency sampling design needs at least 2 input points.\nPlease read another file.");
        EXPECT_EQ(view.m_bDesignValid, 0);
        EXPECT_EQ(view.m_nTaps, 63);
        EXPECT_EQ(host.Repaints(view.m_MagnitudeWnd), 0);
    }
}

TEST_F(FrequencySampling, CancelledWindowDialogEndsTheDesignSilently)
{
    SetPoints({1.0, 1.0, 0.0, 0.0});
    Select(IDC_WINDOW_TYPE, WT_KAISER);
    host.QueueDialogCancel(CKaiserShapeDlg::IDD);
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(view.m_nTaps, 7);  // already changed
    EXPECT_EQ(view.m_Coeffs.m_nCount, 7);
    EXPECT_EQ(view.m_Coeffs.GetMaxMagnitude(), 0.0);
}

TEST_F(FrequencySampling, PointsThatOverflowTheTransformAreNoDesign)
{
    // Read File takes 1e400 as the largest double; two of them sum to infinity.
    SetPoints({1.0, 1.0, 0.0});
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    const std::vector<double> shown(view.m_ImpulseWnd.m_values.m_pValues.get(),
                                    view.m_ImpulseWnd.m_values.m_pValues.get() + view.m_ImpulseWnd.m_values.m_nCount);
    SetPoints(8, std::numeric_limits<double>::max());
    Design();
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(LastMessage(), kMsgTapsNotFinite);
    EXPECT_EQ(std::vector<double>(view.m_ImpulseWnd.m_values.m_pValues.get(),
                                  view.m_ImpulseWnd.m_values.m_pValues.get() + view.m_ImpulseWnd.m_values.m_nCount),
              shown);
}
