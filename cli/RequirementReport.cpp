#include "cli/RequirementReport.h"

#include <cmath>

#include "cli/CliRunner.h"
#include "dsp/DesignKinds.h"

namespace {

using Json = nlohmann::ordered_json;

// Figures of one band; a non-finite margin (a failed measurement) is null.
Json Band(const BandVerdict& v)
{
    const bool pass = v.required.kind == BandKind::Pass;
    Json b;
    b[pass ? "ripple_db" : "attenuation_db"] = pass ? v.figures.rippleDb : v.figures.attenuationDb;
    b["max_db"] = v.figures.maxDb;
    b["min_db"] = v.figures.minDb;
    b["margin_db"] = std::isfinite(v.marginDb) ? Json(v.marginDb) : Json(nullptr);
    b["met"] = v.met;
    return b;
}

Json Bands(const SpecRequirement& req, const TrialVerdict& v)
{
    Json bands = Json::array();
    for (size_t i = 0; i < req.bands.size(); ++i) {
        const SpecBand& s = req.bands[i];
        Json b;
        b["kind"] = s.kind == BandKind::Pass ? "pass" : "stop";
        b["lo_hz"] = s.loHz;
        b["hi_hz"] = s.hiHz;
        b[s.kind == BandKind::Pass ? "max_ripple_db" : "min_attenuation_db"] = s.limitDb;
        b["achieved"] = i < v.bands.size() ? Band(v.bands[i]) : Json(nullptr);
        if (v.quantized)
            b["quantized"] = i < v.quantBands.size() ? Band(v.quantBands[i]) : Json(nullptr);
        bands.push_back(b);
    }
    return bands;
}

const char* StatusName(SpecSearchStatus status)
{
    switch (status) {
    case SpecSearchStatus::Met:
        return "met";
    case SpecSearchStatus::Unreachable:
        return "unreachable";
    default:
        return "bad requirement";
    }
}

Json Trial(const TrialVerdict& v)
{
    Json t;
    t["taps"] = v.taps;
    t["design"] = v.design == TrialStatus::Designed ? "designed"
                  : v.design == TrialStatus::NotConverged ? "not converged"
                                                          : "failed";
    t["met"] = v.met;
    t["worst_margin_db"] = std::isfinite(v.worstMarginDb) ? Json(v.worstMarginDb) : Json(nullptr);
    return t;
}

}  // namespace

Json ToSpecReport::Build(const CliRunner& runner)
{
    if (!runner.SpecResult() || !runner.SpecRequestUsed())
        return nullptr;
    const SpecRequest& request = *runner.SpecRequestUsed();
    const SpecDesignResult& r = *runner.SpecResult();
    Json out;
    out["method"] = request.designMethod == DM_REMEZ ? "remez" : "kaiser";
    out["filter_type"] = r.plan.filterType >= 0 ? Json(kFilterTypeNames[r.plan.filterType]) : Json(nullptr);
    out["quantize"] = request.quantize ? Json(QuantFormatName(*request.quantize)) : Json(nullptr);
    out["estimator"] = r.plan.estimator;
    out["estimated_taps"] = r.plan.estimatedTaps;
    out["status"] = StatusName(r.search.status);
    out["met"] = r.search.status == SpecSearchStatus::Met;
    out["taps"] = r.search.found.taps;
    out["next_smaller"] = r.search.nextSmaller ? Trial(*r.search.nextSmaller) : Json(nullptr);
    out["tried"] = r.search.tried;
    if (request.designMethod == DM_REMEZ) {
        Json weights = Json::array();
        for (const RemezBand& b : r.setting.bands)
            weights.push_back(b.m_dWeight);
        out["weights"] = weights;
        out["grid_density"] = r.setting.gridDensity;
    } else {
        out["beta"] = r.setting.shapeFactor;
        out["corners_hz"] = {r.setting.firstCorner, r.setting.secondCorner};
    }
    out["bands"] = Bands(request.requirement, r.search.found);
    return out;
}
