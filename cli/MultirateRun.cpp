#include "cli/MultirateRun.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "document/DesignJson.h"
#include "document/ExportWriters.h"
#include "dsp/CPoints.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/IdealResponses.h"
#include "dsp/RemezDesign.h"
#include "dsp/Windows.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

namespace {

constexpr int kDefaultGridDensity = 16;

int WholeNumber(const std::optional<std::string>& text, int fallback)
{
    if (!text)
        return fallback;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    return ec == std::errc() && ptr == end ? value : -1;
}

std::string RateRefusal(MultirateStatus status, const MultirateDesign& rate, double fs)
{
    switch (status) {
    case MultirateStatus::BadFactor:
        return "The factor must be 2 .. 64.";
    case MultirateStatus::BadRate:
        return "The sampling rate must be above 0 Hz.";
    case MultirateStatus::BadPassEdge:
        return "The pass-band edge must lie above 0 Hz and below fs / (2 x " + std::to_string(rate.factor) +
               ") = " + FormatText("%g", fs / (2.0 * rate.factor)) + " Hz.";
    case MultirateStatus::Ok:
        break;
    }
    return {};
}

// What one design of n taps needs besides n.
struct Designer {
    MultirateDesign rate;
    int fs = 0;
    int grid = kDefaultGridDensity;
    int method = DM_REMEZ;
    std::vector<MaskBand> stops;  // the stop bands designed for
    double stopWeight = 1.0;
    int window = WT_KAISER;
    WindowParameters windowParameters;
    RemezBand table[kBandCount] = {};

    void BuildTable() { LowpassRemezTable(fs, rate.passHz, stops, stopWeight, table); }

