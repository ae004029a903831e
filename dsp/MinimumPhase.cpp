#include "dsp/MinimumPhase.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "dsp/CPoints.h"
#include "dsp/LeastSquares.h"
#include "dsp/RemezDesign.h"
#include "dsp/TrigPi.h"

namespace {

using Cx = std::complex<double>;

// Energy beyond N taps, relative, below which the cepstrum's aliasing is
// taken as gone (the taps are then right to about 1e-10 of their size).
constexpr double kTailTolerance = 1e-20;
// Doubling the transform stops once the tail falls by less than this.
constexpr double kStallRatio = 0.1;
// The margin keeps G at least this far (relative to 1) above zero even
// for a prototype that never dips below zero.
constexpr double kFloor = 1e-12;

// Iterative radix-2 FFT with a table of twiddles exp(-2 pi j k / L) from
// CosPi and SinPi of exact arguments (L a power of two).
class Radix2 {
public:
    explicit Radix2(size_t size) : n_(size), twiddle_(size / 2)
    {
        for (size_t k = 0; k < size / 2; ++k) {
            const double x = 2.0 * static_cast<double>(k) / static_cast<double>(size);
            twiddle_[k] = Cx(CosPi(x), -SinPi(x));
        }
    }

    // X_k = sum x_n exp(-+2 pi j k n / L), unscaled; inverse takes the + sign.
    void Transform(std::vector<Cx>& x, bool inverse) const
    {
        for (size_t i = 1, j = 0; i < n_; ++i) {
            size_t bit = n_ >> 1;
            for (; j & bit; bit >>= 1)
                j ^= bit;
            j |= bit;
            if (i < j)
                std::swap(x[i], x[j]);
        }
        for (size_t len = 2; len <= n_; len <<= 1) {
            const size_t half = len / 2;
            const size_t stride = n_ / len;
            for (size_t start = 0; start < n_; start += len) {
                for (size_t k = 0; k < half; ++k) {
                    const Cx w = inverse ? std::conj(twiddle_[k * stride]) : twiddle_[k * stride];
                    const Cx v = w * x[start + k + half];
                    x[start + k + half] = x[start + k] - v;
                    x[start + k] = x[start + k] + v;
                }
            }
        }
    }

private:
    size_t n_;
    std::vector<Cx> twiddle_;
};

struct Factor {
    std::vector<double> taps;
    double delta = 0.0;
    double shift = 0.0;
    double tail = 0.0;
    double squareError = 0.0;
    bool ok = false;
};

Factor FactorOnGrid(std::span<const double> p, int taps, size_t size)
{
    Factor out;
    const Radix2 fft(size);
    const size_t m = static_cast<size_t>(taps - 1);  // the prototype's centre
    // Zero-phase amplitude: the centred taps wrapped around index 0.
    std::vector<Cx> x(size, Cx(0.0, 0.0));
    x[0] = p[m];
    for (size_t j = 1; j <= m; ++j) {
        const double v = 0.5 * (p[m + j] + p[m - j]);
        x[j] = v;
        x[size - j] = v;
    }
    fft.Transform(x, false);
    std::vector<double> g(size);
    double lowest = 0.0;
    for (size_t k = 0; k < size; ++k) {
        g[k] = x[k].real();
        lowest = std::min(lowest, g[k]);
    }
    out.delta = -lowest;
    out.shift = out.delta * (1.0 + kMinimumPhaseMargin) + kFloor;
    for (size_t k = 0; k < size; ++k) {
        g[k] = (g[k] + out.shift) / (1.0 + out.shift);
        if (!(g[k] > 0.0) || !std::isfinite(g[k]))
            return out;
        x[k] = Cx(0.5 * std::log(g[k]), 0.0);
    }
    // Real cepstrum of log |H|, folded onto n >= 0: the log of the
    // minimum-phase factor.
    fft.Transform(x, true);
    const double scale = 1.0 / static_cast<double>(size);
    for (size_t n = 0; n < size; ++n) {
        const double c = x[n].real() * scale;
        const bool inside = n == 0 || n == size / 2;
        x[n] = Cx(n < size / 2 ? (inside ? c : 2.0 * c) : (inside ? c : 0.0), 0.0);
    }
    fft.Transform(x, false);
    for (Cx& v : x)
        v = std::exp(v);
    fft.Transform(x, true);
    double total = 0.0;
    double tail = 0.0;
    out.taps.resize(static_cast<size_t>(taps));
    for (size_t n = 0; n < size; ++n) {
        const double v = x[n].real() * scale;
        total += v * v;
        if (n < static_cast<size_t>(taps))
            out.taps[n] = v;
        else
            tail += v * v;
    }
    out.tail = total > 0.0 ? tail / total : 1.0;
    // |H|^2 of the N taps against G on the same grid.
    std::fill(x.begin(), x.end(), Cx(0.0, 0.0));
    for (size_t n = 0; n < out.taps.size(); ++n)
        x[n] = out.taps[n];
    fft.Transform(x, false);
    for (size_t k = 0; k < size; ++k)
        out.squareError = std::max(out.squareError, std::fabs(std::norm(x[k]) - g[k]));
    out.ok = true;
    return out;
}

}  // namespace

