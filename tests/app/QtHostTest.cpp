#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

#include "ModalScript.h"
#include "app/QtHost.h"
#include "form/CFloatKeys.h"
#include "form/DesignMessages.h"
#include "platform/CDialog.h"
#include "platform/DialogTemplate.h"

namespace {

enum { kEdit = 10, kDigits, kList, kCombo, kRadioA, kRadioB, kCheck, kApply, kLabel };

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    DialogTemplate t;
    t.id = 900;
    t.caption = "Test Dialog";
    t.cx = 200;
    t.cy = 120;
    t.controls = {
        {kLabel, K::Static, "Label", 5, 5, 60, 8},
        {kEdit, K::Edit, "", 5, 20, 60, 14, StyleRight},
        {kDigits, K::Edit, "", 70, 20, 60, 14, StyleDigitsOnly},
        {kList, K::DropDownList, "", 5, 40, 60, 60, StyleNone, {"one", "two", "three"}},
        {kCombo, K::DropDownCombo, "", 70, 40, 60, 60, StyleNone, {"alpha", "beta"}},
        {kRadioA, K::RadioButton, "A", 5, 60, 30, 10, StyleAuto | StyleGroup},
        {kRadioB, K::RadioButton, "B", 40, 60, 30, 10, StyleAuto},
        {kCheck, K::CheckBox, "C", 80, 60, 30, 10, StyleAuto},
        {kApply, K::PushButton, "Apply", 5, 100, 50, 14},
        {IDOK, K::DefPushButton, "OK", 80, 100, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 140, 100, 50, 14},
    };
    return t;
}

const DialogTemplate& Template()
{
    static const DialogTemplate t = MakeTemplate();
    return t;
}

// A dialog that refuses OK while its edit is empty and counts its commands.
class TestDialog : public CDialog {
public:
    using CDialog::CDialog;
    const DialogTemplate* GetTemplate() const override { return &Template(); }
    bool OnInitDialog() override
    {
        SetDlgItemText(kEdit, seed);
        GotoDlgCtrl(kDigits);
        return true;
    }
    void OnOK() override
    {
        typed = GetDlgItemText(kEdit);
        if (typed.empty()) {
            MessageBox("Type something.", MB_ICONEXCLAMATION);
            return;
        }
        EndDialog(IDOK);
    }
    void OnCommand(int id) override { commands.push_back(id); }

    std::string seed;
    std::string typed;
    std::vector<int> commands;
};

class Window : public CWnd {
public:
    const DialogTemplate* GetTemplate() const override { return &Template(); }
    void OnCommand(int id) override { commands.push_back(id); }
    void OnSelChange(int id) override { changes.push_back(id); }
    std::vector<int> commands;
    std::vector<int> changes;
};

struct HostFixture : ::testing::Test {
    QtHost host;
    Window wnd;
    QWidget container;

    void SetUp() override
    {
        wnd.SetHost(&host);
        host.Attach(wnd, &container);
        host.CreateControls(wnd);
        container.show();
    }
    template <class T>
    T* Get(int id)
    {
        return qobject_cast<T*>(host.ControlWidget(wnd, id));
    }
};

}  // namespace

