#include "python/ExportBinding.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "document/ExportWriters.h"
#include "document/ForeignTaps.h"
#include "document/HdlFilterPlan.h"
#include "platform/TextFormat.h"
#include "python/DesignBinding.h"
#include "python/DesignError.h"
#include "python/MessageCatcher.h"
#include "python/PyValues.h"
#include "python/WordBinding.h"

namespace {

// A whole number lo..hi; outside, zantro-cli's usage error for the option
// with the keyword named.
int ExportInteger(const py::handle& value, const char* keyword, int lo, int hi)
{
    const int n = WholeFrom(value, keyword);
    if (n < lo || n > hi)
        throw DesignError(std::string(keyword) + ": Value " + std::to_string(n) + " not in range " +
                          std::to_string(lo) + " to " + std::to_string(hi));
    return n;
}

ExportOptions OptionsOf(const std::string& profile, const py::handle& root, const ExportKeywords& k)
{
    const std::optional<ExportProfile> parsed = ParseExportProfile(profile);
    if (!parsed) {
        std::string names;
        for (int i = 0; i < kExportProfileCount; ++i)
            names += (names.empty() ? "" : ", ") + std::string(ExportProfileName(static_cast<ExportProfile>(i)));
        throw DesignError("profile must be one of " + names + ", not \"" + profile + "\"");
    }
    ExportOptions options;
    options.profile = *parsed;
    options.root = PathFrom(root, "root");
    // zantro-cli refuses these ranges as usage errors, whatever the profile.
    options.wordLength = ExportInteger(k.wordLength, "word_length", 2, 32);
    options.rounding = RoundingFrom(k.rounding);
    options.blockSize = ExportInteger(k.block, "block", kMinExportBlockSize, kMaxExportBlockSize);
    options.helium = k.helium;
    options.inputBits = ExportInteger(k.inputBits, "input_bits", kMinHdlInputBits, kMaxHdlInputBits);
    options.outputBits =
        k.outputBits.is_none() ? 0 : ExportInteger(k.outputBits, "output_bits", kMinHdlOutputBits, kMaxHdlOutputBits);
    if (!ParseHdlArchitecture(k.architecture, options.filter.architecture))
        throw DesignError("architecture must be parallel, folded or multiplierless, not \"" + k.architecture + "\"");
    const bool folded = options.filter.architecture == HdlArchitecture::Folded;
    if (!k.clocksPerSample.is_none() && !folded)
        throw DesignError("clocks_per_sample does not apply to architecture " + k.architecture + " (only to folded)");
    if (k.pipeline && folded)
        throw DesignError("pipeline does not apply to architecture folded (only to parallel, multiplierless)");
    if (!k.clocksPerSample.is_none())
        options.filter.clocksPerSample =
            ExportInteger(k.clocksPerSample, "clocks_per_sample", kMinHdlClocksPerSample, kMaxHdlClocksPerSample);
    options.filter.pipeline = k.pipeline;
    options.stream = k.stream;
    options.testbench = k.testbench;
    return options;
}

// The band's edges within 0 .. fs/2, as zantro-cli --coefficients checks them.
void CheckEdges(double lo, double hi, double fs, const char* keyword)
{
    if (lo < 0.0 || hi > fs / 2.0)
        throw DesignError(FormatText("%s: the band %s - %s Hz reaches beyond 0 .. fs/2 = %s Hz", keyword,
                                     NumberText(lo), NumberText(hi), NumberText(fs / 2.0)));
}

// Taps designed elsewhere as the export describes them.
ExportDesign ForeignDesign(const py::handle& taps, const ExportKeywords& k)
{
    const std::vector<double> values = TapsFrom(taps, "taps");
    if (values.size() > static_cast<size_t>(kMaxForeignTaps))
        throw DesignError(FormatText("taps holds %d values; an export takes at most %d taps.",
                                     static_cast<int>(values.size()), kMaxForeignTaps));
    for (double v : values)
        if (!std::isfinite(v))
            throw DesignError("the taps hold values that are not finite numbers");
    if (k.fs.is_none())
        throw DesignError("fs: taps designed elsewhere need their sampling rate in Hz");
    const double fs = NumberFrom(k.fs, "fs");
    if (!(fs > 0.0))
        throw DesignError("fs must be a finite sampling rate above 0 Hz");
    const std::vector<MaskBand> bands = MaskBandsFrom(k.bands);
    for (const MaskBand& b : bands)
        CheckEdges(b.loHz, b.hiHz, fs, "bands");
    std::vector<SpecBand> requirement;
    for (const auto& [rows, kind, keyword] : {std::tuple{&k.passBands, BandKind::Pass, "pass_bands"},
                                              std::tuple{&k.stopBands, BandKind::Stop, "stop_bands"}}) {
        if (rows->is_none())
            continue;
        for (const SpecBand& b : SpecBandsFrom(*rows, kind, keyword)) {
            if (!(b.loHz < b.hiHz) || !(b.limitDb > 0.0))
                throw DesignError(std::string(keyword) + " must be (lo_hz, hi_hz, " +
                                  (kind == BandKind::Pass ? "max_ripple_db" : "min_attenuation_db") +
                                  ") rows with lo_hz < hi_hz and a limit above 0 dB");
            CheckEdges(b.loHz, b.hiHz, fs, keyword);
            requirement.push_back(b);
        }
    }
    std::stable_sort(requirement.begin(), requirement.end(),
                     [](const SpecBand& a, const SpecBand& b) { return a.loHz < b.loHz; });
    const std::string source = k.source.is_none() ? std::string("Python") : py::str(k.source).cast<std::string>();
    py::gil_scoped_release release;
    return ForeignExportDesign(values, fs, source, bands, requirement);
}

}  // namespace

py::list ExportFiles(const py::handle& what, const std::string& profile, const py::handle& root,
                     const ExportKeywords& keywords)
{
    const ExportOptions options = OptionsOf(profile, root, keywords);
    ExportDesign exported;
    if (py::isinstance<PyDesign>(what)) {
        for (const auto& [value, keyword] : {std::pair{&keywords.fs, "fs"}, std::pair{&keywords.bands, "bands"},
                                             std::pair{&keywords.source, "source"}})
            if (!value->is_none())
                throw DesignError(std::string(keyword) +
                                  " describes taps designed elsewhere; a Design has its own: leave it out");
        exported = what.cast<PyDesign&>().ForExport();
    } else {
        exported = ForeignDesign(what, keywords);
    }
    // The words of the export's own word length, chosen for the requirement
    // given (a Design's pass_bands and stop_bands go with optimize_words;
    // taps designed elsewhere are judged by them either way).
    if (keywords.optimizeWords || py::isinstance<PyDesign>(what)) {
        QuantSpec words;
        words.format = QuantFormat::Bits;
        words.wordLength = options.wordLength;
        words.rounding = options.rounding;
        exported.chosenWords =
            ExportWordsOf(exported, keywords.optimizeWords, keywords.passBands, keywords.stopBands, words);
    }
    MessageCatcher messages;
    bool written = false;
    {
        py::gil_scoped_release release;
        written = WriteExport(exported, options, messages.Owner());
    }
    if (!written)
        throw DesignError(messages.Text("The export failed."));
    py::list paths;
    for (const std::string& path : ExportFilePaths(options))
        paths.append(path);
    return paths;
}