double SymmetricAmplitude(std::span<const double> prototype, double f)
{
    const size_t count = prototype.size();
    if (count == 0)
        return 0.0;
    const size_t m = (count - 1) / 2;
    double a = prototype[m];
    for (size_t k = 1; k <= m; ++k)
        a += (prototype[m + k] + prototype[m - k]) * CosPi(std::remainder(2.0 * static_cast<double>(k) * f, 2.0));
    return a;
}

MinimumPhaseResult MinimumPhaseFromPrototype(std::span<const double> prototype, int taps)
{
    MinimumPhaseResult result;
    if (taps < 2 || taps > kMinimumPhaseMaxTaps || prototype.size() != static_cast<size_t>(2 * taps - 1))
        return result;
    double largest = 0.0;
    for (double v : prototype) {
        if (!std::isfinite(v)) {
            result.status = MinimumPhaseStatus::NonFinite;
            return result;
        }
        largest = std::max(largest, std::fabs(v));
    }
    if (largest == 0.0) {
        result.status = MinimumPhaseStatus::NonFinite;
        return result;
    }
    for (size_t k = 0; k < prototype.size(); ++k) {
        if (std::fabs(prototype[k] - prototype[prototype.size() - 1 - k]) > 1e-9 * largest) {
            result.status = MinimumPhaseStatus::NotSymmetric;
            return result;
        }
    }
    size_t size = static_cast<size_t>(kMinimumPhaseMinFft);
    while (size < 64 * static_cast<size_t>(taps))
        size *= 2;
    Factor f = FactorOnGrid(prototype, taps, size);
    while (f.ok && f.tail > kTailTolerance && size < static_cast<size_t>(kMinimumPhaseMaxFft)) {
        Factor next = FactorOnGrid(prototype, taps, 2 * size);
        if (!next.ok)
            break;
        // A tail that no longer falls is rounding (G's relative accuracy
        // near its minima), not aliasing: a longer transform cannot help.
        const bool falling = next.tail <= kStallRatio * f.tail;
        if (next.tail < f.tail) {
            f = std::move(next);
            size *= 2;
        }
        if (!falling)
            break;
    }
    if (!f.ok) {
        result.status = MinimumPhaseStatus::NonFinite;
        return result;
    }
    result.status = MinimumPhaseStatus::Ok;
    result.taps = std::move(f.taps);
    result.delta = f.delta;
    result.shift = f.shift;
    result.fftSize = static_cast<int>(size);
    result.tailEnergy = f.tail;
    result.squareError = f.squareError;
    return result;
}

MinimumPhaseDesign DesignMinimumPhase(int taps, PrototypeMethod method, const std::vector<RemezEdge>& bands,
                                      int gridDensity)
{
    MinimumPhaseDesign d;
    d.method = method;
    if (taps < 2 || taps > kMinimumPhaseMaxTaps)
        return d;
    const int length = 2 * taps - 1;
    std::vector<RemezEdge> squared = bands;
    for (RemezEdge& b : squared)
        b.value = b.value * b.value;
    if (method == PrototypeMethod::Remez) {
        CPoints h;
        const RemezResult r = DesignRemezEdges(length, 0, 0, squared, gridDensity, h);
        if (r.status == RemezStatus::NoGrid) {
            d.factor.status = MinimumPhaseStatus::NoPrototype;
            return d;
        }
        d.prototypeConverged = r.Converged();
        d.prototypeError = r.dDelta;
        d.prototype.resize(static_cast<size_t>(length));
        for (int k = 0; k < length; ++k)
            d.prototype[static_cast<size_t>(k)] = h[k].real();
    } else {
        std::vector<LeastSquaresBand> ls;
        for (const RemezEdge& b : squared)
            ls.push_back({b.lower, b.upper, b.value, b.weight});
        LeastSquaresResult r = DesignLeastSquares(length, 0, ls);
        if (!r.Ok()) {
            d.factor.status = MinimumPhaseStatus::NoPrototype;
            return d;
        }
        d.prototypeConverged = true;
        d.prototypeError = r.weightedSquaredError;
        d.prototype = std::move(r.taps);
    }
    d.factor = MinimumPhaseFromPrototype(d.prototype, taps);
    return d;
}
