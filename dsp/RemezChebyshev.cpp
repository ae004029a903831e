#include "dsp/RemezChebyshev.h"

#include <cfloat>
#include <cmath>

double InterpolateExact(const std::vector<ExtremalPoint>& ext, double x)
{
    for (const ExtremalPoint& p : ext)
        if (p.ad != 0.0 && x - p.x == 0.0)
            return p.y;
    double num = 0.0;
    double den = 0.0;
    BarycentricSums(ext, x, num, den);
    // Sums that vanish (no usable node) give 0 rather than 0 / 0.
    if (den == 0.0 || !std::isfinite(num / den))
        return 0.0;
    return num / den;
}

double ChebyshevPoint(int i, int count)
{
    return std::cos(M_PI * (i + 0.5) / count);
}

std::vector<double> ChebyshevCosineTable(int m)
{
    if (m <= 0)
        return {};
    // A quarter wave, the rest by exact symmetry: cos(pi q / 2m) from the
    // cosine up to q = m/2, from the sine of the complement beyond (both
    // accurate there), 0 exactly at q = m.
    const size_t period = 4 * static_cast<size_t>(m);
    std::vector<double> table(period);
    for (int q = 0; q <= m; ++q) {
        const double value = 2 * q <= m ? std::cos(M_PI * q / (2.0 * m)) : std::sin(M_PI * (m - q) / (2.0 * m));
        const size_t u = static_cast<size_t>(q);
        table[u] = value;
        table[2 * static_cast<size_t>(m) - u] = 0.0 - value;
        if (q > 0)
            table[period - u] = value;
        table[2 * static_cast<size_t>(m) + u] = 0.0 - value;
    }
    return table;
}

std::vector<double> ChebyshevCoefficients(const std::vector<double>& v)
{
    return ChebyshevCoefficients(v, ChebyshevCosineTable(static_cast<int>(v.size())));
}

std::vector<double> ChebyshevCoefficients(const std::vector<double>& v, const std::vector<double>& table)
{
    const int m = static_cast<int>(v.size());
    std::vector<double> c(v.size(), 0.0);
    if (m == 0)
        return c;
    // Points i and m-1-i have cos(pi j (2i+1)/2m) of the same size and the
    // sign (-1)^j: even j sum v_i + v_(m-1-i), odd j the difference, over half
    // the points; an odd m's middle point counts for even j alone.
    const int half = m / 2;
    std::vector<double> sum(static_cast<size_t>(half));
    std::vector<double> difference(static_cast<size_t>(half));
    for (int i = 0; i < half; ++i) {
        sum[static_cast<size_t>(i)] = v[static_cast<size_t>(i)] + v[static_cast<size_t>(m - 1 - i)];
        difference[static_cast<size_t>(i)] = v[static_cast<size_t>(i)] - v[static_cast<size_t>(m - 1 - i)];
    }
    const long long period = 4LL * m;
    // The angle j (2i + 1) taken mod 4m: exact reduction, no cosine per term.
    // Four coefficients at a time: four independent sums, each in the order of i.
    for (int j0 = 0; j0 < m; j0 += 4) {
        double total[4] = {0.0, 0.0, 0.0, 0.0};
        long long q[4];
        long long step[4];
        const double* pairs[4];
        const int lanes = m - j0 < 4 ? m - j0 : 4;
        for (int l = 0; l < 4; ++l) {
            const long long j = j0 + (l < lanes ? l : 0);
            q[l] = j % period;
            step[l] = 2 * j % period;
            pairs[l] = j % 2 == 0 ? sum.data() : difference.data();
        }
        for (int i = 0; i < half; ++i) {
            for (int l = 0; l < 4; ++l) {
                const double term = pairs[l][i] * table[static_cast<size_t>(q[l])];
                total[l] += term;
                q[l] += step[l];
                if (q[l] >= period)
                    q[l] -= period;
            }
        }
        if (m % 2 == 1) {
            const double middle = v[static_cast<size_t>(half)];
            for (int l = 0; l < 4; ++l) {
                const double term = middle * table[static_cast<size_t>(q[l])];
                total[l] += term;
            }
        }
        for (int l = 0; l < lanes; ++l)
            c[static_cast<size_t>(j0 + l)] = (j0 + l == 0 ? 1.0 : 2.0) * total[l] / m;
    }
    return c;
}

