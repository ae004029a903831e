#include "cli/CliParser.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <functional>

#include "cli/AnalysisOptions.h"
#include "cli/CliManPage.h"
#include "cli/ForeignTapsOptions.h"
#include "cli/CliNumbers.h"
#include "cli/MethodOptions.h"
#include "cli/MultirateOptions.h"
#include "cli/RequirementOptions.h"
#include "cli/WordCliOptions.h"
#include "document/CFilPar.h"
#include "document/DocumentMessages.h"
#include "form/CRemezDlg.h"
#include "form/CFloatKeys.h"

namespace {

// Longest texts the fields take from typing; a longer option would be cut
// silently by the edit, so the command line refuses it instead.
constexpr size_t kScaleChars = 8;
constexpr size_t kGainChars = 8;
constexpr size_t kVarianceChars = 5;
// The band dialog's value and weight edits take at most this many characters.
constexpr size_t kBandNumberChars = 8;

template <size_t N>
std::vector<std::string> EntriesOf(const char* const (&names)[N])
{
    return std::vector<std::string>(names, names + N);
}

// The form's four methods and the ones designed beside the form.
std::vector<std::string> AllMethodEntries()
{
    std::vector<std::string> entries = EntriesOf(kDesignMethodNames);
    entries.push_back("Least Squares");
    return entries;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : "") + names[i];
    return text;
}

// The edits of the integer fields take digits only.
CLI::Validator DigitsOnly()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            for (unsigned char c : text)
                if (!std::isdigit(c))
                    return "'" + text + "' is not a whole number (the field takes the digits 0-9 only)";
            return {};
        },
        "");
}

// A text for an edit that holds at most maxChars characters; a longer one
// would be cut and name something else.
CLI::Validator MaxChars(size_t maxChars)
{
    return CLI::Validator(
        [maxChars](std::string& text) -> std::string {
            if (text.size() > maxChars)
                return "'" + text + "' is longer than the field's " + std::to_string(maxChars) + " characters";
            return {};
        },
        "");
}

// The floating-point edits pass only what their keystroke filter lets through.
CLI::Validator FloatKeys(size_t maxChars)
{
    return CLI::Validator(
        [maxChars](std::string& text) -> std::string {
            for (unsigned char c : text)
                if (c == 8 || !CFloatKeys::IsAccepted(c))
                    return "'" + text + "' cannot be typed (the field takes the digits, '+', '-' and '.' only)";
            return MaxChars(maxChars)(text);
        },
        "");
}

// A choice by name or index; the value is rewritten to the index.
CLI::Validator Choice(const std::vector<std::string>& names, const std::vector<std::string>& entries)
{
    return CLI::Validator(
        [names, entries](std::string& text) -> std::string {
            std::optional<int> index = CliParser::ChoiceIndex(text, names, entries);
            if (!index)
                return "'" + text + "' is not one of " + Joined(names) + " or 0.." +
                       std::to_string(names.size() - 1);
            text = std::to_string(*index);
            return {};
        },
        "");
}

// A band as four texts the band dialog's edits can take.
CLI::Validator BandCheck()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (!CliParser::ParseBand(text))
                return "'" + text + "' is not LO:HI:VALUE:WEIGHT (whole hertz, then two numbers of digits, "
                       "'+', '-' and '.')";
            return {};
        },
        "");
}

CLI::Validator GainChoice()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const std::string key = Lower(text);
            if (key == "pi" || key == "pi/2" || text == "1")
                return {};
            return FloatKeys(kGainChars)(text);
        },
        "");
}

