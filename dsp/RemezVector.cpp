#include "dsp/RemezVector.h"

#include "dsp/RemezVectorUnits.h"

namespace {

RemezVectorUnit DetectUnit()
{
#if defined(ZANTRO_X86_KERNELS)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma"))
        return RemezVectorUnit::Avx512;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return RemezVectorUnit::Avx2;
#endif
    return RemezVectorUnit::Portable;
}

}  // namespace

RemezVectorUnit BestRemezVectorUnit()
{
    static const RemezVectorUnit unit = DetectUnit();
    return unit;
}

bool RemezVectorUnitAvailable(RemezVectorUnit unit)
{
    return static_cast<int>(unit) <= static_cast<int>(BestRemezVectorUnit());
}

std::vector<RemezVectorUnit> AvailableRemezVectorUnits()
{
    std::vector<RemezVectorUnit> units;
    for (RemezVectorUnit unit : {RemezVectorUnit::Portable, RemezVectorUnit::Avx2, RemezVectorUnit::Avx512})
        if (RemezVectorUnitAvailable(unit))
            units.push_back(unit);
    return units;
}

void RemezSeriesBlocks(RemezVectorUnit unit, const double* x, int firstBlock, int lastBlock, const double* c, int n,
                       double* result)
{
    switch (unit) {
#if defined(ZANTRO_X86_KERNELS)
    case RemezVectorUnit::Avx512:
        return RemezSeriesBlocksAvx512(x, firstBlock, lastBlock, c, n, result);
    case RemezVectorUnit::Avx2:
        return RemezSeriesBlocksAvx2(x, firstBlock, lastBlock, c, n, result);
#endif
    default:
        return RemezSeriesBlocksPortable(x, firstBlock, lastBlock, c, n, result);
    }
}

void RemezInterpolateBlocks(RemezVectorUnit unit, const double* x, int firstBlock, int lastBlock, const double* xk,
                            const double* ad, const double* y, int m, double* result, double* nearest)
{
    switch (unit) {
#if defined(ZANTRO_X86_KERNELS)
    case RemezVectorUnit::Avx512:
        return RemezInterpolateBlocksAvx512(x, firstBlock, lastBlock, xk, ad, y, m, result, nearest);
    case RemezVectorUnit::Avx2:
        return RemezInterpolateBlocksAvx2(x, firstBlock, lastBlock, xk, ad, y, m, result, nearest);
#endif
    default:
        return RemezInterpolateBlocksPortable(x, firstBlock, lastBlock, xk, ad, y, m, result, nearest);
    }
}

void RemezNodeProducts(RemezVectorUnit unit, const double* x, int m, double* product, int* exponent)
{
    switch (unit) {
#if defined(ZANTRO_X86_KERNELS)
    case RemezVectorUnit::Avx512:
        return RemezNodeProductsAvx512(x, m, product, exponent);
    case RemezVectorUnit::Avx2:
        return RemezNodeProductsAvx2(x, m, product, exponent);
#endif
    default:
        return RemezNodeProductsPortable(x, m, product, exponent);
    }
}
