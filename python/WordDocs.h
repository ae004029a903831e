#pragma once

inline constexpr const char* kOptimizeWordsDoc = R"(optimize_words(taps, fs, quantize, *, pass_bands=None, stop_bands=None, bands=None, rounding="nearest") -> dict

The integer words of a fixed-point format chosen so that the filter they
make meets a requirement, rather than the taps rounded: zantro-cli
--optimize-words's "optimized" object. Symmetric taps stay symmetric and
exact zeros stay zero; the words never do worse than rounding.

taps        a sequence or 1-d array of numbers
fs          the sampling rate in Hz
quantize    "q7", "q15", "q31" or a word length 2..32 (fraction bits from
            the peak tap)
pass_bands  (lo_hz, hi_hz, max_ripple_db) rows
stop_bands  (lo_hz, hi_hz, min_attenuation_db) rows
bands       without pass_bands and stop_bands: measurement bands as
            measure() takes them; the words come as close as they can to
            the taps' own figures there
rounding    "nearest" or "truncate", for the rounded words compared

Returns the words ("taps"), "word_length", "fraction_length", their
figures on the requirement's bands, "status" ("met" or "missed"), "met",
"margin" (the share of the tightest band's allowed deviation left unused;
below 0 past the limit), "rounded_margin" and "rounded_met" of the rounded
words, "band_margins", "whole_response", "requirement" and
"requirement_derived". DesignError for bands outside 0..fs/2, limits not
above 0, taps that are not finite or a format that cannot hold them. The
GIL is released while choosing.)";

inline constexpr const char* kFewestBitsDoc = R"(fewest_bits(taps, fs, *, pass_bands=None, stop_bands=None, optimize=True, rounding="nearest") -> dict

The shortest word (2..32 bits, fraction bits from the peak tap) whose
words meet the requirement at these taps, as zantro-cli --fewest-bits
finds it: words chosen by optimize_words() when optimize, else rounded.

Returns zantro-cli's "fewest_bits" object: "optimized", "status" ("met" or
"unreachable"), "bits" and "rounded_bits" (None unless met), "margin",
"message" ("At 71 taps the fewest bits that meet the requirement are 13
(optimised words; rounded words need 15 bits).") and "words", the words
found as quantize() describes them (of 32 bits when none meets).)";
