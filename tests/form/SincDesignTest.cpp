#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ViewFixture.h"
#include "data/FirwinReference.h"
#include "document/CFilPar.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CVarianceDlg.h"
#include "form/DesignMessages.h"

namespace {

struct SincDesign : ::testing::Test, ViewFixture {
    // Runs a rectangular-window design, so the taps are the ideal response.
    void Ideal(int type, int taps, int f1 = 1000, int f2 = 3000, int method = DM_SINC)
    {
        Configure(type, method, WT_RECTANGULAR, taps, 8000, f1, f2);
        Design();
    }
    double Tap(int i) const { return view.m_Coeffs[i].real(); }
};

void ExpectMatches(const CZantroView& view, const double* reference, int n, double sign)
{
    ASSERT_EQ(view.m_Coeffs.m_nCount, n);
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(view.m_Coeffs[i].real(), sign * reference[i], 1e-12) << "tap " << i;
}

}  // namespace

TEST_F(SincDesign, BandpassCarriesTheOppositeSign)
{
    Ideal(FT_BANDPASS, 63);
    EXPECT_DOUBLE_EQ(Tap(31), -0.5);
    EXPECT_DOUBLE_EQ(view.m_dIRPeak, 0.5);

    host.ClearMessages();
    Ideal(FT_BANDPASS, 63, 1000, 1000);
    EXPECT_EQ(LastMessage(), kMsgCornerOrder);
    Ideal(FT_BANDSTOP, 63, 3000, 1000);
    EXPECT_EQ(LastMessage(), kMsgCornerOrder);
}

TEST_F(SincDesign, AllpassAndMovingAverage)
{
    Ideal(FT_ALLPASS, 33, 1000, 3000, DM_DIRECT);
    EXPECT_DOUBLE_EQ(Tap(16), 1.0);
    for (int i = 0; i < 33; ++i) {
        if (i != 16) {
            EXPECT_NEAR(Tap(i), 0.0, 1e-15);
        }
    }

    Ideal(FT_ALLPASS, 32, 1000, 3000, DM_DIRECT);
    for (int i = 0; i < 32; ++i) {
        const double x = i - 15.5;
        EXPECT_NEAR(Tap(i), std::sin(std::numbers::pi * x) / (std::numbers::pi * x), 1e-15);
    }

    // Moving average ignores the window, whatever it is.
    Configure(FT_MOVING_AVERAGE, DM_DIRECT, WT_HANNING, 4);
    Design();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Tap(i), 0.25);
    EXPECT_EQ(view.m_dIRPeak, 1.0);
}

TEST_F(SincDesign, HilbertAndDifferentiatorAreAntisymmetric)
{
    for (int type : {FT_HILBERT, FT_DIFFERENTIATOR}) {
        for (int taps : {31, 32}) {
            ViewFixture f;
            f.Configure(type, DM_SINC, WT_HAMMING, taps, 8000, 300, 3700);
            f.Design();
            ASSERT_EQ(f.view.m_bDesignValid, 1);
            const CPoints& h = f.view.m_Coeffs;
            for (int i = 0; i < taps; ++i)
                EXPECT_NEAR(h[i].real(), -h[taps - 1 - i].real(), 1e-14) << type << " " << taps << " " << i;
            if (taps % 2 == 1) {
                EXPECT_EQ(h[taps / 2].real(), 0.0);
            }
            EXPECT_NEAR(f.view.m_dIRPeak, [&] {
                // the reference is the largest ideal tap, before the window
                double peak = 0;
                for (int i = 0; i < taps; ++i)
                    peak = std::max(peak, std::fabs(h[i].real() / f.view.m_Window[i].real()));
                return peak;
            }(), 1e-12);
        }
    }
}

