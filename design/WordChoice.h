#pragma once

#include <span>
#include <string>
#include <vector>

#include "dsp/OrderEstimate.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"
#include "dsp/WordLengthSearch.h"
#include "dsp/WordOptimization.h"

// Fixed-point words chosen to meet a requirement instead of rounded: what
// a design asks for, and what it got. The same for the form, zantro-cli,
// the Python module and every fixed-point export.

// What the user asks: words of this format, chosen for these bands' limits
// (pass bands: ripple at most limitDb; stop bands: attenuation at least
// limitDb). Without bands the words are chosen to come as close as they
// can to the design's own figures on its mask: each band's achieved ripple
// or attenuation is its limit, so the double-precision taps have a margin
// of 0 and the words a margin below it, as small as they can make it.
struct WordRequest {
    QuantSpec format;
    std::vector<SpecBand> requirement;  // in any order; empty: the design's own figures
};

struct ChosenWords {
    WordRequest request;
    WordRequirement requirement;  // as judged: the bands given, or the design's own figures on its mask
    bool derived = false;         // requirement from the design's own figures
    WordResult result;            // the words (result.words), their judgement, and rounding's
};

// Chooses the words of taps (fs in Hz) for the request; mask: the bands a
// requirement derived from the design's figures is measured on.
ChosenWords ChooseWords(std::span<const double> taps, double fs, std::span<const MaskBand> mask,
                        const WordRequest& request, const WordOptions& options = {});

// The same words for another format: the request's requirement as judged,
// unless the chosen words already are of that format.
ChosenWords ChooseWordsAgain(std::span<const double> taps, const ChosenWords& chosen, const QuantSpec& format);

// Whether words are of a format: word length, fraction length (given or
// as QuantizeTaps picks it for the taps) and Make File's format alike.
bool SameWordFormat(const QuantResult& words, std::span<const double> taps, const QuantSpec& format);

// One line for a summary: "Words chosen to meet the requirement (margin
// 0.214 of the tightest band's allowed deviation left; rounded: -0.630)".
std::string ChosenWordsText(const ChosenWords& chosen);

// The fewest bits at a design's taps: the shortest word (fraction length
// from the peak tap, rounding as given) whose words, chosen for the
// requirement (optimise) or rounded, meet it; rounding's too, for
// comparison; and the sentence that says so ("At 47 taps the fewest bits
// that meet the requirement are 11 (optimised words; rounded words need 14
// bits).").
struct FewestBitsResult {
    bool optimized = false;
    WordLengthResult chosen;   // the words found: chosen when optimised, else rounded
    WordLengthResult rounded;  // rounding's
    std::string message;
};
FewestBitsResult FindFewestBits(std::span<const double> taps, const SpecRequirement& req, QuantRounding rounding,
                          bool optimise);
