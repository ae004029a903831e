#include "form/RequirementDesign.h"

#include <algorithm>

#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "design/RateChangeDesign.h"
#include "design/RequirementTrial.h"
#include "document/CZantroDoc.h"
#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"

namespace {

// What the seed adds to a new form's values in a trial.
FormFields SeedFields(const FormSeed& seed)
{
    FormFields f = NewDocumentFields();
    f.irScaling = seed.irScaling;
    f.irScale = TextToDouble(seed.irScale);
    f.sinXComp = seed.sinXComp == 1;
    return f;
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
    // The controls as FilledFields fills the fields.
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
    const std::optional<DesignRequest> trial =
        RequestOf({FilledFields(SeedFields(seed), SettingFor(request, plan, plan.estimatedTaps))});
    const std::optional<DesignNote> refusal = trial ? ValidateRequest(*trial) : std::nullopt;
    if (refusal && refusal->code == DesignCode::ScaleRange)
        return DesignMessage(*refusal);
    return std::nullopt;
}

TrialDesign DesignSpecTrial(const FormFields& base, const SpecFormSetting& setting)
{
    std::optional<DesignRequest> request = RequestOf({FilledFields(base, setting)});
    if (!request)
        return TrialDesign{};
    request->measure = false;
    return JudgeSpecTrial(Design(*request), setting.taps);
}

SpecRequirement AskedOf(const DesignRequest& found, const RateChangeRequirement& requirement)
{
    SpecRequirement asked;
    asked.fs = found.samplingRate;
    asked.bands.push_back({BandKind::Pass, 0.0, static_cast<double>(found.firstCorner), requirement.passRippleDb});
    if (requirement.aliasAttenuationDb)
        for (const MaskBand& b : RateStopBandsOf(found))
            asked.bands.push_back({BandKind::Stop, b.loHz, b.hiHz, *requirement.aliasAttenuationDb});
    else
        asked.bands.insert(asked.bands.end(), requirement.stopBands.begin(), requirement.stopBands.end());
    return asked;
}

TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting)
{
    if (seed.irScale.size() > kMaxScaleChars)
        return TrialDesign{};
    return DesignSpecTrial(SeedFields(seed), setting);
}

SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed, const SpecSearchProgress& progress)
{
    return FindSpecDesign(
        request, [&seed](const SpecFormSetting& setting) { return DesignOffscreen(seed, setting); }, progress);
}