TEST_F(SincDesign, DifferentiatorSlopeFollowsTheGain)
{
    // Full band 0..fs/2: the ideal response is K f / (fs/2); at f = fs/4 it is K/2.
    host.QueueDialog(CDifferentiatorDlg::IDD, {{ScriptedHost::Action::Click, CDifferentiatorDlg::IDC_GAIN_ONE, {}}});
    Ideal(FT_DIFFERENTIATOR, 255, 0, 3999);
    ASSERT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(view.m_dDiffGain, 1.0);
    EXPECT_EQ(view.m_nDiffGainSel, 2);
    Complex h;
    for (int i = 0; i < 255; ++i)
        h += view.m_Coeffs[i] * std::polar(1.0, -std::numbers::pi / 2 * (i - 127));
    EXPECT_NEAR(std::abs(h), 0.5, 0.01);

    // A cancelled gain dialog produces no design and keeps the gain.
    host.QueueDialogCancel(CDifferentiatorDlg::IDD);
    Design();
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(view.m_dDiffGain, 1.0);
}

TEST_F(SincDesign, GaussianEdge)
{
    Configure(FT_GAUSSIAN, DM_DIRECT, WT_RECTANGULAR, 5);
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    const double norm = std::sqrt(2 * std::numbers::pi);
    for (int i = 0; i < 5; ++i) {
        const double x = i - 2.0;
        EXPECT_NEAR(Tap(i), -x * std::exp(-x * x / 2) / norm, 1e-15);
    }
    EXPECT_EQ(Tap(2), 0.0);
    EXPECT_GT(std::fabs(Tap(1)), std::fabs(Tap(0)));
    EXPECT_DOUBLE_EQ(view.m_dIRPeak, std::fabs(Tap(1)));

    // A cancelled variance dialog resets sigma to 1.0 and still designs.
    view.m_dVariance = 2.0;
    host.QueueDialogCancel(CVarianceDlg::IDD);
    Design();
    EXPECT_EQ(view.m_dVariance, 1.0);
    EXPECT_EQ(view.m_bDesignValid, 1);
}

TEST_F(SincDesign, DirectTypesAreWindowedExceptMovingAverage)
{
    Configure(FT_ALLPASS, DM_DIRECT, WT_HAMMING, 33);
    Design();
    EXPECT_NEAR(Tap(16), 1.0, 1e-15);
    EXPECT_NEAR(view.m_Window[16].real(), 1.0, 1e-15);

    Configure(FT_GAUSSIAN, DM_DIRECT, WT_HANNING, 9);
    Design();
    EXPECT_EQ(Tap(0), 0.0);  // Hanning's end samples are zero

    // Kaiser opens its dialog for every direct type.
    Configure(FT_MOVING_AVERAGE, DM_DIRECT, WT_KAISER, 8);
    host.QueueDialogCancel(CKaiserShapeDlg::IDD);
    Design();
    EXPECT_EQ(view.m_bDesignValid, 0);
}

TEST(SincCrossCheck, MatchesTextbookWindowedSinc)
{
    struct Case {
        int type, taps, f1, f2;
        const double* reference;
        double sign;
    };
    const Case cases[] = {
        {FT_LOWPASS, 63, 1000, 3000, kFirwinLowpass63, 1.0},
        {FT_LOWPASS, 64, 1000, 3000, kFirwinLowpass64, 1.0},
        {FT_LOWPASS, 1025, 1000, 3000, kFirwinLowpass1025, 1.0},
        {FT_HIGHPASS, 63, 1000, 3000, kFirwinHighpass63, 1.0},
        {FT_BANDSTOP, 63, 1000, 3000, kFirwinBandstop63, 1.0},
        {FT_BANDPASS, 63, 1000, 3000, kFirwinBandpass63, -1.0},
        {FT_BANDPASS, 64, 1000, 3000, kFirwinBandpass64, -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " taps " << c.taps);
        ViewFixture f;
        f.Configure(c.type, DM_SINC, WT_HAMMING, c.taps, 8000, c.f1, c.f2);
        f.Design();
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        ExpectMatches(f.view, c.reference, c.taps, c.sign);
    }
}
