#include "design/RateChangeSearch.h"

#include <algorithm>
#include <cmath>

#include "design/Design.h"
#include "design/RateChangeDesign.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/OrderEstimate.h"

namespace {

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
    result.search = SearchFewestTaps(req, settings, [&q](int taps) {
        DesignRequest trial = q;
        trial.taps = taps;
        trial.measure = false;
        return RateChangeTrial(Design(trial));
    });
    if (result.search->status == SpecSearchStatus::Met)
        q.taps = result.search->found.taps;
    return result;
}
