#include "dsp/ResponseMeasurement.h"

#include "dsp/PeakRefinement.h"
#include "dsp/FftResponseGrid.h"

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

// A band sampled: both edges and the grid points k0 .. k1 strictly between.
struct BandSamples {
    double loHz = 0.0, hiHz = 0.0, spacing = 1.0;
    int k0 = 0, k1 = -1;
    std::size_t Count() const { return static_cast<std::size_t>(k1 - k0 + 1) + 2; }
    // The grid index of point i; -1 at the edges.
    int Index(std::size_t i) const { return i == 0 || i + 1 == Count() ? -1 : k0 + static_cast<int>(i) - 1; }
    double Hz(std::size_t i) const { return i == 0 ? loHz : i + 1 == Count() ? hiHz : Index(i) * spacing; }
};

BandSamples SampleBand(double loHz, double hiHz, double fs, int intervals) {
    BandSamples s;
    s.loHz = loHz;
    s.hiHz = hiHz;
    s.spacing = fs / 2.0 / intervals;
    s.k0 = static_cast<int>(std::floor(loHz / s.spacing)) + 1;
    while (s.k0 > 0 && (s.k0 - 1) * s.spacing > loHz) {
        --s.k0;
    }
    while (s.k0 * s.spacing <= loHz) {
        ++s.k0;
    }
    s.k1 = std::min(intervals, static_cast<int>(std::ceil(hiHz / s.spacing)));
    while (s.k1 >= s.k0 && s.k1 * s.spacing >= hiHz) {
        --s.k1;
    }
    return s;
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

// Walks the grid points beyond edge in direction dir (+1 up, -1 down)
// until the gain drops below level, stopping at limit (taken exactly);
// then bisects the crossing on exact values.
bool FindCrossing(std::span<const double> taps, double fs, const FftResponseGrid& grid, double edge, int dir,
                  double limit, double level, double& crossing) {
    const int intervals = grid.Intervals();
    const double spacing = fs / 2.0 / intervals;
    double inside = edge;
    if (Magnitude(taps, inside, fs) < level) {
        return false;
    }
    int k = dir > 0 ? static_cast<int>(std::floor(edge / spacing)) + 1 : static_cast<int>(std::ceil(edge / spacing)) - 1;
    for (;; k += dir) {
        const bool past = k < 0 || k > intervals || (dir > 0 ? k * spacing >= limit : k * spacing <= limit);
        const double f = past ? limit : k * spacing;
        const double gain = past ? Magnitude(taps, f, fs) : grid.Magnitude(k);
        if (gain < level) {
            double a = inside, b = f;
            for (int i = 0; i < 60 && std::abs(b - a) > 1e-9 * fs; ++i) {
                const double m = 0.5 * (a + b);
                (Magnitude(taps, m, fs) < level ? b : a) = m;
            }
            crossing = 0.5 * (a + b);
            return true;
        }
        if (past) {
            return false;
        }
        inside = f;
    }
}

void FindCrossings(std::span<const double> taps, double fs, const FftResponseGrid& grid, std::span<const MaskBand> bands,
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
        if (pass[i].loHz > 0.0 && FindCrossing(taps, fs, grid, pass[i].loHz, -1, below, level, f)) {
            out.push_back(f);
        }
        if (pass[i].hiHz < fs / 2.0 && FindCrossing(taps, fs, grid, pass[i].hiHz, +1, above, level, f)) {
            out.push_back(f);
        }
    }
    std::sort(out.begin(), out.end());
}

