#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CZantroView.h"
#include "dsp/WindowFunctions.h"
#include "platform/ScriptedHost.h"

namespace {

using Act = ScriptedHost::Action;

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { view.SetHost(&host); }

    // Window of n samples into m_Window, as the design routines ask for it.
    int Compute(int n, int type)
    {
        view.m_Window.SetSize(0);
        view.m_Window.SetSize(n);
        return view.ComputeWindow(view.m_Window, type);
    }
    std::vector<double> Real() const
    {
        std::vector<double> v;
        for (int i = 0; i < view.m_Window.m_nCount; ++i)
            v.push_back(view.m_Window[i].real());
        return v;
    }
    void ExpectReal(const std::vector<double>& expected, double tolerance) const
    {
        ASSERT_EQ(view.m_Window.m_nCount, static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(view.m_Window[static_cast<int>(i)].real(), expected[i], tolerance) << "sample " << i;
        }
    }

    ScriptedHost host;
    CZantroView view;
};

// Largest sidelobe of the window's amplitude spectrum in dB relative to DC,
// by a direct DFT on a fine grid from 0 to fs/2 written for this test.
double LargestSidelobeDb(const std::vector<double>& w)
{
    const int grid = 8192;
    std::vector<double> mag(grid / 2 + 1);
    for (int k = 0; k <= grid / 2; ++k) {
        std::complex<double> s;
        for (size_t n = 0; n < w.size(); ++n)
            s += w[n] * std::polar(1.0, -2.0 * std::numbers::pi * k * static_cast<double>(n) / grid);
        mag[static_cast<size_t>(k)] = std::abs(s);
    }
    size_t k = 1;
    while (k + 1 < mag.size() && mag[k + 1] < mag[k])
        ++k;
    double peak = 0.0;
    for (; k < mag.size(); ++k)
        peak = std::max(peak, mag[k]);
    return 20.0 * std::log10(peak / mag[0]);
}

}  // namespace

TEST(WindowFunctions, BesselI0AgreesWithReferenceValues)
{
    // scipy.special.i0; the series stops at a relative term of 1e-6.
    const struct {
        double x, i0;
    } cases[] = {{0.5, 1.0634833707413234}, {1.0, 1.2660658777520082}, {3.0, 4.880792585865024},
                 {5.0, 27.239871823604442}, {10.0, 2815.716628466254},  {20.0, 43558282.559553534}};
    for (const auto& c : cases)
        EXPECT_NEAR(BesselI0(c.x) / c.i0, 1.0, 1e-6) << "x = " << c.x;
    EXPECT_EQ(BesselI0(0.0), 1.0);
    EXPECT_EQ(BesselI0(-5.0), BesselI0(5.0));
}

TEST(WindowFunctions, ChebyshevPolyOnBothSidesOfOne)
{
    EXPECT_NEAR(ChebyshevPoly(0.5, 3), -1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(-0.5, 2), -0.5, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(1.0, 7), 1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(-1.0, 7), -1.0, 1e-14);
    EXPECT_NEAR(ChebyshevPoly(2.0, 3), 26.0, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(1.5, 5), 61.5, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(2.0, 4), 97.0, 1e-12);
    // Below -1 the parity of T_n gives the value.
    EXPECT_NEAR(ChebyshevPoly(-2.0, 3), -26.0, 1e-12);
    EXPECT_NEAR(ChebyshevPoly(-2.0, 4), 97.0, 1e-12);
    EXPECT_EQ(ArcCosh(1.0), 0.0);
    EXPECT_NEAR(ArcCosh(std::cosh(2.0)), 2.0, 1e-14);
}

