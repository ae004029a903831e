#pragma once

#include <functional>
#include <span>

#include "dsp/WordOptimization.h"

// The fewest bits per coefficient at a given number of taps: the shortest
// word (2 .. 32 bits, fraction length given or chosen from the peak tap as
// QuantizeTaps chooses it) whose words meet the requirement, rounded or
// chosen by OptimizeWords.

// Called before each word length is tried; false stops the search.
using WordLengthProgress = std::function<bool(int bits)>;

enum class WordLengthStatus {
    Met,            // bits meets, bits - 1 does not (or bits is 2)
    Unreachable,    // 32 bits miss: the best words of 32 bits are given
    Cancelled,      // stopped; the shortest words found to meet so far, if any
    BadFormat,      // not a QuantFormat::Bits format, or a fraction length out of range
    BadRequirement,
    NonFinite,
    NoTaps,
};

struct WordLengthResult {
    WordLengthStatus status = WordLengthStatus::NoTaps;
    int bits = 0;             // Met: the fewest bits
    WordResult words;         // the words of that length (Unreachable: of 32 bits)
    int tried = 0;            // word lengths tried
};

// Tries the word lengths from the shortest up and returns the first that
// meets: for rounding (optimise false) from 2 bits, since rounding does not
// always improve with the length; for words chosen by OptimizeWords with
// options, from six bits below the length rounding needs (from 2 when no
// rounding meets). format gives the fraction length (or none) and the
// rounding; its word length is not used.
WordLengthResult SearchFewestBits(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format,
                                  bool optimise, const WordOptions& options = {},
                                  const WordLengthProgress& progress = {});
