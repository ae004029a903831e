#include "cli/ExportCliOptions.h"

#include <CLI/CLI.hpp>

#include "document/ExportProfileTraits.h"

namespace {

std::string ProfileList()
{
    std::string text;
    for (const ExportProfileTraits& t : AllExportProfileTraits())
        text += std::string(text.empty() ? "" : ", ") + t.name;
    return text;
}

}  // namespace

void AddExportOptions(CLI::App& app, ExportRequest& request)
{
    CLI::Option* profile =
        app.add_option_function<std::string>(
               "--export", [&request](const std::string& text) { request.profile = ParseExportProfile(text); },
               "Export after the design (and after --make) for a target: " + ProfileList())
            ->type_name("PROFILE")
            ->check(CLI::Validator(
                [](std::string& text) -> std::string {
                    return ParseExportProfile(text) ? std::string()
                                                    : "'" + text + "' is not one of " + ProfileList();
                },
                ""))
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    CLI::Option* root =
        app.add_option("--export-root", request.root,
                       "Path and name of the exported files, without extension (.h and .c, or the profile's one "
                       "file)")
            ->type_name("PATH")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    profile->needs(root);
    root->needs(profile);
    app.add_option("--word-length", request.wordLength,
                   "Word length of c-fixed, coe, vhdl, verilog, vhdl-fir, verilog-fir and json's quantised taps "
                   "(default 16)")
        ->type_name("BITS")
        ->check(CLI::Range(2, 32))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--block", request.blockSize,
                   "Samples per call the CMSIS state-buffer macro is sized for (default 32)")
        ->type_name("N")
        ->check(CLI::Range(kMinExportBlockSize, kMaxExportBlockSize))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_flag("--helium", request.helium,
                 "Pad the CMSIS coefficient array with zeros for Helium (multiple of 4 for f32 and q31, 8 for "
                 "q15, 16 for q7)");
    app.add_option("--input-bits", request.inputBits,
                   "Width of the vhdl-fir and verilog-fir filter's signed input (default 16)")
        ->type_name("BITS")
        ->check(CLI::Range(2, 32))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--output-bits", request.outputBits,
                   "Width of the vhdl-fir and verilog-fir filter's signed output (default: the accumulator's, "
                   "exact); fewer bits are rounded half away from zero after a right shift by the difference and "
                   "saturated")
        ->type_name("BITS")
        ->check(CLI::Range(2, 128))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option_function<std::string>(
           "--architecture",
           [&request](const std::string& text) { ParseHdlArchitecture(text, request.filter.architecture); },
           "Architecture of the vhdl-fir and verilog-fir filter: parallel (default; one sample a clock, a "
           "multiplier per distinct odd factor of the words), folded (--clocks-per-sample clocks a sample, about "
           "N/2/F multipliers) or multiplierless (shifts and adders, no multiplier)")
        ->type_name("NAME")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                HdlArchitecture a;
                return ParseHdlArchitecture(text, a) ? std::string()
                                                     : "'" + text + "' is not parallel, folded or multiplierless";
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--clocks-per-sample", request.filter.clocksPerSample,
                   "Clocks a sample of the folded filter (default 4)")
        ->type_name("F")
        ->check(CLI::Range(kMinHdlClocksPerSample, kMaxHdlClocksPerSample))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_flag("--pipeline", request.filter.pipeline,
                 "Pipeline the parallel filter's products (two registers after every multiplier) or the "
                 "multiplierless filter's adders (a register after every level)");
    app.add_flag("--stream", request.stream,
                 "vhdl-fir and verilog-fir also write an AXI4-Stream wrapper, ROOT_axis.vhd or ROOT_axis.v "
                 "(tvalid, tready, tdata; backpressure honoured)");
    app.add_flag("--testbench", request.testbench,
                 "vhdl-fir and verilog-fir also write a self-checking testbench, ROOT_tb.vhd or ROOT_tb.v, with "
                 "its stimulus ROOT_in.txt and the expected outputs ROOT_expected.txt");
}

std::string CheckExportOptions(const CLI::App& app, const ExportRequest& request)
{
    if (!request.profile)
        return {};
    const ExportProfileTraits& t = TraitsOf(*request.profile);
    const struct {
        const char* option;
        unsigned bit;
    } options[] = {{"--word-length", kExportTakesWordLength},    {"--block", kExportTakesBlock},
                   {"--helium", kExportTakesHelium},              {"--input-bits", kExportTakesFilterOptions},
                   {"--output-bits", kExportTakesFilterOptions}, {"--architecture", kExportTakesFilterOptions},
                   {"--clocks-per-sample", kExportTakesFilterOptions}, {"--pipeline", kExportTakesFilterOptions},
                   {"--stream", kExportTakesFilterOptions},      {"--testbench", kExportTakesFilterOptions}};
    for (const auto& o : options) {
        if (app.count(o.option) == 0 || (t.options & o.bit) != 0)
            continue;
        std::string takers;
        for (const ExportProfileTraits& other : AllExportProfileTraits())
            if ((other.options & o.bit) != 0)
                takers += std::string(takers.empty() ? "" : ", ") + other.name;
        return std::string(o.option) + " does not apply to --export " + t.name +
               (takers.empty() ? std::string() : " (only to " + takers + ")");
    }
    const HdlArchitecture a = request.filter.architecture;
    if (app.count("--clocks-per-sample") != 0 && a != HdlArchitecture::Folded)
        return std::string("--clocks-per-sample does not apply to --architecture ") + HdlArchitectureName(a) +
               " (only to folded)";
    if (app.count("--pipeline") != 0 && a == HdlArchitecture::Folded)
        return "--pipeline does not apply to --architecture folded (only to parallel, multiplierless)";
    return {};
}

ExportOptions ExportOptionsOf(const ExportRequest& request, QuantRounding rounding)
{
    ExportOptions options;
    if (request.profile)
        options.profile = *request.profile;
    options.root = request.root;
    options.wordLength = request.wordLength;
    options.rounding = rounding;
    options.blockSize = request.blockSize;
    options.helium = request.helium;
    options.inputBits = request.inputBits;
    options.outputBits = request.outputBits;
    options.filter = request.filter;
    options.stream = request.stream;
    options.testbench = request.testbench;
    return options;
}
