#include <QDir>
#include <QFile>
#include <QLabel>
#include <QHeaderView>
#include <QLineSeries>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWheelEvent>

#include "AppFixture.h"
#include "app/AnalysisChartView.h"
#include "app/AnalysisReference.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"

using AnalysisWindowTest = AppFixture;

TEST_F(AnalysisWindowTest, ExtrasAnalysisOpensAModelessWindowWithItsPrompt)
{
    Start();
    QAction* action = frame()->Action(ID_EXTRAS_ANALYSIS);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("&Analysis..."));
    EXPECT_EQ(action->statusTip(), QStringLiteral("Show the achieved figures of the design and of its fixed-point taps"));
    action->trigger();
    AnalysisWindow* w = frame()->Analysis();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_TRUE(w->isWindow());
    // No design yet: empty curves and a hint.
    EXPECT_EQ(w->DesignCurve()->count(), 0);
    EXPECT_TRUE(w->StatusLine()->text().startsWith(QStringLiteral("No design available.")));
    // Resizable.
    w->resize(700, 500);
    EXPECT_EQ(w->size(), QSize(700, 500));
    action->trigger();
    EXPECT_EQ(frame()->Analysis(), w);  // one window, raised again
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AnalysisWindowTest, FollowsEveryDesignWithBothCurvesAndTheTable)
{
    Start();
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    // Kaiser lowpass: 101 taps, beta 10, fs 48000, corner 6000.
    DesignKaiserLowpass();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);

    const DesignAnalysis& a = w->Analysis();
    ASSERT_TRUE(a.valid);
    EXPECT_EQ(a.taps.size(), 101u);
    EXPECT_GT(w->DesignCurve()->count(), 4000);
    EXPECT_EQ(w->QuantizedCurve()->count(), w->DesignCurve()->count());
    EXPECT_EQ(w->QuantizedCurve()->name(), QStringLiteral("Q15"));
    EXPECT_NE(w->DesignCurve()->pen().color(), w->QuantizedCurve()->pen().color());
    EXPECT_DOUBLE_EQ(w->DesignCurve()->points().back().x(), 24000.0);

    QTableWidget* t = w->FiguresTable();
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), QStringLiteral("double"));
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QStringLiteral("Q15"));
    const int stop = RowOf(t, QStringLiteral("Band 2 (stop"));
    ASSERT_GE(stop, 0);
    EXPECT_NEAR(t->item(stop, 1)->text().toDouble(), 99.2, 0.1);
    EXPECT_NEAR(t->item(stop, 2)->text().toDouble(), 72.2, 0.1);
    // The quantised stop band misses the 99 dB the design reaches: red.
    EXPECT_EQ(t->item(stop, 2)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(t->item(stop, 1)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(t->item(RowOf(t, QStringLiteral("Group delay samples")), 1)->text(), QStringLiteral("50.000"));

    // Q7 from the window's own list.
    w->FormatList()->setCurrentIndex(0);
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QStringLiteral("Q7"));
    EXPECT_NEAR(t->item(RowOf(t, QStringLiteral("Band 2 (stop")), 2)->text().toDouble(), 28.9, 0.1);

    // The next design is followed without touching the window.
    Select(IDC_WINDOW_TYPE, 2);
    Type(IDC_TAPS, QStringLiteral("63"));
    Press(IDC_DESIGN);
    EXPECT_EQ(w->Analysis().taps.size(), 63u);
    EXPECT_NEAR(w->Analysis().figures.bands[1].attenuationDb, 53.0, 1.5);  // Hamming
}

