#pragma once

#include <vector>

// The inner loops of the Remez exchange on the processor's vector unit. One
// variant per instruction set (AVX-512, AVX2 with FMA, portable code); the
// best the processor has is picked once. Every variant performs the same
// IEEE operations in the same order per point, so all give the same bits as
// each other and as the scalar formulas they mirror (ChebyshevSeries,
// EvaluateAtCosine, the products of ComputeBaryWeights).

enum class RemezVectorUnit { Portable, Avx2, Avx512 };

// Points are processed in blocks of this many; arrays of points must be
// padded to a multiple of it.
inline constexpr int kRemezVectorBlock = 32;

// The best unit of this processor.
RemezVectorUnit BestRemezVectorUnit();
// Whether this build and processor can run the unit.
bool RemezVectorUnitAvailable(RemezVectorUnit unit);
// The units this build and processor can run, Portable first.
std::vector<RemezVectorUnit> AvailableRemezVectorUnits();

// result[i] = ChebyshevSeries(c, n, x[i]) for the points of blocks
// firstBlock .. lastBlock - 1 (Clenshaw with fused multiply-adds).
void RemezSeriesBlocks(RemezVectorUnit unit, const double* x, int firstBlock, int lastBlock, const double* c, int n,
                       double* result);

// result[i] = num / den of BarycentricSums (RemezAlgorithm.h) at x_i over the
// nodes (xk_k, ad_k, y_k), k in the order 0 .. m-1, four nodes to a
// division, and nearest[i] = min_k |x_i - xk_k|, for the points of blocks
// firstBlock .. lastBlock - 1 (not computed where nearest is null). No node
// test: the caller replaces the points whose nearest distance is below its
// own.
void RemezInterpolateBlocks(RemezVectorUnit unit, const double* x, int firstBlock, int lastBlock, const double* xk,
                            const double* ad, const double* y, int m, double* result, double* nearest);

// For every k < m the product over j != k (in the order of j) of
// 2 (x_k - x_j), kept as product[k] 2^exponent[k]: after every 16th factor
// the running product is brought into [0.5, 1) exactly (as frexp does) and
// its binary exponent added up, so that no product leaves the range of a
// double. No padding needed.
void RemezNodeProducts(RemezVectorUnit unit, const double* x, int m, double* product, int* exponent);
