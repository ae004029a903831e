// Remez exchange: the 63-tap preset and a 1025-tap lowpass (0-1000 Hz value
// 1 weight 1, 1050-4000 Hz value 0 weight 10, fs 8000) at grid densities 16
// and 64; the algorithm alone, one pass of the grid evaluation, the whole
// Design command, and scipy.signal.remez on the same design in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"
#include "dsp/CPoints.h"
#include "dsp/RemezDesign.h"
#include "dsp/RemezKernel.h"

namespace {

struct Design {
    int taps;
    int filterType;
    RemezBand bands[kBandCount];
    int density;
};

Design Lowpass1025(int density)
{
    Design d{1025, FT_LOWPASS, {}, density};
    d.bands[0] = {1, 0, 1000, 1.0, 1.0};
    d.bands[1] = {1, 1050, 4000, 0.0, 10.0};
    return d;
}

Design Preset63()
{
    CFilPar par;
    par.ApplyTargetPreset(3);  // "lowpass odd 63"
    Design d{par.m_nTaps, par.m_nFilterType, {}, par.m_nGridDensity};
    for (int i = 0; i < kBandCount; ++i)
        d.bands[i] = par.m_Bands[i];
    return d;
}

void Report(benchmark::State& state, const RemezResult& report)
{
    state.counters["passes"] = report.nPasses;
    state.counters["start_passes"] = report.nStartPasses;
    state.counters["grid"] = report.nGridSize;
    state.counters["threads"] = report.nThreads;
}

void RunAlgorithm(benchmark::State& state, const Design& d, int threads, bool reference)
{
    const int firType = CZantroView::GetFirType(d.filterType, d.taps);
    CPoints h(d.taps);
    RemezResult report;
    for (auto _ : state) {
        RemezOptions options;
        options.nThreads = threads;
        options.bReference = reference;
        report = DesignRemez(d.taps, d.filterType, firType, 8000, d.bands, d.density, h, options);
        benchmark::DoNotOptimize(h[0]);
    }
    Report(state, report);
}

void BM_Preset63(benchmark::State& state)
{
    RunAlgorithm(state, Preset63(), 0, false);
}
BENCHMARK(BM_Preset63)->Unit(benchmark::kMicrosecond);

// Arguments: density, threads (0: chosen by the size of the work).
void BM_Lowpass1025(benchmark::State& state)
{
    RunAlgorithm(state, Lowpass1025(static_cast<int>(state.range(0))), static_cast<int>(state.range(1)), false);
}
BENCHMARK(BM_Lowpass1025)->ArgsProduct({{16, 64}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// The plain per-point loop the fast evaluation is held against.
void BM_Lowpass1025Reference(benchmark::State& state)
{
    RunAlgorithm(state, Lowpass1025(static_cast<int>(state.range(0))), 1, true);
}
BENCHMARK(BM_Lowpass1025Reference)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(2);

// One pass's grid evaluation on the 1025-tap grid, from the evenly spread
// starting set. Arguments: density, threads.
void BM_GridEvaluation1025(benchmark::State& state)
{
    Design d = Lowpass1025(static_cast<int>(state.range(0)));
    std::vector<RemezEdge> bands = BuildBandList(d.bands, 8000);
    const int r = RemezFunctionCount(d.taps, 0);
    RemezGrid grid = BuildDenseGrid(bands, r, d.density, d.filterType, 0);
    ApplyFirTypeTransform(grid, 0);
    std::vector<ExtremalPoint> ext = InitialExtremalSet(grid.Size(), r);
    ComputeCosines(grid, ext);
    ComputeBaryWeights(ext);
    ComputeExtremalValues(grid, ext, ComputeDeviation(grid, ext));
    const double delta = ComputeDeviation(grid, ext);
    RemezErrorEvaluator evaluator(grid, r, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        evaluator.ComputeError(ext, delta, NodeTolerance(grid));
        benchmark::DoNotOptimize(grid.E[0]);
    }
    state.counters["grid"] = grid.Size();
    state.counters["terms"] = static_cast<double>(grid.Size()) * (r + 1);
}
BENCHMARK(BM_GridEvaluation1025)->ArgsProduct({{16, 64}, {1, 2}})->Unit(benchmark::kMillisecond);

// The whole Design command: band dialog accepted as loaded, the design, the
// message, scaling and the four plots.
void BM_DesignCommand1025(benchmark::State& state)
{
    const Design d = Lowpass1025(static_cast<int>(state.range(0)));
    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    view.OnCreate();
    view.OnInitialUpdate();
    host.SelectEntry(view, IDC_DESIGN_METHOD, DM_REMEZ);
    host.TypeText(view, IDC_TAPS, "1025");
    for (int i = 0; i < kBandCount; ++i)
        doc.m_FilPar.m_Bands[i] = d.bands[i];
    doc.m_FilPar.m_nGridDensity = d.density;
    for (auto _ : state) {
        host.Click(view, IDC_DESIGN);
        host.ClearMessages();
    }
    state.counters["passes"] = view.m_nRemezPasses;
    if (view.m_bDesignValid != 1)
        state.SkipWithError("the design did not finish");
}
BENCHMARK(BM_DesignCommand1025)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

// scipy.signal.remez on the same bands, density and length, timed inside
// Python (the interpreter's start is not counted).
double ScipySeconds(const Design& d)
{
    std::string cmd = "/usr/bin/python3 -c \"import time, scipy.signal as s; ";
    std::string bands, desired, weight;
    for (const RemezBand& b : d.bands) {
        if (b.m_bUse != 1)
            continue;
        const char* sep = bands.empty() ? "" : ",";
        bands.append(sep).append(std::to_string(b.m_nLowerEdge)).append(",").append(std::to_string(b.m_nUpperEdge));
        desired.append(sep).append(std::to_string(b.m_dValue));
        weight.append(sep).append(std::to_string(b.m_dWeight));
    }
    cmd.append("t = time.perf_counter(); s.remez(")
        .append(std::to_string(d.taps))
        .append(", [")
        .append(bands)
        .append("], [")
        .append(desired)
        .append("], weight=[")
        .append(weight)
        .append("], fs=8000, grid_density=")
        .append(std::to_string(d.density))
        .append(", maxiter=64); print(time.perf_counter() - t)\" 2>/dev/null");
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1.0;
    double seconds = -1.0;
    if (std::fscanf(p, "%lf", &seconds) != 1)
        seconds = -1.0;
    pclose(p);
    return seconds;
}

void RunScipy(benchmark::State& state, const Design& d)
{
    for (auto _ : state) {
        const double seconds = ScipySeconds(d);
        if (seconds < 0.0) {
            state.SkipWithError("/usr/bin/python3 with scipy is not available");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_ScipyPreset63(benchmark::State& state)
{
    RunScipy(state, Preset63());
}
BENCHMARK(BM_ScipyPreset63)->UseManualTime()->Iterations(5)->Unit(benchmark::kMicrosecond);

void BM_ScipyLowpass1025(benchmark::State& state)
{
    RunScipy(state, Lowpass1025(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ScipyLowpass1025)->Arg(16)->Arg(64)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
