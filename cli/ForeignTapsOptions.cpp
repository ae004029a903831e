#include "cli/ForeignTapsOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>

namespace {

constexpr std::array kWithCoefficients = {
    "--coefficients", "--fs",          "--mask",   "--pass-band",  "--stop-band",  "--quantize",
    "--rounding",     "--json",        "--export", "--export-root", "--word-length", "--block",
    "--helium",       "--input-bits",  "--output-bits", "--testbench", "--optimize-words", "--fewest-bits"};

}  // namespace

void AddForeignTapsOption(CLI::App& app, CliOptions& o)
{
    app.add_option_function<std::string>("--coefficients", [&o](const std::string& path) { o.coefficientsFile = path; },
                                         "Taps designed elsewhere instead of a design, read from FILE: one number a "
                                         "line, CSV, or a JSON array (Zantro's json export, zantro-cli --json); "
                                         "measured on --mask, judged against --pass-band and --stop-band, exported "
                                         "with --export")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

std::string CheckForeignTapsOptions(const CLI::App& app, const CliOptions& o)
{
    if (!o.coefficientsFile) {
        if (!o.toSpec && !o.optimizeWords && !o.fewestBits && (!o.specBands.empty() || o.multirate.aliasAttenuationDb))
            return "--pass-band and --stop-band go with --to-spec, --coefficients, --optimize-words or --fewest-bits";
        return {};
    }
    for (const CLI::Option* option : app.get_options()) {
        const std::string name = option->get_name();
        if (option->count() == 0 || name.rfind("--", 0) != 0)
            continue;
        if (std::find(kWithCoefficients.begin(), kWithCoefficients.end(), name) == kWithCoefficients.end())
            return "--coefficients exports taps designed elsewhere: leave " + name + " out";
    }
    if (o.multirate.aliasAttenuationDb)
        return "--coefficients: alias stop bands need a rate change; give the stop bands as LO:HI:ATTEN_DB";
    return {};
}
