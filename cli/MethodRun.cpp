#include "cli/MethodRun.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <ostream>

#include "cli/AnalysisReport.h"
#include "cli/CliNumbers.h"
#include "cli/ExportCliOptions.h"
#include "cli/MethodOptions.h"
#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CFilPar.h"
#include "document/ExportWriters.h"
#include "document/MethodExport.h"
#include "document/MethodJson.h"
#include "form/DesignAnalysis.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

using OrderedJson = nlohmann::ordered_json;

namespace {

double NumberText(const std::string& text)
{
    double value = 0.0;
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end ? value : std::nan("");
}

// --export: the files File > Export... writes for the same design; the
// writer's messages on err.
bool Export(const CliOptions& o, const DesignRequest& request, const DesignOutcome& outcome, std::ostream& err)
{
    ScriptedHost host;
    host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
    CWnd owner;
    owner.SetHost(&host);
    return WriteExport(MethodExportDesign(request, outcome.Taps(), outcome.gain),
                       ExportOptionsOf(o.exportRequest, o.analysis.quantize.rounding), &owner);
}

}  // namespace

DesignRequest MethodRequestOf(const CliOptions& o)
{
    const CFilPar defaults;
    DesignRequest q;
    q.filterType = static_cast<FilterType>(o.filterType.value_or(defaults.m_nFilterType));
    q.taps = WholeNumberText(o.taps, defaults.m_nTaps);
    q.samplingRate = WholeNumberText(o.samplingRate, defaults.m_nSamplingRate);
    q.firstCorner = 0;
    q.secondCorner = 0;
    q.gridDensity = WholeNumberText(o.gridDensity, defaults.m_nGridDensity);
    if (o.bands.empty()) {
        q.bands.assign(defaults.m_Bands, defaults.m_Bands + kBandCount);
    } else {
        for (const CliOptions::Band& b : o.bands)
            q.bands.push_back(RemezBand{1, WholeNumberText(b.lower, -1), WholeNumberText(b.upper, -1), NumberText(b.value),
                                        NumberText(b.weight)});
    }
    if (o.pulse) {
        q.method = DesignMethod::Pulse;
        q.pulse.shape = *o.pulse;
        q.pulse.rolloff = o.rolloff.value_or(q.pulse.rolloff);
        q.pulse.bt = o.bt.value_or(q.pulse.bt);
        q.pulse.sps = o.sps.value_or(q.pulse.sps);
        q.pulse.span = o.span.value_or(q.pulse.span);
        q.pulse.normalisation = o.pulseGain.value_or(PulseNormalisation::UnitEnergy);
    } else if (o.designMethod == kCliLeastSquares) {
        q.method = DesignMethod::LeastSquares;
        q.weightRange = RemezWeightRange::AnyPositive;
    } else {
        q.method = DesignMethod::Remez;
    }
    q.minimumPhase = o.minPhase;
    q.remezShape = o.remezShape.value_or(ResponseShape{});
    if (o.irScaling)
        q.scaling = static_cast<IRScaling>(*o.irScaling);
    if (o.scale)
        q.scale = NumberText(*o.scale);
    return q;
}

int RunMethods(const CliOptions& o, std::ostream& out, std::ostream& err)
{
    const DesignRequest request = MethodRequestOf(o);
    const DesignOutcome outcome = Design(request);
    std::vector<std::string> messages;
    for (const DesignNote& note : outcome.notes)
        messages.push_back(DesignMessage(note, request.weightRange == RemezWeightRange::AnyPositive));
    for (const std::string& m : messages)
        err << m << '\n';
    const std::vector<double> taps = outcome.valid ? outcome.Taps() : std::vector<double>{};
    bool ok = outcome.valid;
    if (ok && o.exportRequest.profile)
        ok = Export(o, request, outcome, err);
    if (o.json) {
        OrderedJson report;
        report["design_valid"] = outcome.valid;
        report["method"] = request.method == DesignMethod::Pulse          ? "pulse"
                           : request.method == DesignMethod::LeastSquares ? "ls"
                                                                           : "remez";
        report["minimum_phase"] = request.minimumPhase;
        report["taps"] = taps.size();
        report["sampling_rate_hz"] = request.samplingRate;
        report["coefficients"] = taps;
        report["messages"] = messages;
        DesignAnalysis a;
        a.valid = outcome.valid;
        a.fs = request.samplingRate;
        if (a.valid) {
            a.taps = taps;
            a.bands = o.analysis.mask.empty() ? outcome.mask : o.analysis.mask;
            a.bandsDerived = o.analysis.mask.empty();
            a.crossings = false;
            a.figures = MeasureResponse(a.taps, a.fs, a.bands, a.crossings);
            a.quantized = QuantizeAndMeasure(a.taps, o.analysis.quantize, a.fs, a.bands, a.crossings);
        }
        report["analysis"] = AnalysisReport::Of(a);
        report["methods"] = outcome.valid ? MethodsJson(outcome, request.samplingRate) : OrderedJson(nullptr);
        out << report.dump(2, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
    } else if (outcome.valid) {
        for (double t : taps)
            out << FormatText("%.17g\n", t);
    }
    return ok ? 0 : 1;
}
