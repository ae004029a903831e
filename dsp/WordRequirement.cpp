#include "dsp/WordRequirement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/GoldenSection.h"

namespace {

double DeviationOfRipple(double rippleDb) { return PassDeviation(std::max(rippleDb, 0.0)); }

// The parts of 0 .. fs/2 outside every stop band, as measurement bands.
std::vector<MaskBand> OutsideStopBands(const WordRequirement& req) {
    std::vector<std::pair<double, double>> stops;
    for (const WordBand& b : req.bands) {
        if (b.band.kind == BandKind::Stop) {
            stops.emplace_back(b.band.loHz, b.band.hiHz);
        }
    }
    std::sort(stops.begin(), stops.end());
    std::vector<MaskBand> out;
    double from = 0.0;
    for (const auto& [lo, hi] : stops) {
        if (lo > from) {
            out.push_back({BandKind::Stop, from, lo, 1.0});
        }
        from = std::max(from, hi);
    }
    if (from < req.fs / 2.0) {
        out.push_back({BandKind::Stop, from, req.fs / 2.0, 1.0});
    }
    return out;
}

// Golden-section steps of a peak's refinement between two grid points.
constexpr int kPeakSteps = 40;

// Where |H| peaks within [lo, hi] (Hz): the best of a grid of the
// measurement's spacing, refined by golden-section search between its
// neighbours.
double PeakFrequency(std::span<const double> taps, double fs, double lo, double hi) {
    const double spacing = fs / 2.0 / MeasurementGridIntervals(static_cast<int>(taps.size()));
    const int steps = std::max(1, static_cast<int>(std::ceil((hi - lo) / spacing)));
    auto mag = [&](double hz) { return std::abs(FrequencyResponseAt(taps, hz / fs)); };
    int best = 0;
    double bestValue = -1.0;
    for (int k = 0; k <= steps; ++k) {
        const double v = mag(lo + (hi - lo) * k / steps);
        if (v > bestValue) {
            bestValue = v;
            best = k;
        }
    }
    const double a = lo + (hi - lo) * std::max(best - 1, 0) / steps;
    const double b = lo + (hi - lo) * std::min(best + 1, steps) / steps;
    const double peak = GoldenMaximum(mag, a, b, kPeakSteps);
    return mag(peak) >= bestValue ? peak : lo + (hi - lo) * best / steps;
}

}  // namespace

double WholeMargin(const WordRequirement& req, const ResponseFigures& figures, double peak, double& limit) {
    limit = 0.0;
    double margin = 1.0;
    for (std::size_t i = 0; i < req.bands.size() && i < figures.bands.size(); ++i) {
        if (req.bands[i].band.kind != BandKind::Pass) {
            continue;
        }
        const double lowest = figures.bands[i].minDb <= kFloorDb ? 0.0 : std::pow(10.0, figures.bands[i].minDb / 20.0);
        const double ratio = WholeRatio(req, req.bands[i]);
        if (lowest * ratio > limit) {
            limit = lowest * ratio;
            margin = lowest > 0.0 && ratio > 1.0 ? 1.0 - (peak / lowest - 1.0) / (ratio - 1.0)
                                                 : -std::numeric_limits<double>::infinity();
        }
    }
    return std::isnan(margin) ? -std::numeric_limits<double>::infinity() : margin;
}

WordRequirement WordRequirementOf(const SpecRequirement& req) {
    WordRequirement out;
    out.fs = req.fs;
    for (const SpecBand& b : req.bands) {
        out.bands.push_back({{b.kind, b.loHz, b.hiHz, b.kind == BandKind::Pass ? 1.0 : 0.0}, b.limitDb});
    }
    return out;
}

WordRequirement RequirementOfTaps(std::span<const double> taps, std::span<const MaskBand> mask, double fs) {
    WordRequirement out;
    out.fs = fs;
    const ResponseFigures figures = MeasureResponse(taps, fs, mask, false);
    if (figures.status != MeasureStatus::Ok || figures.bands.size() != mask.size()) {
        return out;
    }
    // A limit must be above 0: a band the taps hold perfectly keeps a hair.
    constexpr double kLeast = 1e-9;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const BandFigures& f = figures.bands[i];
        const double limit = mask[i].kind == BandKind::Stop ? f.attenuationDb : f.rippleDb;
        out.bands.push_back({mask[i], std::isfinite(limit) ? std::max(limit, kLeast) : kLeast});
    }
    if (CheckWordRequirement(out) != WordCheck::Ok) {
        out.bands.clear();
        return out;
    }
    if (JudgesWholeResponse(out)) {
        // The taps' own whole response, where it rises above the pass bands'
        // upper limit, becomes the limit.
        const WordJudgement own = JudgeWords(taps, out);
        if (own.measured && own.wholeMargin < 0.0 && own.wholeLimit > 0.0 && std::isfinite(own.wholePeak)) {
            double ratio = 0.0;
            for (std::size_t i = 0; i < out.bands.size(); ++i) {
                if (out.bands[i].band.kind == BandKind::Pass) {
                    const double lowest = std::pow(10.0, own.figures.bands[i].minDb / 20.0);
                    ratio = std::max(ratio, own.wholePeak / lowest);
                }
            }
            out.wholeLimitDb = 20.0 * std::log10(ratio);
        }
    }
    return out;
}

