#include "cli/MultirateRun.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>

#include "cli/OptionsDesign.h"
#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/RateChangeSearch.h"
#include "document/DesignJson.h"
#include "document/ExportWriters.h"
#include "document/RateChangeReport.h"
#include "form/RequirementDesign.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

namespace {

// What the run designed: the request, its outcome and the messages printed.
struct RateRun {
    DesignRequest request;
    DesignOutcome outcome;
    std::vector<std::string> messages;
    std::optional<SpecSearchResult> search;
    std::optional<SpecRequirement> asked;  // what the search was asked, as the analysis judges it
};

RateRun Search(const CliOptions& o, DesignRequest request)
{
    RateRun run;
    RateChangeRequirement requirement;
    for (const SpecBand& b : o.specBands) {
        if (b.kind == BandKind::Pass) {
            request.firstCorner = static_cast<int>(b.hiHz);
            requirement.passRippleDb = b.limitDb;
        } else {
            requirement.stopBands.push_back(b);
        }
    }
    requirement.aliasAttenuationDb = o.multirate.aliasAttenuationDb;
    if (requirement.aliasAttenuationDb)
        requirement.stopBands.clear();
    requirement.quantize = o.specQuantize;
    const RateChangeSearch search = SearchRateChange(request, requirement);
    run.request = search.request;
    run.search = search.search;
    run.messages.push_back(RateSearchMessage(search, o.specQuantize));
    if (search.search && search.search->status == SpecSearchStatus::Met) {
        run.outcome = Design(run.request);
        run.asked = AskedOf(run.request, requirement);
    }
    return run;
}

nlohmann::ordered_json AnalysisOf(const CliOptions& o, const RateRun& run, const std::vector<double>& taps)
{
    const double fs = run.request.samplingRate;
    const std::vector<MaskBand>& mask = o.analysis.mask.empty() ? run.outcome.mask : o.analysis.mask;
    const ResponseFigures figures = MeasureResponse(taps, fs, mask, false);
    const QuantResult quantized = QuantizeAndMeasure(taps, o.analysis.quantize, fs, mask, false);
    return AnalysisJson(figures, quantized, o.analysis.mask.empty());
}

bool Export(const CliOptions& o, const RateRun& run, std::ostream& err)
{
    ScriptedHost host;
    host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
    CWnd owner;
    owner.SetHost(&host);
    return WriteExport(RateChangeExportDesign(run.request, run.outcome),
                       ExportOptionsOf(o.exportRequest, o.analysis.quantize.rounding), &owner);
}

}  // namespace

int RunMultirate(const CliOptions& o, std::ostream& out, std::ostream& err)
{
    RateRun run;
    if (o.toSpec) {
        run = Search(o, RequestOf(o));
    } else {
        run.request = RequestOf(o);
        run.outcome = Design(run.request);
    }
    const std::vector<std::string> notes = RateChangeMessages(run.request, run.outcome);
    run.messages.insert(run.messages.end(), notes.begin(), notes.end());
    // The exchange's non-convergence is among the notes already.
    const std::vector<std::string> warnings =
        run.outcome.valid ? UnsoundDesignWarnings(true, run.outcome.figures) : std::vector<std::string>{};
    run.messages.insert(run.messages.end(), warnings.begin(), warnings.end());
    const bool sound = warnings.empty() && !run.outcome.Has(DesignCode::RemezNoConvergence);
    for (const std::string& m : run.messages)
        err << m << '\n';
    const bool valid = run.outcome.valid;
    const std::vector<double> taps = valid ? run.outcome.Taps() : std::vector<double>{};
    bool ok = valid;
    if (ok && o.exportRequest.profile)
        ok = Export(o, run, err);
    if (ok && o.savePath)
        ok = SaveDesign(o, run.request, run.outcome, run.asked, err);
    if (o.json) {
        nlohmann::ordered_json report;
        report["design_valid"] = valid && sound;
        report["taps"] = taps.size();
        report["coefficients"] = taps;
        report["messages"] = run.messages;
        if (valid) {
            report["multirate"] = RateChangeJson(run.outcome, run.request.samplingRate, o.analysis.quantize);
            report["analysis"] = AnalysisOf(o, run, taps);
        }
        if (run.search)
            report["to_spec"] = RateSearchJson(*run.search);
        out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    } else if (valid) {
        for (double t : taps)
            out << FormatText("%.17g\n", t);
    }
    return ok ? 0 : 1;
}
