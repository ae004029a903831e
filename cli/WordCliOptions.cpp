#include "cli/WordCliOptions.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/RequirementOptions.h"

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

FewestBitsResult FewestBitsFor(const CliOptions& o, std::span<const double> taps, double fs)
{
    return FindFewestBits(taps, RequirementOf(o, fs), o.analysis.quantize.rounding, o.optimizeWords);
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
