#include <gtest/gtest.h>

#include <cmath>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/CKaiserShapeDlg.h"
#include "form/FormTemplate.h"

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
    // Every field a value of its own that differs from the default, so a
    // field copied into the wrong member, or by neither side, shows.
    ViewFixture f;
    CFilPar& p = f.doc.m_FilPar;
    p.m_nDesignMethod = DM_DIRECT;        // 3
    p.m_nFilterType = FT_GAUSSIAN;        // 6
    p.m_nWindowType = WT_KAISER;          // 5
    p.m_nFirstCorner = 123;
    p.m_nSecondCorner = 456;
    p.m_nSamplingRate = 44100;
    p.m_nTaps = 77;
    p.m_nIRScaling = SC_OPTIMIZED;        // 2
    p.m_bSinXComp = 1;
    p.m_dIRScale = 2.25;
    p.m_nStopbandAtt = 60;
    p.m_dShapeFactor = 7.5;
    p.m_dVariance = 2.75;
    p.m_strOutfile = "coeffs";
    p.m_nOutExt = 1;
    p.m_nNumFormat = 4;
    const CFilPar defaults;
    f.view.LoadParameters();
    EXPECT_EQ(f.view.m_strIRScale, "2.25");

    // Stored into another document: what neither side copies keeps the default there.
    CZantroDoc other;
    f.view.SetDocument(&other);
    f.view.StoreParameters();
    EXPECT_TRUE(other.IsModified());
    const CFilPar& q = other.m_FilPar;
#define EXPECT_FIELD(field)                    \
    EXPECT_NE(p.field, defaults.field) << #field; \
    EXPECT_EQ(q.field, p.field) << #field
    EXPECT_FIELD(m_nDesignMethod);
    EXPECT_FIELD(m_nFilterType);
    EXPECT_FIELD(m_nWindowType);
    EXPECT_FIELD(m_nFirstCorner);
    EXPECT_FIELD(m_nSecondCorner);
    EXPECT_FIELD(m_nSamplingRate);
    EXPECT_FIELD(m_nTaps);
    EXPECT_FIELD(m_nIRScaling);
    EXPECT_FIELD(m_bSinXComp);
    EXPECT_FIELD(m_dIRScale);
    EXPECT_FIELD(m_nStopbandAtt);
    EXPECT_FIELD(m_dShapeFactor);
    EXPECT_FIELD(m_dVariance);
    EXPECT_FIELD(m_strOutfile);
    EXPECT_FIELD(m_nOutExt);
    EXPECT_FIELD(m_nNumFormat);
#undef EXPECT_FIELD
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
    f.host.QueueDialog(CKaiserShapeDlg::IDD, {{ScriptedHost::Action::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "6.5"}});
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
