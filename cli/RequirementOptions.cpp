#include "cli/RequirementOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <utility>
#include <cmath>

#include "cli/CliNumbers.h"
#include "cli/CliParser.h"
#include "cli/MultirateOptions.h"
#include "dsp/DesignKinds.h"
#include "form/RequirementDesign.h"

namespace {

std::optional<double> Number(const std::string& text, bool wholeOnly)
{
    if (text.empty())
        return std::nullopt;
    if (wholeOnly && !std::all_of(text.begin(), text.end(), [](unsigned char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return FiniteNumber(text);
}

CLI::Validator BandCheck(BandKind kind)
{
    return CLI::Validator(
        [kind](std::string& text) -> std::string {
            if (ParseSpecBand(text, kind) || (kind == BandKind::Stop && ParseAliasStopBand(text)))
                return {};
            return "'" + text + "' is not LO:HI:" + (kind == BandKind::Pass ? "RIPPLE_DB" : "ATTEN_DB") +
                   " (whole hertz, LO below HI, then decibels above 0)";
        },
        "");
}

void AddBands(CLI::App& app, const std::string& name, BandKind kind, const std::string& help, CliOptions& o)
{
    app.add_option_function<std::vector<std::string>>(
           name,
           [&o, kind](const std::vector<std::string>& texts) {
               for (const std::string& text : texts) {
                   if (const std::optional<SpecBand> band = ParseSpecBand(text, kind))
                       o.specBands.push_back(*band);
                   else
                       o.multirate.aliasAttenuationDb = ParseAliasStopBand(text);
               }
           },
           help)
        ->type_name(kind == BandKind::Pass ? "LO:HI:RIPPLE_DB" : "LO:HI:ATTEN_DB")
        ->check(BandCheck(kind))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

}  // namespace

std::optional<SpecBand> ParseSpecBand(const std::string& text, BandKind kind)
{
    const std::vector<std::string> parts = ColonFields(text);
    if (parts.size() != 3)
        return std::nullopt;
    const std::optional<double> lo = Number(parts[0], true), hi = Number(parts[1], true);
    const std::optional<double> db = Number(parts[2], false);
    if (!lo || !hi || !db || *lo >= *hi || !(*db > 0.0))
        return std::nullopt;
    return SpecBand{kind, *lo, *hi, *db};
}

void AddSpecOptions(CLI::App& app, CliOptions& o)
{
    app.add_flag("--to-spec", o.toSpec,
                 "Design with the fewest taps that meet the --pass-band and --stop-band limits (--method sinc: "
                 "Kaiser window, or remez), also for the --quantize taps when that is given; fills the form and "
                 "runs Design; it chooses taps, corners, window, beta and bands itself");
    AddBands(app, "--pass-band", BandKind::Pass,
             "Pass band of --to-spec or --coefficients, LO:HI:RIPPLE_DB: ripple (largest minus smallest gain) at most "
             "RIPPLE_DB; repeat for more",
             o);
    AddBands(app, "--stop-band", BandKind::Stop,
             "Stop band of --to-spec or --coefficients, LO:HI:ATTEN_DB: attenuation below the pass-band gain at least "
             "ATTEN_DB; repeat for more; alias:ATTEN_DB with a rate change: the stop bands it derives",
             o);
}

SpecRequirement RequirementOf(const CliOptions& o, double fs)
{
    SpecRequirement req;
    req.fs = fs;
    req.bands = o.specBands;
    std::stable_sort(req.bands.begin(), req.bands.end(),
                     [](const SpecBand& a, const SpecBand& b) { return a.loHz < b.loHz; });
    return req;
}

std::string CheckSpecOptions(const CliOptions& o)
{
    // A rate change checks its own requirement (CheckMultirateOptions).
    if (!o.toSpec || o.multirate.kind)
        return {};
    // Checked here rather than as CLI11 exclusions, whose help text lists
    // them in no fixed order.
    const std::pair<bool, const char*> chosen[] = {
        {o.taps.has_value(), "--taps"},       {o.firstCorner.has_value(), "--f1"},
        {o.secondCorner.has_value(), "--f2"}, {o.windowType.has_value(), "--window"},
        {o.shapeFactor.has_value(), "--beta"}, {o.stopbandAtt.has_value(), "--att"},
        {!o.bands.empty(), "--band"},         {o.windowOnly, "--window-only"},
        {o.noDesign, "--no-design"}};
    for (const auto& [given, name] : chosen)
        if (given)
            return std::string("--to-spec chooses what ") + name + " sets; leave " + name + " out";
    if (o.designMethod && *o.designMethod != DM_SINC && *o.designMethod != DM_REMEZ)
        return "--to-spec designs with --method sinc (a Kaiser window) or remez";
    // The pattern does not depend on the rate; the edges are checked against
    // the form's rate when the command runs.
    double top = 0.0;
    for (const SpecBand& b : o.specBands)
        top = std::max(top, b.hiHz);
    const SpecRequirement req = RequirementOf(o, 2.0 * top);
    if (CheckRequirement(req) != SpecCheck::Ok || RequirementFilterType(req) < 0) {
        SpecRequest request;
        request.requirement = req;
        const char* why = RefusalOf(request);
        return std::string("--to-spec: ") + (why ? why : kMsgSpecPattern);
    }
    const int type = RequirementFilterType(req);
    if (o.filterType && *o.filterType != type)
        return "--to-spec: the bands describe a " + kCliFilterTypes[static_cast<size_t>(type)] + ", not a " +
               kCliFilterTypes[static_cast<size_t>(*o.filterType)];
    return {};
}