TEST_F(HostFixture, ControlTextsSelectionsAndChecksGoThroughTheWidgets)
{
    wnd.SetDlgItemText(kEdit, "1.25");
    EXPECT_EQ(Get<QLineEdit>(kEdit)->text(), QStringLiteral("1.25"));
    EXPECT_EQ(wnd.GetDlgItemText(kEdit), "1.25");
    EXPECT_EQ(wnd.GetDlgItemText(kLabel), "Label");
    wnd.SetDlgItemText(kLabel, "Linear Magnitude");
    EXPECT_EQ(wnd.GetDlgItemText(kLabel), "Linear Magnitude");

    EXPECT_EQ(wnd.GetCurSel(kList), -1);
    wnd.SetCurSel(kList, 2);
    EXPECT_EQ(wnd.GetCurSel(kList), 2);
    EXPECT_EQ(wnd.GetDlgItemText(kList), "three");
    wnd.SetCurSel(kList, 7);
    EXPECT_EQ(wnd.GetCurSel(kList), -1);

    // Setting the text of a drop-down combo leaves no entry selected.
    wnd.SetCurSel(kCombo, 1);
    EXPECT_EQ(wnd.GetCurSel(kCombo), 1);
    wnd.SetDlgItemText(kCombo, "gamma");
    EXPECT_EQ(wnd.GetCurSel(kCombo), -1);
    EXPECT_EQ(wnd.GetDlgItemText(kCombo), "gamma");

    wnd.CheckDlgButton(kCheck, 1);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kCheck), 1);
    // The program may clear every radio button of a group.
    wnd.CheckDlgButton(kRadioA, 1);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kRadioA), 1);
    wnd.CheckDlgButton(kRadioA, 0);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kRadioA), 0);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kRadioB), 0);
}

TEST_F(HostFixture, ClicksAndUserSelectionsReachTheWindow)
{
    Get<QRadioButton>(kRadioA)->click();
    QTest::mouseClick(Get<QRadioButton>(kRadioB), Qt::LeftButton);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kRadioA), 0);
    EXPECT_EQ(wnd.IsDlgButtonChecked(kRadioB), 1);
    Get<QPushButton>(kApply)->click();
    EXPECT_EQ(wnd.commands, (std::vector<int>{kRadioA, kRadioB, kApply}));

    // Only the user's choices are selection changes, not the program's.
    wnd.SetCurSel(kList, 1);
    EXPECT_TRUE(wnd.changes.empty());
    auto* list = Get<QComboBox>(kList);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(wnd.GetCurSel(kList), 2);
    EXPECT_EQ(wnd.changes, (std::vector<int>{kList}));
}

TEST_F(HostFixture, TypingHonoursDigitsOnlyTheTextLimitAndTheKeyFilter)
{
    auto* digits = Get<QLineEdit>(kDigits);
    digits->setFocus();
    QTest::keyClicks(digits, QStringLiteral("12a3-4"));
    EXPECT_EQ(digits->text(), QStringLiteral("1234"));

    // The limit binds typing, not the program's own texts.
    wnd.LimitText(kEdit, 8);
    wnd.SetDlgItemText(kEdit, "123456789012");
    EXPECT_EQ(wnd.GetDlgItemText(kEdit), "123456789012");
    auto* edit = Get<QLineEdit>(kEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("0.123456789"));
    EXPECT_EQ(edit->text(), QStringLiteral("0.123456"));

    // The floating-point filter discards the e with a beep; 1-3 is left.
    CFloatKeys keys;
    keys.SubclassDlgItem(kEdit, wnd);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("1e-3"));
    EXPECT_EQ(edit->text(), QStringLiteral("1-3"));
    EXPECT_EQ(host.Beeps(), 1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("1-"));
    EXPECT_EQ(host.Beeps(), 1);
}

TEST_F(HostFixture, GotoDlgCtrlMovesTheFocusAndSelectsTheText)
{
    wnd.SetDlgItemText(kEdit, "4711");
    wnd.GotoDlgCtrl(kEdit);
    EXPECT_EQ(container.focusWidget(), Get<QLineEdit>(kEdit));
    EXPECT_EQ(Get<QLineEdit>(kEdit)->selectedText(), QStringLiteral("4711"));
}

