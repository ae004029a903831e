#pragma once

#include <iosfwd>
#include <optional>

#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "cli/CliOptions.h"
#include "design/WordChoice.h"
#include "dsp/WordLengthSearch.h"

namespace CLI {
class App;
}

// --optimize-words and --fewest-bits: fixed-point words chosen for a
// requirement rather than rounded, and the shortest word that meets one.

// Adds --optimize-words and --fewest-bits to the command line.
void AddWordOptions(CLI::App& app, CliOptions& o);

// Empty when the options go together; otherwise the usage error: neither
// applies to a rate change; --fewest-bits needs --pass-band and
// --stop-band and chooses what --quantize and --word-length set.
std::string CheckWordOptions(const CLI::App& app, const CliOptions& o);

// What --optimize-words asks for: words of the --quantize format (Q15
// unless given) chosen for the --pass-band and --stop-band limits, or, with
// none, for the design's own figures; none without --optimize-words.
std::optional<WordRequest> WordRequestOf(const CliOptions& o);

// The words --optimize-words chooses for taps at fs (Hz), bands the mask a
// requirement derived from the taps is measured on, in format.
std::optional<ChosenWords> ChosenWordsFor(const CliOptions& o, std::span<const double> taps, double fs,
                                          std::span<const MaskBand> bands, const QuantSpec& format);

// --fewest-bits on taps at fs: the shortest word (fraction length from the
// peak tap, the --rounding) whose words, chosen with --optimize-words or
// else rounded, meet the requirement; and the message that says so ("At
// 47 taps the fewest bits that meet the requirement are 11 (optimised
// words; rounded words need 14).").
struct FewestBitsRun {
    bool optimized = false;    // --optimize-words
    WordLengthResult chosen;   // the words the run writes: optimised with --optimize-words, else rounded
    WordLengthResult rounded;  // rounding's, for comparison
    std::string message;
};
FewestBitsRun FewestBitsFor(const CliOptions& o, std::span<const double> taps, double fs);

// --json's "fewest_bits": "optimized" (chosen words or rounded), "status"
// ("met", "unreachable"), "bits" (null unless met), "rounded_bits" (null
// unless rounding meets within 32 bits) and "margin" of the words found.
nlohmann::ordered_json FewestBitsJson(const FewestBitsRun& run);

// The word options on a run outside the form (a method beside the form's,
// taps read from a file): --fewest-bits' search with its message on err,
// and the formats that follow from it.
struct WordRun {
    std::optional<FewestBitsRun> fewest;  // with --fewest-bits
    bool ok = true;                       // false: no word of up to 32 bits meets the requirement
    QuantSpec analysisFormat;             // --quantize, or the fewest bits found
    int exportWordLength = 16;            // --word-length, or the fewest bits found
};
WordRun RunWords(const CliOptions& o, std::span<const double> taps, double fs, std::ostream& err);
