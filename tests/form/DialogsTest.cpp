#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CRemezDlg.h"
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

}  // namespace

TEST_F(DialogTest, TemplatesKeepTheirControlsInsideAndApart)
{
    Diff diff(&parent);
    Kaiser kaiser(&parent);
    Att att(&parent);
    Var var(&parent);
    CRemezDlg bands(&parent);
    for (CDialog* dlg : std::initializer_list<CDialog*>{&diff, &kaiser, &att, &var, &bands}) {
        const DialogTemplate& t = *dlg->GetTemplate();
        SCOPED_TRACE(t.caption);
        std::set<int> ids;
        for (const ControlTemplate& c : t.controls) {
            if (c.kind != ControlKind::Static && c.kind != ControlKind::GroupBox) {
                EXPECT_TRUE(ids.insert(c.id).second) << "id " << c.id << " twice";
            }
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.cx <= t.cx && c.y + c.cy <= t.cy) << "id " << c.id;
        }
        // Controls a user types into or clicks never cover each other.
        for (size_t i = 0; i < t.controls.size(); ++i)
            for (size_t j = i + 1; j < t.controls.size(); ++j) {
                const ControlTemplate& a = t.controls[i];
                const ControlTemplate& b = t.controls[j];
                if (a.kind == ControlKind::Static || a.kind == ControlKind::GroupBox ||
                    b.kind == ControlKind::Static || b.kind == ControlKind::GroupBox)
                    continue;
                const bool apart = a.x + a.cx <= b.x || b.x + b.cx <= a.x || a.y + a.cy <= b.y || b.y + b.cy <= a.y;
                EXPECT_TRUE(apart) << a.id << " and " << b.id;
            }
        EXPECT_NE(t.Find(IDOK), nullptr);
        EXPECT_NE(t.Find(IDCANCEL), nullptr);
    }
    // The gain buttons are one group in the order of the selection index.
    EXPECT_EQ(diff.GetTemplate()->RadioGroup(Diff::IDC_GAIN_PI),
              (std::vector<int>{Diff::IDC_GAIN_PI, Diff::IDC_GAIN_HALF_PI, Diff::IDC_GAIN_ONE, Diff::IDC_GAIN_OTHER}));
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
    ASSERT_TRUE(StartForm(host, doc, view));
    const int beeps = host.Beeps();
    host.TypeText(view, IDC_IR_SCALE, "1e-3");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1-3");
    EXPECT_EQ(host.Beeps(), beeps + 1);
}
