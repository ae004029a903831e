// The kernels in portable code, for any processor. The fused multiply-add is
// the library's, exact everywhere (slow only where the hardware has none).
#include "dsp/RemezVector.h"
#include "dsp/RemezVectorUnits.h"

namespace {
// Two lanes: the vector width every processor of interest has natively.
constexpr int kLanes = 2;
constexpr int kChains = 4;
typedef double V __attribute__((vector_size(16)));
typedef long long VI __attribute__((vector_size(16)));
inline V Fma(V a, V b, V c)
{
    V r;
    for (int l = 0; l < kLanes; ++l)
        r[l] = __builtin_fma(a[l], b[l], c[l]);
    return r;
}
}  // namespace

#include "dsp/RemezVectorKernels.inl"

ZANTRO_REMEZ_VECTOR_DEFINE_ENTRIES(Portable)
