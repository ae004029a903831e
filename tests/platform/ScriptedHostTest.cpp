#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CDialog.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/ScriptedHost.h"

namespace {

enum { ID_VALUE = 100, ID_NOTE = 101, ID_LIST = 102, ID_APPLY = 103, ID_R1 = 110, ID_R2 = 111, ID_R3 = 112,
       ID_S1 = 120, ID_S2 = 121, ID_CHECK = 130 };

// A dialog whose OK accepts only the value 1 .. 9 and that counts its commands.
class ProbeDlg : public CDialog {
public:
    explicit ProbeDlg(CWnd* parent, int templateId = 700) : CDialog(parent)
    {
        using K = ControlKind;
        m_template.id = templateId;
        m_template.caption = "Probe";
        m_template.controls = {
            {ID_NOTE, K::Static, "note"},
            {ID_VALUE, K::Edit},
            {ID_LIST, K::DropDownList, "ignored", 0, 0, 1, 1, StyleNone, {"first", "second"}},
            {ID_R1, K::RadioButton, "r1", 0, 0, 1, 1, StyleGroup | StyleAuto},
            {ID_R2, K::RadioButton, "r2", 0, 0, 1, 1, StyleAuto},
            {ID_R3, K::RadioButton, "r3", 0, 0, 1, 1, StyleAuto},
            {ID_S1, K::RadioButton, "s1", 0, 0, 1, 1, StyleGroup | StyleAuto},
            {ID_S2, K::RadioButton, "s2", 0, 0, 1, 1, StyleAuto},
            {ID_CHECK, K::CheckBox, "", 0, 0, 1, 1, StyleAuto},
            {ID_APPLY, K::PushButton, "Apply"},
            {IDOK, K::DefPushButton, "OK"},
            {IDCANCEL, K::PushButton, "Cancel"},
        };
    }
    const DialogTemplate* GetTemplate() const override { return &m_template; }
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, ID_VALUE, m_nValue);
        DDV_MinMaxInt(dx, m_nValue, 1, 9);
        DDX_Radio(dx, ID_R1, m_nFirst);
        DDX_Radio(dx, ID_S1, m_nSecond);
    }
    bool OnInitDialog() override
    {
        ++m_nInits;
        return CDialog::OnInitDialog();
    }
    void OnCommand(int id) override { m_commands.push_back(id); }

    int m_nValue = 5;
    int m_nFirst = 0;
    int m_nSecond = 1;
    int m_nInits = 0;
    std::vector<int> m_commands;

private:
    DialogTemplate m_template;
};

// Counts characters and refuses 'x'.
class NoX : public KeyFilter {
public:
    bool OnChar(Host& host, unsigned ch) override
    {
        ++m_nSeen;
        if (ch != 'x')
            return true;
        host.MessageBeep(MB_ICONEXCLAMATION);
        return false;
    }
    int m_nSeen = 0;
};

class ScriptedHostTest : public ::testing::Test {
protected:
    ScriptedHostTest() { parent.SetHost(&host); }
    ScriptedHost host;
    CWnd parent;
};

}  // namespace

TEST_F(ScriptedHostTest, UnscriptedDialogIsAcceptedAsSeeded)
{
    ProbeDlg dlg(&parent);
    dlg.m_nValue = 7;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 7);
    EXPECT_EQ(dlg.m_nInits, 1);
    EXPECT_EQ(host.RefusedDialogs(), 0);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ScriptedHostTest, ScriptsAnswerTheirOwnTemplateInOrder)
{
    host.QueueDialog(700, {{ScriptedHost::Action::Type, ID_VALUE, "2"}});
    host.QueueDialog(701, {{ScriptedHost::Action::Type, ID_VALUE, "8"}});
    host.QueueDialog(700, {{ScriptedHost::Action::Type, ID_VALUE, "3"}});
    host.QueueDialogCancel(700);

    ProbeDlg other(&parent, 701), a(&parent), b(&parent), c(&parent), d(&parent);
    EXPECT_EQ(a.DoModal(), IDOK);
    EXPECT_EQ(a.m_nValue, 2);
    EXPECT_EQ(b.DoModal(), IDOK);
    EXPECT_EQ(b.m_nValue, 3);
    EXPECT_EQ(other.DoModal(), IDOK);
    EXPECT_EQ(other.m_nValue, 8);
    EXPECT_EQ(c.DoModal(), IDCANCEL);
    EXPECT_EQ(c.m_nValue, 5);
    // The queue is used up: the next run is accepted as seeded.
    EXPECT_EQ(d.DoModal(), IDOK);
}

