#include "form/RequirementDesign.h"

#include <algorithm>

#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "design/RequirementTrial.h"
#include "document/CZantroDoc.h"
#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"

namespace {

// What the seed adds to a new form's values in a trial.
DesignRequest SeedRequest(const FormSeed& seed)
{
    DesignRequest q;
    q.scaling = static_cast<IRScaling>(seed.irScaling);
    q.scale = TextToDouble(seed.irScale);
    q.sinXCompensation = seed.sinXComp == 1;
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
        ValidateRequest(SpecTrialRequest(SeedRequest(seed), SettingFor(request, plan, plan.estimatedTaps)));
    if (refusal && refusal->code == DesignCode::ScaleRange)
        return DesignMessage(*refusal);
    return std::nullopt;
}

TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting)
{
    if (seed.irScale.size() > kMaxScaleChars)
        return TrialDesign{};
    return DesignSpecTrial(SeedRequest(seed), setting);
}

SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed, const SpecSearchProgress& progress)
{
    return FindSpecDesign(
        request, [&seed](const SpecFormSetting& setting) { return DesignOffscreen(seed, setting); }, progress);
}

