#include <gtest/gtest.h>

#include <string>

#include "ViewFixture.h"
#include "dsp/DesignKinds.h"
#include "form/CRequirementDlg.h"
#include "form/DesignAnalysis.h"
#include "form/DesignToRequirementCommand.h"
#include "form/ExportCommand.h"

namespace {

using Action = ScriptedHost::Action;
using Rq = CRequirementDlg;

// An 8 kHz Remez lowpass, 1 dB to 1000 Hz, 25 dB from 1200 Hz, in Q7:
// rounded Q7 words reach 23.09 dB at best, chosen ones meet it at 49 taps.
// clickWords toggles the dialog's chosen-words box, which keeps its state.
std::vector<Action> Q7Lowpass(bool clickWords)
{
    std::vector<Action> a = {{Action::Select, Rq::IDC_SPEC_TYPE, {}, FT_LOWPASS},
                             {Action::Type, Rq::IDC_SPEC_RATE, "8000"},
                             {Action::Type, Rq::IDC_SPEC_EDGE1, "1000"},
                             {Action::Type, Rq::IDC_SPEC_EDGE2, "1200"},
                             {Action::Type, Rq::IDC_SPEC_RIPPLE, "1"},
                             {Action::Type, Rq::IDC_SPEC_ATTENUATION, "25"},
                             {Action::Select, Rq::IDC_SPEC_METHOD, {}, 1},
                             {Action::Select, Rq::IDC_SPEC_FORMAT, {}, 1}};
    if (clickWords)
        a.push_back({Action::Click, Rq::IDC_SPEC_WORDS, {}});
    return a;
}

}  // namespace

// With chosen words the search judges them, the form keeps asking for
// them, and the analysis and every fixed-point export hold the words that
// meet the requirement; without, rounding again.
TEST(ChosenWordsCommand, DesignToRequirementWithChosenWords)
{
    ViewFixture f;
    f.host.QueueDialog(Rq::IDD, Q7Lowpass(true));
    DesignToSpecification(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_EQ(f.view.m_nTaps, 49);
    EXPECT_EQ(f.LastMessage().rfind("49 taps meet the requirement in double precision and in optimised Q7 words "
                                    "(estimate: 44 taps by Ichige's formula).\n48 taps do not.\n",
                                    0),
              0u)
        << f.LastMessage();
    ASSERT_TRUE(f.view.m_WordRequest.has_value());
    EXPECT_TRUE(f.view.m_LastRequirement->chooseWords);

    QuantSpec q7;
    q7.format = QuantFormat::Q7;
    const DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, q7);
    ASSERT_TRUE(a.chosen.has_value());
    EXPECT_FALSE(a.chosen->derived);  // the requirement the design was made for
    EXPECT_TRUE(a.chosen->result.judgement.met);
    EXPECT_FALSE(a.chosen->result.roundedJudgement.met);
    const ExportDesign exported = ExportDesignOf(f.view);
    ASSERT_TRUE(exported.chosenWords.has_value());
    EXPECT_EQ(exported.chosenWords->result.words.taps, a.chosen->result.words.taps);

    // The box cleared: rounded Q7 words meet at no length, the form keeps
    // its design and stops asking for chosen words only with a new design.
    f.host.QueueDialog(Rq::IDD, Q7Lowpass(true));
    DesignToSpecification(f.view);
    EXPECT_EQ(f.LastMessage().rfind("No design up to 1025 taps meets the requirement in double precision and in Q7", 0),
              0u);
    EXPECT_EQ(f.view.m_nTaps, 49);
    EXPECT_FALSE(f.view.m_LastRequirement->chooseWords);
}

// The box counts only with a fixed-point format; the fields keep it.
TEST(ChosenWordsCommand, TheBoxGoesWithAFormat)
{
    CRequirementDlg dlg(nullptr);
    dlg.m_nChooseWords = 1;
    EXPECT_FALSE(dlg.Request().chooseWords);
    dlg.m_nFormat = 2;
    EXPECT_TRUE(dlg.Request().chooseWords);
    CRequirementDlg again(nullptr);
    again.Load(dlg.Fields());
    EXPECT_EQ(again.m_nChooseWords, 1);
}