TEST_F(ScriptedHostTest, RefusedDialogShowsItsMessageOnceAndIsCounted)
{
    ProbeDlg dlg(&parent);
    host.QueueDialog(700, {{ScriptedHost::Action::Type, ID_VALUE, "12"}, {ScriptedHost::Action::Ok}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(host.RefusedDialogs(), 1);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Please enter an integer between 1 and 9.");
    EXPECT_EQ(host.Messages()[0].ownerTemplate, 700);

    // Without an explicit OK the host presses it once.
    host.ClearMessages();
    host.QueueDialog(700, {{ScriptedHost::Action::Type, ID_VALUE, "x"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(host.RefusedDialogs(), 2);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Please enter an integer.");

    // A refusal corrected before the end is no refused dialog.
    host.ClearMessages();
    host.QueueDialog(700, {{ScriptedHost::Action::Type, ID_VALUE, "0"},
                           {ScriptedHost::Action::Ok},
                           {ScriptedHost::Action::Type, ID_VALUE, "4"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 4);
    EXPECT_EQ(host.RefusedDialogs(), 2);
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(ScriptedHostTest, ActionsAfterTheEndAreIgnored)
{
    ProbeDlg dlg(&parent);
    host.QueueDialog(700, {{ScriptedHost::Action::Cancel},
                           {ScriptedHost::Action::Type, ID_VALUE, "3"},
                           {ScriptedHost::Action::Ok}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nValue, 5);
}

TEST_F(ScriptedHostTest, RadioGroupsAreIndependent)
{
    ProbeDlg dlg(&parent);
    host.QueueDialog(700, {{ScriptedHost::Action::Click, ID_R3}, {ScriptedHost::Action::Click, ID_S1},
                           {ScriptedHost::Action::Click, ID_R2}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nFirst, 1);
    EXPECT_EQ(dlg.m_nSecond, 0);
    // Radio buttons also reach the dialog as commands; OK does not.
    EXPECT_EQ(dlg.m_commands, (std::vector<int>{ID_R3, ID_S1, ID_R2}));

    ProbeDlg open(&parent);
    host.CreateControls(open);
    open.OnInitDialog();
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_R1), 1);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_S2), 1);
    host.Click(open, ID_R3);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_R1), 0);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_R3), 1);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_S2), 1);
    host.Click(open, ID_CHECK);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_CHECK), 1);
    host.Click(open, ID_CHECK);
    EXPECT_EQ(host.IsDlgButtonChecked(open, ID_CHECK), 0);
    host.Click(open, ID_APPLY);
    EXPECT_EQ(open.m_commands.back(), ID_APPLY);
    EXPECT_FALSE(open.IsEnded());
}

TEST_F(ScriptedHostTest, ControlsStartFromTheTemplate)
{
    ProbeDlg dlg(&parent);
    host.CreateControls(dlg);
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_NOTE), "note");
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_LIST), "");
    EXPECT_EQ(host.GetCurSel(dlg, ID_LIST), -1);
    EXPECT_EQ(host.Entries(dlg, ID_LIST), (std::vector<std::string>{"first", "second"}));
    host.SetCurSel(dlg, ID_LIST, 1);
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_LIST), "second");
    host.SetCurSel(dlg, ID_LIST, 2);
    EXPECT_EQ(host.GetCurSel(dlg, ID_LIST), -1);
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_LIST), "");
    host.SetCurSel(dlg, ID_LIST, 0);
    host.SetDlgItemText(dlg, ID_LIST, "typed");
    EXPECT_EQ(host.GetCurSel(dlg, ID_LIST), -1);
}

TEST_F(ScriptedHostTest, TypingPassesFilterDigitsLimitAndBackspace)
{
    ProbeDlg dlg(&parent);
    host.CreateControls(dlg);
    NoX filter;
    host.SetKeyFilter(dlg, ID_VALUE, &filter);
    host.LimitText(dlg, ID_VALUE, 4);
    host.TypeText(dlg, ID_VALUE, "ax12345");
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_VALUE), "a123");
    EXPECT_EQ(filter.m_nSeen, 7);
    EXPECT_EQ(host.Beeps(), 1);
    // Typing replaces the whole text; backspace erases the character before it.
    host.TypeText(dlg, ID_VALUE, "12\b3\b\b\b9");
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_VALUE), "9");
    host.SetKeyFilter(dlg, ID_VALUE, nullptr);
    host.TypeText(dlg, ID_VALUE, "x");
    EXPECT_EQ(host.GetDlgItemText(dlg, ID_VALUE), "x");
    EXPECT_EQ(host.Beeps(), 1);
}

TEST_F(ScriptedHostTest, MessagesAreRecordedAndReported)
{
    std::vector<std::string> seen;
    host.onMessage = [&](const ScriptedHost::Message& m) { seen.push_back(m.text); };
    ProbeDlg dlg(&parent);
    parent.MessageBox("from the parent", MB_ICONHAND);
    dlg.MessageBox("from the dialog");
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0].ownerTemplate, 0);
    EXPECT_EQ(host.Messages()[0].type, MB_ICONHAND);
    EXPECT_EQ(host.Messages()[1].ownerTemplate, 700);
    EXPECT_EQ(host.Messages()[1].type, MB_OK);
    EXPECT_EQ(seen, (std::vector<std::string>{"from the parent", "from the dialog"}));
}

TEST(ScriptedHostWithoutHost, DialogWithoutHostCannotRun)
{
    ProbeDlg dlg(nullptr);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_nInits, 0);
    // Controls of a window without a host read empty and ignore writes.
    dlg.SetDlgItemText(ID_VALUE, "3");
    EXPECT_EQ(dlg.GetDlgItemText(ID_VALUE), "");
    EXPECT_EQ(dlg.GetCurSel(ID_LIST), -1);
    EXPECT_EQ(dlg.MessageBox("lost"), IDOK);
}
