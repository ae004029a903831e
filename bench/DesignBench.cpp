#include <benchmark/benchmark.h>

#include "design/Design.h"
#include "form/FormRequest.h"

namespace {

// Design(request) once per iteration; an error when it is no valid design.
void TimeDesign(benchmark::State& state, const DesignRequest& request)
{
    bool valid = true;
    for (auto _ : state) {
        const DesignOutcome out = Design(request);
        valid = valid && out.valid;
        benchmark::DoNotOptimize(out.coeffs.m_pData.get());
    }
    if (!valid)
        state.SkipWithError("design failed");
}

// The default design after start: 129-tap Hamming lowpass, as Design of its
// request (no form, no plots).
void DefaultDesign(benchmark::State& state)
{
    const DesignRequest request;
    TimeDesign(state, request);
}

// The heaviest windowed design: 1025 taps, Dolph-Chebyshev at 80 dB (a direct
// inverse DFT of 1024 points) and x/sin(x) (a direct DFT and inverse DFT).
void HeavyChebyshevDesign(benchmark::State& state)
{
    DesignRequest request;
    request.taps = 1025;
    request.method = SincMethod{WindowChoice{WindowType::Chebyshev, 5.0, 80}};
    request.sinXCompensation = true;
    TimeDesign(state, request);
}

// The Remez lowpass bench/python_calls.py designs through the module, as
// the module maps it (a new document's form with the method, taps and band
// table changed), designed unmeasured as the module designs: N taps at 8000
// Hz, pass 0 .. 1000 Hz (weight 1), stop from the edge of RemezStopEdge on
// (weight 10).
int RemezStopEdge(int taps)
{
    return taps <= 63 ? 1200 : taps <= 255 ? 1060 : 1020;
}

void ModuleRemezLowpass(benchmark::State& state)
{
    const int taps = static_cast<int>(state.range(0));
    FormFields f = NewDocumentFields();
    f.designMethod = DM_REMEZ;
    f.taps = taps;
    f.samplingRate = 8000;
    for (RemezBand& b : f.bands)
        b.m_bUse = 0;
    f.bands[0] = RemezBand{1, 0, 1000, 1.0, 1.0};
    f.bands[1] = RemezBand{1, RemezStopEdge(taps), 4000, 0.0, 10.0};
    DesignRequest request = *RequestOf(FormDesign{f});
    request.measure = false;
    TimeDesign(state, request);
}

}  // namespace

BENCHMARK(ModuleRemezLowpass)->Arg(63)->Arg(255)->Arg(1025)->Unit(benchmark::kMillisecond);
BENCHMARK(DefaultDesign)->Unit(benchmark::kMicrosecond);
BENCHMARK(HeavyChebyshevDesign)->Unit(benchmark::kMillisecond);
