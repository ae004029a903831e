#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "form/CDifferentiatorDlg.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CVarianceDlg.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/ScriptedHost.h"

namespace {

using Act = ScriptedHost::Action;
using Diff = CDifferentiatorDlg;
using Kaiser = CKaiserShapeDlg;
using Att = CStopbandAttDlg;
using Var = CVarianceDlg;

class DialogTest : public ::testing::Test {
protected:
    DialogTest() { parent.SetHost(&host); }

    // Opens dlg as a modal run would, without ending it, so its controls can be inspected.
    void Open(CDialog& dlg)
    {
        dlg.ResetModalState();
        host.CreateControls(dlg);
        dlg.OnInitDialog();
    }
    // The one message shown so far, or "" when there is not exactly one.
    std::string OnlyMessage() const { return host.Messages().size() == 1 ? host.Messages()[0].text : ""; }

    ScriptedHost host;
    CWnd parent;
};

void ExpectControl(const DialogTemplate& t, int id, ControlKind kind, const std::string& text, int x, int y, int cx,
                   int cy, unsigned style = StyleNone)
{
    const ControlTemplate* c = t.Find(id);
    ASSERT_NE(c, nullptr) << id;
    EXPECT_EQ(c->kind, kind) << id;
    EXPECT_EQ(c->text, text) << id;
    EXPECT_EQ((std::vector<int>{c->x, c->y, c->cx, c->cy}), (std::vector<int>{x, y, cx, cy})) << id;
    EXPECT_EQ(c->style, style) << id;
}

void ExpectButtons(const DialogTemplate& t, int okX, int okY, int cancelX, int cancelY)
{
    ExpectControl(t, IDOK, ControlKind::DefPushButton, "OK", okX, okY, 50, 14);
    ExpectControl(t, IDCANCEL, ControlKind::PushButton, "Cancel", cancelX, cancelY, 50, 14);
}

}  // namespace

TEST_F(DialogTest, TemplatesMatchTheLayouts)
{
    using K = ControlKind;
    Diff diff(&parent);
    const DialogTemplate& d = *diff.GetTemplate();
    EXPECT_EQ(d.id, 133);
    EXPECT_EQ(d.caption, "Differentiator");
    EXPECT_EQ(d.cx, 237);
    EXPECT_EQ(d.cy, 173);
    EXPECT_EQ(d.fontFace, "MS Sans Serif");
    EXPECT_EQ(d.fontPoints, 8);
    EXPECT_EQ(d.controls.size(), 10u);
    ExpectControl(d, 1040, K::Static,
                  "A differentiator must be causal, just like any other type of FIR filter.\nTherefore, apart from "
                  "a phase shift by + Pi, it will produce a\nconstant delay of (N - 1) / (2 * fs).",
                  18, 6, 215, 25);
    ExpectControl(d, 1049, K::Static, "Normalized gain at (fs / 2)", 18, 54, 90, 8);
    ExpectControl(d, 1054, K::GroupBox, "", 120, 42, 48, 84);
    ExpectControl(d, 1050, K::RadioButton, "PI", 126, 54, 23, 10, StyleAuto | StyleGroup);
    ExpectControl(d, 1155, K::RadioButton, "PI / 2", 126, 72, 34, 10, StyleAuto);
    ExpectControl(d, 1051, K::RadioButton, "1.0", 126, 90, 26, 10, StyleAuto);
    ExpectControl(d, 1052, K::RadioButton, "Other:", 126, 108, 35, 10, StyleAuto);
    ExpectControl(d, 1053, K::Edit, "", 180, 102, 40, 14, StyleRight);
    ExpectButtons(d, 168, 144, 18, 144);
    EXPECT_EQ(d.RadioGroup(1050), (std::vector<int>{1050, 1155, 1051, 1052}));

    Kaiser kaiser(&parent);
    const DialogTemplate& k = *kaiser.GetTemplate();
    EXPECT_EQ(k.id, 132);
    EXPECT_EQ(k.caption, "Kaiser window shape factor");
    EXPECT_EQ(k.cx, 217);
    EXPECT_EQ(k.cy, 161);
    EXPECT_EQ(k.controls.size(), 7u);
    ExpectControl(k, 1037, K::Static, "Window approximations/equivalences by shape factor:", 15, 10, 180, 8);
    ExpectControl(k, 1038, K::Static, "Factor:\n\n0.00\n5.44\n6.00\n8.60\nlarge", 15, 25, 35, 60);
    ExpectControl(k, 1039, K::Static, "Shape\n\nRectangular\nHamming\nHanning\nBlackman\nGaussian", 65, 25, 65, 60);
    ExpectControl(k, 1035, K::Static, "Please enter a shape factor for\nthe Kaiser window (0.00 <= x <= 20.00):", 15,
                  100, 130, 20);
    ExpectControl(k, 1036, K::Edit, "", 155, 103, 40, 14, StyleRight);
    ExpectButtons(k, 145, 135, 15, 135);

    Att att(&parent);
    const DialogTemplate& a = *att.GetTemplate();
    EXPECT_EQ(a.id, 131);
    EXPECT_EQ(a.caption, "Dolph-Chebyshev Window");
    EXPECT_EQ(a.cx, 152);
    EXPECT_EQ(a.cy, 95);
    EXPECT_EQ(a.controls.size(), 4u);
    ExpectControl(a, 1033, K::Static, "Please enter the minimum stopband\nattenuation in dB [10 to 100] :", 20, 10,
                  125, 20);
    ExpectControl(a, 1034, K::Edit, "", 20, 35, 40, 14, StyleRight | StyleDigitsOnly);
    ExpectButtons(a, 85, 65, 20, 65);

    Var var(&parent);
    const DialogTemplate& v = *var.GetTemplate();
    EXPECT_EQ(v.id, 135);
    EXPECT_EQ(v.caption, "Variance");
    EXPECT_EQ(v.cx, 152);
    EXPECT_EQ(v.cy, 86);
    EXPECT_EQ(v.controls.size(), 5u);
    ExpectControl(v, 1067, K::Static, "Please specify the variance to be used\n(0.1 to 3.0) :", 15, 15, 130, 19);
    ExpectControl(v, 1070, K::Static, " sigma  =", 40, 40, 29, 8);
    ExpectControl(v, 1068, K::Edit, "", 75, 37, 30, 14, StyleRight);
    ExpectButtons(v, 90, 60, 15, 60);
}

