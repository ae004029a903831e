#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "app/CommandIds.h"

namespace {

const QSize kLaptop(1366, 768);

// The whole window, decorations included, in screen coordinates.
bool OnScreen(QWidget* window)
{
    return window->screen()->availableGeometry().contains(window->frameGeometry());
}

}  // namespace

TEST(ScreenFitRect, AFrameShrinksAndMovesIntoTheAvailableArea)
{
    // The 1217 x 982 frame with a title bar, under a 27-pixel panel.
    const QRect laptop(0, 27, 1366, 741);
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(40, 0, 1221, 1012), laptop), QRect(40, 27, 1221, 741));
    // Off the right edge: moved left, just inside.
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(400, 100, 1221, 600), laptop), QRect(145, 100, 1221, 600));
    // Wider than the screen too.
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(0, 0, 1500, 1100), QRect(0, 0, 1024, 600)), QRect(0, 0, 1024, 600));
    // A frame that fits stays where it is; a second screen keeps its offset.
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(10, 40, 800, 600), laptop), QRect(10, 40, 800, 600));
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(0, 0, 1221, 1012), QRect(1366, 0, 1920, 1050)),
              QRect(1366, 0, 1221, 1012));
    // A screen that reports no area leaves the frame alone.
    EXPECT_EQ(CMainFrame::FitToScreen(QRect(5, 5, 1221, 1012), QRect()), QRect(5, 5, 1221, 1012));
}

using ScreenFit = AppFixture;

TEST_F(ScreenFit, TheWindowFitsTheOffscreenPlatformsScreen)
{
    Start();
    QApplication::processEvents();
    EXPECT_TRUE(OnScreen(frame())) << frame()->frameGeometry().width() << "x" << frame()->frameGeometry().height();
    auto* scroll = qobject_cast<QScrollArea*>(frame()->centralWidget());
    ASSERT_NE(scroll, nullptr);
    const QSize view = scroll->viewport()->size();
    const QSize form = frame()->Form()->size();
    EXPECT_EQ(form, QSize(1217, 912));
    // Whatever of the form the window cannot show, the scroll bars reach.
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), std::max(0, form.width() - view.width()));
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), std::max(0, form.height() - view.height()));
}

namespace {

// True when this process has a primary screen of this size. Otherwise the
// test is run again in a child process on an offscreen screen of that size,
// its result is checked here, and false is returned.
bool OnScreenOfSize(QSize size)
{
    if (QGuiApplication::primaryScreen()->size() == size)
        return true;
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2,
                                                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                   .arg(size.width())
                   .arg(size.height())
                   .toUtf8());
    file.close();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2").arg(QLatin1String(test->test_suite_name()),
                                                            QLatin1String(test->name()))});
    EXPECT_TRUE(child.waitForFinished(120000));
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_THAT(output, testing::HasSubstr("[  PASSED  ] 1 test"));
    return false;
}

}  // namespace

TEST_F(ScreenFit, OnALaptopScreenTheWindowFitsAndTheFormScrolls)
{
    if (!OnScreenOfSize(kLaptop))
        return;
    Start();
    QApplication::processEvents();  // the scroll bars follow the layout
    ASSERT_EQ(frame()->screen()->availableGeometry(), QRect(QPoint(0, 0), kLaptop));
    EXPECT_TRUE(OnScreen(frame())) << frame()->frameGeometry().width() << "x" << frame()->frameGeometry().height();
    EXPECT_EQ(frame()->frameGeometry().height(), kLaptop.height());
    const QRect status(frame()->statusBar()->mapToGlobal(QPoint(0, 0)), frame()->statusBar()->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), kLaptop).contains(status));

    // The form keeps its layout and the plots their pixels; it scrolls up
    // and down only, the window being as much wider as the scroll bar takes.
    auto* scroll = qobject_cast<QScrollArea*>(frame()->centralWidget());
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(frame()->Form()->size(), QSize(1217, 912));
    EXPECT_EQ(frame()->Plot(3)->geometry(), QRect(622, 571, 572, 316));
    QScrollBar* bar = scroll->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 912 - scroll->viewport()->height());
    EXPECT_EQ(scroll->viewport()->width(), 1217);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    bar->setValue(bar->maximum());
    const QPoint bottom = frame()->Form()->mapTo(scroll->viewport(), QPoint(0, frame()->Form()->height()));
    EXPECT_EQ(bottom.y(), scroll->viewport()->height());

    // Opening or renewing the document keeps the fit.
    frame()->OnCommand(ID_FILE_NEW);
    QApplication::processEvents();
    EXPECT_TRUE(OnScreen(frame()));
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ScreenFit, OnALargeScreenTheFrameJustHoldsTheForm)
{
    if (!OnScreenOfSize(QSize(1920, 1200)))
        return;
    Start();
    QApplication::processEvents();
    EXPECT_TRUE(OnScreen(frame()));
    auto* scroll = qobject_cast<QScrollArea*>(frame()->centralWidget());
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->size(), QSize(1217, 912));
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
}

// The Target Filter field is narrower than its longer entries: whether
// picked from the list or loaded with a document, an entry shows its start,
// which names it, and not its end.
TEST_F(ScreenFit, TheTargetFilterShowsTheStartOfALongEntry)
{
    StartActive();
    QComboBox* combo = Combo(IDC_TARGET_FILTER);
    ASSERT_NE(combo, nullptr);
    QLineEdit* edit = combo->lineEdit();
    ASSERT_NE(edit, nullptr);
    auto showsStart = [edit]() {
        // The cursor is at the start and the text is not scrolled: the
        // start of the cursor lies at the field's left margin.
        return edit->cursorPosition() == 0 && edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < edit->height() / 2;
    };
    // Up and down on the closed field select the whole entry, as a pick from the list does.
    edit->setFocus();
    combo->setCurrentIndex(4);
    QTest::keyClick(combo, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(combo->currentText(), QStringLiteral("bandpass even 50"));
    EXPECT_TRUE(showsStart());
    for (int index : {5, 6, 2}) {
        SCOPED_TRACE(combo->itemText(index).toStdString());
        edit->setFocus();
        Select(IDC_TARGET_FILTER, index);
        QApplication::processEvents();
        EXPECT_EQ(combo->currentText(), combo->itemText(index));
        EXPECT_TRUE(showsStart());
    }
    // Wider than the field, so the test can tell the start from the end.
    EXPECT_GT(edit->fontMetrics().horizontalAdvance(QStringLiteral("multi bandpass 55")), edit->contentsRect().width());
    app->m_host.SetDlgItemText(app->m_view, IDC_TARGET_FILTER, "bandpass even 50");
    EXPECT_TRUE(showsStart());

    // Tab into the field selects its text and shows the end; Tab on to the
    // next field shows the start again.
    QWidget* design = Control(IDC_DESIGN);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    ASSERT_EQ(edit->cursorPosition(), static_cast<int>(edit->text().size()));
    design->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(design->hasFocus());
    EXPECT_TRUE(showsStart());
}
