#include "dsp/LeastSquares.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "dsp/TrigPi.h"

namespace {

constexpr int kPowerSteps = 40;

bool Antisymmetric(int firType)
{
    return firType == 2 || firType == 3;
}

// Integrals over [lo, hi] of cos(pi c f) and sin(pi c f), c >= 0 an
// integer, in product form: no difference of two nearly equal sines.
double CosIntegral(int c, double lo, double hi)
{
    if (c == 0)
        return hi - lo;
    return 2.0 * CosPiAny(0.5 * c * (lo + hi)) * SinPiAny(0.5 * c * (hi - lo)) / (std::numbers::pi * c);
}

double SinIntegral(int c, double lo, double hi)
{
    if (c == 0)
        return 0.0;
    return 2.0 * SinPiAny(0.5 * c * (lo + hi)) * SinPiAny(0.5 * c * (hi - lo)) / (std::numbers::pi * c);
}

// The multiple p of pi f of basis function k.
int Multiple(int k, int firType)
{
    switch (firType) {
    case 0:
        return 2 * k;
    case 2:
        return 2 * (k + 1);
    default:
        return 2 * k + 1;
    }
}

using Matrix = std::vector<double>;  // row-major n x n

// Lower Cholesky factor in place; false when a pivot is not positive.
bool Cholesky(Matrix& a, int n)
{
    for (int j = 0; j < n; ++j) {
        double* rj = &a[static_cast<size_t>(j) * n];
        double d = rj[j];
        for (int k = 0; k < j; ++k)
            d -= rj[k] * rj[k];
        if (!(d > 0.0) || !std::isfinite(d))
            return false;
        const double l = std::sqrt(d);
        rj[j] = l;
        for (int i = j + 1; i < n; ++i) {
            double* ri = &a[static_cast<size_t>(i) * n];
            double s = ri[j];
            for (int k = 0; k < j; ++k)
                s -= ri[k] * rj[k];
            ri[j] = s / l;
        }
    }
    return true;
}

std::vector<double> CholeskySolve(const Matrix& l, int n, std::vector<double> x)
{
    for (int i = 0; i < n; ++i) {
        const double* ri = &l[static_cast<size_t>(i) * n];
        double s = x[static_cast<size_t>(i)];
        for (int k = 0; k < i; ++k)
            s -= ri[k] * x[static_cast<size_t>(k)];
        x[static_cast<size_t>(i)] = s / ri[i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = x[static_cast<size_t>(i)];
        for (int k = i + 1; k < n; ++k)
            s -= l[static_cast<size_t>(k) * n + i] * x[static_cast<size_t>(k)];
        x[static_cast<size_t>(i)] = s / l[static_cast<size_t>(i) * n + i];
    }
    return x;
}

std::vector<double> Multiply(const Matrix& a, int n, const std::vector<double>& x)
{
    std::vector<double> y(static_cast<size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double* ri = &a[static_cast<size_t>(i) * n];
        double s = 0.0;
        for (int k = 0; k < n; ++k)
            s += ri[k] * x[static_cast<size_t>(k)];
        y[static_cast<size_t>(i)] = s;
    }
    return y;
}

double Norm(const std::vector<double>& x)
{
    double s = 0.0;
    for (double v : x)
        s += v * v;
    return std::sqrt(s);
}

// A start vector with every eigenvector present: not a multiple of any
// cosine pattern of the basis.
std::vector<double> StartVector(int n)
{
    std::vector<double> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<size_t>(i)] = 1.0 + 0.37 * std::sin(1.3 * i + 0.2) + 0.01 * i;
    const double s = Norm(v);
    for (double& x : v)
        x /= s;
    return v;
}

// The largest |eigenvalue| of the operator by power iteration.
template <typename Apply>
double DominantEigenvalue(int n, Apply apply)
{
    std::vector<double> v = StartVector(n);
    double lambda = 0.0;
    for (int step = 0; step < kPowerSteps; ++step) {
        std::vector<double> w = apply(v);
        lambda = Norm(w);
        if (!std::isfinite(lambda) || lambda == 0.0)
            return 0.0;
        for (size_t i = 0; i < w.size(); ++i)
            v[i] = w[i] / lambda;
    }
    return lambda;
}

double LargestEigenvalue(const Matrix& g, int n)
{
    return DominantEigenvalue(n, [&](const std::vector<double>& v) { return Multiply(g, n, v); });
}

// Smallest eigenvalue by inverse iteration on the Cholesky factor (an upper
// bound: the iteration approaches it from above).
double SmallestEigenvalue(const Matrix& l, int n)
{
    const double mu = DominantEigenvalue(n, [&](const std::vector<double>& v) { return CholeskySolve(l, n, v); });
    return mu > 0.0 ? 1.0 / mu : 0.0;
}

bool BandsValid(std::span<const LeastSquaresBand> bands)
{
    std::vector<LeastSquaresBand> sorted(bands.begin(), bands.end());
    for (const LeastSquaresBand& b : sorted) {
        if (!std::isfinite(b.lower) || !std::isfinite(b.upper) || !std::isfinite(b.value) ||
            !std::isfinite(b.weight) || b.lower < 0.0 || b.upper > 0.5 || !(b.lower < b.upper) || !(b.weight > 0.0))
            return false;
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const LeastSquaresBand& a, const LeastSquaresBand& b) { return a.lower < b.lower; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].lower < sorted[i - 1].upper)
            return false;
    return true;
}

}  // namespace

