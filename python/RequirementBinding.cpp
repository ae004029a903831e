#include "python/RequirementBinding.h"

#include <algorithm>

#include "design/Design.h"
#include "design/RequirementSearch.h"
#include "document/DesignJson.h"
#include "dsp/RemezAlgorithm.h"
#include "python/DesignError.h"
#include "python/DesignNames.h"
#include "python/PyValues.h"

namespace {

std::vector<SpecBand> SpecBandsFrom(const py::handle& rows, BandKind kind, const char* keyword)
{
    std::vector<SpecBand> bands;
    const std::string form = std::string(keyword) + " must be (lo_hz, hi_hz, " +
                             (kind == BandKind::Pass ? "max_ripple_db" : "min_attenuation_db") + ") rows";
    for (const py::handle& item : rows) {
        const py::tuple t = py::tuple(py::reinterpret_borrow<py::object>(item));
        if (t.size() != 3)
            throw DesignError(form);
        SpecBand b;
        b.kind = kind;
        try {
            b.loHz = t[0].cast<double>();
            b.hiHz = t[1].cast<double>();
            b.limitDb = t[2].cast<double>();
        } catch (const py::cast_error&) {
            throw DesignError(form);
        }
        bands.push_back(b);
    }
    return bands;
}

// The form's values with the setting filled in, as FillForm fills them.
FormState Filled(const FormState& base, const SpecFormSetting& s)
{
    FormState state = CopyOf(base);
    CFilPar& p = state.par;
    p.m_nFilterType = s.filterType;
    p.m_nDesignMethod = s.designMethod;
    if (s.windowType >= 0)
        p.m_nWindowType = s.windowType;
    p.m_nTaps = s.taps;
    p.m_nSamplingRate = s.samplingRate;
    p.m_nFirstCorner = s.firstCorner;
    p.m_nSecondCorner = s.secondCorner;
    if (s.designMethod == DM_SINC)
        p.m_dShapeFactor = s.shapeFactor;
    if (s.designMethod == DM_REMEZ) {
        for (int row = 0; row < kBandCount; ++row)
            p.m_Bands[row] = row < static_cast<int>(s.bands.size()) ? s.bands[static_cast<size_t>(row)] : RemezBand{};
        p.m_nGridDensity = s.gridDensity;
    }
    return state;
}

// One trial, judged as the form's off-screen trial is: any note besides the
// Remez pass count, or no valid design of N taps, fails it.
TrialDesign DesignTrial(const FormState& base, const SpecFormSetting& setting)
{
    const DesignOutcome out = Design(Filled(base, setting).Request());
    TrialDesign trial;
    if (!out.valid || out.taps != setting.taps)
        return trial;
    for (const DesignNote& note : out.notes) {
        if (note.code == DesignCode::RemezNoConvergence) {
            trial.status = TrialStatus::NotConverged;
            return trial;
        }
        if (note.code != DesignCode::RemezPasses)
            return trial;
    }
    if (setting.designMethod == DM_REMEZ && out.remez.passes >= kRemezMaxPasses) {
        trial.status = TrialStatus::NotConverged;
        return trial;
    }
    trial.status = TrialStatus::Designed;
    trial.taps = out.Taps();
    return trial;
}

}  // namespace

PyDesign DesignToRequirement(const py::handle& passBands, const py::handle& stopBands, const py::handle& fs,
                             const std::string& method, const py::handle& quantize, const py::handle& type,
                             const py::handle& grid)
{
    SpecRequest request;
    request.designMethod = ChoiceFrom(py::str(method), kMethodNames, EntriesOf(kDesignMethodNames), "method");
    try {
        request.requirement.fs = fs.cast<double>();
        if (!grid.is_none())
            request.gridDensity = grid.cast<int>();
    } catch (const py::cast_error&) {
        throw DesignError("fs and grid must be numbers");
    }
    if (!quantize.is_none())
        request.quantize = QuantSpecFrom(quantize, "nearest");
    std::vector<SpecBand>& bands = request.requirement.bands;
    const std::vector<SpecBand> passes = SpecBandsFrom(passBands, BandKind::Pass, "pass_bands");
    const std::vector<SpecBand> stops = SpecBandsFrom(stopBands, BandKind::Stop, "stop_bands");
    bands = passes;
    bands.insert(bands.end(), stops.begin(), stops.end());
    std::stable_sort(bands.begin(), bands.end(), [](const SpecBand& a, const SpecBand& b) { return a.loHz < b.loHz; });
    if (const char* refusal = RefusalOf(request))
        throw DesignError(refusal);
    if (!type.is_none()) {
        const int wanted = ChoiceFrom(type, kTypeNames, EntriesOf(kFilterTypeNames), "type");
        if (wanted != RequirementFilterType(request.requirement))
            throw DesignError(std::string("the bands describe a ") +
                              kTypeNames[static_cast<size_t>(RequirementFilterType(request.requirement))] +
                              ", not a " + kTypeNames[static_cast<size_t>(wanted)]);
    }

    const FormState base = FormState::NewDocument();
    SpecDesignResult result;
    {
        py::gil_scoped_release release;
        result = FindSpecDesign(request, [&base](const SpecFormSetting& s) { return DesignTrial(base, s); });
    }
    if (result.search.status != SpecSearchStatus::Met)
        throw DesignError(SpecOutcomeText(request, result));
    PyDesign design = PyDesign::Run(Filled(base, result.setting));
    py::dict requirement = ToPython(RequirementJson(request, result));
    requirement["message"] = SpecOutcomeText(request, result);
    design.SetRequirement(requirement);
    // Its analysis measures the requirement's bands, pass bands first, in
    // the format the requirement names.
    std::vector<MaskBand> mask;
    for (const std::vector<SpecBand>* list : {&passes, &stops})
        for (const SpecBand& b : *list)
            mask.push_back({b.kind, b.loHz, b.hiHz, 1.0});
    design.MeasureOn(mask, request.quantize.value_or(QuantSpec{}));
    return design;
}
