#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

#include "design/Design.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// The analysis of a design (the figures of its taps on its mask and of its
// Q15 words, as zantro-cli's --json and every Python call make them)
// against the design itself: the analysis must take at most twice the
// design or 2 ms, whichever is larger. Each case reports the design's
// median time and the analysis's share of that budget ("budget_share",
// at most 1).

namespace {

RemezBand Row(int lo, int hi, double value, double weight)
{
    RemezBand b;
    b.m_bUse = 1;
    b.m_nLowerEdge = lo;
    b.m_nUpperEdge = hi;
    b.m_dValue = value;
    b.m_dWeight = weight;
    return b;
}

DesignRequest Case(int which)
{
    DesignRequest q;
    switch (which) {
    case 0:  // the heaviest window: 1025 taps
        q.taps = 1025;
        q.samplingRate = 48000;
        q.firstCorner = 6000;
        q.method = SincMethod{WindowChoice{WindowType::Blackman}};
        break;
    case 1:  // the six-band Remez design of 993 taps
        q.taps = 993;
        q.samplingRate = 48000;
        q.method = RemezMethod{{Row(0, 2000, 1, 1), Row(2500, 6000, 0, 10), Row(6500, 9000, 1, 1),
                                Row(9500, 14000, 0, 10), Row(14500, 18000, 1, 1), Row(18500, 24000, 0, 10)}};
        break;
    case 2:  // a minimum-phase lowpass of 400 taps (its taps are not symmetric)
        q.taps = 400;
        q.samplingRate = 48000;
        q.method = RemezMethod{.bands = {Row(0, 6000, 1, 1), Row(7000, 24000, 0, 10)}, .minimumPhase = true};
        break;
    default:  // least squares, 1025 taps
        q.taps = 1025;
        q.samplingRate = 48000;
        q.method = LeastSquaresMethod{.bands = {Row(0, 8000, 1, 1), Row(8500, 24000, 0, 10)}};
        break;
    }
    return q;
}

const char* const kNames[] = {"blackman_1025", "remez_six_band_993", "min_phase_400", "least_squares_1025"};

double MedianSeconds(const DesignRequest& q)
{
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Design(q).coeffs.m_pData.get());
        t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(t.begin(), t.begin() + 3, t.end());
    return t[3];
}

void Analysis(benchmark::State& state)
{
    DesignRequest q = Case(static_cast<int>(state.range(0)));
    q.measure = true;
    const DesignOutcome out = Design(q);
    q.measure = false;
    if (!out.valid) {
        state.SkipWithError("design failed");
        return;
    }
    const std::vector<double> taps = out.Taps();
    QuantSpec q15;
    q15.format = QuantFormat::Q15;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const ResponseFigures f = MeasureResponse(taps, q.samplingRate, out.mask, true);
        const QuantResult r = QuantizeAndMeasure(taps, q15, q.samplingRate, out.mask, true);
        benchmark::DoNotOptimize(f.bands.data());
        benchmark::DoNotOptimize(r.values.data());
    }
    const double analysis = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                            static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    const double design = MedianSeconds(q);
    state.SetLabel(kNames[state.range(0)]);
    state.counters["design_ms"] = design * 1e3;
    state.counters["budget_share"] = analysis / std::max(2.0 * design, 2e-3);
}

// MeasureResponse of long taps: a windowed lowpass of 100,000 taps.
void LongTaps(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> taps(static_cast<size_t>(n));
    const double fc = 0.1, m = 0.5 * (n - 1);
    for (int k = 0; k < n; ++k) {
        const double x = k - m;
        const double sinc = x == 0.0 ? 2.0 * fc : std::sin(2.0 * std::numbers::pi * fc * x) / (std::numbers::pi * x);
        taps[static_cast<size_t>(k)] = sinc * (0.42 - 0.5 * std::cos(2.0 * std::numbers::pi * k / (n - 1)) +
                                               0.08 * std::cos(4.0 * std::numbers::pi * k / (n - 1)));
    }
    const std::vector<MaskBand> mask = {{BandKind::Pass, 0.0, 0.099, 1.0}, {BandKind::Stop, 0.101, 0.5, 0.0}};
    for (auto _ : state) {
        const ResponseFigures f = MeasureResponse(taps, 1.0, mask, true);
        benchmark::DoNotOptimize(f.bands.data());
    }
}

}  // namespace

BENCHMARK(Analysis)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(LongTaps)->Arg(100000)->Unit(benchmark::kMillisecond);
