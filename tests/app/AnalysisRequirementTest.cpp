#include <QLabel>
#include <QTableWidget>

#include "AppFixture.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"
#include "form/AnalysisTable.h"

// After Design to Requirement the analysis judges the requirement's bands
// and limits, not bands derived from the design, until the bands are edited
// or another design is shown; its status line says which bands it judges.
namespace {

class AnalysisRequirement : public AppFixture {
protected:
    // Design to Requirement with the dialog's seed: 8 kHz lowpass, pass to
    // 1000 Hz, stop from 1200 Hz, Kaiser window.
    void DesignToRequirement()
    {
        script->Expect([](QWidget* modal) { Ok(modal); });  // the requirement
        script->Expect([](QWidget* modal) { Ok(modal); });  // the Kaiser dialog
        script->ExpectMessage();
        frame()->OnCommand(ID_EXTRAS_DESIGN_TO_SPEC);
        ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    }
    QString Cell(int row, int column) const
    {
        return frame()->Analysis()->BandsTable()->item(row, column)->text();
    }
    QString Status() const { return frame()->Analysis()->StatusLine()->text(); }
};

}  // namespace

TEST_F(AnalysisRequirement, TheRequirementsBandsAreJudgedUntilAnotherDesign)
{
    Start();
    frame()->OnCommand(ID_EXTRAS_ANALYSIS);
    DesignToRequirement();
    const SpecRequirement* requirement = app->m_view.ShownRequirement();
    ASSERT_NE(requirement, nullptr);
    ASSERT_EQ(requirement->bands.size(), 2u);

    AnalysisWindow* w = frame()->Analysis();
    EXPECT_EQ(Status(), QStringLiteral("Bands of the requirement (Design to Requirement)."));
    ASSERT_EQ(w->BandsTable()->rowCount(), 2);
    EXPECT_EQ(Cell(0, AnalysisWindow::kLoColumn).toDouble(), 0.0);
    EXPECT_EQ(Cell(0, AnalysisWindow::kHiColumn).toDouble(), 1000.0);
    EXPECT_EQ(Cell(1, AnalysisWindow::kLoColumn).toDouble(), 1200.0);
    EXPECT_EQ(Cell(1, AnalysisWindow::kHiColumn).toDouble(), 4000.0);
    EXPECT_EQ(w->Limits(), RequirementLimits(*requirement));
    EXPECT_FALSE(w->Analysis().bandsDerived);
    // The design found meets what was asked: no figure of the double taps misses.
    for (const FigureRow& row : FigureRows(w->Analysis(), w->Limits()))
        EXPECT_FALSE(row.doubleMisses) << row.label;

    // Another design: its own bands again.
    script->Expect([](QWidget* modal) { Ok(modal); });  // the Kaiser dialog
    Press(IDC_DESIGN);
    EXPECT_EQ(app->m_view.ShownRequirement(), nullptr);
    EXPECT_EQ(Status(), QStringLiteral("Bands derived from the design."));
    EXPECT_TRUE(w->Analysis().bandsDerived);
}

TEST_F(AnalysisRequirement, EditedBandsLeaveTheRequirementAndUndoKeepsIt)
{
    Start();
    Press(IDC_DESIGN);
    frame()->OnCommand(ID_EXTRAS_ANALYSIS);
    DesignToRequirement();
    AnalysisWindow* w = frame()->Analysis();
    w->BandsTable()->item(1, AnalysisWindow::kLoColumn)->setText(QStringLiteral("1300"));
    EXPECT_EQ(Status(), QStringLiteral("Bands as edited."));

    DesignToRequirement();
    // Undo shows the first design to the requirement: still judged by it.
    frame()->OnCommand(ID_EDIT_UNDO);
    ASSERT_NE(app->m_view.ShownRequirement(), nullptr);
    EXPECT_EQ(app->m_view.ShownRequirement()->bands.size(), 2u);
    frame()->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(app->m_view.ShownRequirement(), nullptr);
}
