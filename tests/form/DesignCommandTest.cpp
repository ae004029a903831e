#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/DesignMessages.h"

namespace {

struct DesignCommand : ::testing::Test, ViewFixture {};

}  // namespace

TEST_F(DesignCommand, CornerMustBeBelowHalfTheSamplingRate)
{
    Type(IDC_FIRST_CORNER, "4000");
    Design();
    EXPECT_EQ(LastMessage(), kMsgCornerFrequencies);
    EXPECT_EQ(host.Messages().back().type, MB_OK);  // no icon
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_FALSE(doc.IsModified());

    host.ClearMessages();
    Type(IDC_FIRST_CORNER, "3999");
    Type(IDC_SECOND_CORNER, "3999");
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(view.m_bDesignValid, 1);

    // 8001 / 2 is 4000 in integer division, so 4000 is still refused.
    host.ClearMessages();
    Type(IDC_SAMPLING_RATE, "8001");
    Type(IDC_FIRST_CORNER, "4000");
    Design();
    EXPECT_EQ(LastMessage(), kMsgCornerFrequencies);
}

TEST_F(DesignCommand, StaleSecondCornerRefusesLowpassButNotRemez)
{
    Type(IDC_SECOND_CORNER, "4000");
    Design();
    EXPECT_EQ(LastMessage(), kMsgCornerFrequencies);

    host.ClearMessages();
    Select(IDC_DESIGN_METHOD, DM_REMEZ);
    Type(IDC_FIRST_CORNER, "9000");
    Design();
    for (const auto& m : host.Messages())
        EXPECT_NE(m.text, kMsgCornerFrequencies);
    EXPECT_TRUE(doc.IsModified());  // the Remez routine was entered
}

TEST_F(DesignCommand, ScaleTextAndScalingModes)
{
    // Natural replaces any text by 1.00 before validation.
    Type(IDC_IR_SCALE, "abc");
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1.00");
    EXPECT_EQ(view.m_bDesignValid, 1);

    Select(IDC_IR_SCALING, SC_CUSTOM);
    Type(IDC_IR_SCALE, "20");
    Design();
    EXPECT_EQ(LastMessage(), kMsgScaleRange);
    EXPECT_EQ(view.m_bDesignValid, 1);  // refused before the design started: nothing cleared

    host.ClearMessages();
    Type(IDC_IR_SCALE, "10");
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    Type(IDC_IR_SCALE, "0.1");
    Design();
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_DOUBLE_EQ(view.m_dGain, 0.1);
    Type(IDC_IR_SCALE, "0.09");
    Design();
    EXPECT_EQ(LastMessage(), kMsgScaleRange);
}

TEST_F(DesignCommand, UnsupportedPairsShowTheMethodMessage)
{
    struct Case {
        int type, method;
        const char* message;
    };
    const Case cases[] = {
        {FT_DIFFERENTIATOR, DM_FREQUENCY_SAMPLING, kMsgFreqSamplingNotSupported},
        {FT_HILBERT, DM_FREQUENCY_SAMPLING, kMsgFreqSamplingNotSupported},
        {FT_MOVING_AVERAGE, DM_SINC, kMsgSincNotSupported},
        {FT_GAUSSIAN, DM_SINC, kMsgSincNotSupported},
        {FT_LOWPASS, DM_DIRECT, kMsgDirectNotSupported},
        {FT_DIFFERENTIATOR, DM_DIRECT, kMsgDirectNotSupported},
        {FT_ALLPASS, DM_REMEZ, kMsgRemezNotSupported},
    };
    for (const Case& c : cases) {
        ViewFixture f;
        f.Select(IDC_FILTER_TYPE, c.type);
        f.Select(IDC_DESIGN_METHOD, c.method);
        f.Design();
        ASSERT_EQ(f.MessageCount(), 1u) << c.type << "/" << c.method;
        EXPECT_EQ(f.LastMessage(), c.message);
        EXPECT_FALSE(f.doc.IsModified());  // refused pairs store nothing
        EXPECT_EQ(f.view.m_bDesignValid, 0);
    }
}

TEST_F(DesignCommand, SupportedPairsReachTheirRoutine)
{
    for (int type : {FT_GAUSSIAN, FT_ALLPASS, FT_MOVING_AVERAGE}) {
        ViewFixture f;
        f.Select(IDC_FILTER_TYPE, type);
        f.Select(IDC_DESIGN_METHOD, DM_DIRECT);
        f.Select(IDC_WINDOW_TYPE, WT_RECTANGULAR);
        f.Design();
        EXPECT_EQ(f.MessageCount(), 0u) << type;
        EXPECT_EQ(f.view.m_bDesignValid, 1) << type;
        EXPECT_TRUE(f.doc.IsModified());
    }
}

