#include <QScreen>

#include "AppFixture.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"
#include "app/HelpViewer.h"
#include "app/WindowPlacement.h"

// Where the analysis window opens: beside the main window where the screen
// has room, else over its plots; never off the screen.
TEST(WindowPlacement, TheAnalysisWindowGoesBesideTheFormOrOverItsPlots)
{
    const QSize wanted(1180, 760), minimum(640, 480);
    struct Case {
        const char* what;
        QRect available, main;
        int plotsTop;
        QRect expected;
    };
    const Case cases[] = {
        // 1920 x 1080: 689 pixels right of the form, enough.
        {"wide screen, room on the right", QRect(0, 0, 1920, 1080), QRect(0, 0, 1231, 1040), 250,
         QRect(1231, 0, 689, 760)},
        {"wide screen, form on the right", QRect(0, 0, 1920, 1080), QRect(689, 20, 1231, 1040), 270,
         QRect(0, 20, 689, 760)},
        {"large screen, the whole window fits", QRect(0, 0, 2560, 1440), QRect(100, 50, 1231, 1000), 300,
         QRect(1331, 50, 1180, 760)},
        // 1366 x 768: no room; over the plots at the screen's right, the fields in sight.
        {"laptop, over the plots", QRect(0, 0, 1366, 768), QRect(0, 0, 1245, 768), 250, QRect(186, 250, 1180, 518)},
        // Plots low on the screen: moved up to keep the minimum height.
        {"laptop, plots low", QRect(0, 0, 1366, 768), QRect(0, 0, 1245, 768), 500, QRect(186, 288, 1180, 480)},
        {"panel on top", QRect(0, 32, 1366, 736), QRect(0, 32, 1245, 736), 280, QRect(186, 280, 1180, 488)},
    };
    for (const Case& c : cases) {
        const QRect r = PlaceBesideOrOverPlots(c.main, c.plotsTop, wanted, minimum, c.available);
        EXPECT_EQ(r, c.expected) << c.what;
        EXPECT_TRUE(c.available.contains(r)) << c.what;
    }
    EXPECT_EQ(FitInside(QRect(-10, -30, 500, 400), QRect(0, 0, 800, 600)), QRect(0, 0, 500, 400));
    EXPECT_EQ(FitInside(QRect(700, 500, 500, 400), QRect(0, 0, 800, 600)), QRect(300, 200, 500, 400));
    EXPECT_EQ(FitInside(QRect(0, 0, 900, 700), QRect(0, 0, 800, 600)), QRect(0, 0, 800, 600));
}

using WindowsOnScreen = AppFixture;

TEST_F(WindowsOnScreen, TheAnalysisAndHelpWindowsOpenInsideTheScreen)
{
    Start();
    Press(IDC_DESIGN);
    frame()->OnCommand(ID_EXTRAS_ANALYSIS);
    frame()->OnCommand(ID_HELP_FINDER);
    const QRect available = frame()->screen()->availableGeometry();
    for (QWidget* w : {static_cast<QWidget*>(frame()->Analysis()), static_cast<QWidget*>(frame()->Help())}) {
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(available.contains(w->frameGeometry())) << w->windowTitle().toStdString();
    }
    // No room beside the form on this screen: the analysis lies over the plots, below the fields.
    QWidget* caption = Control(IDC_MAGNITUDE_CAPTION);
    const int plotsTop = caption->mapToGlobal(QPoint(0, 0)).y();
    const QRect analysis = frame()->Analysis()->frameGeometry();
    if (available.height() - plotsTop >= CMainFrame::kAnalysisMinimum.height()) {
        EXPECT_EQ(analysis.top(), plotsTop);
    }
    EXPECT_GE(analysis.width(), CMainFrame::kAnalysisMinimum.width());
}
