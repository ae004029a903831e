#include "cli/RequirementReport.h"

#include "cli/CliRunner.h"
#include "document/DesignJson.h"
#include "dsp/DesignKinds.h"

using Json = nlohmann::ordered_json;

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
    out["status"] = SpecSearchStatusName(r.search.status);
    out["met"] = r.search.status == SpecSearchStatus::Met;
    out["taps"] = r.search.found.taps;
    out["next_smaller"] = r.search.nextSmaller ? TrialJson(*r.search.nextSmaller) : Json(nullptr);
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
    out["bands"] = RequirementBandsJson(request.requirement, r.search.found);
    return out;
}