TEST_F(DesignCommand, FirTypes)
{
    EXPECT_EQ(CZantroView::GetFirType(FT_HILBERT, 32), 3);
    EXPECT_EQ(CZantroView::GetFirType(FT_LOWPASS, 33), 0);
    EXPECT_EQ(CZantroView::GetFirType(FT_ALLPASS, 32), 1);
    EXPECT_EQ(CZantroView::GetFirType(FT_GAUSSIAN, 33), 2);
    EXPECT_EQ(CZantroView::GetFirType(FT_MOVING_AVERAGE, 4), 1);
    EXPECT_EQ(CZantroView::GetFirType(FT_DIFFERENTIATOR, 5), 2);
    EXPECT_EQ(CZantroView::GetFirType(42, 5), 2);  // out-of-range types count as antisymmetric
    EXPECT_EQ(CZantroView::GetFirType(-1, 6), 3);

    Select(IDC_FILTER_TYPE, FT_HILBERT);
    Type(IDC_TAPS, "32");
    Design();
    EXPECT_EQ(view.m_nFirType, 3);
}

TEST_F(DesignCommand, FieldExchangeRefusalsStopTheCommand)
{
    Type(IDC_TAPS, "2000");
    Design();
    ASSERT_EQ(MessageCount(), 1u);
    EXPECT_EQ(LastMessage(), "Please enter an integer between 4 and 1025.");
    EXPECT_EQ(host.Messages().back().type, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(host.FocusedControl(view), IDC_TAPS);
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_FALSE(doc.IsModified());

    host.ClearMessages();
    Type(IDC_TAPS, "");
    Design();
    EXPECT_EQ(LastMessage(), "Please enter an integer.");

    host.ClearMessages();
    Type(IDC_TAPS, "63");
    Type(IDC_FIRST_CORNER, "20000000");
    Type(IDC_SECOND_CORNER, "");  // later controls are not reached
    Design();
    ASSERT_EQ(MessageCount(), 1u);
    EXPECT_EQ(LastMessage(), "Please enter an integer between 0 and 10000000.");
    EXPECT_EQ(host.FocusedControl(view), IDC_FIRST_CORNER);

    host.ClearMessages();
    Type(IDC_FIRST_CORNER, "1000");
    Type(IDC_SECOND_CORNER, "3000");
    host.SetDlgItemText(view, IDC_IR_SCALE, "123456789");  // pasted past the typing limit
    Design();
    EXPECT_EQ(LastMessage(), "Please enter no more than 8 characters.");
    EXPECT_EQ(host.FocusedControl(view), IDC_IR_SCALE);
}

TEST_F(DesignCommand, TypedTextInTargetComboIsRefusedByItsRange)
{
    // Text that selects no entry reads back as -1, outside 0..255.
    host.SetDlgItemText(view, IDC_TARGET_FILTER, "my filter");
    Design();
    EXPECT_EQ(LastMessage(), "Please enter an integer between 0 and 255.");
    EXPECT_EQ(view.m_bDesignValid, 0);
}

TEST_F(DesignCommand, StoreParametersCopiesTheWorkingCopyAndMarksModified)
{
    Configure(FT_BANDSTOP, DM_SINC, WT_BLACKMAN, 101, 16000, 1500, 2500);
    Select(IDC_IR_SCALING, SC_CUSTOM);
    Type(IDC_IR_SCALE, "2.5");
    host.Click(view, IDC_SINX_COMP);
    Design();
    ASSERT_EQ(MessageCount(), 0u);
    const CFilPar& p = doc.m_FilPar;
    EXPECT_EQ(p.m_nFilterType, FT_BANDSTOP);
    EXPECT_EQ(p.m_nWindowType, WT_BLACKMAN);
    EXPECT_EQ(p.m_nTaps, 101);
    EXPECT_EQ(p.m_nSamplingRate, 16000);
    EXPECT_EQ(p.m_nFirstCorner, 1500);
    EXPECT_EQ(p.m_nSecondCorner, 2500);
    EXPECT_EQ(p.m_nIRScaling, SC_CUSTOM);
    EXPECT_EQ(p.m_bSinXComp, 1);
    EXPECT_DOUBLE_EQ(p.m_dIRScale, 2.5);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DesignCommand, CornerOrderMessageStillStoresParameters)
{
    Configure(FT_BANDPASS, DM_SINC, WT_HAMMING, 63, 8000, 2000, 2000);
    Design();
    EXPECT_EQ(LastMessage(), kMsgCornerOrder);
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_TRUE(doc.IsModified());  // the routine was entered
    EXPECT_EQ(doc.m_FilPar.m_nFirstCorner, 2000);
}

TEST_F(DesignCommand, CancelledWindowDialogLeavesNoDesignButMarksModified)
{
    Design();
    ASSERT_EQ(view.m_bDesignValid, 1);
    const double centre = view.m_Coeffs[31].real();
    doc.SetModifiedFlag(false);

    Select(IDC_WINDOW_TYPE, WT_KAISER);
    host.QueueDialogCancel(132);
    Design();
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_DOUBLE_EQ(view.m_dShapeFactor, 5.0);
    // The plots keep the previous design.
    EXPECT_DOUBLE_EQ(view.m_ImpulseWnd.m_values[31], centre);
}