    TrialDesign operator()(int n) const
    {
        TrialDesign d;
        if (rate.kind == MultirateKind::Halfband) {
            const HalfbandResult r = DesignHalfband(n, fs, rate.passHz, grid);
            d.status = r.status == HalfbandStatus::Converged        ? TrialStatus::Designed
                       : r.status == HalfbandStatus::DidNotConverge ? TrialStatus::NotConverged
                                                                    : TrialStatus::Failed;
            d.taps = r.taps;
            return d;
        }
        if (method == DM_SINC) {
            // The ideal lowpass cut in the middle of the transition, f1 .. fs/M - f1, times the window.
            CPoints h(n), w(n);
            StopBandResponse(h, fs / (2.0 * rate.factor), fs / 2.0, fs);
            d.status = ComputeWindowSamples(w, window, windowParameters) == DspStatus::Ok ? TrialStatus::Designed
                                                                                           : TrialStatus::Failed;
            for (int i = 0; i < n; ++i)
                d.taps.push_back(h.GetValue(i, 0) * w.GetValue(i, 0));
            return d;
        }
        CPoints h;
        const RemezResult r = DesignRemez(n, FT_LOWPASS, FirTypeOf(FT_LOWPASS, n), fs, table, grid, h);
        d.status = r.Converged() ? TrialStatus::Designed : TrialStatus::NotConverged;
        for (int i = 0; i < n; ++i)
            d.taps.push_back(h.GetValue(i, 0));
        return d;
    }
};

std::vector<MaskBand> MaskOf(const Designer& d)
{
    std::vector<MaskBand> mask = {{BandKind::Pass, 0.0, d.rate.passHz, 1.0}};
    mask.insert(mask.end(), d.stops.begin(), d.stops.end());
    return mask;
}

// Parks-McClellan length of the narrowest transition (Herrmann, Rabiner and Chan).
int EstimateTaps(const Designer& d, double dp, double ds)
{
    const double fp = d.rate.passHz / d.fs;
    const double fst = d.stops.empty() ? 0.5 : d.stops.front().loHz / d.fs;
    const double n = HerrmannLength(fp, std::min(fst, 0.4999), dp, ds);
    return std::isfinite(n) ? std::clamp(static_cast<int>(std::ceil(n)), 4, 1025) : 31;
}

void Search(const CliOptions& o, Designer& designer, MultirateRun& run)
{
    double ripple = 0.0;
    for (const SpecBand& b : o.specBands)
        if (b.kind == BandKind::Pass) {
            designer.rate.passHz = b.hiHz;
            ripple = b.limitDb;
        }
    SpecRequirement req;
    req.fs = designer.fs;
    req.bands.push_back({BandKind::Pass, 0.0, designer.rate.passHz, ripple});
    double attenuation = 0.0;
    if (o.multirate.aliasAttenuationDb) {
        attenuation = *o.multirate.aliasAttenuationDb;
        designer.stops = MultirateStopBands(designer.rate.factor, designer.fs, designer.rate.passHz,
                                            o.multirate.aliasBands);
        for (const MaskBand& b : designer.stops)
            req.bands.push_back({BandKind::Stop, b.loHz, b.hiHz, attenuation});
    } else {
        for (const SpecBand& b : o.specBands)
            if (b.kind == BandKind::Stop) {
                designer.stops.push_back({BandKind::Stop, b.loHz, b.hiHz, 0.0});
                req.bands.push_back(b);
                attenuation = std::max(attenuation, b.limitDb);
            }
    }
    const MultirateStatus status = CheckMultirate(designer.rate.factor, designer.fs, designer.rate.passHz);
    if (status != MultirateStatus::Ok) {
        run.messages.push_back(RateRefusal(status, designer.rate, designer.fs));
        return;
    }
    const double dp = PassDeviation(ripple), ds = StopDeviation(attenuation);
    designer.stopWeight = dp / ds;
    designer.BuildTable();
    SpecSearchSettings settings;
    settings.filterType = FT_LOWPASS;
    settings.quantize = o.specQuantize;
    settings.startTaps = EstimateTaps(designer, dp, ds);
    if (designer.rate.kind == MultirateKind::Halfband) {
        settings.minTaps = kMinHalfbandTaps;
        settings.maxTaps = kMaxHalfbandTaps;
        settings.tapStep = 4;
        settings.startTaps = NearestHalfbandTaps(settings.startTaps);
    }
    run.search = SearchFewestTaps(req, settings, designer);
    const SpecSearchResult& s = *run.search;
    if (s.status != SpecSearchStatus::Met) {
        run.messages.push_back("No design of up to " + std::to_string(settings.maxTaps) +
                               " taps meets the requirement; the best reached has " +
                               std::to_string(s.found.taps) + " taps, " +
                               FormatText("%.2f", s.found.worstMarginDb) + " dB short.");
        return;
    }
    run.design.taps = s.found.coefficients;
    run.valid = true;
    std::string text = "The requirement is met with " + std::to_string(s.found.taps) + " taps";
    if (s.nextSmaller)
        text += " (" + std::to_string(s.nextSmaller->taps) + " miss it by " +
                FormatText("%.2f", -s.nextSmaller->worstMarginDb) + " dB)";
    run.messages.push_back(text + (o.specQuantize ? ", also in " + QuantFormatName(*o.specQuantize) : "") + ".");
}

void Plain(const CliOptions& o, Designer& designer, MultirateRun& run)
{
    const int taps = WholeNumber(o.taps, 0);
    designer.rate.passHz = WholeNumber(o.firstCorner, 0);
    const MultirateStatus status = CheckMultirate(designer.rate.factor, designer.fs, designer.rate.passHz);
    if (status != MultirateStatus::Ok) {
        run.messages.push_back(RateRefusal(status, designer.rate, designer.fs));
        return;
    }
    designer.stops = MultirateStopBands(designer.rate.factor, designer.fs, designer.rate.passHz,
                                        o.multirate.aliasBands);
    if (designer.rate.kind == MultirateKind::Halfband) {
        if (!IsHalfbandTaps(taps)) {
            run.messages.push_back(HalfbandTapsMessage(taps));
            return;
        }
    } else if (taps < 4 || taps > 1025) {
        run.messages.push_back("The number of taps must be 4 .. 1025.");
        return;
    }
    designer.BuildTable();
    const TrialDesign d = designer(taps);
    if (d.status == TrialStatus::Failed || static_cast<int>(d.taps.size()) != taps) {
        run.messages.push_back("The design failed.");
        return;
    }
    if (d.status == TrialStatus::NotConverged)
        run.messages.push_back("The Remez exchange did not converge; the best taps reached are kept.");
    run.design.taps = d.taps;
    run.valid = true;
}

}  // namespace

