#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/FormTemplate.h"

TEST(CFilPar, Defaults)
{
    CFilPar p;
    EXPECT_EQ(p.m_nTaps, 63);
    EXPECT_EQ(p.m_nSamplingRate, 8000);
    EXPECT_EQ(p.m_nFirstCorner, 1000);
    EXPECT_EQ(p.m_nSecondCorner, 3000);
    EXPECT_EQ(p.m_nWindowType, WT_HAMMING);
    EXPECT_EQ(p.m_nFilterType, FT_LOWPASS);
    EXPECT_EQ(p.m_nDesignMethod, DM_SINC);
    EXPECT_EQ(p.m_nIRScaling, SC_NATURAL);
    EXPECT_EQ(p.m_dIRScale, 1.0);
    EXPECT_EQ(p.m_bSinXComp, 0);
    EXPECT_EQ(p.m_nStopbandAtt, 40);
    EXPECT_EQ(p.m_dShapeFactor, 5.0);
    EXPECT_EQ(p.m_dVariance, 1.0);
    EXPECT_EQ(p.m_strOutfile, "Outfile");
    EXPECT_EQ(p.m_nOutExt, 0);
    EXPECT_EQ(p.m_nNumFormat, 1);
    EXPECT_EQ(p.m_bInputData, 0);
    EXPECT_EQ(p.m_InputData.m_nCount, 0);
    EXPECT_EQ(p.m_nGridDensity, 16);
    EXPECT_EQ(p.m_nVersion, 0);
}

TEST(Form, ConstructionValues)
{
    CZantroView view;
    EXPECT_EQ(view.m_nTaps, 129);
    EXPECT_EQ(view.m_strIRScale, "1.0");
    EXPECT_EQ(view.m_dDiffGain, std::numbers::pi);
    EXPECT_EQ(view.m_nDiffGainSel, 0);
    EXPECT_EQ(view.m_dIRPeak, 1.0);
    EXPECT_EQ(view.m_dGain, 1.0);
    EXPECT_EQ(view.m_bDesignValid, 0);
    EXPECT_EQ(view.m_nTargetFilter, 0);
    EXPECT_EQ(view.m_MagnitudeWnd.m_pAxes, nullptr);
}

TEST(Form, StartShowsTheDocumentDefaults)
{
    ViewFixture f;
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_TAPS), "63");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_SAMPLING_RATE), "8000");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_FIRST_CORNER), "1000");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_SECOND_CORNER), "3000");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_IR_SCALE), "1.00");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_WINDOW_TYPE), "Hamming");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_FILTER_TYPE), "Lowpass");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_DESIGN_METHOD), "Sync + Window");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_IR_SCALING), "Natural");
    EXPECT_EQ(f.host.GetCurSel(f.view, IDC_TARGET_FILTER), 0);
    EXPECT_EQ(f.host.IsDlgButtonChecked(f.view, IDC_SINX_COMP), 0);
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_MAGNITUDE_CAPTION), "Magnitude");
    EXPECT_FALSE(f.doc.IsModified());
    // The scale edit takes at most 8 characters once written.
    EXPECT_EQ(f.host.TextLimit(f.view, IDC_IR_SCALE), 8);
    f.Type(IDC_IR_SCALE, "1.2345678901");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_IR_SCALE), "1.234567");
}

TEST(Form, ScaleEditFiltersKeystrokes)
{
    ViewFixture f;
    f.Type(IDC_IR_SCALE, "1e-3");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_IR_SCALE), "1-3");
    EXPECT_EQ(f.host.Beeps(), 1);
    // Digits-only edits drop other characters.
    f.Type(IDC_TAPS, "6x3");
    EXPECT_EQ(f.host.GetDlgItemText(f.view, IDC_TAPS), "63");
}