void AddChoice(CLI::App& app, const std::string& name, const std::string& help,
               const std::vector<std::string>& names, const std::vector<std::string>& entries,
               std::optional<int>& target)
{
    app.add_option_function<int>(name, [&target](const int& index) { target = index; },
                                 help + " (" + Joined(names) + ", or the index)")
        ->type_name("NAME|INDEX")
        ->transform(Choice(names, entries))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void AddText(CLI::App& app, const std::string& name, const std::string& value, const std::string& help,
             const CLI::Validator& check, std::optional<std::string>& target)
{
    app.add_option_function<std::string>(name, [&target](const std::string& text) { target = text; }, help)
        ->type_name(value)
        ->check(check)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void Describe(CLI::App& app, CliOptions& o)
{
    app.description(
        "Designs one FIR filter without a display: the options are typed into the main form as a user "
        "would type them, then Design (or Extras > Window) runs.");
    app.footer(
        "Exit status: 0 for a valid design, 1 when a message refused the command, 2 for a usage error.\n"
        "Every message box is printed on stderr.");

    AddChoice(app, "--type", "Filter type", kCliFilterTypes, EntriesOf(kFilterTypeNames), o.filterType);
    AddChoice(app, "--method", "Design method (ls: least squares, designed without the form)", kCliAllDesignMethods,
              AllMethodEntries(), o.designMethod);
    AddChoice(app, "--window", "Window", kCliWindowTypes, EntriesOf(kWindowTypeNames), o.windowType);
    AddText(app, "--taps", "N", "Number of taps (4..1025)", DigitsOnly(), o.taps);
    AddText(app, "--fs", "HZ", "Sampling rate in whole hertz", DigitsOnly(), o.samplingRate);
    AddText(app, "--f1", "HZ", "First corner frequency in whole hertz, below fs/2", DigitsOnly(), o.firstCorner);
    AddText(app, "--f2", "HZ", "Second corner frequency in whole hertz, below fs/2", DigitsOnly(), o.secondCorner);
    AddChoice(app, "--scaling", "Impulse response scaling", kCliScalings, EntriesOf(kIRScalingNames), o.irScaling);
    AddText(app, "--scale", "TEXT", "Impulse response scale text (0.1..10.0, used by custom scaling)",
            FloatKeys(kScaleChars), o.scale);
    app.add_flag("--sinx", o.sinXComp, "Turn sin(x)/x compensation on");

    AddText(app, "--att", "DB", "Dolph-Chebyshev stopband attenuation in dB (10..100)", DigitsOnly(), o.stopbandAtt);
    AddText(app, "--beta", "TEXT", "Kaiser shape factor (0.00..20.00)", FloatKeys(SIZE_MAX), o.shapeFactor);
    AddText(app, "--gain", "pi|pi/2|1|TEXT", "Differentiator gain at fs/2: pi, pi/2, 1, or a value 0.1..10.0", GainChoice(),
            o.diffGain);
    AddText(app, "--sigma", "TEXT", "Gaussian edge variance (0.1..3.0)", FloatKeys(kVarianceChars), o.variance);

    AddText(app, "--doc", "FILE", "Open this .fir design first (File > Open)", CLI::Validator(), o.docPath);
    AddText(app, "--preset", "INDEX|TEXT",
            "Target Filter entry by index or text; other text is typed into the combo's edit field",
            CLI::Validator(), o.preset);
    app.add_option_function<std::vector<std::string>>(
           "--band",
           [&o](const std::vector<std::string>& texts) {
               o.bands.clear();
               for (const std::string& text : texts)
                   o.bands.push_back(*CliParser::ParseBand(text));
           },
           "Remez band LO:HI:VALUE:WEIGHT (Hz, Hz, 0.00..1.00, 1.00..100.00 as the band dialog takes it, any "
           "weight above 0 with the methods beside the form's); repeat for rows 1, 2, ...")
        ->type_name("LO:HI:VALUE:WEIGHT")
        ->check(BandCheck())
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    AddText(app, "--grid", "N", "Remez grid density (8..64)", DigitsOnly(), o.gridDensity);
    AddText(app, "--input", "FILE",
            "Read File before the design: one number a line, at most 512, the desired magnitude from 0 Hz to fs/2 "
            "(frequency sampling)",
            CLI::Validator(), o.inputFile);
    AddForeignTapsOption(app, o);
    app.add_flag("--window-only", o.windowOnly, "Run Extras > Window instead of Design");
    app.add_flag("--no-design", o.noDesign, "Run neither Design nor Extras > Window (inspect or convert a document)");
    AddText(app, "--make", "ROOT", "Make File after the design: path and name of the .h and source files, no extension",
            MaxChars(kMaxRootLength), o.makeRoot);
    AddChoice(app, "--ext", "Source file extension for --make", kCliExtensions, kCliExtensionEntries, o.outExt);
    AddChoice(app, "--format", "Number format for --make", kCliNumberFormats, kCliNumberFormatEntries, o.numFormat);
    AddExportOptions(app, o.exportRequest);
    AddText(app, "--save", "FILE", "Save the document at the end (File > Save As; .fir is added when missing)",
            CLI::Validator(), o.savePath);
    app.get_option("--window-only")->excludes("--no-design");
    app.add_flag("--json", o.json, "Print one JSON object with the whole result instead of the coefficients");
    AddAnalysisOptions(app, o.analysis);
    app.add_option_function<std::string>("--svg", [&o](const std::string& dir) { o.svgDir = dir; },
                                         "Write the four plots as magnitude.svg, phase.svg, impulse.svg and step.svg "
                                         "(568 x 312, as painted on screen) into the folder DIR, created when missing")
        ->type_name("DIR")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    AddSpecOptions(app, o);
    AddWordOptions(app, o);
    AddMethodOptions(app, o);
    AddMultirateOptions(app, o);
}

}  // namespace

std::optional<int> CliParser::ChoiceIndex(const std::string& text, const std::vector<std::string>& names,
                                          const std::vector<std::string>& entries)
{
    const std::string key = Lower(text);
    for (const auto* list : {&names, &entries})
        for (size_t i = 0; i < list->size(); ++i)
            if (Lower((*list)[i]) == key)
                return static_cast<int>(i);
    if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), [](unsigned char c) {
            return std::isdigit(c);
        }))
        return std::nullopt;
    const int index = std::stoi(text);
    if (index >= static_cast<int>(names.size()))
        return std::nullopt;
    return index;
}