TEST_F(HostFixture, MessageBoxesAreCaptionedZantroWithTheIconAndAnOkButton)
{
    ModalScript script;
    script.ExpectMessage();
    EXPECT_EQ(wnd.MessageBox("Please enter an integer.", MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(script.Seen(), QStringList{QStringLiteral("Please enter an integer.")});
    EXPECT_EQ(script.LastTitle(), QStringLiteral("Zantro"));
    EXPECT_EQ(script.LastIcon(), QMessageBox::Warning);
    EXPECT_EQ(script.LastButtons(), QStringList{QStringLiteral("OK")});

    script.ExpectMessage();
    wnd.MessageBox("Cannot open file x\nsecond line", MB_OK);
    EXPECT_EQ(script.Seen().last(), QStringLiteral("Cannot open file x\nsecond line"));
    EXPECT_EQ(script.LastIcon(), QMessageBox::NoIcon);
    EXPECT_EQ(script.Pending(), 0);
}

TEST(QtHostModal, ARefusedOkKeepsTheDialogOpenUntilItEnds)
{
    QtHost host;
    Window owner;
    owner.SetHost(&host);
    TestDialog dlg(&owner);
    dlg.seed = "";
    ModalScript script;
    script.Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Test Dialog"));
        // OnInitDialog put the focus on the digits edit.
        EXPECT_EQ(modal->focusWidget(), host.ControlWidget(dlg, kDigits));
        qobject_cast<QPushButton*>(host.ControlWidget(dlg, kApply))->click();
        qobject_cast<QPushButton*>(host.ControlWidget(dlg, IDOK))->click();  // refused: a message
        EXPECT_TRUE(modal->isVisible());
        auto* edit = qobject_cast<QLineEdit*>(host.ControlWidget(dlg, kEdit));
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("ok"));
        QTest::keyClick(edit, Qt::Key_Return);  // the default button
    });
    script.ExpectMessage();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.typed, "ok");
    EXPECT_EQ(dlg.commands, (std::vector<int>{kApply}));
    EXPECT_EQ(script.Seen(), (QStringList{QStringLiteral("Test Dialog"), QStringLiteral("Type something.")}));
    // The controls are gone with the run.
    EXPECT_EQ(host.ControlWidget(dlg, kEdit), nullptr);
}

TEST(QtHostModal, EscapeIsTheCancelButton)
{
    QtHost host;
    Window owner;
    owner.SetHost(&host);
    TestDialog dlg(&owner);
    dlg.seed = "kept";
    ModalScript script;
    script.Expect([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.typed.empty());
}

TEST(QtHostModal, ADialogOpenedDuringACommandShowsTheNormalCursor)
{
    QtHost host;
    Window owner;
    owner.SetHost(&host);
    TestDialog dlg(&owner);
    dlg.seed = "x";
    ModalScript script;
    Qt::CursorShape inDialog = Qt::BlankCursor;
    Qt::CursorShape inCommand = Qt::BlankCursor;
    script.Expect([&](QWidget* modal) {
        inDialog = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BlankCursor;
        QTest::keyClick(modal, Qt::Key_Return);
    });
    host.RunCommand([&]() {
        inCommand = QApplication::overrideCursor()->shape();
        EXPECT_TRUE(host.IsBusy());
        dlg.DoModal();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    });
    EXPECT_EQ(inCommand, Qt::WaitCursor);
    EXPECT_EQ(inDialog, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(host.IsBusy());
}

TEST(QtHostModal, AWindowNobodyPlacedStillGetsWorkingControls)
{
    QtHost host;
    Window wnd;
    wnd.SetHost(&host);
    host.CreateControls(wnd);
    wnd.SetDlgItemText(kEdit, "3");
    EXPECT_EQ(wnd.GetDlgItemText(kEdit), "3");
    host.DestroyControls(wnd);
    EXPECT_EQ(wnd.GetDlgItemText(kEdit), "");
}

TEST(QtHostModal, ACommandThatThrowsEndsWithAMessageAndTheProgramGoesOn)
{
    QtHost host;
    ModalScript script;
    script.ExpectMessage();
    script.ExpectMessage();
    host.RunCommand([]() { throw std::bad_alloc(); });
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(host.IsBusy());
    host.RunCommand([]() { throw std::runtime_error("the disk went away"); });
    EXPECT_EQ(script.Seen(), (QStringList{QString::fromUtf8(kMsgOutOfMemory),
                                          QStringLiteral("The command could not be completed.\nthe disk went away")}));
    EXPECT_EQ(script.LastIcon(), QMessageBox::Critical);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(host.IsBusy());
    EXPECT_EQ(script.Pending(), 0);
}
