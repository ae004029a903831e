#include "dsp/ResponseMeasurement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// The phasor is recomputed exactly every so many taps, so its rounding
// error never builds up over a long filter.
constexpr std::size_t kReseed = 32;

// H and, when wanted, sum n h[n] exp(-j w n) in one pass.
template <bool kWithDelay>
void Evaluate(std::span<const double> taps, double fraction, std::complex<double>& h, std::complex<double>& nh) {
    const double w = -2.0 * std::numbers::pi * fraction;
    // fs/2 is the alternating sum, exactly.
    const bool nyquist = fraction == 0.5;
    const std::complex<double> step = nyquist ? -1.0 : std::polar(1.0, w);
    h = nh = 0.0;
    for (std::size_t n0 = 0; n0 < taps.size(); n0 += kReseed) {
        std::complex<double> z = nyquist ? std::complex<double>(n0 % 2 ? -1.0 : 1.0)
                                         : std::polar(1.0, w * static_cast<double>(n0));
        const std::size_t end = std::min(taps.size(), n0 + kReseed);
        for (std::size_t n = n0; n < end; ++n) {
            const std::complex<double> term = taps[n] * z;
            h += term;
            if constexpr (kWithDelay) {
                nh += static_cast<double>(n) * term;
            }
            z *= step;
        }
    }
}

// Frequencies (Hz) of a band: both edges and every grid point strictly between.
std::vector<double> BandGrid(const MaskBand& band, double fs, int intervals) {
    std::vector<double> hz{band.loHz};
    const double spacing = fs / 2.0 / intervals;
    for (int k = static_cast<int>(std::floor(band.loHz / spacing)) + 1; k * spacing < band.hiHz; ++k) {
        if (k * spacing > band.loHz) {
            hz.push_back(k * spacing);
        }
    }
    hz.push_back(band.hiHz);
    return hz;
}

double Magnitude(std::span<const double> taps, double hz, double fs) {
    return std::abs(FrequencyResponseAt(taps, hz / fs));
}

// |H| at every frequency of hz (Hz), as Magnitude but a block of
// frequencies at a time: the taps are read once per block and the block's
// phasors advance side by side, which the compiler turns into vector
// arithmetic; the phasors are recomputed every kBlockReseed taps (their
// drift stays below 1e-13 of sum |h|, far under any figure's 0.001 dB).
// 0 and fs/2 are evaluated one by one, exactly as Magnitude does.
std::vector<double> MagnitudesAt(std::span<const double> taps, const std::vector<double>& hz, double fs) {
    constexpr std::size_t kBlock = 8;
    constexpr std::size_t kBlockReseed = 128;
    std::vector<double> out(hz.size());
    const std::size_t count = taps.size();
    for (std::size_t b0 = 0; b0 < hz.size(); b0 += kBlock) {
        const std::size_t width = std::min(kBlock, hz.size() - b0);
        double w[kBlock] = {}, stepRe[kBlock], stepIm[kBlock], zRe[kBlock], zIm[kBlock];
        double hRe[kBlock] = {}, hIm[kBlock] = {};
        for (std::size_t j = 0; j < kBlock; ++j) {
            w[j] = j < width ? -2.0 * std::numbers::pi * hz[b0 + j] / fs : 0.0;
            stepRe[j] = std::cos(w[j]);
            stepIm[j] = std::sin(w[j]);
        }
        for (std::size_t n0 = 0; n0 < count; n0 += kBlockReseed) {
            for (std::size_t j = 0; j < kBlock; ++j) {
                zRe[j] = std::cos(w[j] * static_cast<double>(n0));
                zIm[j] = std::sin(w[j] * static_cast<double>(n0));
            }
            const std::size_t end = std::min(count, n0 + kBlockReseed);
            for (std::size_t n = n0; n < end; ++n) {
                const double t = taps[n];
                for (std::size_t j = 0; j < kBlock; ++j) {
                    hRe[j] += t * zRe[j];
                    hIm[j] += t * zIm[j];
                    const double re = zRe[j] * stepRe[j] - zIm[j] * stepIm[j];
                    zIm[j] = zRe[j] * stepIm[j] + zIm[j] * stepRe[j];
                    zRe[j] = re;
                }
            }
        }
        for (std::size_t j = 0; j < width; ++j) {
            const double f = hz[b0 + j];
            out[b0 + j] = f == 0.0 || f == fs / 2.0 ? Magnitude(taps, f, fs) : std::hypot(hRe[j], hIm[j]);
        }
    }
    return out;
}

