#include "document/DesignJson.h"

#include <cmath>

#include "dsp/DesignKinds.h"

namespace {

using Json = nlohmann::ordered_json;

const char* KindName(BandKind kind)
{
    return kind == BandKind::Pass ? "pass" : kind == BandKind::Stop ? "stop" : "slope";
}

const char* StatusName(MeasureStatus status)
{
    switch (status) {
    case MeasureStatus::Ok:
        return "ok";
    case MeasureStatus::NoTaps:
        return "no taps";
    case MeasureStatus::BadRate:
        return "bad sampling rate";
    case MeasureStatus::BadBand:
        return "band outside 0..fs/2";
    default:
        return "non-finite taps";
    }
}

const char* QuantStatusName(QuantStatus status)
{
    switch (status) {
    case QuantStatus::Ok:
        return "ok";
    case QuantStatus::BadWordLength:
        return "word length outside 2..32";
    case QuantStatus::BadFractionLength:
        return "fraction length out of range";
    case QuantStatus::NonFinite:
        return "non-finite taps";
    default:
        return "no taps";
    }
}

Json Bands(const ResponseFigures& f)
{
    Json bands = Json::array();
    for (const BandFigures& b : f.bands) {
        Json band;
        band["kind"] = KindName(b.band.kind);
        band["lo_hz"] = b.band.loHz;
        band["hi_hz"] = b.band.hiHz;
        band["max_db"] = b.maxDb;
        band["min_db"] = b.minDb;
        if (b.band.kind == BandKind::Stop) {
            band["attenuation_db"] = b.attenuationDb;
        } else {
            band["ripple_db"] = b.rippleDb;
            band["desired"] = b.band.desired;
            band["max_deviation"] = b.maxDeviation;
        }
        bands.push_back(band);
    }
    return bands;
}

void AddFigures(const ResponseFigures& f, Json& out)
{
    out["status"] = StatusName(f.status);
    out["grid_points"] = f.gridIntervals + 1;
    out["nominal_pass_gain"] = f.nominalPassGain;
    out["bands"] = Bands(f);
    out["minus3db_hz"] = f.minus3dbHz;
    out["minus6db_hz"] = f.minus6dbHz;
    out["linear_phase"] = f.linearPhase;
    out["group_delay_samples"] = f.groupDelaySamples;
    out["group_delay_ms"] = f.groupDelayMs;
    out["dc_gain_db"] = f.dcGainDb;
    out["nyquist_gain_db"] = f.nyquistGainDb;
    out["peak_tap"] = f.peakTap;
    out["peak_tap_index"] = f.peakTapIndex;
    out["sum_abs_taps"] = f.sumAbsTaps;
    out["headroom_bits"] = f.headroomBits;
    if (f.whole.measured)
        out["whole_response"] = {{"peak_db", f.whole.peakDb},
                                 {"peak_hz", f.whole.peakHz},
                                 {"pass_top_db", f.whole.passTopDb}};
    else
        out["whole_response"] = nullptr;
    out["measured"] = f.status == MeasureStatus::Ok;
    out["grid_intervals"] = f.gridIntervals;
}

// A requirement band's figures; a non-finite margin (a failed measurement) is null.
Json BandVerdictJson(const BandVerdict& v)
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

}  // namespace

Json FiguresJson(const ResponseFigures& figures)
{
    Json out;
    AddFigures(figures, out);
    return out;
}

Json QuantizedJson(const QuantResult& q)
{
    Json quant;
    quant["status"] = QuantStatusName(q.status);
    quant["format"] = QuantFormatName(q.quantSpec);
    quant["word_length"] = q.wordLength;
    quant["fraction_length"] = q.fractionLength;
    quant["shift"] = q.shift;
    quant["rounding"] = q.quantSpec.format == QuantFormat::Q15          ? "nearest (half up)"
                        : q.quantSpec.format != QuantFormat::Bits       ? "truncate"
                        : q.quantSpec.rounding == QuantRounding::Nearest ? "nearest"
                                                                         : "truncate";
    quant["taps"] = q.taps;
    quant["max_error_lsb"] = q.maxErrorLsb;
    quant["saturated"] = q.saturated;
    quant["symmetric_before"] = q.symmetryBefore != 0;
    quant["symmetric_after"] = q.symmetryAfter != 0;
    if (q.status == QuantStatus::Ok)
        AddFigures(q.figures, quant);
    quant["figures"] = FiguresJson(q.figures);
    return quant;
}