TEST_F(AnalysisWindowTest, WheelAndRectangleZoomAndResetRestores)
{
    Start();
    Press(IDC_DESIGN);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    w->resize(1000, 700);
    QApplication::processEvents();
    AnalysisChartView* v = w->MagnitudeView();
    const QRectF home = v->VisibleRange();
    EXPECT_EQ(home.left(), 0.0);
    EXPECT_EQ(home.right(), 4000.0);
    EXPECT_EQ(home, v->HomeRange());

    // The wheel zooms in about the pointer.
    const QPoint center = v->viewport()->rect().center();
    QWheelEvent wheel(QPointF(center), v->viewport()->mapToGlobal(QPointF(center)), QPoint(), QPoint(0, 240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->viewport(), &wheel);
    QRectF zoomed = v->VisibleRange();
    EXPECT_NEAR(zoomed.width(), home.width() / 1.5625, 1e-6);
    EXPECT_GT(zoomed.left(), home.left());

    // A dragged rectangle zooms into it.
    w->ResetZoom();
    const QRectF area = v->chart()->plotArea();
    const QPoint from = v->mapFromScene(area.topLeft() + QPointF(area.width() * 0.25, area.height() * 0.25));
    const QPoint to = v->mapFromScene(area.topLeft() + QPointF(area.width() * 0.5, area.height() * 0.5));
    QTest::mousePress(v->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(v->viewport(), to);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    zoomed = v->VisibleRange();
    EXPECT_NEAR(zoomed.left(), 1000.0, 80.0);  // the rubber band snaps to pixels
    EXPECT_NEAR(zoomed.right(), 2000.0, 80.0);
    EXPECT_LT(zoomed.height(), home.height() * 0.3);

    // Pan, then reset restores the whole range.
    v->PanBy(0.5, 0.0);
    EXPECT_GT(v->VisibleRange().left(), zoomed.left());
    w->ResetZoom();
    EXPECT_EQ(v->VisibleRange(), home);
    // A new design resets the view to its own range.
    v->ZoomAbout(home.center(), 4.0);
    Type(IDC_SAMPLING_RATE, QStringLiteral("16000"));
    Press(IDC_DESIGN);
    EXPECT_EQ(v->VisibleRange().right(), 8000.0);
}

TEST_F(AnalysisWindowTest, EditedBandsReplaceTheDerivedOnesAndPicturesExport)
{
    Start();
    Press(IDC_DESIGN);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    QTableWidget* bands = w->BandsTable();
    ASSERT_EQ(bands->rowCount(), 2);
    EXPECT_EQ(bands->item(1, AnalysisWindow::kKindColumn)->text(), QStringLiteral("stop"));
    bands->item(1, AnalysisWindow::kLoColumn)->setText(QStringLiteral("1500"));
    EXPECT_EQ(w->Analysis().bands[1].loHz, 1500.0);
    EXPECT_FALSE(w->Analysis().bandsDerived);
    EXPECT_EQ(w->StatusLine()->text(), QStringLiteral("Bands as edited."));
    // A bad edge is refused with a reason, the last good mask stays.
    bands->item(1, AnalysisWindow::kHiColumn)->setText(QStringLiteral("5000"));
    EXPECT_TRUE(w->StatusLine()->text().startsWith(QStringLiteral("Band 2:")));
    EXPECT_EQ(w->Analysis().bands[1].hiHz, 4000.0);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("a.png")), svg = dir.filePath(QStringLiteral("a.svg"));
    ASSERT_TRUE(w->ExportPicture(png));
    ASSERT_TRUE(w->ExportPicture(svg));
    QImage image(png);
    EXPECT_FALSE(image.isNull());
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("Zantro analysis"));
    EXPECT_FALSE(w->ExportPicture(dir.filePath(QStringLiteral("missing/a.png"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left
}

// Hold as Reference keeps a design: the next one is drawn over its curves
// (magnitude and group delay) and the table shows both sets of figures,
// the reference's measured on the current bands, until Clear Reference.
TEST_F(AnalysisWindowTest, AHeldReferenceIsOverlaidAndTabulatedUntilCleared)
{
    Start();
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    QPushButton* hold = w->ReferenceButton();
    EXPECT_FALSE(hold->isEnabled());  // nothing to hold yet
    // Kaiser lowpass: 101 taps, beta 10, fs 48000, corner 6000.
    DesignKaiserLowpass();
    ASSERT_TRUE(hold->isEnabled());
    EXPECT_EQ(hold->text(), QStringLiteral("Hold as &Reference"));
    const int designPoints = w->DesignCurve()->count();
    hold->click();
    EXPECT_EQ(hold->text(), QStringLiteral("Clear &Reference"));
    ASSERT_TRUE(w->Reference().IsHeld());

    // Hamming, 63 taps.
    Select(IDC_WINDOW_TYPE, 2);
    Type(IDC_TAPS, QStringLiteral("63"));
    Press(IDC_DESIGN);
    ASSERT_EQ(w->Analysis().taps.size(), 63u);

    QLineSeries* magnitude = w->Reference().MagnitudeCurve();
    QLineSeries* delay = w->Reference().GroupDelayCurve();
    ASSERT_NE(magnitude, nullptr);
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(magnitude->name(), QStringLiteral("reference (101 taps)"));
    EXPECT_EQ(magnitude->count(), designPoints);
    EXPECT_GT(delay->count(), 1000);
    const QList<QAbstractSeries*> series = w->MagnitudeView()->chart()->series();
    ASSERT_TRUE(series.contains(magnitude));
    EXPECT_TRUE(w->GroupDelayView()->chart()->series().contains(delay));
    // Under the current design's curve.
    EXPECT_LT(series.indexOf(magnitude), series.indexOf(w->DesignCurve()));
    EXPECT_NE(magnitude->pen().color(), w->DesignCurve()->pen().color());
    EXPECT_NE(magnitude->pen().color(), w->QuantizedCurve()->pen().color());
    // The reference's curve is the 101-tap Kaiser design: flat delay of 50 samples.
    EXPECT_NEAR(delay->points().front().y(), 50.0, 1e-6);

    QTableWidget* t = w->FiguresTable();
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QStringLiteral("reference"));
    const int delayRow = RowOf(t, QStringLiteral("Group delay samples"));
    EXPECT_EQ(t->item(delayRow, 1)->text(), QStringLiteral("31.000"));
    EXPECT_EQ(t->item(delayRow, 3)->text(), QStringLiteral("50.000"));
    const int stop = RowOf(t, QStringLiteral("Band 2 (stop"));
    EXPECT_NEAR(t->item(stop, 1)->text().toDouble(), 53.0, 1.5);
    EXPECT_GT(t->item(stop, 3)->text().toDouble(), 95.0);
    // Figures the reference lacks show "-": it has no word length of its own.
    EXPECT_EQ(t->item(RowOf(t, QStringLiteral("Word / fraction length")), 3)->text(), QStringLiteral("-"));

    // As narrow as beside the form on a 1920 x 1080 screen: every column of
    // figures stays in sight, the names wrap instead.
    w->resize(703, 760);
    QApplication::processEvents();
    EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0);
    EXPECT_LE(t->horizontalHeader()->length(), t->viewport()->width());
    for (int column = 1; column < t->columnCount(); ++column)
        for (int row = 0; row < t->rowCount(); ++row)
            EXPECT_GE(t->columnWidth(column), t->fontMetrics().horizontalAdvance(t->item(row, column)->text()))
                << row << ", " << column;
    const QRect nameCell(0, 0, t->columnWidth(0) - 8, 1000);
    for (int row = 0; row < t->rowCount(); ++row)
        EXPECT_GE(t->rowHeight(row),
                  t->fontMetrics().boundingRect(nameCell, Qt::TextWordWrap, t->item(row, 0)->text()).height())
            << t->item(row, 0)->text().toStdString();

    hold->click();
    EXPECT_FALSE(w->Reference().IsHeld());
    EXPECT_EQ(w->Reference().MagnitudeCurve(), nullptr);
    EXPECT_FALSE(w->MagnitudeView()->chart()->series().contains(magnitude));
    EXPECT_EQ(t->columnCount(), 3);
    EXPECT_EQ(hold->text(), QStringLiteral("Hold as &Reference"));
}