// Golden-section steps of a refinement: the bracket, two grid spacings at
// first, shrinks to 0.618^24 of that (1e-5 of a spacing); the value at a
// smooth peak then differs from the true one by far less than 0.001 dB.
constexpr int kGoldenSteps = 24;
// Local extremes within this share of the samples' spread below the band's
// sampled extreme are refined: the sampled peak of a lobe lies within a few
// per cent of the lobe's swing below the true one at 16 or more grid points
// per tap.
constexpr double kRefineShare = 0.05;

// A function of one frequency as one of many (the form RefinedMaximum takes).
template <typename Fn>
auto EachPoint(Fn&& g) {
    return [g](const std::vector<double>& x) {
        std::vector<double> out(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            out[i] = g(x[i]);
        }
        return out;
    };
}

// The largest value of g over a band, from its samples v at the band's grid
// hz (ascending, edges included): every local maximum of the samples near
// the sampled largest is refined between its neighbours by golden-section
// search (g being unimodal there, a grid point's lobe; the ends count too),
// so that a peak between grid points is not stepped over. g takes the
// points of all the searches' steps at once (a vector of frequencies to a
// vector of values).
template <typename Batch>
double RefinedMaximum(Batch&& g, const std::vector<double>& hz, const std::vector<double>& v) {
    const std::size_t n = v.size();
    double sampled = -std::numeric_limits<double>::infinity();
    for (double x : v) {
        sampled = std::max(sampled, x);
    }
    if (n < 2 || !std::isfinite(sampled)) {
        return sampled;
    }
    // The sampled top of a lobe lies within a small share of the lobe's
    // swing below its true top; the swing is at most the spread of the
    // samples (a pass band's ripple, not its gain), so only the lobes near
    // the top are refined.
    const double lowest = *std::min_element(v.begin(), v.end());
    const double floor = sampled - kRefineShare * (std::isfinite(lowest) ? sampled - lowest : std::abs(sampled));
    std::vector<double> a, b;
    for (std::size_t i = 0; i < n; ++i) {
        const bool peak = (i == 0 || v[i] >= v[i - 1]) && (i + 1 == n || v[i] >= v[i + 1]);
        if (peak && v[i] >= floor) {
            a.push_back(hz[i == 0 ? 0 : i - 1]);
            b.push_back(hz[i + 1 == n ? n - 1 : i + 1]);
        }
    }
    double best = sampled;
    if (a.empty()) {
        return best;
    }
    const std::size_t m = a.size();
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    std::vector<double> x1(m), x2(m), next(m);
    std::vector<char> left(m);
    for (std::size_t k = 0; k < m; ++k) {
        x1[k] = b[k] - ratio * (b[k] - a[k]);
        x2[k] = a[k] + ratio * (b[k] - a[k]);
    }
    for (const std::vector<double>* ends : {&a, &b}) {
        for (double value : g(*ends)) {
            best = std::max(best, value);
        }
    }
    std::vector<double> g1 = g(x1), g2 = g(x2);
    for (int step = 0; step < kGoldenSteps; ++step) {
        for (std::size_t k = 0; k < m; ++k) {
            left[k] = g1[k] >= g2[k];
            if (left[k]) {
                b[k] = x2[k];
                x2[k] = x1[k];
                g2[k] = g1[k];
                x1[k] = b[k] - ratio * (b[k] - a[k]);
                next[k] = x1[k];
            } else {
                a[k] = x1[k];
                x1[k] = x2[k];
                g1[k] = g2[k];
                x2[k] = a[k] + ratio * (b[k] - a[k]);
                next[k] = x2[k];
            }
        }
        const std::vector<double> value = g(next);
        for (std::size_t k = 0; k < m; ++k) {
            (left[k] ? g1[k] : g2[k]) = value[k];
        }
    }
    for (std::size_t k = 0; k < m; ++k) {
        best = std::max({best, g1[k], g2[k]});
    }
    return best;
}

// Walks the grid from edge in direction dir (+1 up, -1 down) until the gain
// drops below level, stopping at limit; then bisects the crossing.
bool FindCrossing(std::span<const double> taps, double fs, int intervals, double edge, int dir, double limit,
                  double level, double& crossing) {
    const double spacing = fs / 2.0 / intervals;
    double inside = edge;
    if (Magnitude(taps, inside, fs) < level) {
        return false;
    }
    for (int k = 1;; ++k) {
        double f = edge + dir * k * spacing;
        if ((dir > 0 && f > limit) || (dir < 0 && f < limit)) {
            f = limit;
        }
        if (Magnitude(taps, f, fs) < level) {
            double a = inside, b = f;
            for (int i = 0; i < 60 && std::abs(b - a) > 1e-9 * fs; ++i) {
                const double m = 0.5 * (a + b);
                (Magnitude(taps, m, fs) < level ? b : a) = m;
            }
            crossing = 0.5 * (a + b);
            return true;
        }
        if (f == limit) {
            return false;
        }
        inside = f;
    }
}

