#include <benchmark/benchmark.h>

#include <string>

#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"

namespace {

struct Form {
    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;

    Form()
    {
        view.SetHost(&host);
        view.SetDocument(&doc);
        host.CreateControls(view);
        view.OnCreate();
        view.OnInitialUpdate();
    }
};

// The default design after start: 63-tap Hamming lowpass.
void DefaultDesign(benchmark::State& state)
{
    Form f;
    for (auto _ : state) {
        f.host.Click(f.view, IDC_DESIGN);
        benchmark::DoNotOptimize(f.view.m_Coeffs[31]);
    }
    if (f.view.m_bDesignValid != 1)
        state.SkipWithError("design failed");
}

// The heaviest windowed design: 1025 taps, Dolph-Chebyshev at 80 dB (a direct
// inverse DFT of 1024 points) and x/sin(x) (a direct DFT and inverse DFT).
void HeavyChebyshevDesign(benchmark::State& state)
{
    Form f;
    f.host.TypeText(f.view, IDC_TAPS, "1025");
    f.host.SelectEntry(f.view, IDC_WINDOW_TYPE, WT_CHEBYSHEV);
    f.host.Click(f.view, IDC_SINX_COMP);
    for (auto _ : state) {
        state.PauseTiming();
        f.host.QueueDialog(131, {{ScriptedHost::Action::Type, 1034, "80"}});
        state.ResumeTiming();
        f.host.Click(f.view, IDC_DESIGN);
        benchmark::DoNotOptimize(f.view.m_Coeffs[512]);
    }
    if (f.view.m_bDesignValid != 1 || f.view.m_nStopbandAtt != 80)
        state.SkipWithError("design failed");
}

}  // namespace

BENCHMARK(DefaultDesign)->Unit(benchmark::kMicrosecond);
BENCHMARK(HeavyChebyshevDesign)->Unit(benchmark::kMillisecond);