std::vector<double> InterpolantCoefficients(const std::vector<ExtremalPoint>& ext, int count)
{
    std::vector<double> v(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        v[static_cast<size_t>(i)] = InterpolateExact(ext, ChebyshevPoint(i, count));
    return ChebyshevCoefficients(v);
}

std::vector<double> ComposeWithLine(const std::vector<double>& a, double alpha, double beta)
{
    const size_t n = a.size();
    if (n == 0)
        return {};
    // out = (alpha x + beta) s as a series in x: x T_0 = T_1, x T_k = (T_(k+1) + T_(k-1)) / 2.
    auto times = [&](const std::vector<double>& s, std::vector<double>& out) {
        for (size_t k = 0; k <= n; ++k)
            out[k] = beta * s[k];
        for (size_t k = 0; k < n; ++k) {
            if (s[k] == 0.0)
                continue;
            if (k == 0) {
                out[1] += alpha * s[0];
            } else {
                out[k + 1] += 0.5 * alpha * s[k];
                out[k - 1] += 0.5 * alpha * s[k];
            }
        }
    };
    std::vector<double> b1(n + 1, 0.0), b2(n + 1, 0.0), t(n + 1, 0.0);
    for (size_t j = n - 1; j >= 1; --j) {
        times(b1, t);
        for (size_t k = 0; k <= n; ++k)
            t[k] = 2.0 * t[k] - b2[k];
        t[0] += a[j];
        std::swap(b2, b1);
        std::swap(b1, t);
    }
    times(b1, t);
    for (size_t k = 0; k <= n; ++k)
        t[k] -= b2[k];
    t[0] += a[0];
    t.resize(n);
    return t;
}

double ChebyshevSeries(const double* c, int n, double x)
{
    if (n <= 0)
        return 0.0;
    const double x2 = x + x;
    double b1 = 0.0;
    double b2 = 0.0;
    for (int j = n - 1; j >= 1; --j) {
        const double b = std::fma(x2, b1, c[j] - b2);
        b2 = b1;
        b1 = b;
    }
    return std::fma(x, b1, c[0] - b2);
}

double ChebyshevSeriesErrorBound(const std::vector<double>& c)
{
    double sum = 0.0;
    for (double v : c)
        sum += std::fabs(v);
    return static_cast<double>(c.size()) * DBL_EPSILON * sum;
}

namespace {

// sum_i a_i b_i in four interleaved partial sums (the loop vectorises).
double Dot(const double* a, const double* b, size_t n)
{
    double sum[4] = {0.0, 0.0, 0.0, 0.0};
    size_t i = 0;
    for (; i + 4 <= n; i += 4)
        for (size_t l = 0; l < 4; ++l) {
            const double t = a[i + l] * b[i + l];
            sum[l] += t;
        }
    for (; i < n; ++i) {
        const double t = a[i] * b[i];
        sum[0] += t;
    }
    return (sum[0] + sum[1]) + (sum[2] + sum[3]);
}

}  // namespace

std::vector<double> WeightedSeriesFit(const std::vector<double>& x, const std::vector<double>& value,
                                      const std::vector<double>& weight, int n)
{
    const size_t rows = x.size();
    const size_t cols = static_cast<size_t>(n > 0 ? n : 0);
    if (cols == 0 || rows < cols)
        return {};
    // Column j < n holds W_i T_j(x_i), by the three-term recurrence of T_j;
    // column n holds W_i value_i, so that every reflection treats it alike.
    std::vector<double> a(rows * (cols + 1));
    auto column = [&](size_t j) { return a.data() + j * rows; };
    for (size_t i = 0; i < rows; ++i) {
        double t0 = 1.0;
        double t1 = x[i];
        for (size_t j = 0; j < cols; ++j) {
            const double t = j == 0 ? t0 : j == 1 ? t1 : 2.0 * x[i] * t1 - t0;
            if (j >= 2) {
                t0 = t1;
                t1 = t;
            }
            column(j)[i] = weight[i] * t;
        }
        column(cols)[i] = weight[i] * value[i];
    }
    // Householder QR, each reflection applied to the later columns.
    for (size_t j = 0; j < cols; ++j) {
        double* v = column(j) + j;
        const size_t length = rows - j;
        // The column's norm scaled by its largest entry: no overflow.
        double largest = 0.0;
        for (size_t i = 0; i < length; ++i)
            largest = std::fabs(v[i]) > largest ? std::fabs(v[i]) : largest;
        if (!(largest > 0.0) || !std::isfinite(largest))
            continue;
        const double inverse = 1.0 / largest;
        double squares = 0.0;
        for (size_t i = 0; i < length; ++i) {
            const double t = v[i] * inverse;
            squares += t * t;
        }
        const double norm = largest * std::sqrt(squares);
        const double alpha = v[0] > 0.0 ? -norm : norm;
        v[0] -= alpha;
        const double vv = Dot(v, v, length);
        for (size_t k = j + 1; k <= cols; ++k) {
            double* w = column(k) + j;
            const double s = 2.0 * Dot(v, w, length) / vv;
            for (size_t i = 0; i < length; ++i) {
                const double t = s * v[i];
                w[i] -= t;
            }
        }
        v[0] = alpha;
    }
    const double* b = column(cols);
    std::vector<double> c(cols, 0.0);
    for (size_t jj = cols; jj-- > 0;) {
        double s = b[jj];
        for (size_t k = jj + 1; k < cols; ++k)
            s -= column(k)[jj] * c[k];
        c[jj] = column(jj)[jj] != 0.0 ? s / column(jj)[jj] : 0.0;
    }
    return c;
}
