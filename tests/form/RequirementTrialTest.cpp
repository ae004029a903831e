#include <gtest/gtest.h>

#include "design/Design.h"
#include "design/RequirementTrial.h"
#include "dsp/DesignKinds.h"
#include "form/RequirementDesign.h"

namespace {

SpecFormSetting RemezLowpass(int taps)
{
    SpecFormSetting s;
    s.filterType = FT_LOWPASS;
    s.designMethod = DM_REMEZ;
    s.windowType = -1;
    s.taps = taps;
    s.samplingRate = 8000;
    s.firstCorner = 1100;
    s.secondCorner = 1100;
    // A weight beyond the band dialog's 100.00, as the search stores it.
    s.bands = {{1, 0, 1000, 1.0, 1.0}, {1, 1200, 4000, 0.0, 250.0}};
    return s;
}

}  // namespace

// The trial every front end's search runs: the setting filled into the
// caller's fields as the command fills the form, any positive weight,
// judged by the notes the user would read.
TEST(RequirementTrial, JudgesTheDesignOfTheSetting)
{
    const SpecFormSetting setting = RemezLowpass(41);
    const FormFields fields = FilledFields(NewDocumentFields(), setting);
    EXPECT_EQ(fields.bands.size(), static_cast<size_t>(kBandCount));
    EXPECT_EQ(fields.bands[1].m_dWeight, 250.0);
    const DesignRequest q = *RequestOf({fields});
    ASSERT_TRUE(q.As<RemezMethod>());

    const TrialDesign designed = DesignSpecTrial(NewDocumentFields(), setting);
    ASSERT_EQ(designed.status, TrialStatus::Designed);
    EXPECT_EQ(designed.taps, Design(q).Taps());

    // A refusal (a custom scale out of range) fails the trial.
    FormFields scaled = NewDocumentFields();
    scaled.irScaling = SC_CUSTOM;
    scaled.irScale = 20.0;
    EXPECT_EQ(DesignSpecTrial(scaled, setting).status, TrialStatus::Failed);

    // Not the N asked for, or no design at all.
    DesignOutcome out = Design(q);
    EXPECT_EQ(JudgeSpecTrial(out, 43).status, TrialStatus::Failed);
    out.notes.push_back({DesignCode::RemezNoConvergence, 64});
    EXPECT_EQ(JudgeSpecTrial(out, 41).status, TrialStatus::NotConverged);
    const DesignOutcome none;
    EXPECT_EQ(JudgeSpecTrial(none, 41).status, TrialStatus::Failed);
}
