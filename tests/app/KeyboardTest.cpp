#include <QAction>
#include <QDialog>
#include <QMenuBar>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "document/DocumentMessages.h"
#include "form/CZantroView.h"

// The form from the keyboard alone: F5, Return and the buttons' mnemonics
// design, Ctrl+M makes the files, Tab walks the form as it reads.
namespace {

class Keyboard : public AppFixture {
protected:
    int ShownTaps() const { return app->m_view.m_ImpulseWnd.m_values.m_nCount; }
    // The control the focus is in (an editable combo's field counts as the combo).
    static QString FocusedControl()
    {
        QWidget* w = QApplication::focusWidget();
        if (w && qobject_cast<QComboBox*>(w->parentWidget()))
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
};

}  // namespace

TEST_F(Keyboard, F5ReturnAndAltDDesignWhatTheFieldsHold)
{
    StartActive();
    struct Case {
        const char* how;
        int field;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* taps;
    };
    const Case cases[] = {
        {"F5 in the taps field", IDC_TAPS, Qt::Key_F5, Qt::NoModifier, "41"},
        {"Return in the taps field", IDC_TAPS, Qt::Key_Return, Qt::NoModifier, "37"},
        {"keypad Enter in the rate field", IDC_SAMPLING_RATE, Qt::Key_Enter, Qt::KeypadModifier, "33"},
        {"Return in a drop-down list", IDC_WINDOW_TYPE, Qt::Key_Return, Qt::NoModifier, "29"},
        {"Alt+D anywhere on the form", IDC_FIRST_CORNER, Qt::Key_D, Qt::AltModifier, "25"},
    };
    for (const Case& c : cases) {
        Type(IDC_TAPS, QString::fromLatin1(c.taps));
        Control(c.field)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        // A mnemonic clicks its button with a short animation.
        (void)QTest::qWaitFor([&]() { return ShownTaps() == QString::fromLatin1(c.taps).toInt(); }, 1000);
        EXPECT_EQ(ShownTaps(), QString::fromLatin1(c.taps).toInt()) << c.how;
        EXPECT_EQ(app->m_view.m_bDesignValid, 1) << c.how;
    }
    auto* design = qobject_cast<QPushButton*>(Control(IDC_DESIGN));
    EXPECT_TRUE(design->isDefault());
    EXPECT_EQ(design->text(), QStringLiteral("&Design"));
    EXPECT_EQ(design->toolTip(), QStringLiteral("Design (F5)"));
}

TEST_F(Keyboard, ReturnOnAFocusedButtonPressesThatButton)
{
    StartActive();
    int asked = 0;
    app->m_host.m_answerFileDialog = [&](const FileDialogRequest&, std::string&) {
        ++asked;
        return false;
    };
    Control(IDC_READ_FILE)->setFocus();
    QTest::keyClick(Control(IDC_READ_FILE), Qt::Key_Return);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ShownTaps(), 0);  // nothing designed
}

TEST_F(Keyboard, CtrlMMakesTheFilesOfTheDesign)
{
    StartActive();
    script->ExpectMessage();
    QTest::keyClick(Edit(IDC_TAPS), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(script->Seen(), QStringList{QString::fromLatin1(kMsgNoDesign)});
    frame()->activateWindow();  // again, after the message box
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));

    QTest::keyClick(Edit(IDC_TAPS), Qt::Key_F5);
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    QString title;
    script->Expect([&](QWidget* modal) {
        title = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
    });
    QTest::keyClick(Edit(IDC_TAPS), Qt::Key_M, Qt::ControlModifier);
    EXPECT_FALSE(title.isEmpty());
    EXPECT_EQ(frame()->Action(ID_FORM_MAKE_FILE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
}

TEST_F(Keyboard, TabWalksTheFormColumnByColumnThenTheButtons)
{
    StartActive();
    EXPECT_EQ(FocusedControl(), QStringLiteral("control%1").arg(IDC_FILTER_TYPE));
    const int order[] = {IDC_TAPS,          IDC_DESIGN_METHOD, IDC_WINDOW_TYPE,   IDC_IR_SCALING, IDC_SAMPLING_RATE,
                         IDC_FIRST_CORNER,  IDC_SECOND_CORNER, IDC_SINX_COMP,     IDC_IR_SCALE,   IDC_TARGET_FILTER,
                         IDC_DESIGN,        IDC_READ_FILE,     IDC_MAKE_FILE,     IDC_CLOSE,      IDC_FILTER_TYPE};
    for (int id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(FocusedControl(), QStringLiteral("control%1").arg(id));
    }
}

TEST_F(Keyboard, TheButtonsAndTheExtrasMenuHaveMnemonics)
{
    StartActive();
    QStringList buttons;
    for (int id : {IDC_DESIGN, IDC_READ_FILE, IDC_MAKE_FILE, IDC_CLOSE})
        buttons << qobject_cast<QPushButton*>(Control(id))->text();
    EXPECT_EQ(buttons, (QStringList{"&Design", "&Read File", "&Make File", "&Close"}));

    QStringList menus;
    for (QAction* a : frame()->menuBar()->actions())
        menus << a->text();
    // Each menu's mnemonic is its own, and no button's takes one of them.
    QSet<QChar> keys;
    for (const QString& text : menus + buttons) {
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << text.toStdString();
        EXPECT_FALSE(keys.contains(text[amp + 1].toLower())) << text.toStdString();
        keys.insert(text[amp + 1].toLower());
    }
    EXPECT_TRUE(menus.contains(QStringLiteral("E&xtras")));
}
