// The kernels for processors with AVX2 and FMA. This file alone is compiled
// for them; it runs only where BestRemezVectorUnit found both.
#include "dsp/RemezVector.h"
#include "dsp/RemezVectorUnits.h"

#if defined(ZANTRO_X86_KERNELS)
#include <immintrin.h>

namespace {
constexpr int kLanes = 4;
// Four recurrences: three vectors each stay within the 16 registers.
constexpr int kChains = 4;
typedef double V __attribute__((vector_size(32)));
typedef long long VI __attribute__((vector_size(32)));
inline V Fma(V a, V b, V c)
{
    return _mm256_fmadd_pd(a, b, c);
}
}  // namespace

#include "dsp/RemezVectorKernels.inl"

ZANTRO_REMEZ_VECTOR_DEFINE_ENTRIES(Avx2)
#endif
