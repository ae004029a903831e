#include "design/RequirementTrial.h"

#include "design/Design.h"
#include "dsp/RemezAlgorithm.h"

DesignRequest SpecTrialRequest(DesignRequest q, const SpecFormSetting& s)
{
    q.filterType = static_cast<FilterType>(s.filterType);
    q.method = static_cast<DesignMethod>(s.designMethod);
    if (s.windowType >= 0)
        q.window = static_cast<WindowType>(s.windowType);
    q.taps = s.taps;
    q.samplingRate = s.samplingRate;
    q.firstCorner = s.firstCorner;
    q.secondCorner = s.secondCorner;
    q.kaiserBeta = s.shapeFactor;
    q.bands = s.bands;
    q.bands.resize(kBandCount);
    q.gridDensity = s.gridDensity;
    q.weightRange = RemezWeightRange::AnyPositive;
    q.measure = false;
    return q;
}

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

TrialDesign DesignSpecTrial(const DesignRequest& base, const SpecFormSetting& setting)
{
    return JudgeSpecTrial(Design(SpecTrialRequest(base, setting)), setting.taps);
}
