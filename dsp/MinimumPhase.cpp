#include "dsp/MinimumPhase.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "dsp/CPoints.h"
#include "dsp/LeastSquares.h"
#include "dsp/RemezDesign.h"
#include "dsp/ResponseMeasurement.h"
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
    bool dips = false;  // the amplitude dips below -shift outside the stop bands
};

bool InStopBand(const std::vector<FrequencyBand>& stops, double f)
{
    for (const FrequencyBand& b : stops)
        if (f >= b.lower && f <= b.upper)
            return true;
    return false;
}

Factor FactorOnGrid(std::span<const double> p, int taps, size_t size, const std::vector<FrequencyBand>& stops,
                    double margin)
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
        // The shift comes from the stop bands' ripple: a transition band
        // that dips deeper has no factor that keeps the stop bands.
        const double f = static_cast<double>(std::min(k, size - k)) / static_cast<double>(size);
        if (stops.empty() || InStopBand(stops, f))
            lowest = std::min(lowest, g[k]);
    }
    out.delta = -lowest;
    out.shift = out.delta * (1.0 + margin) + kFloor;
    for (size_t k = 0; k < size; ++k) {
        g[k] = (g[k] + out.shift) / (1.0 + out.shift);
        if (!(g[k] > 0.0) || !std::isfinite(g[k])) {
            out.dips = std::isfinite(g[k]);
            return out;
        }
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

Cx ResponseAt(std::span<const double> taps, double w)
{
    Cx h(0.0, 0.0);
    const Cx step = std::polar(1.0, -w);
    Cx z(1.0, 0.0);
    for (size_t n = 0; n < taps.size(); ++n) {
        if (n % 32 == 0)
            z = std::polar(1.0, -w * static_cast<double>(n));
        h += taps[n] * z;
        z *= step;
    }
    return h;
}

// The phase H(e^jw) gains from w0 to w1 (|step| below pi/2 throughout):
// the interval is halved wherever a step is too long to be read.
bool PhaseGain(std::span<const double> taps, double w0, Cx h0, double w1, Cx h1, int depth, double& gain)
{
    const double step = std::arg(h1 / h0);
    if (std::abs(step) < 0.5 * std::numbers::pi) {
        gain += step;
        return true;
    }
    if (depth == 0)
        return false;
    const double wm = 0.5 * (w0 + w1);
    const Cx hm = ResponseAt(taps, wm);
    if (!(std::abs(hm) > 0.0))
        return false;
    return PhaseGain(taps, w0, h0, wm, hm, depth - 1, gain) && PhaseGain(taps, wm, hm, w1, h1, depth - 1, gain);
}

}  // namespace

int ZerosOutsideUnitCircle(std::span<const double> taps)
{
    // H(z) = z^-(N-1) P(z): the phase of H(e^jw) over a full turn is 2 pi
    // times (zeros of P inside) - (N - 1) = -(zeros outside) (the argument
    // principle), read on a grid of 16 points per tap, refined where a
    // zero close to the circle turns the phase fast.
    if (taps.size() < 2)
        return 0;
    size_t points = 1024;
    while (points < 16 * taps.size())
        points *= 2;
    std::vector<Cx> x(points, Cx(0.0, 0.0));
    for (size_t n = 0; n < taps.size(); ++n)
        x[n] = taps[n];
    Radix2(points).Transform(x, false);
    double gain = 0.0;
    const double spacing = 2.0 * std::numbers::pi / static_cast<double>(points);
    for (size_t k = 0; k < points; ++k) {
        const Cx h0 = x[k], h1 = x[(k + 1) % points];
        if (!(std::abs(h0) > 0.0) || !(std::abs(h1) > 0.0))
            return -1;
        if (!PhaseGain(taps, static_cast<double>(k) * spacing, h0, static_cast<double>(k + 1) * spacing, h1, 40, gain))
            return -1;
    }
    return static_cast<int>(std::lround(-gain / (2.0 * std::numbers::pi)));
}

