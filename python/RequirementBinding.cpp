#include "python/RequirementBinding.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "design/Design.h"
#include "design/RequirementSearch.h"
#include "design/RateChangeSearch.h"
#include "design/WordChoice.h"
#include "form/RequirementDesign.h"
#include "document/DesignJson.h"
#include "document/RateChangeReport.h"
#include "python/DesignError.h"
#include "python/DesignNames.h"
#include "python/KeywordDesign.h"
#include "python/LongCall.h"
#include "python/PyValues.h"

namespace {

bool IsWhole(double x)
{
    return std::isfinite(x) && x == std::floor(x);
}

// A rate change's lowpass to a requirement, as zantro-cli's --to-spec with
// --decimate, --interpolate or --halfband searches it.
PyDesign RateChangeToRequirement(FormDesign design, const py::handle& passBands, const py::handle& stopBands,
                                 const std::optional<QuantSpec>& quantize)
{
    const bool halfband = design.rateChange->kind == RateChangeKind::Halfband;
    const int method = design.fields.designMethod;
    if (method != DM_REMEZ && (halfband || method != DM_SINC))
        throw DesignError(halfband ? "to_requirement with halfband designs with method=\"remez\""
                                   : "to_requirement with a rate change designs with method=\"remez\" or \"sinc\"");
    const std::vector<SpecBand> passes = SpecBandsFrom(passBands, BandKind::Pass, "pass_bands");
    if (passes.size() != 1 || passes[0].loHz != 0.0)
        throw DesignError("to_requirement with a rate change takes one pass band (0, fp, ripple_db)");
    RateChangeRequirement requirement;
    requirement.passRippleDb = passes[0].limitDb;
    requirement.quantize = quantize;
    const std::vector<py::tuple> stops =
        RowsFrom(stopBands, "stop_bands must be (lo_hz, hi_hz, min_attenuation_db) rows or "
                            "[(\"alias\", min_attenuation_db)]");
    if (stops.size() == 1 && stops[0].size() == 2 && py::isinstance<py::str>(stops[0][0]) &&
        stops[0][0].cast<std::string>() == "alias") {
        const double db = NumberFrom(stops[0][1], "(\"alias\", min_attenuation_db)'s attenuation");
        if (!(db > 0.0))
            throw DesignError("(\"alias\", min_attenuation_db) takes a number above 0");
        requirement.aliasAttenuationDb = db;
    } else {
        requirement.stopBands = SpecBandsFrom(stopBands, BandKind::Stop, "stop_bands");
        if (requirement.stopBands.empty())
            throw DesignError("to_requirement with a rate change takes stop_bands=[(\"alias\", min_attenuation_db)] "
                              "(the derived stop bands) or explicit stop bands");
        if (halfband)
            throw DesignError("to_requirement with halfband takes stop_bands=[(\"alias\", min_attenuation_db)] "
                              "(the band fs/2 - fp .. fs/2)");
    }
    for (const SpecBand& b : requirement.stopBands)
        if (!IsWhole(b.loHz) || !IsWhole(b.hiHz) || !(b.limitDb > 0.0))
            throw DesignError(kMsgSpecEdges);
    if (!IsWhole(passes[0].hiHz) || !(passes[0].limitDb > 0.0))
        throw DesignError(kMsgSpecEdges);
    DesignRequest base = *RequestOf(design);
    base.firstCorner = static_cast<int>(passes[0].hiHz);
    const RateChangeSearch search =
        RunInterruptible([base, requirement](const CancelFlag&) { return SearchRateChange(base, requirement); });
    const std::string message = RateSearchMessage(search, quantize);
    if (!search.search || search.search->status != SpecSearchStatus::Met)
        throw DesignError(message);
    FormFields& f = design.fields;
    f.taps = search.request.taps;
    f.firstCorner = search.request.firstCorner;
    design.rateChange = search.request.rateChange;
    if (const WindowChoice* window = WindowOf(search.request)) {
        f.windowType = IndexOf(window->type);
        f.shapeFactor = window->kaiserBeta;
    }
    PyDesign found = PyDesign::Run(design);
    py::dict json = ToPython(RateSearchJson(*search.search));
    json["message"] = message;
    found.SetRequirement(json);
    found.SetSearched(AskedOf(search.request, requirement));
    if (quantize) {
        found.QuantizeAnalysis(*quantize);
        found.SetRateFigures(*quantize);
    }
    return found;
}

}  // namespace

PyDesign DesignToRequirement(const py::handle& passBands, const py::handle& stopBands, const py::handle& fs,
                             const py::handle& method, const py::handle& quantize, const py::handle& type,
                             const py::handle& grid, const py::dict& rate, bool optimizeWords)
{
    if (optimizeWords && quantize.is_none())
        throw DesignError("optimize_words goes with quantize: the format whose words are chosen");
    if (optimizeWords && rate.size() > 0)
        throw DesignError("optimize_words applies to single-rate designs: a rate change's polyphase words are rounded");
    if (rate.size() > 0) {
        py::dict kw = rate;
        kw["method"] = method;
        kw["fs"] = fs;
        kw["grid"] = grid;
        kw["type"] = type;
        FormDesign design = FormDesignOf(kw);
        if (!design.rateChange)
            throw DesignError("alias_bands needs decimate or interpolate");
        return RateChangeToRequirement(std::move(design), passBands, stopBands,
                                       quantize.is_none() ? std::nullopt
                                                          : std::optional<QuantSpec>(QuantSpecFrom(quantize, "nearest")));
    }
    SpecRequest request;
    request.designMethod = ChoiceFrom(method, kMethodNames, EntriesOf(kDesignMethodNames), "method");
    request.requirement.fs = NumberFrom(fs, "fs");
    if (!grid.is_none())
        request.gridDensity = WholeFrom(grid, "grid");
    if (!quantize.is_none())
        request.quantize = QuantSpecFrom(quantize, "nearest");
    request.chooseWords = optimizeWords;
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

    const FormFields base = NewDocumentFields();
    const SpecDesignResult result = RunInterruptible([request, base](const CancelFlag& cancel) {
        return FindSpecDesign(
            request, [&base](const SpecFormSetting& s) { return DesignSpecTrial(base, s); },
            [&cancel](int, int) { return !cancel; });
    });
    if (result.search.status != SpecSearchStatus::Met)
        throw DesignError(SpecOutcomeText(request, result));
    PyDesign design = PyDesign::Run(FormDesign{FilledFields(base, result.setting)});
    py::dict requirement = ToPython(RequirementJson(request, result));
    requirement["message"] = SpecOutcomeText(request, result);
    design.SetRequirement(requirement);
    design.SetSearched(request.requirement);
    // Its analysis measures the requirement's bands, pass bands first, in
    // the format the requirement names.
    std::vector<MaskBand> mask;
    for (const std::vector<SpecBand>* list : {&passes, &stops})
        for (const SpecBand& b : *list)
            mask.push_back({b.kind, b.loHz, b.hiHz, 1.0});
    design.MeasureOn(mask, request.quantize.value_or(QuantSpec{}));
    if (optimizeWords)
        design.ChooseAnalysisWords(bands);
    return design;
}
