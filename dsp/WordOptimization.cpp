#include "dsp/WordOptimization.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <numbers>
#include <random>

#include "dsp/WordGrid.h"
#include "dsp/WordLattice.h"
#include "dsp/WordLayout.h"
#include "dsp/WordSearch.h"

namespace {

constexpr double kWordInfinity = std::numeric_limits<double>::infinity();
// Grid intervals per tap of the search (the measurement takes 16) and at least.
constexpr int kIntervalsPerTap = 8;
constexpr int kLeastIntervals = 1024;
// Rounds of peaks added between grid points at most, and the share of a
// margin by which the measured words may fall short of the grid's before
// another round is run.
constexpr int kRefineRounds = 3;
constexpr double kRefineTolerance = 1e-3;
// Lattice candidates: the nearest points to the design at gains within
// kGainSteps steps of kGainStep of the allowed gain drift either side, then
// points drawn around the best of them at the spreads (weighted units), as
// many as kSampleShare of the budget pays for; the kFinalists best on the
// active points are scored on the whole grid.
constexpr int kGainSteps = 8;
constexpr double kGainStep = 0.125;
constexpr double kSpread[] = {0.25, 0.5, 1.0};
constexpr double kSampleShare = 0.3;
constexpr int kMostSamples = 4000;
constexpr int kFinalists = 8;
constexpr std::uint64_t kSampleSeed = 0x5eed2018;
// The lattice is reduced for at most this many words (twice as many for a
// complex response): the reduction is one call that cannot be stopped, and
// larger ones take seconds. All linear-phase filters of up to 1025 taps fit.
constexpr int kLatticeMostFunctions = 520;

struct Candidate {
    std::vector<long long> words;  // free words
    WordScore score{-kWordInfinity, -kWordInfinity};
};

std::vector<double> ValuesOf(std::span<const long long> taps, int fraction) {
    std::vector<double> v;
    for (long long t : taps) {
        v.push_back(std::ldexp(static_cast<double>(t), -fraction));
    }
    return v;
}

// The lattice's best words: the nearest lattice points to the design at
// several gains, scored on the whole grid, then points drawn around the
// best, scored on its active points through the lattice's directions (the
// grid's directions from firstDirection on), the finalists on the whole grid.
Candidate LatticeCandidate(const WordLattice& lattice, WordGrid& grid, WordSearch& search,
                           std::span<const double> target, int firstDirection, double sampleBudget) {
    Candidate best;
    WordLattice::Words nearest;
    std::vector<double> aim(target.begin(), target.end()), bestAim = aim;
    for (int g = -kGainSteps; g <= kGainSteps; ++g) {
        const double gain = 1.0 + g * kGainStep * grid.GainAllowance();
        for (std::size_t k = 0; k < aim.size(); ++k) {
            aim[k] = gain * target[k];
        }
        WordLattice::Words w = lattice.Nearest(aim);
        if (w.words.empty()) {
            continue;
        }
        grid.SetWords(w.words);
        search.Spend(static_cast<double>(grid.Points()) * (1 + static_cast<int>(w.words.size()) / 8));
        const WordScore score = grid.Score();
        if (best.words.empty() || score.Beats(best.score)) {
            best.words = w.words;
            best.score = score;
            nearest = std::move(w);
            bestAim = aim;
        }
    }
    if (best.words.empty() || search.Cancelled()) {
        return best;
    }
    grid.SetWords(best.words);
    grid.FindActive();
    const int n = static_cast<int>(best.words.size());
    const double walkCost = static_cast<double>(n) * n;
    std::mt19937_64 random(kSampleSeed);
    struct Drawn {
        std::vector<WordGrid::DirectionStep> steps;
        WordScore score;
    };
    std::vector<Drawn> finalists;
    const double start = search.Spent();
    for (int s = 0; s < kMostSamples && search.Spent() - start < sampleBudget && !search.Cancelled(); ++s) {
        const WordLattice::Words w = lattice.Sample(bestAim, kSpread[s % std::size(kSpread)], random);
        search.Spend(walkCost);
        if (w.clamped || w.coefficients.size() != nearest.coefficients.size()) {
            continue;
        }
        Drawn d;
        for (std::size_t k = 0; k < w.coefficients.size(); ++k) {
            if (w.coefficients[k] != nearest.coefficients[k]) {
                d.steps.push_back({firstDirection + static_cast<int>(k), w.coefficients[k] - nearest.coefficients[k]});
            }
        }
        if (d.steps.empty()) {
            continue;
        }
        d.score = grid.Trial(d.steps);
        search.Spend(static_cast<double>(grid.ActivePoints()) * static_cast<double>(d.steps.size()));
        const bool seen = std::any_of(finalists.begin(), finalists.end(),
                                      [&](const Drawn& f) { return f.steps.size() == d.steps.size() &&
                                                                   std::equal(f.steps.begin(), f.steps.end(), d.steps.begin(),
                                                                              [](const auto& a, const auto& b) {
                                                                                  return a.direction == b.direction && a.times == b.times;
                                                                              }); });
        if (seen) {
            continue;
        }
        if (static_cast<int>(finalists.size()) < kFinalists) {
            finalists.push_back(std::move(d));
        } else {
            auto worst = std::min_element(finalists.begin(), finalists.end(),
                                          [](const Drawn& a, const Drawn& b) { return b.score.Beats(a.score); });
            if (d.score.Beats(worst->score)) {
                *worst = std::move(d);
            }
        }
        search.Report(best.score.margin);
    }
    for (const Drawn& d : finalists) {
        grid.SetWords(best.words);
        for (const WordGrid::DirectionStep& s : d.steps) {
            grid.Move(s.direction, s.times);
        }
        search.Spend(static_cast<double>(grid.Points()) * static_cast<double>(1 + d.steps.size()));
        const WordScore score = grid.Score();
        if (score.Beats(best.score)) {
            best.score = score;
            best.words = grid.Words();
        }
    }
    return best;
}

// The rounded words and their judgement, or the status that stops the
// optimisation (anything but Missed).
WordResult Prepare(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format) {
    WordResult result;
    result.latticeMargin = -kWordInfinity;
    result.status = WordStatus::NoTaps;
    if (taps.empty()) {
        return result;
    }
    result.rounded = QuantizeTaps(taps, format);
    switch (result.rounded.status) {
    case QuantStatus::Ok:
        break;
    case QuantStatus::NonFinite:
        result.status = WordStatus::NonFinite;
        return result;
    case QuantStatus::NoTaps:
        return result;
    default:
        result.status = WordStatus::BadFormat;
        return result;
    }
    if (CheckWordRequirement(req) != WordCheck::Ok) {
        result.status = WordStatus::BadRequirement;
        return result;
    }
    result.roundedJudgement = JudgeWords(result.rounded.values, req);
    result.rounded.figures = result.roundedJudgement.figures;
    result.status = WordStatus::Missed;
    return result;
}

}  // namespace

