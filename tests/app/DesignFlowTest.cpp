#include <QLabel>
#include <QMessageBox>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "dsp/DesignKinds.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CStopbandAttDlg.h"
#include "plot/CPlotWnd.h"

namespace {

const QColor kGreen(0, 255, 0);

// Records the cursor that plot paints see while a command runs.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && QApplication::overrideCursor())
            shapes.push_back(QApplication::overrideCursor()->shape());
        return false;
    }
    std::vector<Qt::CursorShape> shapes;
};

}  // namespace

using DesignFlow = AppFixture;

TEST_F(DesignFlow, TypingAndPressingDesignUpdatesAllFourPlots)
{
    Start();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CountPixels(frame()->Plot(i), kGreen), 0) << i;
    Select(IDC_FILTER_TYPE, 2);  // Bandpass
    Type(IDC_TAPS, QStringLiteral("41"));
    Type(IDC_FIRST_CORNER, QStringLiteral("1000"));
    Type(IDC_SECOND_CORNER, QStringLiteral("2000"));
    PaintSpy spy(frame()->Plot(2));
    Press(IDC_DESIGN);

    EXPECT_EQ(app->m_view.m_bDesignValid, 1);
    EXPECT_EQ(app->m_view.m_nTaps, 41);
    EXPECT_EQ(app->m_view.m_ImpulseWnd.m_values.m_nCount, 41);
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(CountPixels(frame()->Plot(i), kGreen), 100) << i;
    EXPECT_EQ(qobject_cast<QLabel*>(Control(IDC_MAGNITUDE_CAPTION))->text(), QStringLiteral("Logarithmic Magnitude"));
    // The plots were repainted during the command, under the wait cursor.
    ASSERT_FALSE(spy.shapes.empty());
    EXPECT_EQ(spy.shapes.front(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(app->m_doc.IsModified());
}

TEST_F(DesignFlow, ARefusedEntryShowsItsStandardMessageAndTakesTheFocus)
{
    Start();
    Type(IDC_TAPS, QStringLiteral("2000"));
    script->ExpectMessage();
    Press(IDC_DESIGN);
    EXPECT_EQ(script->Seen(), QStringList{QStringLiteral("Please enter an integer between 4 and 1025.")});
    EXPECT_EQ(script->LastIcon(), QMessageBox::Warning);
    EXPECT_EQ(script->LastTitle(), QStringLiteral("Zantro"));
    EXPECT_EQ(frame()->Form()->focusWidget(), Edit(IDC_TAPS));
    EXPECT_EQ(Edit(IDC_TAPS)->selectedText(), QStringLiteral("2000"));
    EXPECT_EQ(app->m_view.m_bDesignValid, 0);
    EXPECT_EQ(CountPixels(frame()->Plot(0), kGreen), 0);
}

TEST_F(DesignFlow, KaiserAndDolphChebyshevDesignsAskForTheirParameterInARealDialog)
{
    Start();
    Select(IDC_WINDOW_TYPE, WT_KAISER);  // no dialog yet
    EXPECT_TRUE(script->Seen().isEmpty());
    QString seeded;
    Qt::CursorShape cursor = Qt::BlankCursor;
    script->Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Kaiser window shape factor"));
        QLineEdit* edit = DialogEdit(modal, CKaiserShapeDlg::IDC_SHAPE_EDIT);
        ASSERT_NE(edit, nullptr);
        seeded = edit->text();
        cursor = QApplication::overrideCursor()->shape();
        EXPECT_EQ(modal->focusWidget(), edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("8.6"));
        Ok(modal);
    });
    Press(IDC_DESIGN);
    EXPECT_EQ(seeded, QStringLiteral("5.00"));
    EXPECT_EQ(cursor, Qt::ArrowCursor);
    EXPECT_DOUBLE_EQ(app->m_view.m_dShapeFactor, 8.6);
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);

    Select(IDC_WINDOW_TYPE, WT_CHEBYSHEV);
    script->Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Dolph-Chebyshev Window"));
        QLineEdit* edit = DialogEdit(modal, CStopbandAttDlg::IDC_ATT_EDIT);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("40"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("7x5"));  // digits only
        EXPECT_EQ(edit->text(), QStringLiteral("75"));
        Ok(modal);
    });
    Press(IDC_DESIGN);
    EXPECT_EQ(app->m_view.m_nStopbandAtt, 75);
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);

    // Cancelling the dialog abandons the design; the plots stay as they were.
    const int before = CountPixels(frame()->Plot(2), kGreen);
    script->Expect([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    Press(IDC_DESIGN);
    EXPECT_EQ(app->m_view.m_nStopbandAtt, 75);
    EXPECT_EQ(CountPixels(frame()->Plot(2), kGreen), before);
}

TEST_F(DesignFlow, TheScaleEditTakesOnlyNumberCharactersAndBeepsAtTheRest)
{
    Start();
    Type(IDC_IR_SCALE, QStringLiteral("1e-3"));
    EXPECT_EQ(Edit(IDC_IR_SCALE)->text(), QStringLiteral("1-3"));
    EXPECT_EQ(app->m_host.Beeps(), 1);
    // The edit takes at most 8 typed characters once the form is written.
    Type(IDC_IR_SCALE, QStringLiteral("0.1234567890"));
    EXPECT_EQ(Edit(IDC_IR_SCALE)->text(), QStringLiteral("0.123456"));
}

TEST_F(DesignFlow, HoldingTheLeftButtonInAPlotShowsTheCrosshairUntilRelease)
{
    Start();
    Press(IDC_DESIGN);
    PlotWidget* impulse = frame()->Plot(2);
    CPlotWnd& plot = app->m_view.m_ImpulseWnd;
    const QColor grey(128, 128, 128);
    // The crosshair's grey may also occur in a glyph's antialiasing, so its
    // pixels are counted against the plot as drawn without it.
    const int idle = CountPixels(impulse, grey);
    EXPECT_LT(idle, 10);
    // Client (296, 100) is inside the frame; the widget adds its 2-pixel edge.
    QTest::mousePress(impulse, Qt::LeftButton, Qt::NoModifier, QPoint(298, 102));
    EXPECT_EQ(plot.m_bTracking, 1);
    EXPECT_EQ(plot.m_ptCursor, (Point{296, 100}));
    EXPECT_GT(CountPixels(impulse, grey), idle + 100);
    QTest::mouseMove(impulse, QPoint(350, 150));
    EXPECT_EQ(plot.m_ptCursor, (Point{348, 148}));
    QTest::mouseRelease(impulse, Qt::LeftButton, Qt::NoModifier, QPoint(350, 150));
    EXPECT_EQ(plot.m_bTracking, 0);
    EXPECT_EQ(CountPixels(impulse, grey), idle);
    // A press outside the frame starts nothing.
    QTest::mousePress(impulse, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(plot.m_bTracking, 0);
    QTest::mouseRelease(impulse, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

TEST_F(DesignFlow, ExtrasWindowAndTheTargetFilterComboRunFromTheFrame)
{
    Start();
    frame()->Action(ID_EXTRAS_WINDOW)->trigger();
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);
    EXPECT_GT(CountPixels(frame()->Plot(0), kGreen), 100);
    // "lowpass odd 63" fills the form from its preset.
    Select(IDC_TARGET_FILTER, 3);
    EXPECT_EQ(app->m_view.m_nTargetFilter, 3);
    EXPECT_EQ(Combo(IDC_TARGET_FILTER)->currentText(), QStringLiteral("lowpass odd 63"));
    EXPECT_EQ(Combo(IDC_DESIGN_METHOD)->currentText(), QStringLiteral("Remez Exchange"));
}

TEST_F(DesignFlow, CloseOnTheFormClosesTheFrame)
{
    Start();
    Press(IDC_CLOSE);
    QTRY_VERIFY(!frame()->isVisible());
}
