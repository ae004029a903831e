#include "cli/ForeignTapsRun.h"

#include <nlohmann/json.hpp>

#include <ostream>

#include "cli/AnalysisReport.h"
#include "cli/CliNumbers.h"
#include "cli/ExportCliOptions.h"
#include "cli/RequirementOptions.h"
#include "document/CFilPar.h"
#include "document/DesignJson.h"
#include "document/ExportWriters.h"
#include "document/ForeignTaps.h"
#include "dsp/FewestTapsSearch.h"
#include "cli/WordCliOptions.h"
#include "form/DesignAnalysis.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

using OrderedJson = nlohmann::ordered_json;

namespace {

// The band's figure beside its limit, with the format's when quantised.
std::string VerdictLine(const BandVerdict& v, const BandVerdict* quant, const std::string& format)
{
    const bool pass = v.required.kind == BandKind::Pass;
    const int decimals = pass ? 4 : 2;
    auto figure = [&](const BandVerdict& b) {
        return FixedDecimals(pass ? b.figures.rippleDb : b.figures.attenuationDb, decimals) + " dB " +
               (b.met ? "(met)" : "(missed)");
    };
    std::string line = FormatText("%s band %s - %s Hz, %s %s dB: ", pass ? "Pass" : "Stop", NumberText(v.required.loHz),
                                  NumberText(v.required.hiHz), pass ? "ripple at most" : "attenuation at least",
                                  NumberText(v.required.limitDb)) +
                       figure(v);
    if (quant)
        line += ", " + format + " " + figure(*quant);
    return line;
}

// Empty when every band of the mask and the requirement lies within 0 .. fs/2.
std::string BandsOutsideRate(const CliOptions& o, double fs)
{
    for (const MaskBand& b : o.analysis.mask)
        if (b.hiHz > fs / 2.0)
            return FormatText("--mask: the band %s - %s Hz reaches beyond fs/2 = %s Hz", NumberText(b.loHz),
                              NumberText(b.hiHz), NumberText(fs / 2.0));
    for (const SpecBand& b : o.specBands)
        if (b.hiHz > fs / 2.0)
            return FormatText("--%s-band: the band %s - %s Hz reaches beyond fs/2 = %s Hz",
                              b.kind == BandKind::Pass ? "pass" : "stop", NumberText(b.loHz), NumberText(b.hiHz),
                              NumberText(fs / 2.0));
    return {};
}

}  // namespace

int RunForeignTaps(const CliOptions& o, std::ostream& out, std::ostream& err)
{
    const std::string& path = *o.coefficientsFile;
    const TapsFile file = ReadTapsFile(path);
    if (file.status != TapsFileStatus::Ok) {
        err << TapsFileMessage(file, path) << '\n';
        if (o.json)
            out << OrderedJson{{"design_valid", false}, {"source", path}, {"messages", {TapsFileMessage(file, path)}}}
                       .dump(2)
                << '\n';
        return 1;
    }
    const CFilPar defaults;
    const int typedRate = WholeNumberText(o.samplingRate, 0);
    const double fs = o.samplingRate ? typedRate : file.samplingRateHz.value_or(defaults.m_nSamplingRate);
    if (!(fs > 0.0)) {
        err << "zantro-cli: --fs: the sampling rate must be a whole number of hertz from 1 to 2147483647\n";
        return 2;
    }
    if (const std::string why = BandsOutsideRate(o, fs); !why.empty()) {
        err << "zantro-cli: " << why << '\n';
        return 2;
    }

    const SpecRequirement requirement = RequirementOf(o, fs);

    std::vector<std::string> messages;
    bool ok = true;
    std::optional<TrialVerdict> verdict;
    if (!requirement.bands.empty()) {
        verdict = JudgeTaps(file.taps, requirement, o.specQuantize, o.optimizeWords);
        const std::string format =
            o.specQuantize ? (o.optimizeWords ? "optimised " : "") + QuantFormatName(*o.specQuantize) : std::string();
        for (size_t i = 0; i < verdict->bands.size(); ++i)
            messages.push_back(VerdictLine(verdict->bands[i],
                                           i < verdict->quantBands.size() ? &verdict->quantBands[i] : nullptr, format));
        const std::string verdictText = verdict->met ? "meet" : "miss";
        messages.push_back("The taps " + verdictText + " the requirement" +
                           (o.specQuantize ? " (in double precision and in " + format + ")." : "."));
        ok = verdict->met;
    }
    for (const std::string& m : messages)
        err << m << '\n';
    const WordRun words = RunWords(o, file.taps, fs, err);
    ok = ok && words.ok;

    if (o.exportRequest.profile) {
        ScriptedHost host;
        host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
        CWnd owner;
        owner.SetHost(&host);
        ExportDesign design = ForeignExportDesign(file.taps, fs, path, o.analysis.mask, requirement.bands);
        design.chosenWords = ChosenWordsFor(o, design.taps, fs, design.bands, words.analysisFormat);
        ExportRequest exportRequest = o.exportRequest;
        exportRequest.wordLength = words.exportWordLength;
        if (!WriteExport(design, ExportOptionsOf(exportRequest, o.analysis.quantize.rounding), &owner))
            ok = false;
    }

    if (o.json) {
        const ExportDesign measured = ForeignExportDesign(file.taps, fs, path, o.analysis.mask, requirement.bands);
        DesignAnalysis a;
        a.valid = true;
        a.fs = fs;
        a.taps = file.taps;
        a.bands = measured.bands;
        a.bandsDerived = false;
        a.crossings = measured.crossings;
        a.figures = measured.figures;
        a.quantized = QuantizeAndMeasure(a.taps, words.analysisFormat, a.fs, a.bands, a.crossings);
        a.chosen = ChosenWordsFor(o, a.taps, a.fs, a.bands, words.analysisFormat);
        OrderedJson report;
        report["design_valid"] = true;
        report["source"] = path;
        report["taps"] = file.taps.size();
        report["sampling_rate_hz"] = fs;
        report["coefficients"] = file.taps;
        report["messages"] = messages;
        report["analysis"] = AnalysisReport::Of(a);
        if (words.fewest)
            report["fewest_bits"] = FewestBitsJson(*words.fewest);
        report["requirement"] = verdict ? OrderedJson{{"met", verdict->met},
                                                      {"worst_margin_db", verdict->worstMarginDb},
                                                      {"bands", RequirementBandsJson(requirement, *verdict)}}
                                        : OrderedJson(nullptr);
        out << report.dump(2, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
    } else {
        for (double t : file.taps)
            out << FormatText("%.17g\n", t);
    }
    return ok ? 0 : 1;
}
