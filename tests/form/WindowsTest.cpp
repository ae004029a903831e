#include <gtest/gtest.h>

#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CZantroView.h"
#include "dsp/DesignKinds.h"
#include "dsp/Windows.h"
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
    ScriptedHost host;
    CZantroView view;
};

}  // namespace

TEST_F(WindowTest, DialogAnswersReachTheWindow)
{
    // What the dialogs take is what the window is computed with.
    host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "8.6"}, {Act::Ok}});
    ASSERT_EQ(Compute(64, WT_KAISER), 1);
    EXPECT_EQ(view.m_dShapeFactor, 8.6);
    CPoints expected(64);
    ASSERT_EQ(ComputeWindowSamples(expected, WT_KAISER, {40, 8.6}), DspStatus::Ok);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(view.m_Window[i], expected[i]) << i;

    for (int att : {10, 60, 100}) {
        host.QueueDialog(CStopbandAttDlg::IDD,
                         {{Act::Type, CStopbandAttDlg::IDC_ATT_EDIT, std::to_string(att)}, {Act::Ok}});
        ASSERT_EQ(Compute(51, WT_CHEBYSHEV), 1);
        EXPECT_EQ(view.m_nStopbandAtt, att);
        CPoints chebyshev(51);
        ASSERT_EQ(ComputeWindowSamples(chebyshev, WT_CHEBYSHEV, {att, 5.0}), DspStatus::Ok);
        for (int i = 0; i < 51; ++i)
            EXPECT_EQ(view.m_Window[i], chebyshev[i]) << att << " dB, sample " << i;
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(WindowTest, KaiserDialogIsSeededAndRoundsToTwoDecimals)
{
    view.m_dShapeFactor = 5.4432;
    host.QueueDialogOk(CKaiserShapeDlg::IDD);
    ASSERT_EQ(Compute(9, 5), 1);
    EXPECT_EQ(view.m_dShapeFactor, 5.44);
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