namespace {

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

MinimumPhaseResult MinimumPhaseFromPrototype(std::span<const double> prototype, int taps,
                                             const std::vector<FrequencyBand>& stopBands, double margin)
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
    Factor f = FactorOnGrid(prototype, taps, size, stopBands, margin);
    if (f.dips) {
        result.status = MinimumPhaseStatus::TransitionDips;
        return result;
    }
    while (f.ok && f.tail > kTailTolerance && size < static_cast<size_t>(kMinimumPhaseMaxFft)) {
        Factor next = FactorOnGrid(prototype, taps, 2 * size, stopBands, margin);
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
    result.margin = margin;
    return result;
}

namespace {

// The bands with each transition wider than the narrowest narrowed to it
// by moving the stop band's edge (the wider transition is where an
// equiripple or least-squares prototype runs free).
std::vector<RemezEdge> NarrowedTransitions(std::vector<RemezEdge> bands)
{
    double narrowest = 1.0;
    for (size_t i = 0; i + 1 < bands.size(); ++i)
        narrowest = std::min(narrowest, bands[i + 1].lower - bands[i].upper);
    for (size_t i = 0; i + 1 < bands.size(); ++i) {
        RemezEdge& lo = bands[i];
        RemezEdge& hi = bands[i + 1];
        if (!(hi.lower - lo.upper > narrowest))
            continue;
        if (lo.value != 0.0 && hi.value == 0.0)
            hi.lower = lo.upper + narrowest;
        else if (lo.value == 0.0 && hi.value != 0.0)
            lo.upper = hi.lower - narrowest;
    }
    return bands;
}

// The bands with every transition a band of its own, halfway between its
// neighbours' values, so weakly weighted that the prototype may ramp
// through it freely but no longer swing far past its ends.
std::vector<RemezEdge> WithTransitionBands(const std::vector<RemezEdge>& bands, double weight)
{
    std::vector<RemezEdge> out;
    for (size_t i = 0; i < bands.size(); ++i) {
        out.push_back(bands[i]);
        if (i + 1 < bands.size() && bands[i + 1].lower > bands[i].upper) {
            RemezEdge t;
            t.lower = bands[i].upper;
            t.upper = bands[i + 1].lower;
            t.value = 0.5 * (bands[i].value + bands[i + 1].value);
            t.weight = weight;
            out.push_back(t);
        }
    }
    return out;
}

// The prototype of 2N - 1 taps for the squared bands.
bool DesignPrototype(MinimumPhaseDesign& d, int length, const std::vector<RemezEdge>& squared, int gridDensity)
{
    if (d.method == PrototypeMethod::Remez) {
        CPoints h;
        const RemezResult r = DesignRemezEdges(length, 0, 0, squared, gridDensity, h);
        if (r.status == RemezStatus::NoGrid)
            return false;
        d.prototypeConverged = r.Converged();
        d.prototypeError = r.dDelta;
        d.prototype.resize(static_cast<size_t>(length));
        for (int k = 0; k < length; ++k)
            d.prototype[static_cast<size_t>(k)] = h[k].real();
        return true;
    }
    std::vector<LeastSquaresBand> ls;
    for (const RemezEdge& b : squared)
        ls.push_back({b.lower, b.upper, b.value, b.weight});
    LeastSquaresResult r = DesignLeastSquares(length, 0, ls);
    if (!r.Ok())
        return false;
    d.prototypeConverged = true;
    d.prototypeError = r.weightedSquaredError;
    d.prototype = std::move(r.taps);
    return true;
}

// The largest |G| over the stop bands, refined between grid points (fs = 1).
double StopTop(std::span<const double> taps, const std::vector<FrequencyBand>& stops)
{
    std::vector<MaskBand> mask;
    for (const FrequencyBand& b : stops)
        mask.push_back({BandKind::Stop, b.lower, b.upper, 0.0});
    const ResponseFigures f = MeasureResponse(taps, 1.0, mask, false);
    double top = 0.0;
    for (const BandFigures& b : f.bands)
        top = std::max(top, std::pow(10.0, b.maxDb / 20.0));
    return f.status == MeasureStatus::Ok ? top : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

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
    std::vector<FrequencyBand> stops, tableStops;
    for (const RemezEdge& b : bands)
        if (b.value == 0.0)
            stops.push_back({b.lower, b.upper});

    // The bands as given; where the prototype dips below its stop bands'
    // ripple in a transition, the same with narrowed transitions, then with
    // weak transition bands besides.
    for (PrototypeRemedy remedy :
         {PrototypeRemedy::None, PrototypeRemedy::NarrowedTransitions, PrototypeRemedy::WeakTransitionBands}) {
        std::vector<RemezEdge> table = squared;
        if (remedy != PrototypeRemedy::None)
            table = NarrowedTransitions(squared);
        if (remedy == PrototypeRemedy::WeakTransitionBands) {
            double lightest = std::numeric_limits<double>::infinity();
            for (const RemezEdge& b : table)
                lightest = std::min(lightest, b.weight);
            // Remez: a weighted error of the first prototype's level lets the
            // transition stray 0.6 from its middle; least squares: a hundredth
            // of the lightest band's weight.
            const double weight = method == PrototypeMethod::Remez && d.prototypeError > 0.0
                                      ? std::abs(d.prototypeError) / 0.6
                                      : 0.01 * lightest;
            table = WithTransitionBands(table, weight);
        }
        d.remedy = remedy;
        if (!DesignPrototype(d, length, table, gridDensity)) {
            d.factor = MinimumPhaseResult{};
            d.factor.status = MinimumPhaseStatus::NoPrototype;
            return d;
        }
        // The shift from the stop bands of the table designed (the given
        // ones, or wider where a transition was narrowed).
        tableStops.clear();
        for (const RemezEdge& b : table)
            if (b.value == 0.0)
                tableStops.push_back({b.lower, b.upper});
        d.factor = MinimumPhaseFromPrototype(d.prototype, taps, tableStops);
        if (d.factor.status != MinimumPhaseStatus::TransitionDips)
            break;
    }
    if (!d.factor.Ok())
        return d;
    // Every zero strictly inside the unit circle: a zero the margin leaves
    // on or just outside it (rounding of G near its smallest values) moves
    // in as the margin grows.
    for (double margin = kMinimumPhaseMargin * 10.0;
         ZerosOutsideUnitCircle(d.factor.taps) != 0 && margin <= kMinimumPhaseMaxMargin * 1.0001; margin *= 10.0) {
        d.factor = MinimumPhaseFromPrototype(d.prototype, taps, tableStops, margin);
        if (!d.factor.Ok())
            return d;
    }
    if (ZerosOutsideUnitCircle(d.factor.taps) != 0) {
        d.factor.status = MinimumPhaseStatus::ZerosOutside;
        return d;
    }
    // The stop bands the factor promises: sqrt((ds + s) / (1 + s)).
    if (!stops.empty()) {
        const double s = d.factor.shift;
        const double ds = StopTop(d.prototype, stops);
        d.promisedStopDb = 10.0 * std::log10((ds + s) / (1.0 + s));
        d.stopDb = 20.0 * std::log10(StopTop(d.factor.taps, stops));
        if (!(d.stopDb <= d.promisedStopDb + kMinimumPhaseStopToleranceDb))
            d.factor.status = MinimumPhaseStatus::StopBandShort;
    }
    return d;
}