// The stretches of 0 .. fs/2 that no stop band covers, ascending; a
// stretch of one frequency (two stop bands that touch) is left out.
std::vector<std::pair<double, double>> OutsideStopBands(std::span<const MaskBand> bands, double fs) {
    std::vector<std::pair<double, double>> stops;
    for (const MaskBand& b : bands) {
        if (b.kind == BandKind::Stop) {
            stops.emplace_back(b.loHz, b.hiHz);
        }
    }
    std::sort(stops.begin(), stops.end());
    std::vector<std::pair<double, double>> out;
    double from = 0.0;
    for (const auto& [lo, hi] : stops) {
        if (lo > from) {
            out.emplace_back(from, lo);
        }
        from = std::max(from, hi);
    }
    if (from < fs / 2.0) {
        out.emplace_back(from, fs / 2.0);
    }
    return out;
}

}  // namespace

int MeasurementGridIntervals(int taps) {
    // A power of two, for the FFT: at least 16 per tap interval.
    int intervals = 8192;
    while (intervals < 16 * (taps - 1) && intervals < (1 << 29)) {
        intervals *= 2;
    }
    return intervals;
}

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

bool WholeResponseExceeds(const ResponseFigures& figures) {
    if (figures.status != MeasureStatus::Ok || !figures.whole.measured) {
        return false;
    }
    double ripple = kWholeResponseToleranceDb;
    bool anyPass = false;
    for (const BandFigures& b : figures.bands) {
        if (b.band.kind == BandKind::Pass) {
            anyPass = true;
            ripple = std::max(ripple, b.rippleDb);
        }
    }
    return anyPass && !(figures.whole.peakDb <= ripple);
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
    r.linearPhase = TapSymmetry(taps, 1e-9) != 0;
    const FftResponseGrid grid(taps, r.gridIntervals, !r.linearPhase);

    // |H| on a band's samples: the grid's values, the edges exactly.
    auto access = [&](const BandSamples& b, double sign) {
        SampleAccess s;
        s.loHz = b.loHz;
        s.hiHz = b.hiHz;
        s.loValue = sign * Magnitude(taps, b.loHz, fs);
        s.hiValue = sign * Magnitude(taps, b.hiHz, fs);
        s.count = b.Count() - 2;
        s.firstHz = b.k0 * b.spacing;
        s.spacing = b.spacing;
        s.interior = s.count > 0 ? &grid.Magnitude(b.k0) : nullptr;
        s.sign = sign;
        return s;
    };
    const BatchFunction magnitudes = [&](const std::vector<double>& x) { return MagnitudesAt(taps, x, fs); };
    const BatchFunction negated = [&](const std::vector<double>& x) {
        std::vector<double> v = MagnitudesAt(taps, x, fs);
        for (double& e : v) {
            e = -e;
        }
        return v;
    };

    // Per band: linear extremes and the deviation from the ideal. Extremes
    // are refined between the grid points: a figure declared met is met
    // under any denser evaluation.
    double passMax = 0.0, passMin = std::numeric_limits<double>::infinity();
    bool anyPass = false;
    double slopePeak = 0.0, slopeTop = 0.0;
    std::vector<double> gdHz;
    std::vector<int> gdIndex;
    for (const MaskBand& b : bands) {
        BandFigures f;
        f.band = b;
        const BandSamples samples = SampleBand(b.loHz, b.hiHz, fs, r.gridIntervals);
        const SampleAccess sampled = access(samples, 1.0);
        auto magnitude = [&](double x) { return Magnitude(taps, x, fs); };
        const double hi = RefineMaximum(magnitudes, sampled).value;
        double lo = std::numeric_limits<double>::infinity();
        if (b.kind == BandKind::Stop) {
            for (std::size_t i = 0; i < sampled.Size(); ++i) {
                lo = std::min(lo, sampled.Value(i));
            }
        } else {
            lo = -RefineMaximum(negated, access(samples, -1.0)).value;
        }
        if (b.kind == BandKind::Pass) {
            f.maxDeviation = std::max(std::abs(hi - b.desired), std::abs(lo - b.desired));
        } else if (b.kind == BandKind::Slope) {
            auto ideal = [&](double x) { return b.desired * x / (fs / 2.0); };
            // The gain relative to the ideal line, in dB, where the line is above 0.
            // (-infinity, left out, where the line is at 0).
            const double none = -std::numeric_limits<double>::infinity();
            auto relUp = [=](double x) { return ideal(x) > 0.0 ? GainDb(magnitude(x)) - GainDb(ideal(x)) : none; };
            auto relDown = [=](double x) { return ideal(x) > 0.0 ? GainDb(ideal(x)) - GainDb(magnitude(x)) : none; };
            auto devUp = [=](double x) { return magnitude(x) - ideal(x); };
            auto devDown = [=](double x) { return ideal(x) - magnitude(x); };
            const std::size_t count = samples.Count();
            std::vector<double> hz(count), up(count), down(count), devU(count), devD(count);
            bool anyIdeal = false;
            for (std::size_t i = 0; i < count; ++i) {
                hz[i] = samples.Hz(i);
                const double mag = sampled.Value(i);
                const double line = ideal(hz[i]);
                anyIdeal = anyIdeal || line > 0.0;
                up[i] = line > 0.0 ? GainDb(mag) - GainDb(line) : none;
                down[i] = line > 0.0 ? GainDb(line) - GainDb(mag) : none;
                devU[i] = mag - line;
                devD[i] = -devU[i];
            }
            f.maxDeviation = std::max(RefineMaximum(EachPoint(devUp), hz, devU).value,
                                      RefineMaximum(EachPoint(devDown), hz, devD).value);
            f.maxDb = anyIdeal ? RefineMaximum(EachPoint(relUp), hz, up).value : 0.0;
            f.minDb = anyIdeal ? -RefineMaximum(EachPoint(relDown), hz, down).value : 0.0;
            slopePeak = std::max(slopePeak, b.desired * b.hiHz / (fs / 2.0));
            slopeTop = std::max(slopeTop, hi);
        }
        if (b.kind != BandKind::Stop && !r.linearPhase) {
            for (std::size_t i = 0; i < samples.Count(); ++i) {
                gdHz.push_back(samples.Hz(i));
                gdIndex.push_back(samples.Index(i));
            }
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

    // The whole response: the largest gain wherever no stop band rules,
    // refined as the bands' are, against the top of the pass bands.
    const double top = anyPass ? passMax : slopeTop;
    if (top > 0.0) {
        RefinedPeak whole{-1.0, 0.0};
        for (const auto& [lo, hi] : OutsideStopBands(bands, fs)) {
            const BandSamples samples = SampleBand(lo, hi, fs, r.gridIntervals);
            const RefinedPeak p = RefineMaximum(magnitudes, access(samples, 1.0));
            if (p.value > whole.value) {
                whole = p;
            }
        }
        r.whole.measured = whole.value >= 0.0;
        r.whole.peakDb = GainDb(whole.value) - GainDb(top);
        r.whole.peakHz = whole.hz;
        r.whole.passTopDb = GainDb(top);
    }

    if (crossings && anyPass) {
        FindCrossings(taps, fs, grid, bands, r.nominalPassGain, 3.0, r.minus3dbHz);
        FindCrossings(taps, fs, grid, bands, r.nominalPassGain, 6.0, r.minus6dbHz);
    }

    // Linear phase: the delay is exact; otherwise measured where the filter passes.
    if (r.linearPhase) {
        r.groupDelaySamples = r.groupDelayMinSamples = r.groupDelayMaxSamples = (n - 1) / 2.0;
    } else {
        if (gdHz.empty()) {
            for (int k = 0; k <= r.gridIntervals; ++k) {
                gdHz.push_back(k * fs / 2.0 / r.gridIntervals);
                gdIndex.push_back(k);
            }
        }
        double sum = 0.0, lo = std::numeric_limits<double>::infinity(), hi = -lo;
        int count = 0;
        for (std::size_t i = 0; i < gdHz.size(); ++i) {
            const double d = gdIndex[i] >= 0 ? grid.GroupDelay(gdIndex[i]) : GroupDelayAt(taps, gdHz[i] / fs);
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
