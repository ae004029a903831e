#include "dsp/WordLengthSearch.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kFewestBits = 2;
constexpr int kMostBits = 32;
// Chosen words are tried from this many bits below the length rounding
// needs (they have saved up to four on the benchmark set).
constexpr int kBitsBelowRounding = 6;

WordLengthStatus StatusOf(WordStatus s) {
    switch (s) {
    case WordStatus::BadFormat:
        return WordLengthStatus::BadFormat;
    case WordStatus::BadRequirement:
        return WordLengthStatus::BadRequirement;
    case WordStatus::NonFinite:
        return WordLengthStatus::NonFinite;
    case WordStatus::NoTaps:
        return WordLengthStatus::NoTaps;
    default:
        return WordLengthStatus::Cancelled;
    }
}

}  // namespace

WordLengthResult SearchFewestBits(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format,
                                  bool optimise, const WordOptions& options, const WordLengthProgress& progress) {
    WordLengthResult result;
    if (format.format != QuantFormat::Bits) {
        result.status = WordLengthStatus::BadFormat;
        return result;
    }
    std::map<int, WordResult> tried;
    bool cancelled = false;
    // The words of a length, each length worked out once.
    auto words = [&](int bits) -> const WordResult* {
        const auto seen = tried.find(bits);
        if (seen != tried.end()) {
            return &seen->second;
        }
        if (progress && !progress(bits)) {
            cancelled = true;
            return nullptr;
        }
        QuantSpec q = format;
        q.wordLength = bits;
        WordResult r = optimise ? OptimizeWords(taps, req, q, options) : RoundWords(taps, req, q);
        if (r.status == WordStatus::Cancelled) {
            cancelled = true;
        }
        ++result.tried;
        return &tried.emplace(bits, std::move(r)).first->second;
    };
    const WordResult* top = words(kMostBits);
    if (!top) {
        result.status = WordLengthStatus::Cancelled;
        return result;
    }
    if (top->status != WordStatus::Met && top->status != WordStatus::Missed) {
        result.status = StatusOf(top->status);
        result.words = *top;
        return result;
    }
    if (top->status == WordStatus::Missed) {
        result.status = WordLengthStatus::Unreachable;
        result.bits = kMostBits;
        result.words = *top;
        return result;
    }
    // Rounding is cheap and does not always improve with the length:
    // every length is tried from the shortest up. Chosen words are costly;
    // they are tried upward from a few bits below the length rounding
    // needs, the shortest that can plausibly meet.
    int from = kFewestBits;
    if (optimise) {
        const WordLengthResult rounded = SearchFewestBits(taps, req, format, false);
        from = rounded.status == WordLengthStatus::Met ? std::max(kFewestBits, rounded.bits - kBitsBelowRounding)
                                                       : kFewestBits;
    }
    int met = kMostBits;
    for (int bits = from; bits < kMostBits && !cancelled; ++bits) {
        const WordResult* r = words(bits);
        if (!r || cancelled) {
            break;
        }
        if (r->status == WordStatus::Met) {
            met = bits;
            break;
        }
    }
    result.bits = met;
    result.words = tried.at(met);
    result.status = cancelled ? WordLengthStatus::Cancelled : WordLengthStatus::Met;
    return result;
}
