#include "cli/AnalysisOptions.h"

#include <CLI/CLI.hpp>

#include "cli/CliNumbers.h"

#include <charconv>
#include <cmath>

namespace {

std::optional<double> Number(const std::string& text)
{
    const std::optional<double> value = FiniteNumber(text);
    if (!value || !(*value >= 0.0))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<MaskBand> ParseMaskBand(const std::string& text)
{
    const std::vector<std::string> parts = ColonFields(text);
    if (parts.size() != 3)
        return std::nullopt;
    const std::optional<double> lo = Number(parts[0]), hi = Number(parts[1]);
    const std::string kind = Lower(parts[2]);
    if (!lo || !hi || *lo >= *hi || (kind != "pass" && kind != "stop"))
        return std::nullopt;
    return MaskBand{kind == "pass" ? BandKind::Pass : BandKind::Stop, *lo, *hi, 1.0};
}

std::string MaskOutsideRate(const std::vector<MaskBand>& mask, int fs)
{
    for (const MaskBand& b : mask) {
        if (b.loHz >= 0.0 && b.hiHz <= fs / 2.0)
            continue;
        auto hz = [](double value) {
            char buf[64];
            const auto r = std::to_chars(buf, buf + sizeof buf, value);
            return std::string(buf, r.ptr);
        };
        return "--mask " + hz(b.loHz) + ":" + hz(b.hiHz) + ": the band must lie within 0 to fs/2 (" + hz(fs / 2.0) +
               " Hz at fs " + std::to_string(fs) + " Hz)";
    }
    return {};
}

void AddAnalysisOptions(CLI::App& app, AnalysisRequest& request)
{
    app.add_option_function<std::vector<std::string>>(
           "--mask",
           [&request](const std::vector<std::string>& texts) {
               request.mask.clear();
               for (const std::string& text : texts)
                   request.mask.push_back(*ParseMaskBand(text));
           },
           "Band the --json analysis measures, LO:HI:pass|stop in Hz; repeat for more; replaces the "
           "bands derived from the design")
        ->type_name("LO:HI:pass|stop")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return ParseMaskBand(text) ? std::string()
                                           : "'" + text + "' is not LO:HI:pass|stop (finite Hz, LO below HI)";
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option_function<std::string>(
           "--quantize",
           [&request](const std::string& text) {
               const QuantRounding rounding = request.quantize.rounding;
               request.quantize = *ParseQuantFormat(text);
               request.quantize.rounding = rounding;
           },
           "Fixed-point format of the --json analysis: q7, q15, q31 (as Make File writes them) or a word "
           "length 2..32 with the fraction length chosen from the peak tap (default q15)")
        ->type_name("q7|q15|q31|BITS")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return ParseQuantFormat(text) ? std::string() : "'" + text + "' is not q7, q15, q31 or 2..32";
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option_function<std::string>(
           "--rounding",
           [&request](const std::string& text) {
               request.quantize.rounding =
                   Lower(text) == "truncate" ? QuantRounding::Truncate : QuantRounding::Nearest;
           },
           "Rounding of a BITS word length and of --export: nearest (default, halves away from zero) or "
           "truncate (toward zero); --quantize q7, q15 and q31 keep Make File's rules")
        ->type_name("nearest|truncate")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::string key = Lower(text);
                return key == "nearest" || key == "truncate" ? std::string()
                                                             : "'" + text + "' is not nearest or truncate";
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}