void FindCrossings(std::span<const double> taps, double fs, int intervals, std::span<const MaskBand> bands,
                   double nominal, double dropDb, std::vector<double>& out) {
    const double level = nominal * std::pow(10.0, -dropDb / 20.0);
    std::vector<MaskBand> pass;
    for (const MaskBand& b : bands) {
        if (b.kind == BandKind::Pass) {
            pass.push_back(b);
        }
    }
    std::sort(pass.begin(), pass.end(), [](const MaskBand& a, const MaskBand& b) { return a.loHz < b.loHz; });
    for (std::size_t i = 0; i < pass.size(); ++i) {
        const double below = i == 0 ? 0.0 : pass[i - 1].hiHz;
        const double above = i + 1 == pass.size() ? fs / 2.0 : pass[i + 1].loHz;
        double f = 0.0;
        if (pass[i].loHz > 0.0 && FindCrossing(taps, fs, intervals, pass[i].loHz, -1, below, level, f)) {
            out.push_back(f);
        }
        if (pass[i].hiHz < fs / 2.0 && FindCrossing(taps, fs, intervals, pass[i].hiHz, +1, above, level, f)) {
            out.push_back(f);
        }
    }
    std::sort(out.begin(), out.end());
}

}  // namespace

int MeasurementGridIntervals(int taps) { return std::max(8192, 16 * taps); }

double ExactAbsSum(std::span<const double> values) {
    // Shewchuk's exact partials ("Adaptive precision floating-point
    // arithmetic", 1997): non-overlapping doubles whose sum is exactly that
    // of the values so far; then summed from the largest down with the
    // correction for a half-way case, as Python's math.fsum does.
    std::vector<double> partials;
    for (double v : values) {
        double x = std::abs(v);
        std::size_t kept = 0;
        for (std::size_t j = 0; j < partials.size(); ++j) {
            double y = partials[j];
            if (std::abs(x) < std::abs(y)) {
                std::swap(x, y);
            }
            const double hi = x + y;
            const double lo = y - (hi - x);
            if (lo != 0.0) {
                partials[kept++] = lo;
            }
            x = hi;
        }
        partials.resize(kept);
        partials.push_back(x);
    }
    if (partials.empty()) {
        return 0.0;
    }
    std::size_t n = partials.size() - 1;
    double hi = partials[n];
    double lo = 0.0;
    while (n > 0) {
        const double x = hi;
        const double y = partials[--n];
        hi = x + y;
        lo = y - (hi - x);
        if (lo != 0.0) {
            break;
        }
    }
    if (n > 0 && ((lo < 0.0 && partials[n - 1] < 0.0) || (lo > 0.0 && partials[n - 1] > 0.0))) {
        const double y = 2.0 * lo;
        const double x = hi + y;
        if (y == x - hi) {
            hi = x;
        }
    }
    return hi;
}

int HeadroomBits(double sumAbs) {
    if (!(sumAbs > 1.0) || !std::isfinite(sumAbs)) {
        return sumAbs > 1.0 ? std::numeric_limits<int>::max() : 0;
    }
    int exponent = 0;
    const double mantissa = std::frexp(sumAbs, &exponent);  // sumAbs = mantissa 2^exponent, mantissa in [0.5, 1)
    return mantissa == 0.5 ? exponent - 1 : exponent;
}

std::complex<double> FrequencyResponseAt(std::span<const double> taps, double fraction) {
    std::complex<double> h, nh;
    Evaluate<false>(taps, fraction, h, nh);
    return h;
}

