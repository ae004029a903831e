#pragma once

// The entry points of each instruction set's kernels (RemezVector.h has the
// contracts); only RemezVector.cpp calls them, for the unit it picked.

#define ZANTRO_REMEZ_VECTOR_ENTRIES(suffix)                                                                      \
    void RemezSeriesBlocks##suffix(const double* x, int firstBlock, int lastBlock, const double* c, int n,      \
                                   double* result);                                                             \
    void RemezInterpolateBlocks##suffix(const double* x, int firstBlock, int lastBlock, const double* xk,       \
                                        const double* ad, const double* y, int m, double* result,               \
                                        double* nearest);                                                       \
    void RemezNodeProducts##suffix(const double* x, int m, double* product, int* exponent);

ZANTRO_REMEZ_VECTOR_ENTRIES(Portable)
#if defined(ZANTRO_X86_KERNELS)
ZANTRO_REMEZ_VECTOR_ENTRIES(Avx2)
ZANTRO_REMEZ_VECTOR_ENTRIES(Avx512)
#endif

#define ZANTRO_REMEZ_VECTOR_DEFINE_ENTRIES(suffix)                                                               \
    void RemezSeriesBlocks##suffix(const double* x, int firstBlock, int lastBlock, const double* c, int n,      \
                                   double* result)                                                              \
    {                                                                                                           \
        SeriesImpl(x, firstBlock, lastBlock, c, n, result);                                                     \
    }                                                                                                           \
    void RemezInterpolateBlocks##suffix(const double* x, int firstBlock, int lastBlock, const double* xk,       \
                                        const double* ad, const double* y, int m, double* result,               \
                                        double* nearest)                                                        \
    {                                                                                                           \
        InterpolateImpl(x, firstBlock, lastBlock, xk, ad, y, m, result, nearest);                               \
    }                                                                                                           \
    void RemezNodeProducts##suffix(const double* x, int m, double* product, int* exponent)                      \
    {                                                                                                           \
        NodeProductsImpl(x, m, product, exponent);                                                              \
    }