std::vector<RemezEdge> RemezEdgesOf(const WordRequirement& req) {
    double tightest = std::numeric_limits<double>::infinity();
    for (const WordBand& b : req.bands) {
        tightest = std::min(tightest, AllowedDeviation(b));
    }
    std::vector<RemezEdge> edges;
    for (const WordBand& b : req.bands) {
        edges.push_back({b.band.loHz / req.fs, b.band.hiHz / req.fs, b.band.kind == BandKind::Stop ? 0.0 : b.band.desired,
                         tightest / AllowedDeviation(b)});
    }
    return edges;
}

std::vector<MaskBand> MaskOfRequirement(const WordRequirement& req) {
    std::vector<MaskBand> mask;
    for (const WordBand& b : req.bands) {
        mask.push_back(b.band);
    }
    return mask;
}

double AllowedDeviation(const WordBand& band) {
    return band.band.kind == BandKind::Stop ? StopDeviation(band.limitDb) : PassDeviation(band.limitDb);
}

bool JudgesWholeResponse(const WordRequirement& req) {
    return req.wholeResponse && std::any_of(req.bands.begin(), req.bands.end(),
                                            [](const WordBand& b) { return b.band.kind == BandKind::Pass; });
}

double WholeRatio(const WordRequirement& req, const WordBand& passBand) {
    return std::pow(10.0, (req.wholeLimitDb ? *req.wholeLimitDb : passBand.limitDb) / 20.0);
}

WordCheck CheckWordRequirement(const WordRequirement& req) {
    if (!(req.fs > 0.0) || !std::isfinite(req.fs)) {
        return WordCheck::BadRate;
    }
    if (req.bands.empty() || req.bands.size() > kMostWordBands) {
        return WordCheck::NoBands;
    }
    std::vector<std::pair<double, double>> spans;
    for (const WordBand& b : req.bands) {
        if (!(b.band.loHz >= 0.0 && b.band.loHz < b.band.hiHz && b.band.hiHz <= req.fs / 2.0)) {
            return WordCheck::BadBand;
        }
        if (b.band.kind == BandKind::Slope && !(b.band.desired > 0.0 && std::isfinite(b.band.desired))) {
            return WordCheck::BadBand;
        }
        if (!(b.limitDb > 0.0) || !std::isfinite(b.limitDb)) {
            return WordCheck::BadLimit;
        }
        spans.emplace_back(b.band.loHz, b.band.hiHz);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            return WordCheck::BadBand;
        }
    }
    if (req.wholeLimitDb && !std::isfinite(*req.wholeLimitDb)) {
        return WordCheck::BadLimit;
    }
    return WordCheck::Ok;
}

double BandMargin(const WordBand& band, const BandFigures& figures, double nominalPassGain) {
    const double allowed = AllowedDeviation(band);
    double deviation = 0.0;
    if (band.band.kind == BandKind::Stop) {
        const double peak = figures.maxDb <= kFloorDb ? 0.0 : std::pow(10.0, figures.maxDb / 20.0);
        deviation = nominalPassGain > 0.0 ? peak / nominalPassGain : std::numeric_limits<double>::infinity();
    } else {
        deviation = DeviationOfRipple(figures.rippleDb);
    }
    const double margin = 1.0 - deviation / allowed;
    return std::isnan(margin) ? -std::numeric_limits<double>::infinity() : margin;
}

WordJudgement JudgeWords(std::span<const double> taps, const WordRequirement& req) {
    WordJudgement j;
    j.margin = -std::numeric_limits<double>::infinity();
    if (taps.empty() || CheckWordRequirement(req) != WordCheck::Ok) {
        return j;
    }
    const std::vector<MaskBand> mask = MaskOfRequirement(req);
    j.figures = MeasureResponse(taps, req.fs, mask, false);
    if (j.figures.status != MeasureStatus::Ok) {
        return j;
    }
    j.measured = true;
    double worst = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < req.bands.size(); ++i) {
        const double m = BandMargin(req.bands[i], j.figures.bands[i], j.figures.nominalPassGain);
        j.bandMargin.push_back(m);
        worst = std::min(worst, m);
    }
    if (JudgesWholeResponse(req)) {
        const std::vector<MaskBand> outside = OutsideStopBands(req);
        const ResponseFigures w = MeasureResponse(taps, req.fs, outside, false);
        double peakDb = kFloorDb;
        std::size_t where = 0;
        for (std::size_t i = 0; i < w.bands.size(); ++i) {
            if (w.bands[i].maxDb > peakDb) {
                peakDb = w.bands[i].maxDb;
                where = i;
            }
        }
        j.wholePeak = std::pow(10.0, peakDb / 20.0);
        if (!outside.empty()) {
            j.wholePeakHz = PeakFrequency(taps, req.fs, outside[where].loHz, outside[where].hiHz);
        }
        j.wholeMargin = WholeMargin(req, j.figures, j.wholePeak, j.wholeLimit);
        worst = std::min(worst, j.wholeMargin);
    }
    j.margin = worst;
    j.met = worst >= 0.0;
    return j;
}
