#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>

#include "AppFixture.h"
#include "ModalFields.h"
#include "app/AnalysisChartView.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"
#include "form/CMethodDlg.h"
#include "form/CRateChangeDlg.h"

using MoreMethodsApp = AppFixture;

// Extras > More Methods...: its prompt, its dialog, and a pulse designed
// from it: the form shows span x sps + 1 taps and the plots follow.
TEST_F(MoreMethodsApp, MenuEntryDesignsAPulse)
{
    Start();
    QAction* action = frame()->Action(ID_EXTRAS_MORE_METHODS);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("More &Methods..."));
    EXPECT_TRUE(action->statusTip().startsWith(QStringLiteral("Design by least squares")));
    script->Expect([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("More Methods"));
        QComboBox* method = Field<QComboBox>(modal, CMethodDlg::IDC_MORE_METHOD);
        ASSERT_NE(method, nullptr);
        EXPECT_EQ(method->count(), 3);
        method->setCurrentIndex(CMethodDlg::kPulse);
        SetText(modal, CMethodDlg::IDC_MORE_SPS, QStringLiteral("4"));
        SetText(modal, CMethodDlg::IDC_MORE_SPAN, QStringLiteral("6"));
        Ok(modal);
    });
    action->trigger();
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);
    EXPECT_EQ(app->m_view.m_nTaps, 25);
    EXPECT_EQ(Edit(IDC_TAPS)->text(), QStringLiteral("25"));
}

// A refused entry keeps the dialog open with the design's message.
TEST_F(MoreMethodsApp, RefusalKeepsTheDialogOpen)
{
    Start();
    script->Expect([this](QWidget* modal) {
        Field<QComboBox>(modal, CMethodDlg::IDC_MORE_METHOD)->setCurrentIndex(CMethodDlg::kPulse);
        SetText(modal, CMethodDlg::IDC_MORE_ROLLOFF, QStringLiteral("2"));
        script->ExpectMessage();
        Ok(modal);
        EXPECT_TRUE(modal->isVisible());
        modal->findChild<QPushButton*>(QStringLiteral("control2"))->click();
    });
    frame()->Action(ID_EXTRAS_MORE_METHODS)->trigger();
    ASSERT_GE(script->Seen().size(), 2);
    EXPECT_TRUE(script->Seen()[1].startsWith(QStringLiteral("Pulse shaping needs a roll-off 0..1")))
        << script->Seen()[1].toStdString();
    EXPECT_EQ(app->m_view.m_bDesignValid, 0);
}

// A decimator by 4 at 48 kHz with its pass band to 2 kHz: the Analysis
// window shades the alias bands 10-14 kHz and 22-24 kHz where the axis puts
// those frequencies, draws the folded response over 0 .. 6 kHz and titles
// the plot with the alias attenuation.
TEST_F(MoreMethodsApp, AnalysisShowsAliasBandsAndTheFoldedResponse)
{
    Start();
    script->Expect([](QWidget* modal) {
        SetText(modal, CRateChangeDlg::IDC_RATE_FACTOR, QStringLiteral("4"));
        SetText(modal, CRateChangeDlg::IDC_RATE_FS, QStringLiteral("48000"));
        SetText(modal, CRateChangeDlg::IDC_RATE_PASS, QStringLiteral("2000"));
        SetText(modal, CRateChangeDlg::IDC_RATE_TAPS, QStringLiteral("41"));
        Field<QCheckBox>(modal, CRateChangeDlg::IDC_RATE_ALIAS)->setChecked(true);
        Ok(modal);
    });
    script->ExpectMessage();  // the pass count
    frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);

    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    ASSERT_NE(w, nullptr);
    w->resize(1180, 760);
    QApplication::processEvents();
    const QList<QAreaSeries*> bands = SeriesNamed<QAreaSeries>(w, QStringLiteral("alias bands"));
    ASSERT_EQ(bands.size(), 2);
    const double expected[][2] = {{10000, 14000}, {22000, 24000}};
    QChart* chart = w->MagnitudeView()->chart();
    const QRectF plot = chart->plotArea();
    for (int i = 0; i < 2; ++i) {
        const QList<QPointF> upper = bands[i]->upperSeries()->points();
        ASSERT_EQ(upper.size(), 2);
        EXPECT_DOUBLE_EQ(upper[0].x(), expected[i][0]);
        EXPECT_DOUBLE_EQ(upper[1].x(), expected[i][1]);
        // On screen: the fraction of the axis from 0 to fs/2.
        for (int e = 0; e < 2; ++e) {
            const QPointF at = chart->mapToPosition(QPointF(expected[i][e], -20.0), bands[i]);
            EXPECT_NEAR(at.x(), plot.left() + plot.width() * expected[i][e] / 24000.0, 1.0);
        }
    }
    const QList<QLineSeries*> folded = SeriesNamed<QLineSeries>(w, QStringLiteral("folded"));
    ASSERT_EQ(folded.size(), 1);
    EXPECT_EQ(folded[0]->count(), 513);
    EXPECT_DOUBLE_EQ(folded[0]->at(512).x(), 6000.0);
    // Over the pass band what folds in is three components (12 kHz -+ f and
    // 24 kHz - f), each at least the alias attenuation down: at most
    // 10 log10(3) = 4.77 dB above it.
    const double attenuation = w->Analysis().rateChange->aliasAttenuationDb;
    for (const QPointF& p : folded[0]->points()) {
        if (p.x() <= 2000.0) {
            EXPECT_LT(p.y(), -attenuation + 4.8) << p.x();
        }
    }
    EXPECT_TRUE(chart->title().contains(QStringLiteral("decimation by 4: alias attenuation")))
        << chart->title().toStdString();
}