TEST(Form, LoadThenStoreKeepsEveryField)
{
    ViewFixture f;
    CFilPar& p = f.doc.m_FilPar;
    p.m_nDesignMethod = DM_DIRECT;
    p.m_nFilterType = FT_GAUSSIAN;
    p.m_nWindowType = WT_KAISER;
    p.m_nFirstCorner = 123;
    p.m_nSecondCorner = 456;
    p.m_nSamplingRate = 44100;
    p.m_nTaps = 77;
    p.m_nIRScaling = SC_OPTIMIZED;
    p.m_bSinXComp = 1;
    p.m_dIRScale = 2.0;
    p.m_nStopbandAtt = 60;
    p.m_dShapeFactor = 7.25;
    p.m_dVariance = 2.5;
    p.m_strOutfile = "coeffs";
    p.m_nOutExt = 1;
    p.m_nNumFormat = 4;
    f.view.LoadParameters();
    EXPECT_EQ(f.view.m_strIRScale, "2.00");
    f.view.StoreParameters();
    EXPECT_TRUE(f.doc.IsModified());
    EXPECT_EQ(p.m_nDesignMethod, DM_DIRECT);
    EXPECT_EQ(p.m_nFilterType, FT_GAUSSIAN);
    EXPECT_EQ(p.m_nWindowType, WT_KAISER);
    EXPECT_EQ(p.m_nFirstCorner, 123);
    EXPECT_EQ(p.m_nSecondCorner, 456);
    EXPECT_EQ(p.m_nSamplingRate, 44100);
    EXPECT_EQ(p.m_nTaps, 77);
    EXPECT_EQ(p.m_nIRScaling, SC_OPTIMIZED);
    EXPECT_EQ(p.m_bSinXComp, 1);
    EXPECT_EQ(p.m_dIRScale, 2.0);
    EXPECT_EQ(p.m_nStopbandAtt, 60);
    EXPECT_EQ(p.m_dShapeFactor, 7.25);
    EXPECT_EQ(p.m_dVariance, 2.5);
    EXPECT_EQ(p.m_strOutfile, "coeffs");
    EXPECT_EQ(p.m_nOutExt, 1);
    EXPECT_EQ(p.m_nNumFormat, 4);
}

TEST(Form, StoreUsesTheNumericScaleNotItsText)
{
    ViewFixture f;
    f.view.m_strIRScale = "7.77";
    f.view.m_dIRScale = 3.0;
    f.view.StoreParameters();
    EXPECT_EQ(f.doc.m_FilPar.m_dIRScale, 3.0);
}

TEST(Form, ChoosingKaiserOpensNoDialogUntilDesign)
{
    ViewFixture f;
    f.Select(IDC_WINDOW_TYPE, WT_KAISER);
    EXPECT_EQ(f.MessageCount(), 0u);
    f.host.QueueDialog(132, {{ScriptedHost::Action::Type, 1036, "6.5"}});
    f.Design();
    EXPECT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_EQ(f.view.m_dShapeFactor, 6.5);
}

TEST(Form, CloseButtonPostsACloseRequest)
{
    ViewFixture f;
    EXPECT_FALSE(f.host.CloseRequested());
    f.host.Click(f.view, IDC_CLOSE);
    EXPECT_TRUE(f.host.CloseRequested());
}

TEST(Form, TemplateLayout)
{
    const DialogTemplate& t = ZantroFormTemplate();
    EXPECT_EQ(t.id, 101);
    EXPECT_EQ(t.cx, 811);
    EXPECT_EQ(t.cy, 561);
    EXPECT_EQ(t.fontFace, "MS Sans Serif");
    ASSERT_NE(t.Find(IDC_SPARE), nullptr);
    EXPECT_TRUE(t.Find(IDC_SPARE)->style & StyleHidden);
    ASSERT_NE(t.Find(IDC_TARGET_FILTER), nullptr);
    EXPECT_EQ(t.Find(IDC_TARGET_FILTER)->kind, ControlKind::DropDownCombo);
    EXPECT_EQ(t.Find(IDC_TARGET_FILTER)->items.size(), 11u);
    EXPECT_EQ(t.Find(IDC_FILTER_TYPE)->items.at(4), "Hilbert Transformer");
    EXPECT_EQ(t.Find(IDC_DESIGN_METHOD)->items.at(0), "Sync + Window");
    EXPECT_EQ(t.Find(IDC_WINDOW_TYPE)->items.at(4), "Dolph-Chebyshev");
    EXPECT_TRUE(t.Find(IDC_TAPS)->style & StyleDigitsOnly);
    EXPECT_FALSE(t.Find(IDC_IR_SCALE)->style & StyleDigitsOnly);
    const ControlTemplate* design = t.Find(IDC_DESIGN);
    EXPECT_EQ(design->text, "Design");
    EXPECT_EQ(design->x, 740);
    EXPECT_EQ(design->y, 10);
}
