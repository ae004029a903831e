#include "cli/MultirateOptions.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <utility>

#include "cli/CliOptions.h"
#include "dsp/DesignKinds.h"

namespace {

const char* KindOption(MultirateKind kind)
{
    switch (kind) {
    case MultirateKind::Decimate:
        return "--decimate";
    case MultirateKind::Interpolate:
        return "--interpolate";
    case MultirateKind::Halfband:
        return "--halfband";
    }
    return "";
}

}  // namespace

void AddMultirateOptions(CLI::App& app, CliOptions& o)
{
    MultirateCliRequest& r = o.multirate;
    app.add_option_function<int>(
               "--decimate",
               [&r](const int& m) {
                   r.kind = MultirateKind::Decimate;
                   r.factor = m;
                   ++r.kindsGiven;
               },
               "Design the lowpass of a decimator by M (2..64): --fs is the input rate, --f1 the pass-band edge; "
               "stop bands from fs/M - f1 to fs/2 (or the alias bands)")
            ->type_name("M")
            ->check(CLI::Range(kMinRateFactor, kMaxRateFactor));
    app.add_option_function<int>(
               "--interpolate",
               [&r](const int& l) {
                   r.kind = MultirateKind::Interpolate;
                   r.factor = l;
                   ++r.kindsGiven;
               },
               "Design the lowpass of an interpolator by L (2..64): --fs is the output rate, --f1 the pass-band "
               "edge; stop bands from fs/L - f1 to fs/2 (or the image bands)")
            ->type_name("L")
            ->check(CLI::Range(kMinRateFactor, kMaxRateFactor));
    app.add_flag_callback(
        "--halfband",
        [&r]() {
            r.kind = MultirateKind::Halfband;
            r.factor = 2;
            ++r.kindsGiven;
        },
        "Design a half-band lowpass (cutoff fs/4, 4k + 3 taps; centre tap 0.5, every second tap from it 0) by "
        "the Vaidyanathan-Nguyen method, pass band 0 .. --f1");
    app.add_flag("--alias-bands", r.aliasBands,
                 "With --decimate or --interpolate: stop only the bands that fold onto the pass band, k fs/M -+ f1 "
                 "(fewer taps)");
}

std::optional<double> ParseAliasStopBand(const std::string& text)
{
    const std::string prefix = "alias:";
    if (text.rfind(prefix, 0) != 0 || text.size() == prefix.size())
        return std::nullopt;
    double db = 0.0;
    const char* begin = text.data() + prefix.size();
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, db);
    if (ec != std::errc() || ptr != end || !std::isfinite(db) || !(db > 0.0))
        return std::nullopt;
    return db;
}

std::string CheckMultirateOptions(const CliOptions& o)
{
    const MultirateCliRequest& r = o.multirate;
    if (!r.kind) {
        if (r.aliasBands)
            return "--alias-bands needs --decimate or --interpolate";
        if (r.aliasAttenuationDb)
            return "--stop-band alias:ATTEN_DB needs --decimate, --interpolate or --halfband";
        return {};
    }
    // Checked here rather than as CLI11 exclusions, whose help text lists
    // them in no fixed order.
    if (r.kindsGiven > 1)
        return "give one of --decimate, --interpolate and --halfband";
    const std::string kind = KindOption(*r.kind);
    const std::pair<bool, const char*> unused[] = {
        {o.docPath.has_value(), "--doc"},        {o.preset.has_value(), "--preset"},
        {o.inputFile.has_value(), "--input"},    {o.makeRoot.has_value(), "--make"},
        {o.svgDir.has_value(), "--svg"},
        {o.windowOnly, "--window-only"},         {o.noDesign, "--no-design"},
        {!o.bands.empty(), "--band"},            {o.secondCorner.has_value(), "--f2"},
        {o.irScaling.has_value(), "--scaling"},  {o.scale.has_value(), "--scale"},
        {o.sinXComp, "--sinx"},                  {o.diffGain.has_value(), "--gain"},
        {o.variance.has_value(), "--sigma"},
        {o.filterType.has_value() && *o.filterType != FT_LOWPASS, "--type"}};
    for (const auto& [given, name] : unused)
        if (given)
            return kind + " designs a lowpass of its own without the form; leave " + name + " out";
    if (!o.samplingRate)
        return kind + " needs --fs, the high rate";
    const bool halfband = *r.kind == MultirateKind::Halfband;
    if (o.designMethod && *o.designMethod != DM_REMEZ && (halfband || *o.designMethod != DM_SINC))
        return halfband ? "--halfband designs with the Remez exchange; leave --method out or give remez"
                        : kind + " designs with --method remez or sinc";
    if (halfband && r.aliasBands)
        return "--halfband has one alias band, fs/2 - f1 .. fs/2, already; leave --alias-bands out";
    if (!o.toSpec) {
        if (!o.taps || !o.firstCorner)
            return kind + " needs --taps and --f1, the pass-band edge (or --to-spec)";
        if (r.aliasAttenuationDb)
            return "--stop-band alias:ATTEN_DB needs --to-spec";
        return {};
    }
    const std::pair<bool, const char*> chosen[] = {{o.taps.has_value(), "--taps"},
                                                   {o.firstCorner.has_value(), "--f1"},
                                                   {o.windowType.has_value(), "--window"},
                                                   {o.shapeFactor.has_value(), "--beta"},
                                                   {o.stopbandAtt.has_value(), "--att"}};
    for (const auto& [given, name] : chosen)
        if (given)
            return std::string("--to-spec chooses what ") + name + " sets; leave " + name + " out";
    int passBands = 0, stopBands = 0;
    for (const SpecBand& b : o.specBands) {
        if (b.kind == BandKind::Pass) {
            ++passBands;
            if (b.loHz != 0.0)
                return "--to-spec with " + kind + ": the pass band starts at 0 (--pass-band 0:FP:RIPPLE_DB)";
        } else {
            ++stopBands;
        }
    }
    if (passBands != 1)
        return "--to-spec with " + kind + " takes one --pass-band 0:FP:RIPPLE_DB";
    if ((stopBands > 0) == r.aliasAttenuationDb.has_value())
        return "--to-spec with " + kind +
               " takes --stop-band alias:ATTEN_DB (the derived stop bands) or explicit stop bands, one of the two";
    if (halfband && stopBands > 0)
        return "--to-spec with --halfband takes --stop-band alias:ATTEN_DB (the band fs/2 - FP .. fs/2)";
    return {};
}
