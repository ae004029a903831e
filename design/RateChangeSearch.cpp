#include "design/RateChangeSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "design/Design.h"
#include "design/RateChangeDesign.h"
#include "design/RequirementSearch.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/OrderEstimate.h"

namespace {

// Designs per N of the rate change's weight search, the ratio's included.
constexpr int kWeightTrials = 10;

// Parks-McClellan length of the narrowest transition (Herrmann, Rabiner and Chan).
int EstimateTaps(const DesignRequest& q, const std::vector<MaskBand>& stops, double dp, double ds)
{
    const double fs = q.samplingRate;
    const double fp = q.firstCorner / fs;
    const double fst = stops.empty() ? 0.5 : stops.front().loHz / fs;
    const double n = HerrmannLength(fp, std::min(fst, 0.4999), dp, ds);
    return std::isfinite(n) ? std::clamp(static_cast<int>(std::ceil(n)), 4, kMaxRateChangeTaps) : 31;
}

}  // namespace

TrialDesign RateChangeTrial(const DesignOutcome& outcome)
{
    TrialDesign trial;
    if (outcome.Has(DesignCode::RemezNoConvergence))
        trial.status = TrialStatus::NotConverged;
    else if (outcome.valid && !outcome.Refusal())
        trial.status = TrialStatus::Designed;
    else
        return trial;
    trial.taps = outcome.Taps();
    return trial;
}

