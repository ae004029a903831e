#include "form/RequirementDesign.h"

#include <algorithm>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "document/CZantroDoc.h"
#include "dsp/DesignKinds.h"
#include "dsp/RemezAlgorithm.h"
#include "form/CZantroView.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"

namespace {

// The request of a trial: the setting, the seed's scaling, the dialogs'
// other answers as a new form holds them.
DesignRequest TrialRequest(const FormSeed& seed, const SpecFormSetting& s)
{
    DesignRequest q;
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
    q.scaling = static_cast<IRScaling>(seed.irScaling);
    q.scale = TextToDouble(seed.irScale);
    q.sinXCompensation = seed.sinXComp == 1;
    q.measure = false;
    return q;
}

}  // namespace

FormSeed SeedOf(const CZantroView& view)
{
    FormSeed seed;
    seed.irScaling = std::max(view.GetCurSel(IDC_IR_SCALING), 0);
    seed.irScale = view.GetDlgItemText(IDC_IR_SCALE);
    seed.sinXComp = view.IsDlgButtonChecked(IDC_SINX_COMP);
    return seed;
}

void FillForm(CZantroView& view, const SpecFormSetting& s)
{
    view.SetCurSel(IDC_FILTER_TYPE, s.filterType);
    view.SetCurSel(IDC_DESIGN_METHOD, s.designMethod);
    if (s.windowType >= 0)
        view.SetCurSel(IDC_WINDOW_TYPE, s.windowType);
    view.SetDlgItemText(IDC_TAPS, std::to_string(s.taps));
    view.SetDlgItemText(IDC_SAMPLING_RATE, std::to_string(s.samplingRate));
    view.SetDlgItemText(IDC_FIRST_CORNER, std::to_string(s.firstCorner));
    view.SetDlgItemText(IDC_SECOND_CORNER, std::to_string(s.secondCorner));
    if (s.designMethod == DM_SINC)
        view.m_dShapeFactor = s.shapeFactor;
    if (s.designMethod == DM_REMEZ && view.GetDocument()) {
        CFilPar& par = view.GetDocument()->m_FilPar;
        for (int row = 0; row < kBandCount; ++row)
            par.m_Bands[row] = row < static_cast<int>(s.bands.size()) ? s.bands[static_cast<size_t>(row)] : RemezBand{};
        par.m_nGridDensity = s.gridDensity;
    }
}

std::optional<std::string> SeedRefusal(const SpecRequest& request, const FormSeed& seed)
{
    if (seed.irScale.size() > kMaxScaleChars)
        return FillPlaceholders(kMsgMaxChars, {std::to_string(kMaxScaleChars)});
    const SpecPlan plan = PlanOf(request);
    const std::optional<DesignNote> refusal =
        ValidateRequest(TrialRequest(seed, SettingFor(request, plan, plan.estimatedTaps)));
    if (refusal && refusal->code == DesignCode::ScaleRange)
        return DesignMessage(*refusal);
    return std::nullopt;
}

TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting)
{
    TrialDesign trial;
    if (seed.irScale.size() > kMaxScaleChars)
        return trial;
    const DesignOutcome out = Design(TrialRequest(seed, setting));
    if (!out.valid || out.coeffs.m_nCount != setting.taps)
        return trial;
    for (const DesignNote& note : out.notes) {
        if (note.code == DesignCode::RemezNoConvergence) {
            trial.status = TrialStatus::NotConverged;
            return trial;
        }
        // Anything the user would read besides the pass count (a scale
        // out of range) fails the trial.
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

SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed)
{
    return FindSpecDesign(request, [&seed](const SpecFormSetting& setting) { return DesignOffscreen(seed, setting); });
}