TEST_F(WindowTest, CosineWindowsGoldenSamples)
{
    ASSERT_EQ(Compute(4, 2), 1);
    ExpectReal({0.08, 0.77, 0.77, 0.08}, 1e-15);

    ASSERT_EQ(Compute(5, 1), 1);
    ExpectReal({0.0, 0.5, 1.0, 0.5, 0.0}, 1e-15);
    EXPECT_EQ(view.m_Window[0].real(), 0.0);
    EXPECT_EQ(view.m_Window[4].real(), 0.0);

    ASSERT_EQ(Compute(5, 3), 1);
    ExpectReal({0.0, 0.34, 1.0, 0.34, 0.0}, 1e-15);

    ASSERT_EQ(Compute(6, 0), 1);
    EXPECT_EQ(Real(), std::vector<double>(6, 1.0));

    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(view.m_Window[i].imag(), 0.0);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(WindowTest, CosineWindowsAreSymmetricForEvenAndOddLengths)
{
    for (int type = 1; type <= 3; ++type)
        for (int n : {64, 129}) {
            Compute(n, type);
            for (int i = 0; i < n; ++i)
                EXPECT_NEAR(view.m_Window[i].real(), view.m_Window[n - 1 - i].real(), 1e-14)
                    << "type " << type << " n " << n << " i " << i;
        }
}

TEST_F(WindowTest, KaiserUsesTheIntegerHalfLength)
{
    host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "5"}, {Act::Ok}});
    ASSERT_EQ(Compute(4, 5), 1);
    // scipy.special.i0(0) / i0(5) and i0(5 sqrt(0.75)) / i0(5).
    const double edge = 0.036710892271286676, inner = 0.5528517696991324;
    ExpectReal({edge, inner, 1.0, inner}, 1e-6);
    EXPECT_EQ(view.m_Window[2].real(), 1.0);
    EXPECT_NE(view.m_Window[0].real(), view.m_Window[3].real());
    EXPECT_EQ(view.m_dShapeFactor, 5.0);

    // Odd N gives the usual symmetric window (scipy.signal.windows.kaiser(5, 5)).
    host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "5"}, {Act::Ok}});
    ASSERT_EQ(Compute(5, 5), 1);
    ExpectReal({edge, inner, 1.0, inner, edge}, 1e-6);
}

TEST_F(WindowTest, KaiserWithZeroShapeIsRectangular)
{
    host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "0"}});
    ASSERT_EQ(Compute(7, 5), 1);
    EXPECT_EQ(Real(), std::vector<double>(7, 1.0));
    EXPECT_EQ(view.m_dShapeFactor, 0.0);
}

TEST_F(WindowTest, KaiserDialogIsSeededAndRoundsToTwoDecimals)
{
    view.m_dShapeFactor = 5.4432;
    host.QueueDialogOk(CKaiserShapeDlg::IDD);
    ASSERT_EQ(Compute(9, 5), 1);
    EXPECT_EQ(view.m_dShapeFactor, 5.44);
}