WordResult RoundWords(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format) {
    WordResult result = Prepare(taps, req, format);
    if (result.status != WordStatus::Missed) {
        return result;
    }
    result.words = result.rounded;
    result.judgement = result.roundedJudgement;
    result.start = WordStart::Rounded;
    result.status = result.judgement.met ? WordStatus::Met : WordStatus::Missed;
    return result;
}

WordResult OptimizeWords(std::span<const double> taps, const WordRequirement& req, const QuantSpec& format,
                         const WordOptions& options) {
    WordResult result = Prepare(taps, req, format);
    if (result.status != WordStatus::Missed) {
        return result;
    }
    const std::vector<MaskBand> mask = MaskOfRequirement(req);

    const int fraction = result.rounded.fractionLength;
    const int bits = result.rounded.wordLength;
    const long long highest = (1LL << (bits - 1)) - 1;
    const long long lowest = -(1LL << (bits - 1));
    const int n = static_cast<int>(taps.size());
    const WordLayout layout = LayoutOf(taps, TapSymmetry(taps, 1e-9));
    const long long lowestWord = layout.symmetry < 0 ? -highest : lowest;
    std::vector<double> scaled;
    for (double t : taps) {
        scaled.push_back(std::ldexp(t, fraction));
    }
    const std::vector<double> target = WordsOfTaps(layout, std::span<const double>(scaled));

    // The gain the words keep: the design's nominal pass gain, or without
    // pass bands the first slope band's ideal at fs/2; stop bands then count
    // from the nominal gain the measurement fixes.
    const ResponseFigures designFigures = MeasureResponse(taps, req.fs, mask, false);
    const double nominal = designFigures.status == MeasureStatus::Ok ? designFigures.nominalPassGain : 1.0;
    double reference = std::ldexp(nominal, fraction);
    bool anyPass = false;
    for (const WordBand& b : req.bands) {
        anyPass = anyPass || b.band.kind == BandKind::Pass;
    }
    if (!anyPass) {
        for (const WordBand& b : req.bands) {
            if (b.band.kind == BandKind::Slope) {
                reference = std::ldexp(b.band.desired, fraction);
                break;
            }
        }
    }
    WordGrid grid(layout, req, reference, std::ldexp(nominal, fraction), std::max(kLeastIntervals, kIntervalsPerTap * n));

    // A complex response costs about twice a real amplitude per point.
    const double budget = 1e6 * (options.effort > 0.0 ? options.effort : kDefaultWordEffort) /
                          (layout.Complex() ? 2.0 : 1.0);
    WordSearch search(layout, grid, lowest, highest, options, budget);

    std::vector<Candidate> starts;
    if (options.latticeStart && layout.variables * (layout.Complex() ? 2 : 1) <= kLatticeMostFunctions) {
        const WordLattice lattice(grid, layout.variables, lowestWord, highest);
        search.Spend(static_cast<double>(layout.variables) * layout.variables * layout.variables);
        if (lattice.Ok()) {
            const int first = grid.Directions();
            for (const std::vector<long long>& d : lattice.Directions()) {
                grid.AddDirection(d);
            }
            search.Spend(static_cast<double>(grid.Points()) * layout.variables * layout.variables / 8.0);
            Candidate c = LatticeCandidate(lattice, grid, search, target, first, kSampleShare * budget);
            if (!c.words.empty()) {
                result.latticeMargin = c.score.margin;
                starts.push_back(std::move(c));
            }
        }
    }
    if (starts.empty()) {
        Candidate rounded;
        for (double t : target) {
            rounded.words.push_back(static_cast<long long>(
                std::clamp(std::round(t), static_cast<double>(lowestWord), static_cast<double>(highest))));
        }
        starts.push_back(std::move(rounded));
    }

    WordJudgement bestJudgement;
    bestJudgement.margin = -kWordInfinity;
    std::vector<long long> bestTaps;
    for (std::size_t s = 0; s < starts.size() && !search.Cancelled(); ++s) {
        std::vector<long long> words = starts[s].words;
        const double end = search.Spent() + (budget - search.Spent()) / static_cast<double>(starts.size() - s);
        WordJudgement judged;
        for (int round = 0; round <= kRefineRounds; ++round) {
            double gridMargin = -kWordInfinity;
            if (options.localSearch) {
                gridMargin = search.Search(words, end);
            } else {
                grid.SetWords(words);
                gridMargin = grid.Margin();
            }
            judged = JudgeWords(ValuesOf(TapsOfWords(layout, words), fraction), req);
            search.Spend(16.0 * n * n);
            result.refinements = std::max(result.refinements, round);
            if (!options.localSearch || search.Cancelled() || !judged.measured ||
                judged.margin >= std::min(gridMargin, 1.0) - kRefineTolerance || search.Spent() >= end) {
                break;
            }
            grid.SetWords(words);
            grid.AddPeaks();
        }
        if (bestTaps.empty() || judged.margin > bestJudgement.margin) {
            bestJudgement = judged;
            bestTaps = TapsOfWords(layout, words);
            result.start = options.latticeStart && result.latticeMargin > -kWordInfinity ? WordStart::Lattice
                                                                                         : WordStart::Rounded;
        }
    }
    // The format's own rounding when nothing did better and it keeps the
    // taps' symmetry.
    if (bestTaps.empty() || (result.roundedJudgement.margin >= bestJudgement.margin &&
                             result.rounded.symmetryAfter == result.rounded.symmetryBefore)) {
        bestJudgement = result.roundedJudgement;
        bestTaps = result.rounded.taps;
        result.start = WordStart::Rounded;
    }

    result.evaluations = search.Spent();
    result.judgement = bestJudgement;
    QuantResult& q = result.words;
    q.status = QuantStatus::Ok;
    q.quantSpec = format;
    q.wordLength = bits;
    q.fractionLength = fraction;
    q.shift = result.rounded.shift;
    q.taps = bestTaps;
    q.values = ValuesOf(bestTaps, fraction);
    for (int i = 0; i < n; ++i) {
        q.maxErrorLsb = std::max(q.maxErrorLsb, std::abs(static_cast<double>(bestTaps[i]) - scaled[i]));
        q.saturated += scaled[i] > static_cast<double>(highest) || scaled[i] < static_cast<double>(lowest) ? 1 : 0;
    }
    q.symmetryBefore = TapSymmetry(taps, 1e-9);
    q.symmetryAfter = TapSymmetry(q.values, 0.0);
    q.figures = bestJudgement.figures;
    result.status = search.Cancelled() ? WordStatus::Cancelled
                    : bestJudgement.met ? WordStatus::Met
                                        : WordStatus::Missed;
    return result;
}

std::string WordStatusText(WordStatus status) {
    switch (status) {
    case WordStatus::Met:
        return "met";
    case WordStatus::Missed:
        return "missed";
    case WordStatus::Cancelled:
        return "cancelled";
    case WordStatus::BadFormat:
        return "bad word format";
    case WordStatus::BadRequirement:
        return "bad requirement";
    case WordStatus::NonFinite:
        return "taps not finite";
    case WordStatus::NoTaps:
        return "no taps";
    }
    return "?";
}
