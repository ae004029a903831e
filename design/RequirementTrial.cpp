#include "design/RequirementTrial.h"

#include "dsp/RemezAlgorithm.h"

TrialDesign JudgeSpecTrial(const DesignOutcome& out, int taps)
{
    TrialDesign trial;
    if (!out.valid || out.coeffs.m_nCount != taps)
        return trial;
    for (const DesignNote& note : out.notes) {
        if (note.code == DesignCode::RemezNoConvergence) {
            trial.status = TrialStatus::NotConverged;
            return trial;
        }
        // Anything the user would read besides the pass count fails the trial.
        if (note.code != DesignCode::RemezPasses)
            return trial;
    }
    if (out.remez.ran && out.remez.passes >= kRemezMaxPasses) {
        trial.status = TrialStatus::NotConverged;
        return trial;
    }
    trial.status = TrialStatus::Designed;
    trial.taps = out.Taps();
    return trial;
}