TEST_F(WindowTest, DolphChebyshevGoldenSamples)
{
    // scipy.signal.windows.chebwin(N, 40).
    const std::vector<double> odd = {0.1179052969785759,  0.27762935514380654, 0.5064343476629294,
                                     0.7468325929095349,  0.9309195144836199,  1.0,
                                     0.9309195144836199,  0.7468325929095349,  0.5064343476629294,
                                     0.27762935514380654, 0.1179052969785759};
    const std::vector<double> even = {0.11672706255845249, 0.2572140869419311, 0.4633175313088938,
                                      0.6901477689766918,  0.8861124235001353, 1.0,
                                      1.0,                 0.8861124235001353, 0.6901477689766918,
                                      0.4633175313088938,  0.2572140869419311, 0.11672706255845249};
    for (const auto* expected : {&odd, &even}) {
        const int n = static_cast<int>(expected->size());
        host.QueueDialogOk(CStopbandAttDlg::IDD);
        ASSERT_EQ(Compute(n, 4), 1);
        ExpectReal(*expected, 1e-12);
        EXPECT_DOUBLE_EQ(std::abs(view.m_Window[(n - 1) / 2]), 1.0);
        EXPECT_EQ(view.m_Window[0], view.m_Window[n - 1]);
        for (int i = 0; i < n; ++i)
            EXPECT_LT(std::abs(view.m_Window[i].imag()), 1e-12);
        EXPECT_NEAR(LargestSidelobeDb(Real()), -40.0, 0.01) << "N = " << n;
    }
    EXPECT_EQ(view.m_nStopbandAtt, 40);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(WindowTest, DolphChebyshevSidelobesFollowTheEnteredAttenuation)
{
    for (int att : {10, 60, 100}) {
        host.QueueDialog(CStopbandAttDlg::IDD,
                         {{Act::Type, CStopbandAttDlg::IDC_ATT_EDIT, std::to_string(att)}, {Act::Ok}});
        ASSERT_EQ(Compute(51, 4), 1);
        EXPECT_EQ(view.m_nStopbandAtt, att);
        EXPECT_NEAR(LargestSidelobeDb(Real()), -att, 0.05) << att << " dB";
    }
}

TEST_F(WindowTest, DolphChebyshevIntoAnotherArrayStillFillsIt)
{
    host.QueueDialogOk(CStopbandAttDlg::IDD);
    view.m_Window.SetSize(0);
    CPoints other(11);
    ASSERT_EQ(view.ComputeWindow(other, 4), 1);
    ASSERT_EQ(view.m_Window.m_nCount, 11);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(other[i], view.m_Window[i]);
    EXPECT_NEAR(other[0].real(), 0.1179052969785759, 1e-12);
}

TEST_F(WindowTest, CancelledDialogsKeepTheirParameters)
{
    view.m_dShapeFactor = 7.25;
    view.m_nStopbandAtt = 55;
    for (int type : {4, 5}) {
        host.QueueDialogCancel(type == 4 ? int(CStopbandAttDlg::IDD) : int(CKaiserShapeDlg::IDD));
        view.m_Window.SetSize(0);
        view.m_Window.SetSize(8);
        view.m_Window[3] = Complex(0.25, 0.0);
        EXPECT_EQ(view.ComputeWindow(view.m_Window, type), 0);
        EXPECT_EQ(view.m_Window[3], Complex(0.25, 0.0));
        EXPECT_EQ(view.m_Window[0], Complex(0.0, 0.0));
    }
    // A refused entry that is never corrected ends the dialog the same way.
    host.QueueDialog(CStopbandAttDlg::IDD, {{Act::Type, CStopbandAttDlg::IDC_ATT_EDIT, "9"}, {Act::Ok}});
    EXPECT_EQ(Compute(8, 4), 0);
    host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "20.01"}, {Act::Ok}});
    EXPECT_EQ(Compute(8, 5), 0);
    EXPECT_EQ(host.RefusedDialogs(), 2);
    EXPECT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(view.m_dShapeFactor, 7.25);
    EXPECT_EQ(view.m_nStopbandAtt, 55);
}

TEST_F(WindowTest, UnknownTypeLeavesThePointsAlone)
{
    for (int type : {-1, 6, 99}) {
        view.m_Window.SetSize(0);
        view.m_Window.SetSize(4);
        view.m_Window[1] = Complex(3.0, -1.0);
        EXPECT_EQ(view.ComputeWindow(view.m_Window, type), 1);
        EXPECT_EQ(view.m_Window[1], Complex(3.0, -1.0));
        EXPECT_EQ(view.m_Window[0], Complex(0.0, 0.0));
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(WindowTest, SingleTapWindowIsOne)
{
    // Every formula divides by N - 1 or N / 2; one tap must not give NaN.
    for (int type = 0; type <= 5; ++type) {
        ASSERT_EQ(Compute(1, type), 1);
        EXPECT_EQ(view.m_Window[0], Complex(1.0, 0.0)) << "type " << type;
    }
}

TEST_F(WindowTest, TwoTapWindowsAreFinite)
{
    for (int type = 0; type <= 5; ++type) {
        ASSERT_EQ(Compute(2, type), 1);
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(std::isfinite(view.m_Window[i].real())) << "type " << type;
    }
}
