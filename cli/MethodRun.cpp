#include "cli/MethodRun.h"

#include <nlohmann/json.hpp>

#include <ostream>

#include "cli/AnalysisReport.h"
#include "cli/CliNumbers.h"
#include "cli/ExportCliOptions.h"
#include "cli/MethodOptions.h"
#include "cli/OptionsDesign.h"
#include "cli/WordCliOptions.h"
#include "document/DesignJson.h"
#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/ExportWriters.h"
#include "document/MethodExport.h"
#include "document/MethodJson.h"
#include "form/DesignAnalysis.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

using OrderedJson = nlohmann::ordered_json;

namespace {

// --export: the files File > Export... writes for the same design; the
// writer's messages on err.
bool Export(const CliOptions& o, const DesignRequest& request, const DesignOutcome& outcome, const WordRun& words,
            std::ostream& err)
{
    ScriptedHost host;
    host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
    CWnd owner;
    owner.SetHost(&host);
    ExportDesign design = MethodExportDesign(request, outcome.Taps(), outcome.gain);
    design.converged = !outcome.Has(DesignCode::RemezNoConvergence);
    design.chosenWords = ChosenWordsFor(o, design.taps, design.outline.fs, design.bands, words.analysisFormat);
    ExportRequest exportRequest = o.exportRequest;
    exportRequest.wordLength = words.exportWordLength;
    return WriteExport(design, ExportOptionsOf(exportRequest, o.analysis.quantize.rounding), &owner);
}

}  // namespace

int RunMethods(const CliOptions& o, std::ostream& out, std::ostream& err)
{
    const DesignRequest request = RequestOf(o);
    const DesignOutcome outcome = Design(request);
    std::vector<std::string> messages;
    for (const DesignNote& note : outcome.notes)
        messages.push_back(DesignMessage(note, request));
    // The exchange's non-convergence is among the notes already.
    const std::vector<std::string> warnings = UnsoundDesignWarnings(true, outcome.figures);
    messages.insert(messages.end(), warnings.begin(), warnings.end());
    const bool sound = warnings.empty() && !outcome.Has(DesignCode::RemezNoConvergence);
    for (const std::string& m : messages)
        err << m << '\n';
    const std::vector<double> taps = outcome.valid ? outcome.Taps() : std::vector<double>{};
    bool ok = outcome.valid;
    const WordRun words = RunWords(o, taps, request.samplingRate, err);
    ok = ok && words.ok;
    if (ok && o.exportRequest.profile)
        ok = Export(o, request, outcome, words, err);
    if (ok && o.savePath)
        ok = SaveDesign(o, request, outcome, std::nullopt, err);
    if (o.json) {
        OrderedJson report;
        report["design_valid"] = outcome.valid && sound;
        report["method"] = request.As<PulseMethod>()          ? "pulse"
                           : request.As<LeastSquaresMethod>() ? "ls"
                                                              : "remez";
        report["minimum_phase"] = IsMinimumPhase(request);
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
            a.quantized = QuantizeAndMeasure(a.taps, words.analysisFormat, a.fs, a.bands, a.crossings);
            a.chosen = ChosenWordsFor(o, a.taps, a.fs, a.bands, words.analysisFormat);
        }
        report["analysis"] = AnalysisReport::Of(a);
        if (words.fewest)
            report["fewest_bits"] = FewestBitsJson(*words.fewest);
        report["methods"] = outcome.valid ? MethodsJson(outcome, request.samplingRate) : OrderedJson(nullptr);
        out << report.dump(2, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
    } else if (outcome.valid) {
        for (double t : taps)
            out << FormatText("%.17g\n", t);
    }
    return ok ? 0 : 1;
}