TEST_F(DialogTest, DifferentiatorOpensWithItsSeed)
{
    Diff dlg(&parent);
    dlg.m_strGain = "2.50000";
    dlg.m_nGainSel = 2;
    Open(dlg);
    EXPECT_EQ(host.GetDlgItemText(dlg, Diff::IDC_GAIN_EDIT), "2.50000");
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, Diff::IDC_GAIN_PI), 0);
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, Diff::IDC_GAIN_HALF_PI), 0);
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, Diff::IDC_GAIN_ONE), 1);
    EXPECT_EQ(host.IsDlgButtonChecked(dlg, Diff::IDC_GAIN_OTHER), 0);
    EXPECT_EQ(host.TextLimit(dlg, Diff::IDC_GAIN_EDIT), 8);
    host.TypeText(dlg, Diff::IDC_GAIN_EDIT, "123456789");
    EXPECT_EQ(host.GetDlgItemText(dlg, Diff::IDC_GAIN_EDIT), "12345678");
}

TEST_F(DialogTest, DifferentiatorRadioButtonsSetGainAndText)
{
    Diff dlg(&parent);
    dlg.m_strGain = "2.50000";
    dlg.m_nGainSel = 3;
    Open(dlg);
    const struct {
        int id;
        const char* text;
        double gain;
        int sel;
    } buttons[] = {{Diff::IDC_GAIN_HALF_PI, "1.57080", std::numbers::pi / 2.0, 1},
                   {Diff::IDC_GAIN_ONE, "1.00000", 1.0, 2},
                   {Diff::IDC_GAIN_PI, "3.14159", std::numbers::pi, 0}};
    for (const auto& b : buttons) {
        host.Click(dlg, b.id);
        EXPECT_EQ(host.GetDlgItemText(dlg, Diff::IDC_GAIN_EDIT), b.text);
        EXPECT_EQ(dlg.m_dGain, b.gain);
        EXPECT_EQ(dlg.m_nGainSel, b.sel);
        for (int id : {Diff::IDC_GAIN_PI, Diff::IDC_GAIN_HALF_PI, Diff::IDC_GAIN_ONE, Diff::IDC_GAIN_OTHER})
            EXPECT_EQ(host.IsDlgButtonChecked(dlg, id), id == b.id ? 1 : 0);
    }
    // "Other:" only changes the selection; whatever was typed stays.
    host.TypeText(dlg, Diff::IDC_GAIN_EDIT, "7.5");
    host.Click(dlg, Diff::IDC_GAIN_OTHER);
    EXPECT_EQ(dlg.m_nGainSel, 3);
    EXPECT_EQ(dlg.m_dGain, std::numbers::pi);
    EXPECT_EQ(host.GetDlgItemText(dlg, Diff::IDC_GAIN_EDIT), "7.5");
    host.Click(dlg, IDOK);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_dGain, 7.5);
}

