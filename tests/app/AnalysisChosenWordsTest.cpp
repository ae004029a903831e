#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTableWidget>

#include "AppFixture.h"
#include "app/AnalysisChosenWords.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"

namespace {

// Whether the chart's legend names curve (once pending layout has run).
bool InLegend(QLineSeries* curve)
{
    QCoreApplication::processEvents();
    const QList<QLegendMarker*> markers = curve->chart()->legend()->markers(curve);
    return !markers.isEmpty() && markers.front()->isVisible();
}

}  // namespace

using AnalysisChosenWordsTest = AppFixture;

// Chosen words beside the rounded ones: a curve and a column of figures
// that come closer to the design's own than rounding's; unchecked, both go.
TEST_F(AnalysisChosenWordsTest, ChosenWordsStandBesideTheRoundedOnes)
{
    Start();
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    // Kaiser lowpass: 101 taps, beta 10, fs 48000, corner 6000; Q15 rounds
    // its 99 dB stop band to 72 dB.
    DesignKaiserLowpass();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    QCheckBox* box = w->ChosenWords().CheckBox();
    EXPECT_FALSE(box->isChecked());
    QTableWidget* t = w->FiguresTable();
    EXPECT_EQ(t->columnCount(), 3);
    EXPECT_EQ(w->ChosenWords().Curve()->count(), 0);
    EXPECT_FALSE(InLegend(w->ChosenWords().Curve()));

    box->setChecked(true);
    ASSERT_TRUE(w->Analysis().chosen.has_value());
    // The band table's limits, the design's own figures, are what they are chosen for.
    ASSERT_EQ(w->Analysis().chosen->requirement.bands.size(), 2u);
    EXPECT_DOUBLE_EQ(w->Analysis().chosen->requirement.bands[1].limitDb, w->Limits()[1]);
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QStringLiteral("chosen Q15"));
    EXPECT_EQ(w->ChosenWords().Curve()->name(), QStringLiteral("chosen Q15"));
    EXPECT_EQ(w->ChosenWords().Curve()->count(), w->DesignCurve()->count());
    EXPECT_TRUE(InLegend(w->ChosenWords().Curve()));
    const int stop = RowOf(t, QStringLiteral("Band 2 (stop"));
    ASSERT_GE(stop, 0);
    EXPECT_GT(t->item(stop, 3)->text().toDouble(), t->item(stop, 2)->text().toDouble());
    EXPECT_EQ(w->Analysis().optimized.taps, w->Analysis().chosen->result.words.taps);

    // Another format: chosen again for it.
    w->FormatList()->setCurrentIndex(0);
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QStringLiteral("chosen Q7"));
    EXPECT_EQ(w->Analysis().optimized.wordLength, 8);

    box->setChecked(false);
    EXPECT_FALSE(w->Analysis().chosen.has_value());
    EXPECT_EQ(t->columnCount(), 3);
    EXPECT_EQ(w->ChosenWords().Curve()->count(), 0);
    EXPECT_FALSE(InLegend(w->ChosenWords().Curve()));
}
