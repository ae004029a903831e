#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "dsp/CPoints.h"
#include "dsp/DesignKinds.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/MinimumPhase.h"
#include "dsp/RemezDesign.h"
#include "dsp/WordLengthSearch.h"
#include "dsp/WordOptimization.h"

// Fixed-point words chosen by OptimizeWords against the format's rounding,
// in the same run, on a set of requirements: the fewest taps whose words
// meet each at its word length (taps saved at equal bits), and at the taps
// rounding needs, the fewest bits whose words meet it (bits saved at equal
// taps). The designs are Remez exchanges weighted by the bands' deviations
// (half-bands by their own method), N scanned upward from the fewest taps
// whose double-precision design meets the requirement. The timed loops are
// one optimisation and one rounding of the words at the taps rounding needs
// (or the optimiser's, where rounding meets at no N up to twice the double
// design's), and optimisations of 255 taps.

namespace {

constexpr double kBenchFs = 48000.0;

enum class BenchDesign { Remez, Halfband, MinimumPhase };

struct BenchRequirement {
    const char* name;
    int filterType;
    int bits;
    std::vector<WordBand> bands;
    BenchDesign design = BenchDesign::Remez;
};

WordBand BenchPass(double lo, double hi, double db) { return {{BandKind::Pass, lo, hi, 1.0}, db}; }
WordBand BenchStop(double lo, double hi, double db) { return {{BandKind::Stop, lo, hi, 0.0}, db}; }

const std::vector<BenchRequirement>& Requirements()
{
    static const std::vector<BenchRequirement> set = {
        {"lowpass-14", FT_LOWPASS, 14, {BenchPass(0, 4800, 0.1), BenchStop(7200, 24000, 70)}},
        {"lowpass-16", FT_LOWPASS, 16, {BenchPass(0, 9600, 0.05), BenchStop(12000, 24000, 80)}},
        {"lowpass-12", FT_LOWPASS, 12, {BenchPass(0, 2000, 0.5), BenchStop(3000, 24000, 60)}},
        {"highpass-15", FT_HIGHPASS, 15, {BenchStop(0, 6000, 70), BenchPass(8000, 24000, 0.1)}},
        {"bandpass-12", FT_BANDPASS, 12, {BenchStop(0, 6000, 60), BenchPass(8000, 14000, 0.5), BenchStop(16000, 24000, 60)}},
        {"bandpass-16", FT_BANDPASS, 16, {BenchStop(0, 3000, 80), BenchPass(4000, 8000, 0.1), BenchStop(9000, 24000, 80)}},
        {"bandstop-13", FT_BANDSTOP, 13, {BenchPass(0, 6000, 0.2), BenchStop(8000, 14000, 60), BenchPass(16000, 24000, 0.2)}},
        {"hilbert-14", FT_HILBERT, 14, {BenchPass(1200, 22800, 0.01)}},
        {"hilbert-16", FT_HILBERT, 16, {BenchPass(2400, 21600, 0.002)}},
        {"differentiator-14", FT_DIFFERENTIATOR, 14, {{{BandKind::Slope, 0, 21600, 1.0}, 0.02}}},
        {"halfband-16", FT_LOWPASS, 16, {BenchPass(0, 10000, 0.01), BenchStop(14000, 24000, 75)}, BenchDesign::Halfband},
        {"lowpass-16-long", FT_LOWPASS, 16, {BenchPass(0, 5000, 0.1), BenchStop(5800, 24000, 75)}},
    };
    return set;
}

WordRequirement RequirementOf(const BenchRequirement& r)
{
    WordRequirement req;
    req.fs = kBenchFs;
    req.bands = r.bands;
    return req;
}

std::vector<double> DesignOf(const BenchRequirement& r, int taps)
{
    if (r.design == BenchDesign::Halfband)
        return DesignHalfband(taps, static_cast<int>(kBenchFs), r.bands[0].band.hiHz, 16).taps;
    if (r.design == BenchDesign::MinimumPhase)
        return DesignMinimumPhase(taps, PrototypeMethod::Remez, RemezEdgesOf(RequirementOf(r)), 16).factor.taps;
    CPoints coeffs;
    DesignRemezEdges(taps, r.filterType, FirTypeOf(r.filterType, taps), RemezEdgesOf(RequirementOf(r)), 16, coeffs);
    std::vector<double> h(static_cast<std::size_t>(taps));
    for (int i = 0; i < taps; ++i)
        h[i] = coeffs[i].real();
    return h;
}

// Tap counts a design may take: a half-band's 4k + 3, odd for the types
// with a zero at fs/2 (highpass, bandstop) and for Hilbert transformers of
// this set (odd, type III).
int FirstTaps(const BenchRequirement& r) { return r.design == BenchDesign::Halfband ? 7 : 4; }
int TapStep(const BenchRequirement& r)
{
    if (r.design == BenchDesign::Halfband)
        return 4;
    return r.filterType == FT_HIGHPASS || r.filterType == FT_BANDSTOP || r.filterType == FT_HILBERT ? 2 : 1;
}
int Aligned(const BenchRequirement& r, int taps)
{
    const int step = TapStep(r);
    if (step == 2 && taps % 2 == 0)
        return taps + 1;
    return taps;
}

QuantSpec Word(int bits)
{
    QuantSpec q;
    q.format = QuantFormat::Bits;
    q.wordLength = bits;
    return q;
}

// One requirement's comparison; 0 where nothing up to the scan's end met.
struct Comparison {
    int doubleTaps = 0;
    int roundedTaps = 0;
    int optimisedTaps = 0;
    int comparedTaps = 0;  // where the bits are compared
    int roundedBits = 0;
    int optimisedBits = 0;
};

Comparison Compare(const BenchRequirement& r)
{
    Comparison c;
    const WordRequirement req = RequirementOf(r);
    int n = FirstTaps(r);
    if (TapStep(r) == 2)
        n = 5;
    for (; n <= 1025; n += TapStep(r)) {
        if (JudgeWords(DesignOf(r, n), req).met) {
            c.doubleTaps = n;
            break;
        }
    }
    if (c.doubleTaps == 0)
        return c;
    const int end = std::min(1025, 2 * c.doubleTaps);
    for (int m = c.doubleTaps; m <= end && (c.roundedTaps == 0 || c.optimisedTaps == 0); m += TapStep(r)) {
        const std::vector<double> h = DesignOf(r, m);
        if (!JudgeWords(h, req).met)
            continue;
        if (c.roundedTaps == 0 && RoundWords(h, req, Word(r.bits)).status == WordStatus::Met)
            c.roundedTaps = m;
        if (c.optimisedTaps == 0 && OptimizeWords(h, req, Word(r.bits)).status == WordStatus::Met)
            c.optimisedTaps = m;
    }
    c.comparedTaps = c.roundedTaps ? c.roundedTaps : c.optimisedTaps;
    if (c.comparedTaps) {
        const std::vector<double> h = DesignOf(r, c.comparedTaps);
        const WordLengthResult rounded = SearchFewestBits(h, req, Word(r.bits), false);
        const WordLengthResult optimised = SearchFewestBits(h, req, Word(r.bits), true);
        c.roundedBits = rounded.status == WordLengthStatus::Met ? rounded.bits : 0;
        c.optimisedBits = optimised.status == WordLengthStatus::Met ? optimised.bits : 0;
    }
    return c;
}

const Comparison& ComparisonOf(std::size_t index)
{
    static std::map<std::size_t, Comparison> done;
    const auto it = done.find(index);
    if (it != done.end())
        return it->second;
    return done.emplace(index, Compare(Requirements()[index])).first->second;
}

void SetCounters(benchmark::State& state, const Comparison& c)
{
    state.counters["taps_double"] = c.doubleTaps;
    state.counters["taps_round"] = c.roundedTaps;
    state.counters["taps_opt"] = c.optimisedTaps;
    state.counters["taps_saved_%"] =
        c.roundedTaps && c.optimisedTaps ? 100.0 * (c.roundedTaps - c.optimisedTaps) / c.roundedTaps : 0.0;
    state.counters["at_taps"] = c.comparedTaps;
    state.counters["bits_round"] = c.roundedBits;
    state.counters["bits_opt"] = c.optimisedBits;
}

// OptimizeWords (or the format's rounding, judged the same way) at the
// compared taps and the requirement's word length.
template <bool kOptimise>
void Words(benchmark::State& state)
{
    const std::size_t index = static_cast<std::size_t>(state.range(0));
    const BenchRequirement& r = Requirements()[index];
    const Comparison& c = ComparisonOf(index);
    state.SetLabel(r.name);
    if (!c.comparedTaps) {
        state.SkipWithError("no design met the requirement");
        return;
    }
    const std::vector<double> h = DesignOf(r, c.comparedTaps);
    const WordRequirement req = RequirementOf(r);
    double margin = 0.0;
    for (auto _ : state) {
        const WordResult w = kOptimise ? OptimizeWords(h, req, Word(r.bits)) : RoundWords(h, req, Word(r.bits));
        margin = w.judgement.margin;
        benchmark::DoNotOptimize(w.words.taps.data());
    }
    if (kOptimise)
        SetCounters(state, c);
    state.counters["margin"] = margin;
}

void OptimisedWords(benchmark::State& state) { Words<true>(state); }
void RoundedWords(benchmark::State& state) { Words<false>(state); }

// 255 taps (and a minimum-phase filter of 255): the bound of the time the
// optimisation takes on one core.
void LongWords(benchmark::State& state)
{
    const std::size_t index = static_cast<std::size_t>(state.range(0));
    BenchRequirement r = Requirements()[index];
    if (state.range(1))
        r.design = BenchDesign::MinimumPhase;
    state.SetLabel(std::string(r.name) + (state.range(1) ? " minimum phase" : ""));
    const int taps = Aligned(r, 255);
    const std::vector<double> h = DesignOf(r, taps);
    const WordRequirement req = RequirementOf(r);
    double margin = 0.0;
    for (auto _ : state) {
        const WordResult w = OptimizeWords(h, req, Word(r.bits));
        margin = w.judgement.margin;
        benchmark::DoNotOptimize(w.words.taps.data());
    }
    state.counters["taps"] = taps;
    state.counters["margin"] = margin;
}

void EachRequirement(benchmark::internal::Benchmark* b)
{
    for (std::size_t i = 0; i < Requirements().size(); ++i)
        b->Args({static_cast<long>(i)});
}

}  // namespace

BENCHMARK(OptimisedWords)->Apply(EachRequirement)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RoundedWords)->Apply(EachRequirement)->Unit(benchmark::kMillisecond);
BENCHMARK(LongWords)->Args({0, 0})->Args({4, 0})->Args({7, 0})->Args({11, 0})->Args({0, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(3);
