#include <benchmark/benchmark.h>

#include "design/Design.h"

namespace {

// The default design after start: 129-tap Hamming lowpass, as Design of its
// request (no form, no plots).
void DefaultDesign(benchmark::State& state)
{
    const DesignRequest request;
    bool valid = true;
    for (auto _ : state) {
        const DesignOutcome out = Design(request);
        valid = valid && out.valid;
        benchmark::DoNotOptimize(out.coeffs.m_pData.get());
    }
    if (!valid)
        state.SkipWithError("design failed");
}

// The heaviest windowed design: 1025 taps, Dolph-Chebyshev at 80 dB (a direct
// inverse DFT of 1024 points) and x/sin(x) (a direct DFT and inverse DFT).
void HeavyChebyshevDesign(benchmark::State& state)
{
    DesignRequest request;
    request.taps = 1025;
    request.window = WindowType::Chebyshev;
    request.chebyshevAttenuation = 80;
    request.sinXCompensation = true;
    bool valid = true;
    for (auto _ : state) {
        const DesignOutcome out = Design(request);
        valid = valid && out.valid;
        benchmark::DoNotOptimize(out.coeffs.m_pData.get());
    }
    if (!valid)
        state.SkipWithError("design failed");
}

}  // namespace

BENCHMARK(DefaultDesign)->Unit(benchmark::kMicrosecond);
BENCHMARK(HeavyChebyshevDesign)->Unit(benchmark::kMillisecond);