std::optional<CliOptions::Band> CliParser::ParseBand(const std::string& text)
{
    const std::vector<std::string> parts = ColonFields(text);
    if (parts.size() != 4)
        return std::nullopt;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || (i >= 2 && parts[i].size() > kBandNumberChars))
            return std::nullopt;
        for (unsigned char c : parts[i]) {
            const bool ok = i < 2 ? std::isdigit(c) != 0 : (c != 8 && CFloatKeys::IsAccepted(c));
            if (!ok)
                return std::nullopt;
        }
    }
    return CliOptions::Band{parts[0], parts[1], parts[2], parts[3]};
}

CliParser::Result CliParser::Parse(int argc, const char* const* argv, CliOptions& options)
{
    CliOptions parsed;
    CLI::App app("", "zantro-cli");
    Describe(app, parsed);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {Status::Help, app.help()};
    } catch (const CLI::ParseError& e) {
        return {Status::UsageError, std::string("zantro-cli: ") + e.what() + "\n\n" + app.help()};
    }
    // The band dialog has eight rows; a ninth band would be dropped.
    if (parsed.bands.size() > static_cast<size_t>(CRemezDlg::kRows))
        return {Status::UsageError, "zantro-cli: --band: " + std::to_string(parsed.bands.size()) +
                                        " bands given, the band dialog holds at most " +
                                        std::to_string(CRemezDlg::kRows) + "\n\n" + app.help()};
    if ((parsed.toSpec || parsed.coefficientsFile) && app.count("--quantize"))
        parsed.specQuantize = parsed.analysis.quantize;
    if (const std::string why = CheckForeignTapsOptions(app, parsed); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    if (const std::string why = CheckMethodOptions(parsed); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    if (const std::string why = CheckSpecOptions(parsed); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    if (const std::string why = CheckWordOptions(app, parsed); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    if (const std::string why = CheckMultirateOptions(parsed); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    if (const std::string why = CheckExportOptions(app, parsed.exportRequest); !why.empty())
        return {Status::UsageError, "zantro-cli: " + why + "\n\n" + app.help()};
    options = std::move(parsed);
    return {Status::Run, {}};
}

std::string CliParser::ManPage(const std::string& templateText)
{
    CliOptions unused;
    CLI::App app("", "zantro-cli");
    Describe(app, unused);
    return FillManPage(templateText, app);
}

std::string CliParser::Usage()
{
    CliOptions unused;
    CLI::App app("", "zantro-cli");
    Describe(app, unused);
    return app.help();
}