RateChangeSearch SearchRateChange(const DesignRequest& base, const RateChangeRequirement& requirement)
{
    RateChangeSearch result;
    result.request = base;
    DesignRequest& q = result.request;
    q.filterType = FilterType::Lowpass;
    RateChange& rate = *q.rateChange;
    const bool sinc = q.As<SincMethod>() && rate.kind != RateChangeKind::Halfband;
    if (!sinc && !q.As<RemezMethod>())
        q.method = RemezMethod{};
    rate.stopBands.clear();
    SpecRequirement req;
    req.fs = q.samplingRate;
    req.bands.push_back({BandKind::Pass, 0.0, static_cast<double>(q.firstCorner), requirement.passRippleDb});
    double attenuation = 0.0;
    std::vector<MaskBand> stops;
    if (requirement.aliasAttenuationDb) {
        attenuation = *requirement.aliasAttenuationDb;
        stops = RateStopBandsOf(q);
        for (const MaskBand& b : stops)
            req.bands.push_back({BandKind::Stop, b.loHz, b.hiHz, attenuation});
    } else {
        for (const SpecBand& b : requirement.stopBands) {
            stops.push_back({BandKind::Stop, b.loHz, b.hiHz, 0.0});
            req.bands.push_back(b);
            attenuation = std::max(attenuation, b.limitDb);
        }
        rate.stopBands = stops;
    }
    if ((result.refusal = RateRefusal(q)))
        return result;
    const double dp = PassDeviation(requirement.passRippleDb), ds = StopDeviation(attenuation);
    rate.stopWeight = dp / ds;
    SpecSearchSettings settings;
    settings.filterType = FT_LOWPASS;
    settings.quantize = requirement.quantize;
    settings.startTaps = EstimateTaps(q, stops, dp, ds);
    if (sinc) {
        // Kaiser's window for the tightest deviation (J. F. Kaiser, "Nonrecursive digital filter design
        // using the I0-sinh window function", 1974) over the narrowest transition, f1 .. the first stop
        // edge; the cut at fs / (2 factor) lies in its middle. Odd N: the window of even length is not
        // centred on the sinc.
        double delta = 1.0;
        for (const SpecBand& b : req.bands)
            delta = std::min(delta, BandDeviation(b));
        const double tightest = -20.0 * std::log10(delta);
        WindowChoice& window = std::get<SincMethod>(q.method).window;
        window.type = WindowType::Kaiser;
        window.kaiserBeta = KaiserBeta(tightest);
        const double width = (stops.empty() ? q.samplingRate / 2.0 : stops.front().loHz) - q.firstCorner;
        settings.startTaps = std::clamp(KaiserTaps(tightest, width / (q.samplingRate / 2.0)), 5, kMaxRateChangeTaps);
        settings.oddOnly = true;
    } else if (rate.kind == RateChangeKind::Halfband) {
        settings.minTaps = kMinHalfbandTaps;
        settings.maxTaps = kMaxHalfbandTaps;
        settings.tapStep = 4;
        settings.startTaps = NearestHalfbandTaps(settings.startTaps);
    }
    result.maxTaps = settings.maxTaps;
    auto design = [&q, &req, &requirement](int taps, double weight, double& margin) {
        DesignRequest trial = q;
        trial.taps = taps;
        trial.measure = false;
        trial.rateChange->stopWeight = weight;
        TrialDesign d = RateChangeTrial(Design(trial));
        margin = -std::numeric_limits<double>::infinity();
        bool met = false;
        if (d.status == TrialStatus::Designed && static_cast<int>(d.taps.size()) == taps) {
            const TrialVerdict v = JudgeTaps(d.taps, req, requirement.quantize);
            met = v.met;
            margin = std::isnan(v.worstMarginDb) ? margin : v.worstMarginDb;
        }
        return std::pair{std::move(d), met};
    };
    // A Remez lowpass weighs the stop bands against the pass band; the ratio
    // of the deviations is where a design of the estimate's length is
    // levelled, not the best weight for every length: each N tries weights
    // from an eighth to eight times that ratio (golden-section search on
    // the weight's logarithm for the largest worst margin, then with a
    // fixed-point format a scan, stopping at the first that meets), so a
    // weight of that range rarely meets at an N the search calls too short.
    std::map<int, double> chosen;
    const bool weighed = !sinc && rate.kind != RateChangeKind::Halfband;
    result.search = SearchFewestTaps(req, settings, [&](int taps) {
        const double levelled = rate.stopWeight;
        double margin = 0.0;
        std::pair<TrialDesign, bool> first = design(taps, levelled, margin);
        TrialDesign best = std::move(first.first);
        bool met = first.second;
        chosen[taps] = levelled;
        if (met || !weighed)
            return best;
        double bestMargin = margin;
        int trials = 1;
        auto tryWeight = [&](double logWeight) {
            if (met)
                return bestMargin;
            ++trials;
            const double weight = std::exp(logWeight);
            double m = 0.0;
            std::pair<TrialDesign, bool> trial = design(taps, weight, m);
            const bool ok = trial.second;
            if (ok || m > bestMargin) {
                best = std::move(trial.first);
                bestMargin = m;
                chosen[taps] = weight;
            }
            met = met || ok;
            return m;
        };
        GoldenSectionMaximum(std::log(levelled / 8.0), std::log(levelled * 8.0), 0.0, tryWeight,
                             [&] { return !met && trials < kWeightTrials; });
        // Fixed-point words round each design differently, so the margin
        // in a format jumps with the weight: a scan of eighth-octave steps
        // and of round weights (1, 2, 5 times a power of ten) over the same
        // range, nearest the ratio first.
        if (!met && requirement.quantize) {
            std::vector<double> scan;
            for (int k = 1; k <= 24; ++k)
                for (int sign : {1, -1})
                    scan.push_back(std::log(levelled) + sign * k * std::log(2.0) / 8.0);
            for (double decade = 1.0; decade <= 1e6; decade *= 10.0)
                for (double m : {1.0, 2.0, 5.0})
                    if (m * decade >= levelled / 8.0 && m * decade <= levelled * 8.0)
                        scan.push_back(std::log(m * decade));
            const double centre = std::log(levelled);
            std::sort(scan.begin(), scan.end(), [centre](double u, double v) {
                const double du = std::abs(u - centre), dv = std::abs(v - centre);
                return du != dv ? du < dv : u < v;
            });
            for (size_t i = 0; i < scan.size() && !met; ++i)
                tryWeight(scan[i]);
        }
        return best;
    });
    if (result.search->status == SpecSearchStatus::Met)
        rate.stopWeight = chosen[result.search->found.taps];
    if (result.search->status == SpecSearchStatus::Met)
        q.taps = result.search->found.taps;
    return result;
}
