#include <QComboBox>
#include <QDialog>
#include <QRegularExpression>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "AppFixture.h"
#include "app/CommandIds.h"

namespace {

// 60 dB in Q7, which no length reaches: a search of many designs.
void AskTheUnreachable(QWidget* modal)
{
    modal->findChild<QComboBox*>(QStringLiteral("control1169"))->setCurrentIndex(1);
    Ok(modal);
}

}  // namespace

using DesignToSpecApp = AppFixture;

// Extras > Design to Requirement...: its prompt, its dialog seeded from the
// form (8 kHz lowpass, corner 1000 Hz: transition 1000 to 1200 Hz), then the
// ordinary Design with the Kaiser dialog holding the beta found, then the
// message with N, the estimate and the figures.
TEST_F(DesignToSpecApp, MenuEntryDialogDesignAndMessage)
{
    Start();
    QAction* action = frame()->Action(ID_EXTRAS_DESIGN_TO_SPEC);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("Design to &Requirement..."));
    EXPECT_EQ(action->statusTip(),
              QStringLiteral("Design with the fewest taps that meet a pass-band ripple and a stop-band attenuation"));

    QString edge2, beta;
    script->Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Design to Requirement"));
        QLineEdit* edit = modal->findChild<QLineEdit*>(QStringLiteral("control1163"));
        ASSERT_NE(edit, nullptr);
        edge2 = edit->text();
        Ok(modal);
    });
    script->Expect([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Kaiser window shape factor"));
        beta = modal->findChild<QLineEdit*>(QStringLiteral("control1036"))->text();
        Ok(modal);
    });
    script->ExpectMessage();
    action->trigger();
    EXPECT_EQ(edge2, QStringLiteral("1200"));
    EXPECT_EQ(beta, QStringLiteral("5.69"));
    ASSERT_FALSE(script->Seen().isEmpty());
    EXPECT_TRUE(script->Seen().back().startsWith(
        QStringLiteral("147 taps meet the requirement (estimate: 147 taps by Kaiser's formula).")))
        << script->Seen().back().toStdString();
    EXPECT_EQ(app->m_view.m_nTaps, 147);
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);
}

// The dialog reopens with the requirement last given, also one no design
// met, and a new run starts with it from the settings.
TEST_F(DesignToSpecApp, TheDialogKeepsTheLastRequirement)
{
    Start();
    auto field = [](QWidget* modal, int id) {
        return modal->findChild<QLineEdit*>(QStringLiteral("control%1").arg(id));
    };
    // An attenuation nothing up to 1025 taps reaches across a 10 Hz transition.
    script->Expect([&](QWidget* modal) {
        field(modal, 1163)->setText(QStringLiteral("1010"));
        field(modal, 1167)->setText(QStringLiteral("120"));
        Ok(modal);
    });
    script->ExpectMessage();
    frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
    ASSERT_FALSE(script->Seen().isEmpty());
    EXPECT_TRUE(script->Seen().back().startsWith(QStringLiteral("No design up to 1025 taps")));
    EXPECT_TRUE(script->Seen().back().contains(QStringLiteral("capped at 1025")));

    // The form's corner changed meanwhile; the dialog still holds what was typed.
    Type(IDC_FIRST_CORNER, QStringLiteral("1500"));
    QString edge, attenuation;
    auto look = [&](QWidget* modal) {
        edge = field(modal, 1163)->text();
        attenuation = field(modal, 1167)->text();
        static_cast<QDialog*>(modal)->reject();
    };
    script->Expect(look);
    frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
    EXPECT_EQ(edge, QStringLiteral("1010"));
    EXPECT_EQ(attenuation, QStringLiteral("120"));

    app->SaveSettings();
    app->m_doc.SetModifiedFlag(false);
    app = std::make_unique<CZantroApp>();
    Start();
    edge.clear();
    script->Expect(look);
    frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
    EXPECT_EQ(edge, QStringLiteral("1010"));
    EXPECT_EQ(attenuation, QStringLiteral("120"));
}

// A long search shows its progress (designs tried, the N being designed) in
// a dialog whose Cancel ends it: the message says it was cancelled and the
// requirement dialog comes back with what was typed; the form is untouched.
TEST_F(DesignToSpecApp, CancelInTheProgressDialogReturnsToTheRequirement)
{
    Start();
    app->m_host.m_nProgressDelayMs = 0;
    const int taps = app->m_view.m_nTaps;
    script->Expect(AskTheUnreachable);
    QString title, label;
    script->ExpectProgress([&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        ASSERT_NE(progress, nullptr);
        title = progress->windowTitle();
        label = progress->labelText();
        QPushButton* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
        cancel->click();
    });
    script->ExpectMessage();
    QString format;
    script->Expect([&](QWidget* modal) {
        format = modal->findChild<QComboBox*>(QStringLiteral("control1169"))->currentText();
        static_cast<QDialog*>(modal)->reject();
    });
    frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
    EXPECT_EQ(title, QStringLiteral("Design to Requirement"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+ designs? tried, now \\d+ taps$")).match(label).hasMatch())
        << label.toStdString();
    ASSERT_GE(script->Seen().size(), 2);
    EXPECT_TRUE(script->Seen()[script->Seen().size() - 2].startsWith(QStringLiteral("The search was cancelled after ")))
        << script->Seen()[script->Seen().size() - 2].toStdString();
    EXPECT_EQ(format, QStringLiteral("Q7"));
    EXPECT_EQ(app->m_view.m_nTaps, taps);
    EXPECT_EQ(app->m_host.CancelProgress(), false);  // the meter is gone
}

// Closing the main window during the search cancels the search and keeps
// the program; nothing is left half done.
TEST_F(DesignToSpecApp, ClosingTheWindowDuringASearchCancelsIt)
{
    Start();
    app->m_host.m_nProgressDelayMs = 0;
    script->Expect(AskTheUnreachable);
    bool closed = true;
    script->ExpectProgress([&](QWidget*) { closed = frame()->close(); });
    script->ExpectMessage();
    script->Expect([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame()->isVisible());
    ASSERT_GE(script->Seen().size(), 2);
    EXPECT_TRUE(script->Seen()[script->Seen().size() - 2].startsWith(QStringLiteral("The search was cancelled after ")));
}
