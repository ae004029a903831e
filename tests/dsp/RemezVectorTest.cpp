#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dsp/RemezChebyshev.h"
#include "dsp/RemezVector.h"

namespace {

std::string Name(RemezVectorUnit u)
{
    return u == RemezVectorUnit::Avx512 ? "AVX-512" : u == RemezVectorUnit::Avx2 ? "AVX2" : "portable";
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Points padded to whole blocks, spread over [-1, 1] with the ends and 0.
std::vector<double> Points(int count, std::mt19937_64& rng)
{
    std::uniform_real_distribution<double> any(-1.0, 1.0);
    const int padded = (count + kRemezVectorBlock - 1) / kRemezVectorBlock * kRemezVectorBlock;
    std::vector<double> x(static_cast<size_t>(padded));
    for (double& v : x)
        v = any(rng);
    x[0] = -1.0;
    x[1] = 1.0;
    x[2] = 0.0;
    return x;
}

// The running products as the scalar loop forms them: factor by factor in
// the order of j, frexp after every 16th.
// Counts the running products that were subnormal when rescaled.
int ScalarProducts(const std::vector<double>& x, std::vector<double>& product, std::vector<int>& exponent)
{
    int subnormal = 0;
    const size_t m = x.size();
    product.assign(m, 1.0);
    exponent.assign(m, 0);
    for (size_t k = 0; k < m; ++k) {
        for (size_t j = 0; j < m; ++j) {
            product[k] *= j == k ? 1.0 : 2.0 * (x[k] - x[j]);
            if (j % 16 == 15) {
                subnormal += std::fpclassify(product[k]) == FP_SUBNORMAL;
                int e = 0;
                product[k] = std::frexp(product[k], &e);
                exponent[k] += e;
            }
        }
    }
    return subnormal;
}

}  // namespace

// Every unit this processor has gives the bits of the scalar Clenshaw sum
// (fused multiply-adds in both), for short and long series whose
// coefficients span many orders of magnitude.
TEST(RemezVector, SeriesEqualsTheScalarSumBitForBit)
{
    std::mt19937_64 rng(11);
    std::normal_distribution<double> normal;
    for (int n : {0, 1, 2, 3, 17, 130, 514}) {
        std::vector<double> c(static_cast<size_t>(n));
        for (size_t j = 0; j < c.size(); ++j)
            c[j] = normal(rng) * std::pow(10.0, -static_cast<double>(j % 9));
        const std::vector<double> x = Points(200, rng);
        const int blocks = static_cast<int>(x.size()) / kRemezVectorBlock;
        for (RemezVectorUnit u : AvailableRemezVectorUnits()) {
            SCOPED_TRACE(Name(u) + ", " + std::to_string(n) + " terms");
            std::vector<double> result(x.size(), -7.0);
            // In two calls, as the two threads split the blocks.
            RemezSeriesBlocks(u, x.data(), 0, 1, c.data(), n, result.data());
            RemezSeriesBlocks(u, x.data(), 1, blocks, c.data(), n, result.data());
            for (size_t i = 0; i < x.size(); ++i)
                ASSERT_TRUE(SameBits(result[i], ChebyshevSeries(c.data(), n, x[i])))
                    << "x = " << x[i] << ": " << result[i] << " against " << ChebyshevSeries(c.data(), n, x[i]);
        }
    }
}

// The barycentric sums in the plain loop's order (four nodes to a division),
// and the nearest node distance; a point on a node gives no number there and
// is left to the caller.
TEST(RemezVector, InterpolationEqualsThePlainLoopBitForBit)
{
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> any(-1.0, 1.0);
    for (int m : {1, 2, 9, 129}) {
        std::vector<double> xk(static_cast<size_t>(m)), ad(xk.size()), y(xk.size());
        for (size_t k = 0; k < xk.size(); ++k) {
            xk[k] = std::cos(M_PI * (static_cast<double>(k) + 0.3) / m);
            ad[k] = (k % 2 ? -1.0 : 1.0) * std::ldexp(1.0 + any(rng) * 0.5, static_cast<int>(k % 40) - 20);
            y[k] = any(rng);
        }
        std::vector<double> x = Points(100, rng);
        x[3] = xk[0];
        const int blocks = static_cast<int>(x.size()) / kRemezVectorBlock;
        for (RemezVectorUnit u : AvailableRemezVectorUnits()) {
            SCOPED_TRACE(Name(u) + ", " + std::to_string(m) + " nodes");
            std::vector<double> result(x.size()), nearest(x.size()), alone(x.size());
            RemezInterpolateBlocks(u, x.data(), 0, blocks, xk.data(), ad.data(), y.data(), m, result.data(),
                                   nearest.data());
            // Without distances to find, the sums are the same.
            RemezInterpolateBlocks(u, x.data(), 0, blocks, xk.data(), ad.data(), y.data(), m, alone.data(), nullptr);
            for (size_t i = 0; i < x.size(); ++i)
                ASSERT_TRUE(SameBits(alone[i], result[i]) || (std::isnan(alone[i]) && std::isnan(result[i]))) << i;
            for (size_t i = 0; i < x.size(); ++i) {
                double num = 0.0, den = 0.0, near = 1e300;
                // Four nodes to a division, w_k = ad_k d_j (d_other pair / product of all four),
                // j the partner of k in its pair; the rest one by one.
                const size_t grouped = xk.size() / 4 * 4;
                for (size_t k = 0; k < xk.size(); ++k) {
                    const double d = x[i] - xk[k];
                    double w = 0.0;
                    if (k < grouped) {
                        const size_t g = k / 4 * 4;
                        double dd[4];
                        for (size_t j = 0; j < 4; ++j)
                            dd[j] = x[i] - xk[g + j];
                        const double p01 = dd[0] * dd[1];
                        const double p23 = dd[2] * dd[3];
                        const double inv = 1.0 / (p01 * p23);
                        const size_t j = k - g;
                        w = ad[k] * dd[j ^ 1] * (j < 2 ? p23 * inv : p01 * inv);
                    } else {
                        w = ad[k] / d;
                    }
                    const double term = w * y[k];
                    num += term;
                    den += w;
                    near = std::fabs(d) < near ? std::fabs(d) : near;
                }
                ASSERT_TRUE(SameBits(nearest[i], near)) << i;
                if (near == 0.0)
                    continue;
                ASSERT_TRUE(SameBits(result[i], num / den)) << i << ": " << result[i] << " against " << num / den;
            }
        }
    }
}

// The node products: ordinary sets, a repeated node (product 0), nodes so
// close that the running product turns subnormal between two rescalings, and
// sizes that leave part of the last vector unused.
TEST(RemezVector, NodeProductsEqualTheFrexpLoopBitForBit)
{
    std::vector<std::vector<double>> sets;
    for (int m : {1, 2, 7, 16, 17, 33, 514}) {
        std::vector<double> x(static_cast<size_t>(m));
        for (int k = 0; k < m; ++k)
            x[static_cast<size_t>(k)] = std::cos(M_PI * (k + 0.5) / m);
        sets.push_back(x);
    }
    std::vector<double> repeated = sets[4];
    repeated[9] = repeated[3];
    sets.push_back(repeated);
    for (double spacing : {1e-19, 3e-21, 1e-22}) {
        std::vector<double> clustered(40);
        for (size_t k = 0; k < clustered.size(); ++k)
            clustered[k] = k < 20 ? spacing * static_cast<double>(k) : -0.9 + 0.01 * static_cast<double>(k);
        sets.push_back(clustered);
    }
    int subnormal = 0;
    for (RemezVectorUnit u : AvailableRemezVectorUnits()) {
        for (const std::vector<double>& x : sets) {
            SCOPED_TRACE(Name(u) + ", " + std::to_string(x.size()) + " nodes");
            std::vector<double> want;
            std::vector<int> wantExponent;
            subnormal += ScalarProducts(x, want, wantExponent);
            std::vector<double> product(x.size());
            std::vector<int> exponent(x.size());
            RemezNodeProducts(u, x.data(), static_cast<int>(x.size()), product.data(), exponent.data());
            for (size_t k = 0; k < x.size(); ++k) {
                ASSERT_TRUE(SameBits(product[k], want[k])) << k << ": " << product[k] << " against " << want[k];
                if (want[k] != 0.0) {
                    ASSERT_EQ(exponent[k], wantExponent[k]) << k;
                }
            }
        }
    }
    EXPECT_GT(subnormal, 0) << "no running product was subnormal: the clustered sets test nothing";
}

// The cosine table: exact zeros, exact symmetry, and each entry within an
// ulp of the cosine taken in long double (the plain double cosine of a
// rounded angle near 2 pi is off by more).
TEST(RemezVector, ChebyshevCosineTableIsExactlySymmetric)
{
    for (int m : {1, 2, 5, 129, 514}) {
        const std::vector<double> t = ChebyshevCosineTable(m);
        ASSERT_EQ(t.size(), static_cast<size_t>(4 * m));
        EXPECT_EQ(t[0], 1.0);
        EXPECT_TRUE(SameBits(t[static_cast<size_t>(m)], 0.0));
        EXPECT_TRUE(SameBits(t[static_cast<size_t>(3 * m)], 0.0));
        EXPECT_EQ(t[static_cast<size_t>(2 * m)], -1.0);
        for (int q = 0; q < 4 * m; ++q) {
            const size_t u = static_cast<size_t>(q);
            EXPECT_EQ(t[u], t[static_cast<size_t>((4 * m - q) % (4 * m))]) << q;
            const long double angle = 3.14159265358979323846264338327950288L * q / (2.0L * m);
            EXPECT_NEAR(t[u], static_cast<double>(std::cos(angle)), 2.3e-16) << q;
        }
    }
}