TEST_F(DialogTest, DifferentiatorPiThenOtherKeepsTheRoundedText)
{
    Diff dlg(&parent);
    host.QueueDialog(Diff::IDD, {{Act::Click, Diff::IDC_GAIN_PI}, {Act::Click, Diff::IDC_GAIN_OTHER}, {Act::Ok}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strGain, "3.14159");
    EXPECT_EQ(dlg.m_dGain, 3.14159);
    EXPECT_EQ(dlg.m_nGainSel, 3);
}

TEST_F(DialogTest, DifferentiatorFixedSelectionsGiveExactGains)
{
    const double gains[] = {std::numbers::pi, std::numbers::pi / 2.0, 1.0};
    for (int sel = 0; sel < 3; ++sel) {
        Diff dlg(&parent);
        dlg.m_strGain = "abc";  // not read for the fixed selections
        dlg.m_nGainSel = sel;
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_dGain, gains[sel]);
        EXPECT_EQ(dlg.m_nGainSel, sel);
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DialogTest, DifferentiatorOtherRange)
{
    for (const char* text : {"10.0", "0.1", "10", "+5"}) {
        Diff dlg(&parent);
        host.QueueDialog(Diff::IDD, {{Act::Click, Diff::IDC_GAIN_OTHER}, {Act::Type, Diff::IDC_GAIN_EDIT, text}});
        EXPECT_EQ(dlg.DoModal(), IDOK) << text;
        EXPECT_EQ(dlg.m_dGain, TextToDouble(text));
    }
    EXPECT_TRUE(host.Messages().empty());
    for (const char* text : {"10.01", "0.09", "", "-", "-1"}) {
        host.ClearMessages();
        Diff dlg(&parent);
        dlg.m_dGain = 2.0;
        host.QueueDialog(Diff::IDD,
                         {{Act::Click, Diff::IDC_GAIN_OTHER}, {Act::Type, Diff::IDC_GAIN_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << text;
        EXPECT_EQ(OnlyMessage(), "The differentiator gain range is 0.1 <= x <= 10.0") << text;
        EXPECT_EQ(host.Messages()[0].ownerTemplate, Diff::IDD);
        EXPECT_EQ(dlg.m_dGain, 2.0);
    }
}

TEST_F(DialogTest, RefusedEntryStaysInTheOpenDialog)
{
    Diff dlg(&parent);
    dlg.m_nGainSel = 3;
    Open(dlg);
    host.TypeText(dlg, Diff::IDC_GAIN_EDIT, "12");
    host.Click(dlg, IDOK);
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(host.GetDlgItemText(dlg, Diff::IDC_GAIN_EDIT), "12");
    host.TypeText(dlg, Diff::IDC_GAIN_EDIT, "1.5");
    host.Click(dlg, IDOK);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.m_dGain, 1.5);
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(DialogTest, KaiserOpensWithTwoDecimalsAndFocus)
{
    Kaiser dlg(&parent);
    dlg.m_dShapeFactor = 8.6;
    Open(dlg);
    EXPECT_EQ(host.GetDlgItemText(dlg, Kaiser::IDC_SHAPE_EDIT), "8.60");
    EXPECT_EQ(host.FocusedControl(dlg), Kaiser::IDC_SHAPE_EDIT);
}

TEST_F(DialogTest, KaiserRange)
{
    const struct {
        const char* text;
        double value;
    } accepted[] = {{"", 0.0}, {"-", 0.0}, {"0", 0.0}, {"20", 20.0}, {"20.00", 20.0}, {"8.6", 8.6}};
    for (const auto& a : accepted) {
        Kaiser dlg(&parent);
        host.QueueDialog(Kaiser::IDD, {{Act::Type, Kaiser::IDC_SHAPE_EDIT, a.text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDOK) << a.text;
        EXPECT_EQ(dlg.m_dShapeFactor, a.value) << a.text;
    }
    EXPECT_TRUE(host.Messages().empty());
    for (const char* text : {"20.01", "-0.01", "100"}) {
        host.ClearMessages();
        Kaiser dlg(&parent);
        host.QueueDialog(Kaiser::IDD, {{Act::Type, Kaiser::IDC_SHAPE_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << text;
        EXPECT_EQ(OnlyMessage(), "The shape factor is out of bounds.") << text;
        EXPECT_EQ(host.Messages()[0].ownerTemplate, Kaiser::IDD);
        EXPECT_EQ(dlg.m_dShapeFactor, 5.0);
    }
}

TEST_F(DialogTest, PastedNonNumbersAreRefused)
{
    // Pasting bypasses the keystroke filter; NaN must not pass the range checks.
    for (const char* text : {"nan", "inf", "-nan"}) {
        host.ClearMessages();
        Kaiser kaiser(&parent);
        Open(kaiser);
        host.SetDlgItemText(kaiser, Kaiser::IDC_SHAPE_EDIT, text);
        host.Click(kaiser, IDOK);
        EXPECT_FALSE(kaiser.IsEnded()) << text;

        Var var(&parent);
        Open(var);
        host.SetDlgItemText(var, Var::IDC_VARIANCE_EDIT, text);
        host.Click(var, IDOK);
        EXPECT_FALSE(var.IsEnded()) << text;

        Diff diff(&parent);
        diff.m_nGainSel = 3;
        Open(diff);
        host.SetDlgItemText(diff, Diff::IDC_GAIN_EDIT, text);
        host.Click(diff, IDOK);
        EXPECT_FALSE(diff.IsEnded()) << text;
        EXPECT_EQ(host.Messages().size(), 3u) << text;
    }
}

TEST_F(DialogTest, StopbandAttenuationRange)
{
    Att seeded(&parent);
    seeded.m_nAttenuation = 40;
    Open(seeded);
    EXPECT_EQ(host.GetDlgItemText(seeded, Att::IDC_ATT_EDIT), "40");

    for (int value : {10, 100, 55}) {
        Att dlg(&parent);
        host.QueueDialog(Att::IDD, {{Act::Type, Att::IDC_ATT_EDIT, std::to_string(value)}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_nAttenuation, value);
    }
    EXPECT_TRUE(host.Messages().empty());

    for (const char* text : {"9", "101", "0", "2147483647"}) {
        host.ClearMessages();
        Att dlg(&parent);
        host.QueueDialog(Att::IDD, {{Act::Type, Att::IDC_ATT_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << text;
        EXPECT_EQ(OnlyMessage(), "Please enter an integer between 10 and 100.") << text;
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(host.Messages()[0].ownerTemplate, Att::IDD);
    }
    for (const char* text : {"", "4294967296"}) {
        host.ClearMessages();
        Att dlg(&parent);
        dlg.m_nAttenuation = 30;
        host.QueueDialog(Att::IDD, {{Act::Type, Att::IDC_ATT_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << text;
        EXPECT_EQ(OnlyMessage(), "Please enter an integer.") << text;
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
    }
}

TEST_F(DialogTest, StopbandEditTakesDigitsOnlyAndRefusalFocusesIt)
{
    Att dlg(&parent);
    Open(dlg);
    host.TypeText(dlg, Att::IDC_ATT_EDIT, "-4.5e1 dB");
    EXPECT_EQ(host.GetDlgItemText(dlg, Att::IDC_ATT_EDIT), "451");
    host.GotoDlgCtrl(dlg, IDOK);
    host.Click(dlg, IDOK);
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(host.FocusedControl(dlg), Att::IDC_ATT_EDIT);
    EXPECT_EQ(host.GetDlgItemText(dlg, Att::IDC_ATT_EDIT), "451");
    EXPECT_EQ(host.Beeps(), 0);
}

TEST_F(DialogTest, VarianceOpensLimitedAndFocused)
{
    Var dlg(&parent);
    dlg.m_dVariance = 1.0;
    Open(dlg);
    EXPECT_EQ(host.GetDlgItemText(dlg, Var::IDC_VARIANCE_EDIT), "1.00");
    EXPECT_EQ(host.FocusedControl(dlg), Var::IDC_VARIANCE_EDIT);
    EXPECT_EQ(host.TextLimit(dlg, Var::IDC_VARIANCE_EDIT), 5);
    host.TypeText(dlg, Var::IDC_VARIANCE_EDIT, "1.2345");
    EXPECT_EQ(host.GetDlgItemText(dlg, Var::IDC_VARIANCE_EDIT), "1.234");
}

TEST_F(DialogTest, VarianceRangeAndRounding)
{
    for (const char* text : {"0.1", "3.0", "3", "2.75"}) {
        Var dlg(&parent);
        host.QueueDialog(Var::IDD, {{Act::Type, Var::IDC_VARIANCE_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDOK) << text;
        EXPECT_EQ(dlg.m_dVariance, TextToDouble(text));
    }
    EXPECT_TRUE(host.Messages().empty());
    for (const char* text : {"0.09", "3.01", "", "-", "-1"}) {
        host.ClearMessages();
        Var dlg(&parent);
        host.QueueDialog(Var::IDD, {{Act::Type, Var::IDC_VARIANCE_EDIT, text}, {Act::Ok}});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << text;
        EXPECT_EQ(OnlyMessage(), "The variance must be in the range\nfrom 0.1 to 3.0.") << text;
        EXPECT_EQ(host.Messages()[0].ownerTemplate, Var::IDD);
        EXPECT_EQ(dlg.m_dVariance, 1.0);
    }

    Var seeded(&parent);
    seeded.m_dVariance = 1.237;
    EXPECT_EQ(seeded.DoModal(), IDOK);
    EXPECT_EQ(seeded.m_dVariance, 1.24);
}

TEST_F(DialogTest, CancelLeavesMembersAlone)
{
    Diff diff(&parent);
    diff.m_dGain = 4.0;
    host.QueueDialog(Diff::IDD, {{Act::Click, Diff::IDC_GAIN_ONE}, {Act::Cancel}});
    EXPECT_EQ(diff.DoModal(), IDCANCEL);

    Kaiser kaiser(&parent);
    host.QueueDialog(Kaiser::IDD, {{Act::Type, Kaiser::IDC_SHAPE_EDIT, "7"}, {Act::Cancel}});
    EXPECT_EQ(kaiser.DoModal(), IDCANCEL);
    EXPECT_EQ(kaiser.m_dShapeFactor, 5.0);

    Var var(&parent);
    host.QueueDialog(Var::IDD, {{Act::Type, Var::IDC_VARIANCE_EDIT, "2"}, {Act::Cancel}});
    EXPECT_EQ(var.DoModal(), IDCANCEL);
    EXPECT_EQ(var.m_dVariance, 1.0);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.RefusedDialogs(), 0);
}

TEST_F(DialogTest, FilteredFieldsDropTheExponent)
{
    struct Field {
        CDialog* dlg;
        int id;
    };
    Diff diff(&parent);
    Kaiser kaiser(&parent);
    Var var(&parent);
    for (Field f : {Field{&diff, Diff::IDC_GAIN_EDIT}, Field{&kaiser, Kaiser::IDC_SHAPE_EDIT},
                    Field{&var, Var::IDC_VARIANCE_EDIT}}) {
        const int beeps = host.Beeps();
        Open(*f.dlg);
        host.TypeText(*f.dlg, f.id, "1e-3");
        EXPECT_EQ(host.GetDlgItemText(*f.dlg, f.id), "1-3");
        EXPECT_EQ(host.Beeps(), beeps + 1);
        host.TypeText(*f.dlg, f.id, "+.5\b7");
        EXPECT_EQ(host.GetDlgItemText(*f.dlg, f.id), "+.7");
        EXPECT_EQ(host.Beeps(), beeps + 1);
    }

    // The form's scale edit carries the same filter.
    CZantroDoc doc;
    CZantroView view;
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    ASSERT_EQ(view.OnCreate(), 0);
    view.OnInitialUpdate();
    const int beeps = host.Beeps();
    host.TypeText(view, IDC_IR_SCALE, "1e-3");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1-3");
    EXPECT_EQ(host.Beeps(), beeps + 1);
}
