#include <QAction>
#include <QClipboard>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "document/DocumentMessages.h"
#include "dsp/DesignKinds.h"

// Edit > Undo and Redo step through the designs; Copy Coefficients puts the
// taps on the clipboard; Cut, Copy and Paste work on the focused field.
namespace {

struct Shown {
    QString taps, corner;
    int window = 0;
    std::vector<double> impulse, magnitude;
    int band0Upper = 0;
    bool operator==(const Shown&) const = default;
};

class EditMenu : public AppFixture {
protected:
    Shown Now() const
    {
        const CZantroView& v = app->m_view;
        Shown s{Edit(IDC_TAPS)->text(), Edit(IDC_FIRST_CORNER)->text(), Combo(IDC_WINDOW_TYPE)->currentIndex(), {}, {},
                app->m_doc.m_FilPar.m_Bands[0].m_nUpperEdge};
        for (int i = 0; i < v.m_ImpulseWnd.m_values.m_nCount; ++i)
            s.impulse.push_back(v.m_ImpulseWnd.m_values[i]);
        for (int i = 0; i < v.m_MagnitudeWnd.m_values.m_nCount; ++i)
            s.magnitude.push_back(v.m_MagnitudeWnd.m_values[i]);
        return s;
    }
    bool Enabled(int id) const { return frame()->Action(id)->isEnabled(); }
    void Design(const char* taps, int window, const char* corner)
    {
        Type(IDC_TAPS, QString::fromLatin1(taps));
        Select(IDC_WINDOW_TYPE, window);
        Type(IDC_FIRST_CORNER, QString::fromLatin1(corner));
        Press(IDC_DESIGN);
        ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    }
};

}  // namespace

TEST_F(EditMenu, UndoAndRedoStepThroughTheDesignsWithTheirFieldsBandsAndPlots)
{
    StartActive();
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    Design("31", WT_HAMMING, "1000");
    const Shown first = Now();
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));  // nothing before the first design
    app->m_doc.m_FilPar.m_Bands[0].m_nUpperEdge = 1234;  // as the band dialog would
    Design("45", WT_BLACKMAN, "1500");
    const Shown second = Now();
    ASSERT_NE(first, second);
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));

    frame()->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Now(), first);
    EXPECT_EQ(app->m_view.m_nTaps, 31);
    EXPECT_EQ(app->m_doc.m_FilPar.m_nTaps, 31);  // the document holds the form's parameters again
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(ID_EDIT_REDO));
    // Ctrl+Y redoes from anywhere on the form but a text field.
    Combo(IDC_FILTER_TYPE)->setFocus();
    QTest::keyClick(Combo(IDC_FILTER_TYPE), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Now(), second);

    // A design after an Undo drops the designs that followed it.
    frame()->OnCommand(ID_EDIT_UNDO);
    Design("21", WT_HANNING, "900");
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    EXPECT_EQ(app->m_view.m_history.Count(), 2);
    frame()->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Now(), first);
}

TEST_F(EditMenu, CopyCoefficientsPutsEveryTapOnTheClipboardOnePerLineReadingBackExactly)
{
    StartActive();
    script->ExpectMessage();
    frame()->OnCommand(ID_EDIT_COPY_COEFFS);
    EXPECT_EQ(script->Seen(), QStringList{QString::fromLatin1(kMsgNoDesign)});
    EXPECT_FALSE(Enabled(ID_EDIT_COPY_COEFFS));

    Design("31", WT_BLACKMAN, "1000");
    frame()->activateWindow();  // again, after the message box
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
    EXPECT_TRUE(Enabled(ID_EDIT_COPY_COEFFS));
    EXPECT_EQ(frame()->Action(ID_EDIT_COPY_COEFFS)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Edit(IDC_TAPS), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString text = QGuiApplication::clipboard()->text();
    ASSERT_TRUE(text.endsWith(QLatin1Char('\n')));
    const QStringList lines = text.chopped(1).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 31);
    const CPoints& taps = app->m_view.m_Coeffs;
    for (int i = 0; i < 31; ++i) {
        const std::string line = lines[i].toStdString();
        double value = 0.0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        EXPECT_TRUE(ec == std::errc() && end == line.data() + line.size()) << line;
        EXPECT_EQ(value, taps.GetValue(i, 0)) << i;  // bit for bit
        EXPECT_EQ(line.find(','), std::string::npos);
        // Never longer than the 17 significant digits that always read back.
        char full[40];
        std::snprintf(full, sizeof full, "%.17g", value);
        EXPECT_LE(line.size(), std::strlen(full)) << line;
    }
    EXPECT_TRUE(frame()->statusBar()->currentMessage().startsWith(QStringLiteral("Copied the 31 coefficients")));
}

TEST_F(EditMenu, CutCopyAndPasteActOnTheFocusedField)
{
    StartActive();
    Combo(IDC_FILTER_TYPE)->setFocus();
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_FALSE(Enabled(id)) << id;

    Type(IDC_TAPS, QStringLiteral("57"));
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_TRUE(Enabled(id)) << id;
    Edit(IDC_TAPS)->selectAll();
    frame()->OnCommand(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("57"));

    Edit(IDC_SECOND_CORNER)->setFocus();
    Edit(IDC_SECOND_CORNER)->selectAll();
    frame()->OnCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Edit(IDC_SECOND_CORNER)->text(), QStringLiteral("57"));

    Edit(IDC_SAMPLING_RATE)->setFocus();
    Edit(IDC_SAMPLING_RATE)->selectAll();
    frame()->OnCommand(ID_EDIT_CUT);
    EXPECT_EQ(Edit(IDC_SAMPLING_RATE)->text(), QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("8000"));
}
