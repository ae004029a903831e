#pragma once

#include <iosfwd>
#include <optional>

#include <span>
#include <string>

#include "cli/CliOptions.h"
#include "design/WordChoice.h"

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

// --fewest-bits on taps at fs (FindFewestBits): the requirement of
// --pass-band and --stop-band, the --rounding, optimised with
// --optimize-words.
FewestBitsResult FewestBitsFor(const CliOptions& o, std::span<const double> taps, double fs);

// The word options on a run outside the form (a method beside the form's,
// taps read from a file): --fewest-bits' search with its message on err,
// and the formats that follow from it.
struct WordRun {
    std::optional<FewestBitsResult> fewest;  // with --fewest-bits
    bool ok = true;                       // false: no word of up to 32 bits meets the requirement
    QuantSpec analysisFormat;             // --quantize, or the fewest bits found
    int exportWordLength = 16;            // --word-length, or the fewest bits found
};
WordRun RunWords(const CliOptions& o, std::span<const double> taps, double fs, std::ostream& err);
