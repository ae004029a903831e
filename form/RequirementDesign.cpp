#include "form/RequirementDesign.h"

#include <algorithm>

#include "document/CZantroDoc.h"
#include "dsp/DesignKinds.h"
#include "dsp/RemezAlgorithm.h"
#include "form/CZantroView.h"
#include "form/RemezMessages.h"
#include "platform/ScriptedHost.h"
#include "plot/PlotAxes.h"

namespace {

// The off-screen designs move the program-wide axis records; the form on
// screen keeps what it had.
class AxesKeeper {
public:
    AxesKeeper() : m_impulse(ImpulseAxes), m_step(StepAxes), m_magnitude(MagnitudeAxes), m_phase(PhaseAxes) {}
    ~AxesKeeper()
    {
        ImpulseAxes = m_impulse;
        StepAxes = m_step;
        MagnitudeAxes = m_magnitude;
        PhaseAxes = m_phase;
    }
    AxesKeeper(const AxesKeeper&) = delete;
    AxesKeeper& operator=(const AxesKeeper&) = delete;

private:
    PlotAxes m_impulse, m_step, m_magnitude, m_phase;
};

bool IsPassCount(const std::string& text)
{
    const std::string head(kMsgRemezPasses, std::string(kMsgRemezPasses).find('%'));
    return text.rfind(head, 0) == 0;
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

TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting)
{
    AxesKeeper axes;
    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    view.OnCreate();
    view.OnInitialUpdate();
    view.SetCurSel(IDC_IR_SCALING, seed.irScaling);
    view.SetDlgItemText(IDC_IR_SCALE, seed.irScale);
    view.CheckDlgButton(IDC_SINX_COMP, seed.sinXComp);
    FillForm(view, setting);
    host.Click(view, IDC_DESIGN);

    TrialDesign trial;
    if (view.m_bDesignValid != 1 || host.RefusedDialogs() != 0 || view.m_nTaps != setting.taps ||
        view.m_Coeffs.m_nCount < setting.taps)
        return trial;
    for (const ScriptedHost::Message& m : host.Messages()) {
        if (m.text == kMsgRemezNoConvergence) {
            trial.status = TrialStatus::NotConverged;
            return trial;
        }
        if (!(setting.designMethod == DM_REMEZ && IsPassCount(m.text)))
            return trial;
    }
    if (setting.designMethod == DM_REMEZ && view.m_nRemezPasses >= kRemezMaxPasses) {
        trial.status = TrialStatus::NotConverged;
        return trial;
    }
    trial.status = TrialStatus::Designed;
    for (int i = 0; i < setting.taps; ++i)
        trial.taps.push_back(view.m_Coeffs.GetValue(i, 0));
    return trial;
}

SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed)
{
    return FindSpecDesign(request, [&seed](const SpecFormSetting& setting) { return DesignOffscreen(seed, setting); });
}

