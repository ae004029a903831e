#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/HelpViewer.h"

namespace {

// The entries of a menu as "text" lines, separators as "-".
QStringList Entries(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->isVisible())
            out << a->text();
    return out;
}

QMenu* MenuNamed(QMainWindow* w, const QString& title)
{
    for (QAction* a : w->menuBar()->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

}  // namespace

using MainFrame = AppFixture;

TEST_F(MainFrame, StartsUntitledWithTheFormShowingTheDocumentsDefaults)
{
    Start();
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Untitled - Zantro"));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(Edit(IDC_TAPS)->text(), QStringLiteral("63"));
    EXPECT_EQ(Edit(IDC_SAMPLING_RATE)->text(), QStringLiteral("8000"));
    EXPECT_EQ(Combo(IDC_DESIGN_METHOD)->currentText(), QStringLiteral("Sync + Window"));
    EXPECT_EQ(Combo(IDC_TARGET_FILTER)->currentText(), QStringLiteral("user specified"));
    EXPECT_FALSE(app->m_doc.IsModified());
}

TEST_F(MainFrame, TheFrameShrinksToHoldJustTheFormAndThePlotsSitAtTheirPixels)
{
    Start();
    EXPECT_LE(frame()->width(), CMainFrame::kInitialWidth);
    EXPECT_LE(frame()->height(), CMainFrame::kInitialHeight);
    auto* scroll = qobject_cast<QScrollArea*>(frame()->centralWidget());
    ASSERT_NE(scroll, nullptr);
    // Exactly the form where the screen has room for it (ScreenFit has the rest).
    EXPECT_EQ(scroll->size(), frame()->Form()->size().boundedTo(scroll->size()));
    EXPECT_EQ(frame()->Form()->size(), QSize(1217, 912));
    EXPECT_EQ(frame()->Plot(0)->geometry(), QRect(25, 220, 572, 316));
    EXPECT_EQ(frame()->Plot(1)->geometry(), QRect(25, 571, 572, 316));
    EXPECT_EQ(frame()->Plot(2)->geometry(), QRect(622, 220, 572, 316));
    EXPECT_EQ(frame()->Plot(3)->geometry(), QRect(622, 571, 572, 316));
    // The sunken edge leaves the plots' 568 x 312 client area.
    EXPECT_EQ(frame()->Plot(0)->contentsRect(), QRect(2, 2, 568, 312));
}

TEST_F(MainFrame, MenusListTheirCommandsWithSeparatorsAndAccelerators)
{
    Start();
    QStringList titles;
    for (QAction* a : frame()->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "E&xtras", "&Help"}));

    EXPECT_EQ(Entries(MenuNamed(frame(), "&File")),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "&Export...", "-", "&Print...\tCtrl+P",
                           "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(Entries(MenuNamed(frame(), "&Edit")),
              (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V",
                           "-", "Copy C&oefficients\tCtrl+Shift+C"}));
    EXPECT_EQ(Entries(MenuNamed(frame(), "&View")), (QStringList{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(Entries(MenuNamed(frame(), "E&xtras")),
              (QStringList{"&Window", "&Analysis...", "Design to &Requirement...", "Rate &Change...", "More &Methods..."}));
    EXPECT_EQ(Entries(MenuNamed(frame(), "&Help")), (QStringList{"&Help Topics", "-", "&About Zantro..."}));

    // Nothing to undo or copy yet, and the focus is in a drop-down list.
    for (int id : std::initializer_list<int>{ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_COPY_COEFFS})
        EXPECT_FALSE(frame()->Action(id)->isEnabled()) << id;
    EXPECT_FALSE(frame()->Action(ID_FILE_MRU_FILE1)->isEnabled());

    auto keys = [&](int id) { return frame()->Action(id)->shortcuts(); };
    EXPECT_EQ(keys(ID_FILE_NEW), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_N)});
    EXPECT_EQ(keys(ID_FILE_PRINT), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_P)});
    EXPECT_EQ(keys(ID_EDIT_UNDO),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    EXPECT_EQ(keys(ID_EDIT_PASTE),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}));
    EXPECT_EQ(keys(ID_NEXT_PANE), QList<QKeySequence>{QKeySequence(Qt::Key_F6)});
    EXPECT_EQ(keys(ID_HELP), QList<QKeySequence>{QKeySequence(Qt::Key_F1)});
    EXPECT_EQ(keys(ID_CONTEXT_HELP), QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F1)});
}