double LinearPhaseAmplitude(std::span<const double> taps, int firType, double f)
{
    const int n = static_cast<int>(taps.size());
    const double centre = 0.5 * (n - 1);
    double a = 0.0;
    for (int k = 0; k < n; ++k) {
        // Distance from the centre, d = centre - k: h[k] exp(j 2 pi f d).
        const double x = 2.0 * f * (centre - k);
        a += taps[static_cast<size_t>(k)] * (Antisymmetric(firType) ? SinPiAny(x) : CosPiAny(x));
    }
    return a;
}

LeastSquaresResult DesignLeastSquares(int taps, int firType, std::span<const LeastSquaresBand> bands)
{
    LeastSquaresResult result;
    if (taps < kLeastSquaresMinTaps || taps > kLeastSquaresMaxTaps || firType < 0 || firType > 3 ||
        (taps % 2 == 1) != (firType == 0 || firType == 2))
        return result;
    if (bands.empty() || bands.size() > static_cast<size_t>(kLeastSquaresMaxBands)) {
        result.status = LeastSquaresStatus::NoBands;
        return result;
    }
    if (!BandsValid(bands)) {
        result.status = LeastSquaresStatus::BadBand;
        return result;
    }
    const bool anti = Antisymmetric(firType);
    const int n = firType == 0 ? (taps + 1) / 2 : firType == 2 ? (taps - 1) / 2 : taps / 2;
    result.functions = n;
    const int maxMultiple = 2 * Multiple(n - 1, firType);

    // G(c) = sum_b w_b int_b cos(pi c f) df for every c the products need.
    std::vector<double> g(static_cast<size_t>(maxMultiple) + 1, 0.0);
    for (const LeastSquaresBand& b : bands)
        for (int c = 0; c <= maxMultiple; ++c)
            g[static_cast<size_t>(c)] += b.weight * CosIntegral(c, b.lower, b.upper);

    // cos a cos b = (cos(a-b) + cos(a+b)) / 2; sin a sin b = (cos(a-b) - cos(a+b)) / 2.
    Matrix gram(static_cast<size_t>(n) * n);
    std::vector<double> rhs(static_cast<size_t>(n), 0.0);
    double energy = 0.0;  // sum_b w_b value^2 (hi - lo)
    for (int k = 0; k < n; ++k) {
        const int pk = Multiple(k, firType);
        for (int l = 0; l < n; ++l) {
            const int pl = Multiple(l, firType);
            const double sum = g[static_cast<size_t>(pk + pl)];
            const double diff = g[static_cast<size_t>(std::abs(pk - pl))];
            gram[static_cast<size_t>(k) * n + l] = 0.5 * (anti ? diff - sum : diff + sum);
        }
    }
    for (const LeastSquaresBand& b : bands) {
        energy += b.weight * b.value * b.value * (b.upper - b.lower);
        for (int k = 0; k < n; ++k) {
            const int pk = Multiple(k, firType);
            rhs[static_cast<size_t>(k)] +=
                b.weight * b.value * (anti ? SinIntegral(pk, b.lower, b.upper) : CosIntegral(pk, b.lower, b.upper));
        }
    }

    const double largest = LargestEigenvalue(gram, n);
    Matrix factor = gram;
    bool factored = Cholesky(factor, n);
    double smallest = factored ? SmallestEigenvalue(factor, n) : 0.0;
    result.conditionEstimate =
        smallest > 0.0 ? largest / smallest : std::numeric_limits<double>::infinity();
    if (!factored || result.conditionEstimate > kLeastSquaresMaxCondition) {
        result.ridge = kLeastSquaresRidge * largest;
        factor = gram;
        for (int i = 0; i < n; ++i)
            factor[static_cast<size_t>(i) * n + i] += result.ridge;
        factored = Cholesky(factor, n);
    }
    if (!factored) {
        result.status = LeastSquaresStatus::NotSolvable;
        return result;
    }
    // One step of refinement on the system solved (with its ridge).
    std::vector<double> a = CholeskySolve(factor, n, rhs);
    {
        std::vector<double> r = Multiply(gram, n, a);
        for (int i = 0; i < n; ++i)
            r[static_cast<size_t>(i)] = rhs[static_cast<size_t>(i)] - r[static_cast<size_t>(i)] -
                                        result.ridge * a[static_cast<size_t>(i)];
        const std::vector<double> da = CholeskySolve(factor, n, r);
        for (int i = 0; i < n; ++i)
            a[static_cast<size_t>(i)] += da[static_cast<size_t>(i)];
    }
    for (double v : a) {
        if (!std::isfinite(v)) {
            result.status = LeastSquaresStatus::NotSolvable;
            return result;
        }
    }
    std::vector<double> ga = Multiply(gram, n, a);
    double quadratic = 0.0;
    double linear = 0.0;
    std::vector<double> residual(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const size_t u = static_cast<size_t>(i);
        residual[u] = ga[u] - rhs[u];
        quadratic += a[u] * ga[u];
        linear += a[u] * rhs[u];
    }
    const double rhsNorm = Norm(rhs);
    result.relativeResidual = rhsNorm > 0.0 ? Norm(residual) / rhsNorm : Norm(residual);
    result.weightedSquaredError = std::max(0.0, quadratic - 2.0 * linear + energy);

    // Taps from the amplitude's coefficients: a basis function at distance d
    // from the centre takes half its coefficient on each side (the centre
    // tap of type 0 takes all of a_0).
    std::vector<double>& h = result.taps;
    h.assign(static_cast<size_t>(taps), 0.0);
    const int half = taps / 2;
    for (int k = 0; k < n; ++k) {
        const double v = a[static_cast<size_t>(k)];
        switch (firType) {
        case 0:
            if (k == 0) {
                h[static_cast<size_t>(half)] = v;
            } else {
                h[static_cast<size_t>(half - k)] = 0.5 * v;
                h[static_cast<size_t>(half + k)] = 0.5 * v;
            }
            break;
        case 1:
            h[static_cast<size_t>(half - 1 - k)] = 0.5 * v;
            h[static_cast<size_t>(half + k)] = 0.5 * v;
            break;
        case 2:
            h[static_cast<size_t>(half - 1 - k)] = 0.5 * v;
            h[static_cast<size_t>(half + 1 + k)] = -0.5 * v;
            break;
        default:
            h[static_cast<size_t>(half - 1 - k)] = 0.5 * v;
            h[static_cast<size_t>(half + k)] = -0.5 * v;
            break;
        }
    }
    result.status = LeastSquaresStatus::Ok;
    return result;
}