MultirateRun DesignMultirate(const CliOptions& o)
{
    MultirateRun run;
    Designer designer;
    designer.rate.kind = *o.multirate.kind;
    designer.rate.factor = o.multirate.factor;
    designer.fs = WholeNumber(o.samplingRate, 0);
    designer.grid = std::clamp(WholeNumber(o.gridDensity, kDefaultGridDensity), 8, 64);
    designer.method = o.designMethod.value_or(DM_REMEZ);
    designer.window = o.windowType.value_or(WT_KAISER);
    designer.windowParameters.stopbandAttenuation = std::clamp(WholeNumber(o.stopbandAtt, 60), 10, 100);
    if (o.shapeFactor) {
        double beta = 0.0;
        const auto [ptr, ec] = std::from_chars(o.shapeFactor->data(), o.shapeFactor->data() + o.shapeFactor->size(), beta);
        designer.windowParameters.shapeFactor = ec == std::errc() && std::isfinite(beta) ? std::clamp(beta, 0.0, 20.0) : 5.0;
    }
    if (o.toSpec)
        Search(o, designer, run);
    else
        Plain(o, designer, run);
    run.rate = designer.rate;
    if (!run.valid)
        return run;
    for (double t : run.design.taps)
        if (!std::isfinite(t)) {
            run.valid = false;
            run.messages.push_back(kMsgExportNonFinite);
            return run;
        }
    ExportDesign& e = run.design;
    e.outline.filterType = FT_LOWPASS;
    e.outline.designMethod = designer.method;
    e.outline.windowType = designer.window;
    e.outline.shapeFactor = designer.windowParameters.shapeFactor;
    e.outline.stopbandAtt = designer.windowParameters.stopbandAttenuation;
    e.outline.fs = designer.fs;
    e.outline.taps = static_cast<int>(e.taps.size());
    e.outline.firstCorner = designer.method == DM_SINC ? designer.fs / (2.0 * designer.rate.factor) : designer.rate.passHz;
    e.outline.remezBands.assign(designer.table, designer.table + kBandCount);
    if (run.rate.kind == MultirateKind::Halfband) {
        // The table the exchange ran on: G's one band 0 .. 2 f1.
        e.outline.remezBands.assign(kBandCount, RemezBand{});
        e.outline.remezBands[0] = {1, 0, static_cast<int>(std::round(2.0 * run.rate.passHz)), 1.0, 1.0};
    }
    e.gridDensity = designer.grid;
    e.multirate = run.rate;
    e.bands = MaskOf(designer);
    e.figures = MeasureResponse(e.taps, designer.fs, e.bands, false);
    run.figures = MeasureMultirate(e.taps, run.rate.kind, run.rate.factor, designer.fs, run.rate.passHz,
                                   o.analysis.quantize);
    run.quantName = QuantFormatName(o.analysis.quantize);
    return run;
}

namespace {

nlohmann::ordered_json MultirateJson(const MultirateRun& run)
{
    nlohmann::ordered_json m;
    m["kind"] = kMultirateKindNames[static_cast<int>(run.rate.kind)];
    m["factor"] = run.rate.factor;
    m["pass_edge_hz"] = run.rate.passHz;
    m["input_rate_hz"] = run.figures.inputRateHz;
    m["output_rate_hz"] = run.figures.outputRateHz;
    m["phases"] = PolyphaseComponents(run.design.taps, run.rate.factor);
    m["macs_per_output"] = run.figures.macsPerOutput;
    nlohmann::ordered_json alias;
    alias["double"] = run.figures.aliasAttenuationDb;
    alias[run.quantName] = run.figures.quantAliasAttenuationDb.value_or(std::nan(""));
    m["alias_attenuation_db"] = alias;
    return m;
}

nlohmann::ordered_json SearchJson(const SpecSearchResult& s)
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

// The design's figures on its own bands (or --mask), double and quantised.
nlohmann::ordered_json AnalysisOf(const CliOptions& o, const MultirateRun& run)
{
    const ExportDesign& d = run.design;
    const std::vector<MaskBand>& mask = o.analysis.mask.empty() ? d.bands : o.analysis.mask;
    const ResponseFigures figures = MeasureResponse(d.taps, d.outline.fs, mask, false);
    const QuantResult quantized = QuantizeAndMeasure(d.taps, o.analysis.quantize, d.outline.fs, mask, false);
    return AnalysisJson(figures, quantized, o.analysis.mask.empty());
}

bool Export(const CliOptions& o, const MultirateRun& run, std::ostream& err)
{
    ScriptedHost host;
    host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
    CWnd owner;
    owner.SetHost(&host);
    return WriteExport(run.design, ExportOptionsOf(o.exportRequest, o.analysis.quantize.rounding), &owner);
}

}  // namespace

int RunMultirate(const CliOptions& o, std::ostream& out, std::ostream& err)
{
    MultirateRun run = DesignMultirate(o);
    for (const std::string& m : run.messages)
        err << m << '\n';
    bool ok = run.valid;
    if (ok && o.exportRequest.profile)
        ok = Export(o, run, err);
    if (o.json) {
        nlohmann::ordered_json report;
        report["design_valid"] = run.valid;
        report["taps"] = run.design.taps.size();
        report["coefficients"] = run.design.taps;
        report["messages"] = run.messages;
        if (run.valid) {
            report["multirate"] = MultirateJson(run);
            report["analysis"] = AnalysisOf(o, run);
        }
        if (run.search)
            report["to_spec"] = SearchJson(*run.search);
        out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    } else if (run.valid) {
        for (double t : run.design.taps)
            out << FormatText("%.17g\n", t);
    }
    return ok ? 0 : 1;
}