TEST_F(MainFrame, TheToolbarHasItsButtonsAndTheStatusBarItsPanes)
{
    Start();
    QToolBar* bar = frame()->ToolBar();
    QStringList layout;
    for (QAction* a : bar->actions())
        layout << (a->isSeparator() ? QStringLiteral("-") : a->toolTip());
    EXPECT_EQ(layout, (QStringList{"New", "Open", "Save", "-", "Cut", "Copy", "Paste", "-", "Print", "-", "About", "Help"}));
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_EQ(frame()->toolBarArea(bar), Qt::TopToolBarArea);
    auto* cut = qobject_cast<QToolButton*>(bar->widgetForAction(frame()->Action(ID_EDIT_CUT)));
    ASSERT_NE(cut, nullptr);
    EXPECT_FALSE(cut->isEnabled());

    EXPECT_EQ(frame()->IdlePrompt()->text(), QStringLiteral("For Help, press F1"));
    for (const char* pane : {"indicatorCAP", "indicatorNUM", "indicatorSCRL"})
        EXPECT_NE(frame()->statusBar()->findChild<QLabel*>(QLatin1String(pane)), nullptr) << pane;
    EXPECT_EQ(frame()->Action(ID_EXTRAS_WINDOW)->statusTip(),
              QStringLiteral("Show the characteristics of the current window"));
    EXPECT_EQ(frame()->Action(ID_FILE_NEW)->statusTip(), QStringLiteral("Create a new document"));
}

TEST_F(MainFrame, ViewTogglesHideAndShowTheBarsAndTrackTheirChecks)
{
    Start();
    QAction* toolbar = frame()->Action(ID_VIEW_TOOLBAR);
    QAction* status = frame()->Action(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(frame()->ToolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_TRUE(frame()->ToolBar()->isVisible());
    EXPECT_TRUE(toolbar->isChecked());
    status->trigger();
    EXPECT_FALSE(frame()->statusBar()->isVisible());
    EXPECT_FALSE(status->isChecked());
}

TEST_F(MainFrame, TheAboutBoxShowsNameAndVersion)
{
    Start();
    QString text;
    script->Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("About Zantro"));
        for (QLabel* label : modal->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                text = label->text();
        modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
    });
    frame()->Action(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(text, QStringLiteral("Zantro Version 1.0"));
}

TEST_F(MainFrame, HelpTopicsF1AndShiftF1OpenTheUserGuide)
{
    Start();
    frame()->Action(ID_HELP_FINDER)->trigger();
    ASSERT_NE(frame()->Help(), nullptr);
    EXPECT_TRUE(frame()->Help()->isVisible());
    const QString guide = frame()->Help()->Browser()->toPlainText();
    EXPECT_TRUE(guide.contains(QStringLiteral("Zantro user guide")));
    for (const char* topic : {"Design methods", "Remez Exchange", "Make File and the export formats", "Q15"})
        EXPECT_TRUE(guide.contains(QLatin1String(topic))) << topic;
    frame()->Help()->close();
    frame()->Action(ID_HELP)->trigger();
    EXPECT_TRUE(frame()->Help()->isVisible());
    frame()->Help()->close();
    frame()->Action(ID_CONTEXT_HELP)->trigger();
    EXPECT_TRUE(frame()->Help()->isVisible());
}

TEST_F(MainFrame, TabWalksTheFormsControlsInTemplateOrderFromTheFirst)
{
    Start();
    const int order[] = {IDC_FILTER_TYPE, IDC_TAPS, IDC_DESIGN_METHOD, IDC_WINDOW_TYPE, IDC_IR_SCALING,
                         IDC_SAMPLING_RATE, IDC_FIRST_CORNER, IDC_SECOND_CORNER, IDC_SINX_COMP, IDC_IR_SCALE,
                         IDC_TARGET_FILTER, IDC_DESIGN, IDC_READ_FILE, IDC_MAKE_FILE, IDC_CLOSE, IDC_FILTER_TYPE};
    frame()->activateWindow();
    QApplication::setActiveWindow(frame());
    for (int id : order) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* expected = Control(id);
        ASSERT_NE(focus, nullptr) << id;
        EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus)) << id << " has " << focus->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}
