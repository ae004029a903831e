// The kernels for processors with AVX-512F and FMA. This file alone is
// compiled for them; it runs only where BestRemezVectorUnit found both.
#include "dsp/RemezVector.h"
#include "dsp/RemezVectorUnits.h"

#if defined(ZANTRO_X86_KERNELS)
#include <immintrin.h>

namespace {
constexpr int kLanes = 8;
// Eight recurrences of eight lanes: enough to cover the latency of a fused
// multiply-add on two ports, and 24 of the 32 registers.
constexpr int kChains = 8;
typedef double V __attribute__((vector_size(64)));
typedef long long VI __attribute__((vector_size(64)));
inline V Fma(V a, V b, V c)
{
    return _mm512_fmadd_pd(a, b, c);
}
}  // namespace

#include "dsp/RemezVectorKernels.inl"

ZANTRO_REMEZ_VECTOR_DEFINE_ENTRIES(Avx512)
#endif
