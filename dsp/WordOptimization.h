#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "dsp/TapQuantization.h"
#include "dsp/WordRequirement.h"

// Fixed-point words chosen to meet a requirement rather than rounded: the
// integer words of a word format (word length and fraction length as
// QuantizeTaps picks them) whose response meets the requirement
// (WordRequirement.h), or, when no words found do, those with the largest
// margin. Symmetric and antisymmetric taps keep their symmetry; other taps
// (minimum phase) are free one by one.
//
// Two starts are improved and the better kept: the words rounded to
// nearest, and the words of the lattice method (WordLattice.h). Each is
// improved by a local search on a grid of 8 points per tap plus the band
// edges: single words moved by one step while that raises the margin, then
// pairs of words; the peaks of the result are then found between the grid
// points and added to the grid, and the search goes on, until the words
// measured as MeasureResponse measures them hold the margin the grid gives.
// The work is bounded by a count of point evaluations, so the words found
// are the same on any machine; a progress callback may stop it sooner.

// Called now and then with the share of the work done (0 .. 1) and the best
// margin so far; false stops the optimisation, which returns the best words
// found until then (status Cancelled).
using WordProgress = std::function<bool(double done, double margin)>;

struct WordOptions {
    bool latticeStart = true;  // false: the rounded words only
    bool localSearch = true;   // false: the better start as it is
    bool pairMoves = true;     // moves of two words at once when single ones fail
    // Point evaluations allowed per start, in millions; 0: the default
    // (kDefaultWordEffort).
    double effort = 0.0;
    WordProgress progress;
};

inline constexpr double kDefaultWordEffort = 30.0;

enum class WordStatus {
    Met,             // the words meet the requirement
    Missed,          // the best words found miss it (largest margin)
    Cancelled,       // stopped by the progress callback; the best words so far
    BadFormat,       // the word format is not valid (QuantizeTaps refused it)
    BadRequirement,  // CheckWordRequirement failed
    NonFinite,       // a tap is not finite
    NoTaps,
};

// Where the words came from.
enum class WordStart { Rounded, Lattice };

struct WordResult {
    WordStatus status = WordStatus::NoTaps;
    // The words written: taps, values, word and fraction length, shift as
    // QuantizeTaps gives them, figures measured on the requirement's bands;
    // maxErrorLsb their largest distance from the double taps in steps.
    QuantResult words;
    WordJudgement judgement;   // of words
    // The format's own rounding of the same taps, judged the same way.
    QuantResult rounded;
    WordJudgement roundedJudgement;
    WordStart start = WordStart::Rounded;
    double latticeMargin = 0.0;   // the lattice's words before the search (grid margin); -inf without
    double evaluations = 0.0;     // point evaluations spent
    int refinements = 0;          // rounds of peaks added to the grid
};

WordResult OptimizeWords(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format,
                         const WordOptions& options = {});
// The format's own rounding (QuantizeTaps) in the same form: words and
// rounded alike, judged; status Met or Missed unless the input is refused.
WordResult RoundWords(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format);

// "met", "missed", "cancelled", or what was wrong.
std::string WordStatusText(WordStatus status);