double GroupDelayAt(std::span<const double> taps, double fraction) {
    std::complex<double> h, nh;
    Evaluate<true>(taps, fraction, h, nh);
    double scale = 0.0;
    for (double t : taps) {
        scale += std::abs(t);
    }
    if (!(std::abs(h) > 1e-9 * scale)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return (nh / h).real();
}

double GainDb(double magnitude) {
    if (!(magnitude > 0.0)) {
        return kFloorDb;
    }
    return std::max(kFloorDb, 20.0 * std::log10(magnitude));
}

int TapSymmetry(std::span<const double> taps, double tolerance) {
    double peak = 0.0;
    for (double t : taps) {
        peak = std::max(peak, std::abs(t));
    }
    const double tol = tolerance * peak;
    bool even = true, odd = true;
    const std::size_t n = taps.size();
    for (std::size_t i = 0; i < n; ++i) {
        even = even && std::abs(taps[i] - taps[n - 1 - i]) <= tol;
        odd = odd && std::abs(taps[i] + taps[n - 1 - i]) <= tol;
    }
    return even ? 1 : odd ? -1 : 0;
}

ResponseFigures MeasureResponse(std::span<const double> taps, double fs, std::span<const MaskBand> bands,
                                bool crossings) {
    ResponseFigures r;
    if (taps.empty()) {
        return r;
    }
    if (!(fs > 0.0) || !std::isfinite(fs)) {
        r.status = MeasureStatus::BadRate;
        return r;
    }
    for (double t : taps) {
        if (!std::isfinite(t)) {
            r.status = MeasureStatus::NonFinite;
            return r;
        }
    }
    for (const MaskBand& b : bands) {
        if (!(b.loHz >= 0.0 && b.loHz < b.hiHz && b.hiHz <= fs / 2.0)) {
            r.status = MeasureStatus::BadBand;
            return r;
        }
    }
    r.status = MeasureStatus::Ok;
    const int n = static_cast<int>(taps.size());
    r.gridIntervals = MeasurementGridIntervals(n);

    for (int i = 0; i < n; ++i) {
        if (std::abs(taps[i]) > std::abs(r.peakTap)) {
            r.peakTap = taps[i];
            r.peakTapIndex = i;
        }
    }
    // The sum exactly rounded: a sum just below a power of two must not round
    // up across it (nine taps of 1/9 sum to 1 - 2^-54 exactly, summed in
    // order to 1 + 2^-52).
    r.sumAbsTaps = ExactAbsSum(taps);
    r.headroomBits = HeadroomBits(r.sumAbsTaps);
    r.dcGainDb = GainDb(std::abs(FrequencyResponseAt(taps, 0.0)));
    r.nyquistGainDb = GainDb(std::abs(FrequencyResponseAt(taps, 0.5)));

    // Per band: linear extremes and the deviation from the ideal.
    double passMax = 0.0, passMin = std::numeric_limits<double>::infinity();
    bool anyPass = false;
    double slopePeak = 0.0;
    std::vector<double> gdHz;
    for (const MaskBand& b : bands) {
        BandFigures f;
        f.band = b;
        const std::vector<double> hz = BandGrid(b, fs, r.gridIntervals);
        std::vector<double> mag = MagnitudesAt(taps, hz, fs);
        // The band edges exactly, one by one.
        mag.front() = Magnitude(taps, hz.front(), fs);
        mag.back() = Magnitude(taps, hz.back(), fs);
        std::vector<double> negMag(hz.size());
        for (std::size_t i = 0; i < hz.size(); ++i) {
            negMag[i] = -mag[i];
        }
        auto magnitude = [&](double x) { return Magnitude(taps, x, fs); };
        auto magnitudes = [&](const std::vector<double>& x) { return MagnitudesAt(taps, x, fs); };
        auto negated = [&](const std::vector<double>& x) {
            std::vector<double> v = MagnitudesAt(taps, x, fs);
            for (double& e : v) {
                e = -e;
            }
            return v;
        };
        // Extremes refined between the grid points: a figure declared met is
        // met under any denser evaluation.
        const double hi = RefinedMaximum(magnitudes, hz, mag);
        const double lo = b.kind == BandKind::Stop ? *std::min_element(mag.begin(), mag.end())
                                                   : -RefinedMaximum(negated, hz, negMag);
        if (b.kind == BandKind::Pass) {
            f.maxDeviation = std::max(std::abs(hi - b.desired), std::abs(lo - b.desired));
        } else if (b.kind == BandKind::Slope) {
            auto ideal = [&](double x) { return b.desired * x / (fs / 2.0); };
            // The gain relative to the ideal line, in dB, where the line is above 0.
            // (-infinity, left out, where the line is at 0).
            const double none = -std::numeric_limits<double>::infinity();
            auto relUp = [&](double x) { return ideal(x) > 0.0 ? GainDb(magnitude(x)) - GainDb(ideal(x)) : none; };
            auto relDown = [&](double x) { return ideal(x) > 0.0 ? GainDb(ideal(x)) - GainDb(magnitude(x)) : none; };
            auto devUp = [&](double x) { return magnitude(x) - ideal(x); };
            auto devDown = [&](double x) { return ideal(x) - magnitude(x); };
            std::vector<double> up(hz.size()), down(hz.size()), devU(hz.size()), devD(hz.size());
            bool anyIdeal = false;
            for (std::size_t i = 0; i < hz.size(); ++i) {
                anyIdeal = anyIdeal || ideal(hz[i]) > 0.0;
                up[i] = relUp(hz[i]);
                down[i] = relDown(hz[i]);
                devU[i] = mag[i] - ideal(hz[i]);
                devD[i] = -devU[i];
            }
            f.maxDeviation = std::max(RefinedMaximum(EachPoint(devUp), hz, devU),
                                      RefinedMaximum(EachPoint(devDown), hz, devD));
            f.maxDb = anyIdeal ? RefinedMaximum(EachPoint(relUp), hz, up) : 0.0;
            f.minDb = anyIdeal ? -RefinedMaximum(EachPoint(relDown), hz, down) : 0.0;
            slopePeak = std::max(slopePeak, b.desired * b.hiHz / (fs / 2.0));
        }
        if (b.kind != BandKind::Stop) {
            gdHz.insert(gdHz.end(), hz.begin(), hz.end());
        }
        if (b.kind != BandKind::Slope) {
            f.maxDb = GainDb(hi);
            f.minDb = GainDb(lo);
        }
        if (b.kind == BandKind::Pass) {
            anyPass = true;
            passMax = std::max(passMax, hi);
            passMin = std::min(passMin, lo);
        }
        if (b.kind != BandKind::Stop) {
            f.rippleDb = f.maxDb - f.minDb;
        }
        r.bands.push_back(f);
    }
    r.nominalPassGain = anyPass ? 0.5 * (passMax + passMin) : slopePeak > 0.0 ? slopePeak : 1.0;
    for (BandFigures& f : r.bands) {
        if (f.band.kind == BandKind::Stop) {
            f.attenuationDb = GainDb(r.nominalPassGain) - f.maxDb;
        }
    }

    if (crossings && anyPass) {
        FindCrossings(taps, fs, r.gridIntervals, bands, r.nominalPassGain, 3.0, r.minus3dbHz);
        FindCrossings(taps, fs, r.gridIntervals, bands, r.nominalPassGain, 6.0, r.minus6dbHz);
    }

    // Linear phase: the delay is exact; otherwise measured where the filter passes.
    r.linearPhase = TapSymmetry(taps, 1e-9) != 0;
    if (r.linearPhase) {
        r.groupDelaySamples = r.groupDelayMinSamples = r.groupDelayMaxSamples = (n - 1) / 2.0;
    } else {
        if (gdHz.empty()) {
            for (int k = 0; k <= r.gridIntervals; ++k) {
                gdHz.push_back(k * fs / 2.0 / r.gridIntervals);
            }
        }
        double sum = 0.0, lo = std::numeric_limits<double>::infinity(), hi = -lo;
        int count = 0;
        for (double hz : gdHz) {
            const double d = GroupDelayAt(taps, hz / fs);
            if (std::isfinite(d)) {
                sum += d;
                lo = std::min(lo, d);
                hi = std::max(hi, d);
                ++count;
            }
        }
        if (count > 0) {
            r.groupDelaySamples = sum / count;
            r.groupDelayMinSamples = lo;
            r.groupDelayMaxSamples = hi;
        }
    }
    r.groupDelayMs = r.groupDelaySamples / fs * 1000.0;
    return r;
}

ResponseCurve MagnitudeCurveDb(std::span<const double> taps, double fs, int count) {
    ResponseCurve c;
    count = std::max(count, 2);
    for (int k = 0; k < count; ++k) {
        const double fraction = 0.5 * k / (count - 1);
        c.hz.push_back(fraction * fs);
        c.values.push_back(GainDb(std::abs(FrequencyResponseAt(taps, fraction))));
    }
    return c;
}

ResponseCurve GroupDelayCurve(std::span<const double> taps, double fs, int count) {
    ResponseCurve c;
    count = std::max(count, 2);
    for (int k = 0; k < count; ++k) {
        const double fraction = 0.5 * k / (count - 1);
        c.hz.push_back(fraction * fs);
        c.values.push_back(GroupDelayAt(taps, fraction));
    }
    return c;
}
