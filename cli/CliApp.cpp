#include "cli/CliApp.h"

#include <ostream>

#include "cli/AnalysisReport.h"
#include "cli/CliParser.h"
#include "cli/CliRunner.h"
#include "cli/ForeignTapsRun.h"
#include "cli/JsonReport.h"
#include "cli/MethodOptions.h"
#include "cli/MethodRun.h"
#include "cli/MultirateRun.h"
#include "cli/RequirementOptions.h"
#include "cli/RequirementReport.h"
#include "document/DesignJson.h"
#include "form/PlotSvg.h"
#include "platform/TextFormat.h"

namespace {

void PrintCoefficients(const CZantroView& view, std::ostream& out)
{
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
        out << FormatText("%.17g\n", view.m_Coeffs.GetValue(i, 0));
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CliOptions options;
    const CliParser::Result parsed = CliParser::Parse(argc, argv, options);
    if (parsed.status == CliParser::Status::Help) {
        out << parsed.text;
        return 0;
    }
    if (parsed.status == CliParser::Status::UsageError) {
        err << parsed.text;
        return 2;
    }

    if (options.coefficientsFile)
        return RunForeignTaps(options, out, err);
    if (options.multirate.kind)
        return RunMultirate(options, out, err);
    if (UsesNewMethods(options))
        return RunMethods(options, out, err);

    CliRunner runner(err);
    runner.Start();
    runner.RunCommands(options);
    int status = runner.ExitStatus();
    // The rate is the design's (--fs, a preset or an opened file): a mask
    // band beyond fs/2 is a usage error, not a report of zeroed figures.
    if (const std::string why = MaskOutsideRate(options.analysis.mask, runner.View().m_nSamplingRate); !why.empty()) {
        err << "zantro-cli: " << why << '\n';
        return 2;
    }
    // A refusal normally speaks for itself; say so when none was shown.
    if (status != 0 && runner.Host().Messages().empty())
        err << "zantro-cli: the command ended without a valid design\n";

    if (options.svgDir) {
        std::string error;
        if (!WritePlotSvgs(runner.View(), *options.svgDir, error)) {
            err << "zantro-cli: " << error << '\n';
            status = 1;
        }
    }

    if (options.json) {
        nlohmann::ordered_json report = JsonReport::Build(runner);
        AnalysisRequest analysis = options.analysis;
        // A requirement's bands are what its analysis measures, unless --mask says otherwise.
        if (options.toSpec && analysis.mask.empty())
            for (const SpecBand& b : options.specBands)
                analysis.mask.push_back({b.kind, b.loHz, b.hiHz, 1.0});
        if (const std::optional<FewestBitsResult>& fewest = runner.FewestBits();
            fewest && fewest->chosen.status == WordLengthStatus::Met)
            analysis.quantize = fewest->chosen.words.words.quantSpec;
        report["analysis"] = runner.Host().RefusedDialogs() == 0 ? AnalysisReport::Build(runner.View(), analysis)
                                                                  : nlohmann::ordered_json(nullptr);
        if (options.fewestBits)
            report["fewest_bits"] = runner.FewestBits() ? FewestBitsJson(*runner.FewestBits())
                                                        : nlohmann::ordered_json(nullptr);
        if (options.toSpec)
            report["to_spec"] = ToSpecReport::Build(runner);
        out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << '\n';
    } else if (status == 0 && !options.noDesign)
        PrintCoefficients(runner.View(), out);
    return status;
}
