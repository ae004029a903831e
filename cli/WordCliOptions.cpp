#include "cli/WordCliOptions.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/RequirementOptions.h"

namespace {

QuantSpec WordsOfLength(int bits, QuantRounding rounding)
{
    QuantSpec q;
    q.format = QuantFormat::Bits;
    q.wordLength = bits;
    q.rounding = rounding;
    return q;
}

}  // namespace

void AddWordOptions(CLI::App& app, CliOptions& o)
{
    app.add_flag("--optimize-words", o.optimizeWords,
                 "Fixed-point words chosen to meet the --pass-band and --stop-band limits (without them, to come "
                 "closest to the design's own figures) rather than rounded: the JSON analysis's \"optimized\" "
                 "object, every fixed-point --export, --to-spec's judgement of the --quantize format and "
                 "--fewest-bits");
    app.add_flag("--fewest-bits", o.fewestBits,
                 "The fewest bits per coefficient whose words (optimised with --optimize-words, else rounded) meet "
                 "the --pass-band and --stop-band limits at the design's taps; the JSON analysis and the exports "
                 "then take that word length (leave --quantize and --word-length out)");
}

std::string CheckWordOptions(const CLI::App& app, const CliOptions& o)
{
    if ((o.optimizeWords || o.fewestBits) && o.multirate.kind)
        return std::string(o.optimizeWords ? "--optimize-words" : "--fewest-bits") +
               " applies to single-rate designs: a rate change's polyphase words are rounded";
    if (!o.fewestBits)
        return {};
    for (const char* name : {"--quantize", "--word-length"})
        if (app.count(name))
            return std::string("--fewest-bits chooses the word length; leave ") + name + " out";
    if (o.specBands.empty())
        return "--fewest-bits needs the requirement: --pass-band and --stop-band";
    if (o.multirate.aliasAttenuationDb)
        return "--fewest-bits: give the stop bands as LO:HI:ATTEN_DB";
    return {};
}

std::optional<WordRequest> WordRequestOf(const CliOptions& o)
{
    if (!o.optimizeWords)
        return std::nullopt;
    WordRequest request;
    request.format = o.analysis.quantize;
    request.requirement = o.specBands;
    return request;
}

std::optional<ChosenWords> ChosenWordsFor(const CliOptions& o, std::span<const double> taps, double fs,
                                          std::span<const MaskBand> bands, const QuantSpec& format)
{
    std::optional<WordRequest> request = WordRequestOf(o);
    if (!request || taps.empty())
        return std::nullopt;
    request->format = format;
    return ChooseWords(taps, fs, bands, *request);
}

FewestBitsRun FewestBitsFor(const CliOptions& o, std::span<const double> taps, double fs)
{
    FewestBitsRun run;
    run.optimized = o.optimizeWords;
    const WordRequirement req = WordRequirementOf(RequirementOf(o, fs));
    const QuantSpec format = WordsOfLength(16, o.analysis.quantize.rounding);
    run.rounded = SearchFewestBits(taps, req, format, false);
    run.chosen = o.optimizeWords ? SearchFewestBits(taps, req, format, true) : run.rounded;
    const std::string at = "At " + std::to_string(taps.size()) + " taps ";
    const std::string rounded = run.rounded.status == WordLengthStatus::Met
                                    ? "rounded words need " + std::to_string(run.rounded.bits) + " bits"
                                    : "rounded words of up to 32 bits miss it";
    if (run.chosen.status != WordLengthStatus::Met) {
        // Say when the taps themselves are the reason, not the words.
        const bool tapsMiss = !JudgeWords(taps, req).met;
        run.message = at + "no word of up to 32 bits meets the requirement (" +
                      (o.optimizeWords ? "optimised" : "rounded") + " words" +
                      (tapsMiss ? "; the double-precision taps miss it too)." : ").");
    } else {
        run.message = at + "the fewest bits that meet the requirement are " + std::to_string(run.chosen.bits) +
                      (o.optimizeWords ? " (optimised words; " + rounded + ")."
                                       : " (rounded words).");
    }
    return run;
}

nlohmann::ordered_json FewestBitsJson(const FewestBitsRun& run)
{
    auto bits = [](const WordLengthResult& r) {
        return r.status == WordLengthStatus::Met ? nlohmann::ordered_json(r.bits) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json out;
    out["optimized"] = run.optimized;
    out["status"] = run.chosen.status == WordLengthStatus::Met ? "met" : "unreachable";
    out["bits"] = bits(run.chosen);
    out["rounded_bits"] = bits(run.rounded);
    out["margin"] = run.chosen.words.judgement.margin;
    return out;
}

WordRun RunWords(const CliOptions& o, std::span<const double> taps, double fs, std::ostream& err)
{
    WordRun run;
    run.analysisFormat = o.analysis.quantize;
    run.exportWordLength = o.exportRequest.wordLength;
    if (!o.fewestBits || taps.empty())
        return run;
    run.fewest = FewestBitsFor(o, taps, fs);
    err << run.fewest->message << '\n';
    if (run.fewest->chosen.status != WordLengthStatus::Met) {
        run.ok = false;
        return run;
    }
    run.analysisFormat = run.fewest->chosen.words.words.quantSpec;
    run.exportWordLength = run.fewest->chosen.bits;
    return run;
}
