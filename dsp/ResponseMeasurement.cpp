#include "dsp/ResponseMeasurement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The phasor is recomputed exactly every so many taps, so its rounding
// error never builds up over a long filter.
constexpr std::size_t kReseed = 32;

// H and sum n h[n] exp(-j w n) in one pass.
void Evaluate(std::span<const double> taps, double fraction, std::complex<double>& h, std::complex<double>& nh) {
    const double w = -2.0 * kPi * fraction;
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
            nh += static_cast<double>(n) * term;
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

std::complex<double> FrequencyResponseAt(std::span<const double> taps, double fraction) {
    std::complex<double> h, nh;
    Evaluate(taps, fraction, h, nh);
    return h;
}

double GroupDelayAt(std::span<const double> taps, double fraction) {
    std::complex<double> h, nh;
    Evaluate(taps, fraction, h, nh);
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
        r.sumAbsTaps += std::abs(taps[i]);
    }
    r.headroomBits = r.sumAbsTaps > 1.0 ? static_cast<int>(std::ceil(std::log2(r.sumAbsTaps))) : 0;
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
        double hi = 0.0, lo = std::numeric_limits<double>::infinity();
        double relHi = -std::numeric_limits<double>::infinity(), relLo = std::numeric_limits<double>::infinity();
        for (double hz : BandGrid(b, fs, r.gridIntervals)) {
            const double m = Magnitude(taps, hz, fs);
            hi = std::max(hi, m);
            lo = std::min(lo, m);
            if (b.kind == BandKind::Pass) {
                f.maxDeviation = std::max(f.maxDeviation, std::abs(m - b.desired));
            } else if (b.kind == BandKind::Slope) {
                const double ideal = b.desired * hz / (fs / 2.0);
                f.maxDeviation = std::max(f.maxDeviation, std::abs(m - ideal));
                if (ideal > 0.0) {
                    const double rel = GainDb(m) - GainDb(ideal);
                    relHi = std::max(relHi, rel);
                    relLo = std::min(relLo, rel);
                }
            }
            if (b.kind != BandKind::Stop) {
                gdHz.push_back(hz);
            }
        }
        if (b.kind == BandKind::Slope) {
            f.maxDb = std::isfinite(relHi) ? relHi : 0.0;
            f.minDb = std::isfinite(relLo) ? relLo : 0.0;
            slopePeak = std::max(slopePeak, b.desired * b.hiHz / (fs / 2.0));
        } else {
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
