#include "cli/MethodOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "cli/CliNumbers.h"
#include "dsp/DesignKinds.h"

namespace {

std::optional<int> Whole(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.size() > 6 || ec != std::errc() || ptr != end || text[0] == '-' || text[0] == '+')
        return std::nullopt;
    return value;
}

void AddNumber(CLI::App& app, const std::string& name, const std::string& help, double lo, double hi,
               std::optional<double>& target)
{
    app.add_option_function<std::string>(
           name, [&target](const std::string& text) { target = FiniteNumber(text); }, help)
        ->type_name("X")
        ->check(CLI::Validator(
            [lo, hi](std::string& text) -> std::string {
                const std::optional<double> v = FiniteNumber(text);
                if (!v || *v < lo || *v > hi)
                    return "'" + text + "' is not a number from " + CLI::detail::to_string(lo) + " to " +
                           CLI::detail::to_string(hi);
                return {};
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void AddWhole(CLI::App& app, const std::string& name, const std::string& help, int lo, int hi,
              std::optional<int>& target)
{
    app.add_option_function<std::string>(
           name, [&target](const std::string& text) { target = Whole(text); }, help)
        ->type_name("N")
        ->check(CLI::Validator(
            [lo, hi](std::string& text) -> std::string {
                const std::optional<int> v = Whole(text);
                if (!v || *v < lo || *v > hi)
                    return "'" + text + "' is not a whole number from " + std::to_string(lo) + " to " +
                           std::to_string(hi);
                return {};
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

}  // namespace

std::optional<ResponseShape> ParseCicShape(const std::string& text)
{
    const std::vector<std::string> parts = ColonFields(text);
    if (parts.size() != 3)
        return std::nullopt;
    const std::optional<int> r = Whole(parts[0]), m = Whole(parts[1]), n = Whole(parts[2]);
    if (!r || !m || !n)
        return std::nullopt;
    const ResponseShape shape{ShapeKind::CicInverse, *r, *m, *n};
    if (!ShapeValid(shape))
        return std::nullopt;
    return shape;
}

void AddMethodOptions(CLI::App& app, CliOptions& o)
{
    app.add_flag("--min-phase", o.minPhase,
                 "Minimum phase (--method remez or ls; lowpass, bandpass or bandstop): the linear-phase design of "
                 "2N-1 taps for the squared magnitude, factored into N taps with every zero inside the unit circle");
    app.add_option_function<std::string>(
           "--pulse",
           [&o](const std::string& text) {
               o.pulse = text == "rc" ? PulseShape::RaisedCosine
                         : text == "rrc" ? PulseShape::RootRaisedCosine
                                         : PulseShape::Gaussian;
           },
           "Pulse-shaping filter instead of the form's design: raised cosine, root raised cosine or Gaussian "
           "(GMSK); taps = span x sps + 1")
        ->type_name("rc|rrc|gaussian")
        ->check(CLI::IsMember({"rc", "rrc", "gaussian"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    AddNumber(app, "--rolloff", "Roll-off alpha of --pulse rc or rrc (default 0.35)", 0.0, 1.0, o.rolloff);
    AddNumber(app, "--bt", "Bandwidth-time product of --pulse gaussian (default 0.3)", kPulseMinBt, kPulseMaxBt, o.bt);
    AddWhole(app, "--sps", "Samples per symbol of --pulse (default 8)", kPulseMinSps, kPulseMaxSps, o.sps);
    AddWhole(app, "--span", "Span of --pulse in symbols (default 8; span x sps even)", 1, kPulseMaxSpan, o.span);
    app.add_option_function<std::string>(
           "--pulse-gain",
           [&o](const std::string& text) {
               o.pulseGain = text == "energy" ? PulseNormalisation::UnitEnergy : PulseNormalisation::UnitDcGain;
           },
           "Scaling of --pulse: unit energy (the default) or unit gain at DC; the pulse keeps it (no --scaling)")
        ->type_name("energy|dc")
        ->check(CLI::IsMember({"energy", "dc"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option_function<std::string>(
           "--cic-comp", [&o](const std::string& text) { o.remezShape = ParseCicShape(text); },
           "Remez CIC compensator at the CIC's output rate (--fs): the pass bands follow 1/|H_cic(f)|, weighted "
           "so the ripple is that of the cascade; decimation R, differential delay M, N stages")
        ->type_name("R:M:N")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                if (!ParseCicShape(text))
                    return "'" + text + "' is not R:M:N (whole numbers: R 1..4096, M 1..8, N 1..16)";
                return {};
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_flag_callback(
        "--inverse-sinc", [&o]() { o.remezShape = ResponseShape{ShapeKind::InverseSinc, 1, 1, 1}; },
        "Remez for a zero-order-hold DAC: the pass bands follow x/sin(x), x = pi f/fs, inside the design");
    app.get_option("--inverse-sinc")->excludes("--cic-comp");
}

bool UsesNewMethods(const CliOptions& o)
{
    return o.designMethod == kCliLeastSquares || o.minPhase || o.pulse || o.remezShape;
}

std::string CheckMethodOptions(const CliOptions& o)
{
    const bool pulseOnly = o.rolloff || o.bt || o.sps || o.span || o.pulseGain;
    if (pulseOnly && !o.pulse)
        return "--rolloff, --bt, --sps, --span and --pulse-gain go with --pulse";
    if (o.pulse) {
        if (o.designMethod || !o.bands.empty() || o.minPhase || o.remezShape || o.taps)
            return "--pulse designs its own taps (span x sps + 1): leave out --method, --band, --taps, "
                   "--min-phase, --cic-comp and --inverse-sinc";
        if (o.irScaling || o.scale)
            return "--pulse scales its taps by --pulse-gain (unit energy or unit gain at DC); leave --scaling and "
                   "--scale out";
        if (*o.pulse == PulseShape::Gaussian && o.rolloff)
            return "--rolloff is the raised cosine's; --pulse gaussian takes --bt";
        if (*o.pulse != PulseShape::Gaussian && o.bt)
            return "--bt is the Gaussian's; --pulse rc and rrc take --rolloff";
        if (o.sps.value_or(8) * o.span.value_or(8) % 2 != 0)
            return "--pulse: span x sps must be even (the centre tap on a symbol instant)";
        if (o.sps.value_or(8) * o.span.value_or(8) + 1 > kPulseMaxTaps)
            return "--pulse: span x sps + 1 is more than " + std::to_string(kPulseMaxTaps) + " taps";
    }
    if (o.remezShape && o.designMethod != DM_REMEZ)
        return "--cic-comp and --inverse-sinc shape a Remez design: give --method remez";
    if (o.minPhase && o.designMethod != DM_REMEZ && o.designMethod != kCliLeastSquares)
        return "--min-phase factors a Remez or least-squares design: give --method remez or ls";
    if (!UsesNewMethods(o))
        return {};
    const std::pair<bool, const char*> formOnly[] = {
        {o.toSpec, "--to-spec"},          {o.windowOnly, "--window-only"},  {o.noDesign, "--no-design"},
        {o.docPath.has_value(), "--doc"}, {o.preset.has_value(), "--preset"}, {o.inputFile.has_value(), "--input"},
        {o.makeRoot.has_value(), "--make"}, {o.svgDir.has_value(), "--svg"},  {o.sinXComp, "--sinx"}};
    for (const auto& [given, name] : formOnly)
        if (given)
            return std::string(name) + " works with the form's four methods, not with --method ls, --min-phase, "
                                       "--pulse, --cic-comp or --inverse-sinc";
    return {};
}
