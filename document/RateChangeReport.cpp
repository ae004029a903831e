#include "document/RateChangeReport.h"

#include <charconv>
#include <cmath>

#include "design/DesignMessages.h"
#include "document/DesignJson.h"

namespace {

// "%.2f", independent of the process locale.
std::string TwoDecimals(double value)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

}  // namespace

ExportDesign RateChangeExportDesign(const DesignRequest& q, const DesignOutcome& outcome)
{
    const RateChangeReport& r = outcome.rateChange;
    ExportDesign e;
    e.taps = outcome.Taps();
    e.outline.filterType = FT_LOWPASS;
    // A Remez lowpass names the window a rate change starts from (Kaiser, 60 dB).
    const WindowChoice window = WindowOf(q) ? *WindowOf(q) : WindowChoice{WindowType::Kaiser, 5.0, 60};
    e.outline.designMethod = IndexOf(q.Method());
    e.outline.windowType = IndexOf(window.type);
    e.outline.shapeFactor = window.kaiserBeta;
    e.outline.stopbandAtt = window.chebyshevAttenuation;
    e.outline.fs = q.samplingRate;
    e.outline.taps = static_cast<int>(e.taps.size());
    e.outline.firstCorner = q.As<SincMethod>() ? q.samplingRate / (2.0 * r.rate.factor) : r.rate.passHz;
    e.outline.remezBands = r.table;
    e.gridDensity = GridDensityOf(q);
    e.multirate = r.rate;
    e.bands = outcome.mask;
    e.figures = outcome.figures;
    e.converged = !outcome.Has(DesignCode::RemezNoConvergence);
    return e;
}

nlohmann::ordered_json RateChangeJson(const DesignOutcome& outcome, double fs, const QuantSpec& quantize)
{
    const RateChangeReport& r = outcome.rateChange;
    const MultirateFigures figures =
        MeasureMultirate(outcome.Taps(), r.rate.kind, r.rate.factor, fs, r.rate.passHz, quantize);
    nlohmann::ordered_json m;
    m["kind"] = kMultirateKindNames[static_cast<int>(r.rate.kind)];
    m["factor"] = r.rate.factor;
    m["pass_edge_hz"] = r.rate.passHz;
    m["input_rate_hz"] = figures.inputRateHz;
    m["output_rate_hz"] = figures.outputRateHz;
    m["phases"] = r.phases;
    m["macs_per_output"] = figures.macsPerOutput;
    nlohmann::ordered_json alias;
    alias["double"] = figures.aliasAttenuationDb;
    alias[QuantFormatName(quantize)] = figures.quantAliasAttenuationDb.value_or(std::nan(""));
    m["alias_attenuation_db"] = alias;
    return m;
}

nlohmann::ordered_json RateSearchJson(const SpecSearchResult& s)
{
    nlohmann::ordered_json j;
    j["status"] = SpecSearchStatusName(s.status);
    j["taps"] = s.found.taps;
    j["next_smaller_taps"] = s.nextSmaller ? nlohmann::ordered_json(s.nextSmaller->taps) : nullptr;
    j["worst_margin_db"] = s.found.worstMarginDb;
    j["tried"] = s.tried;
    j["found"] = TrialJson(s.found);
    j["next_smaller"] = s.nextSmaller ? TrialJson(*s.nextSmaller) : nullptr;
    return j;
}

std::string RateSearchMessage(const RateChangeSearch& search, const std::optional<QuantSpec>& quantize)
{
    if (search.refusal || !search.search)
        return DesignMessage(search.refusal.value_or(DesignNote{DesignCode::RateFactorRange, 0}), search.request);
    const SpecSearchResult& s = *search.search;
    if (s.status != SpecSearchStatus::Met)
        return "No design of up to " + std::to_string(search.maxTaps) + " taps meets the requirement; the best " +
               "reached has " + std::to_string(s.found.taps) + " taps, " + TwoDecimals(-s.found.worstMarginDb) +
               " dB short.";
    std::string text = "The requirement is met with " + std::to_string(s.found.taps) + " taps";
    if (s.nextSmaller)
        text += " (" + std::to_string(s.nextSmaller->taps) + " miss it by " +
                TwoDecimals(-s.nextSmaller->worstMarginDb) + " dB)";
    return text + (quantize ? ", also in " + QuantFormatName(*quantize) : "") + ".";
}