Json OptimizedJson(const ChosenWords& chosen)
{
    const WordResult& r = chosen.result;
    Json out = QuantizedJson(r.words);
    out["status"] = WordStatusText(r.status);
    out["rounding"] = "optimized";
    out["margin"] = r.judgement.margin;
    out["rounded_margin"] = r.roundedJudgement.margin;
    out["met"] = r.judgement.met;
    out["rounded_met"] = r.roundedJudgement.met;
    out["band_margins"] = r.judgement.bandMargin;
    Json whole;
    whole["judged"] = JudgesWholeResponse(chosen.requirement);
    whole["peak_hz"] = r.judgement.wholePeakHz;
    whole["peak_db"] = GainDb(r.judgement.wholePeak);
    whole["limit_db"] = GainDb(r.judgement.wholeLimit);
    whole["margin"] = r.judgement.wholeMargin;
    out["whole_response"] = whole;
    Json bands = Json::array();
    for (const WordBand& b : chosen.requirement.bands)
        bands.push_back({{"kind", b.band.kind == BandKind::Pass ? "pass" : b.band.kind == BandKind::Stop ? "stop" : "slope"},
                         {"lo_hz", b.band.loHz},
                         {"hi_hz", b.band.hiHz},
                         {"limit_db", b.limitDb}});
    out["requirement"] = bands;
    out["requirement_derived"] = chosen.derived;
    return out;
}

Json FewestBitsJson(const FewestBitsResult& run)
{
    auto bits = [](const WordLengthResult& r) { return r.status == WordLengthStatus::Met ? Json(r.bits) : Json(nullptr); };
    Json out;
    out["optimized"] = run.optimized;
    out["status"] = run.chosen.status == WordLengthStatus::Met ? "met" : "unreachable";
    out["bits"] = bits(run.chosen);
    out["rounded_bits"] = bits(run.rounded);
    out["margin"] = run.chosen.words.judgement.margin;
    out["message"] = run.message;
    return out;
}

Json AnalysisJson(const ResponseFigures& figures, const QuantResult& quantized, bool bandsDerived,
                  const ChosenWords* optimized)
{
    Json out;
    out["bands_derived"] = bandsDerived;
    AddFigures(figures, out);
    out["quantized"] = QuantizedJson(quantized);
    if (optimized)
        out["optimized"] = OptimizedJson(*optimized);
    return out;
}

Json RemezBandsJson(std::span<const RemezBand> bands)
{
    Json out = Json::array();
    for (const RemezBand& b : bands)
        out.push_back({{"m_bUse", b.m_bUse},
                       {"m_nLowerEdge", b.m_nLowerEdge},
                       {"m_nUpperEdge", b.m_nUpperEdge},
                       {"m_dValue", b.m_dValue},
                       {"m_dWeight", b.m_dWeight}});
    return out;
}

const char* SpecSearchStatusName(SpecSearchStatus status)
{
    switch (status) {
    case SpecSearchStatus::Met:
        return "met";
    case SpecSearchStatus::Unreachable:
        return "unreachable";
    case SpecSearchStatus::Cancelled:
        return "cancelled";
    default:
        return "bad requirement";
    }
}

Json WholeVerdictJson(const WholeVerdict& w)
{
    Json j;
    j["peak_db"] = w.peakDb;
    j["peak_hz"] = w.peakHz;
    j["limit_db"] = w.limitDb;
    j["margin_db"] = std::isfinite(w.marginDb) ? Json(w.marginDb) : Json(nullptr);
    j["met"] = w.met;
    return j;
}

Json TrialJson(const TrialVerdict& v)
{
    Json t;
    t["taps"] = v.taps;
    t["design"] = v.design == TrialStatus::Designed       ? "designed"
                  : v.design == TrialStatus::NotConverged ? "not converged"
                                                          : "failed";
    t["met"] = v.met;
    t["worst_margin_db"] = std::isfinite(v.worstMarginDb) ? Json(v.worstMarginDb) : Json(nullptr);
    return t;
}

Json RequirementBandsJson(const SpecRequirement& req, const TrialVerdict& v)
{
    Json bands = Json::array();
    for (size_t i = 0; i < req.bands.size(); ++i) {
        const SpecBand& s = req.bands[i];
        Json b;
        b["kind"] = s.kind == BandKind::Pass ? "pass" : "stop";
        b["lo_hz"] = s.loHz;
        b["hi_hz"] = s.hiHz;
        b[s.kind == BandKind::Pass ? "max_ripple_db" : "min_attenuation_db"] = s.limitDb;
        b["achieved"] = i < v.bands.size() ? BandVerdictJson(v.bands[i]) : Json(nullptr);
        if (v.quantized)
            b["quantized"] = i < v.quantBands.size() ? BandVerdictJson(v.quantBands[i]) : Json(nullptr);
        bands.push_back(b);
    }
    return bands;
}

nlohmann::ordered_json RequirementJson(const SpecRequest& request, const SpecDesignResult& r)
{
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
    out["whole_response"] = WholeVerdictJson(r.search.found.whole);
    if (r.search.found.quantWhole)
        out["quantized_whole_response"] = WholeVerdictJson(*r.search.found.quantWhole);
    return out;
}
