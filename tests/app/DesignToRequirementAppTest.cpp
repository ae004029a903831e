#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "AppFixture.h"
#include "app/CommandIds.h"

namespace {

void Ok(QWidget* modal)
{
    modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
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
