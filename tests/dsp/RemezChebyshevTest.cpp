#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/RemezAlgorithm.h"
#include "dsp/RemezChebyshev.h"

namespace {

double CosineSum(const std::vector<double>& c, double x)
{
    // sum c_j T_j(x) with T_j(cos t) = cos(j t), straight from the definition.
    const double t = std::acos(x);
    double sum = 0.0;
    for (size_t j = 0; j < c.size(); ++j)
        sum += c[j] * std::cos(static_cast<double>(j) * t);
    return sum;
}

std::vector<double> SomeSeries(int n)
{
    std::vector<double> c(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        c[static_cast<size_t>(j)] = std::sin(0.7 * j + 0.2) / (1.0 + 0.3 * j);
    return c;
}

}  // namespace

TEST(RemezChebyshev, SamplesAtChebyshevPointsGiveBackTheSeries)
{
    for (int n : {1, 2, 5, 33, 514}) {
        const std::vector<double> c = SomeSeries(n);
        std::vector<double> v(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            v[static_cast<size_t>(i)] = CosineSum(c, ChebyshevPoint(i, n));
        const std::vector<double> back = ChebyshevCoefficients(v);
        ASSERT_EQ(back.size(), c.size());
        for (int j = 0; j < n; ++j)
            EXPECT_NEAR(back[static_cast<size_t>(j)], c[static_cast<size_t>(j)], 1e-13) << n << " " << j;
    }
    EXPECT_EQ(ChebyshevPoint(0, 4), std::cos(M_PI / 8));
}

TEST(RemezChebyshev, ClenshawSumsTheSeries)
{
    const std::vector<double> c = SomeSeries(40);
    for (double x : {-1.0, -0.73, 0.0, 0.31, 0.999, 1.0})
        EXPECT_NEAR(ChebyshevSeries(c.data(), 40, x), CosineSum(c, x), 1e-13) << x;
    EXPECT_EQ(ChebyshevSeries(c.data(), 0, 0.5), 0.0);
    EXPECT_EQ(ChebyshevSeries(c.data(), 1, 0.5), c[0]);
    // The bound is n eps sum |c|.
    EXPECT_DOUBLE_EQ(ChebyshevSeriesErrorBound({1.0, -2.0}), 2.0 * 3.0 * 2.220446049250313e-16);
}

TEST(RemezChebyshev, InterpolantCoefficientsReproduceTheNodes)
{
    // Nodes of a quadratic: the series through 3 Chebyshev points is x^2 = (T_0 + T_2) / 2.
    std::vector<ExtremalPoint> ext(3);
    const double xs[] = {0.9, 0.1, -0.6};
    for (int k = 0; k < 3; ++k) {
        ext[static_cast<size_t>(k)].x = xs[k];
        ext[static_cast<size_t>(k)].y = xs[k] * xs[k];
    }
    ComputeBaryWeights(ext);
    const std::vector<double> c = InterpolantCoefficients(ext, 3);
    EXPECT_NEAR(c[0], 0.5, 1e-15);
    EXPECT_NEAR(c[1], 0.0, 1e-15);
    EXPECT_NEAR(c[2], 0.5, 1e-15);
    // Exactly at a node the node's value, whatever rounding the sum would add.
    EXPECT_EQ(InterpolateExact(ext, 0.1), ext[1].y);
    EXPECT_NEAR(InterpolateExact(ext, 0.1 + 1e-12), (0.1 + 1e-12) * (0.1 + 1e-12), 1e-16);
}

TEST(RemezChebyshev, LeastSquaresFitOnClusteredPoints)
{
    // A series of 12 terms known only on two narrow clusters, as the bands of
    // a design with wide gaps: the fit reproduces the values there to
    // rounding even though the series is large in between.
    const std::vector<double> c = SomeSeries(12);
    std::vector<double> x, value, weight;
    for (int i = 0; i < 20; ++i) {
        x.push_back(0.30 + 0.004 * i);
        x.push_back(-0.80 - 0.005 * i);
    }
    for (double xi : x) {
        value.push_back(CosineSum(c, xi));
        weight.push_back(xi > 0 ? 1.0 : 10.0);
    }
    const std::vector<double> fit = WeightedSeriesFit(x, value, weight, 12);
    ASSERT_EQ(fit.size(), 12u);
    for (size_t i = 0; i < x.size(); ++i)
        EXPECT_NEAR(ChebyshevSeries(fit.data(), 12, x[i]), value[i], 1e-12) << x[i];
    EXPECT_TRUE(WeightedSeriesFit({0.1, 0.2}, {1.0, 2.0}, {1.0, 1.0}, 3).empty());
}

// A series in t = alpha x + beta written as one in x: both sum to the same
// values wherever t stays in [-1, 1] (T_j evaluated from the definition),
// and T_1(t) = alpha x + beta, T_2(t) = 2 t^2 - 1 come out exactly.
TEST(RemezChebyshev, ComposeWithLineKeepsTheValues)
{
    const double lo = -0.9969, hi = 0.9999;
    const double alpha = 2.0 / (hi - lo), beta = -(hi + lo) / (hi - lo);
    const std::vector<double> a = {0.3, -1.2, 0.7, 0.05, -0.4, 0.9, 0.25, -0.6};
    const std::vector<double> c = ComposeWithLine(a, alpha, beta);
    ASSERT_EQ(c.size(), a.size());
    for (double x = lo; x <= hi; x += 0.01)
        EXPECT_NEAR(CosineSum(c, x), CosineSum(a, alpha * x + beta), 1e-12) << x;

    const std::vector<double> t1 = ComposeWithLine({0.0, 1.0}, 0.5, 0.25);
    EXPECT_EQ(t1, (std::vector<double>{0.25, 0.5}));
    // 2 (0.5 x + 0.25)^2 - 1 = 0.5 x^2 + 0.5 x - 0.875 = 0.25 T_2 + 0.5 T_1 - 0.625.
    const std::vector<double> t2 = ComposeWithLine({0.0, 0.0, 1.0}, 0.5, 0.25);
    EXPECT_EQ(t2, (std::vector<double>{-0.625, 0.5, 0.25}));
    EXPECT_TRUE(ComposeWithLine({}, 1.0, 0.0).empty());
}
