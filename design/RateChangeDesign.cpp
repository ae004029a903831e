#include "design/RateChangeDesign.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "design/Design.h"
#include "design/MethodDesign.h"
#include "design/RequirementSearch.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/IdealResponses.h"
#include "dsp/OrderEstimate.h"
#include "dsp/Windows.h"

namespace {

constexpr int kMaxRateTaps = 1025;
// Designs per N of the rate change's weight search, the ratio's included.
constexpr int kWeightTrials = 10;

void SetRemezReport(const RemezResult& r, DesignOutcome& out)
{
    out.remez = RemezReport{true, r.status, r.nPasses, r.bExact, r.startUsed};
    out.notes.push_back({r.Converged() ? DesignCode::RemezPasses : DesignCode::RemezNoConvergence, r.nPasses});
}

bool StopBandsValid(const DesignRequest& q)
{
    const RateChange& r = q.rateChange;
    if (!std::isfinite(r.stopWeight) || !(r.stopWeight > 0.0))
        return false;
    double below = q.firstCorner;
    for (const MaskBand& b : r.stopBands) {
        if (!std::isfinite(b.loHz) || !std::isfinite(b.hiHz) || !(b.loHz > below) || !(b.hiHz > b.loHz) ||
            b.hiHz > q.samplingRate / 2.0)
            return false;
        below = b.hiHz;
    }
    return true;
}

// Parks-McClellan length of the narrowest transition (Herrmann, Rabiner and Chan).
int EstimateTaps(const DesignRequest& q, const std::vector<MaskBand>& stops, double dp, double ds)
{
    const double fs = q.samplingRate;
    const double fp = q.firstCorner / fs;
    const double fst = stops.empty() ? 0.5 : stops.front().loHz / fs;
    const double n = HerrmannLength(fp, std::min(fst, 0.4999), dp, ds);
    return std::isfinite(n) ? std::clamp(static_cast<int>(std::ceil(n)), 4, kMaxRateTaps) : 31;
}

}  // namespace

MultirateKind MultirateKindOf(RateChangeKind kind)
{
    switch (kind) {
    case RateChangeKind::Interpolate:
        return MultirateKind::Interpolate;
    case RateChangeKind::Halfband:
        return MultirateKind::Halfband;
    default:
        return MultirateKind::Decimate;
    }
}

RateChangeKind RateChangeKindOf(MultirateKind kind)
{
    switch (kind) {
    case MultirateKind::Interpolate:
        return RateChangeKind::Interpolate;
    case MultirateKind::Halfband:
        return RateChangeKind::Halfband;
    default:
        return RateChangeKind::Decimate;
    }
}

int RateFactorOf(const DesignRequest& q)
{
    return q.rateChange.kind == RateChangeKind::Halfband ? 2 : q.rateChange.factor;
}

std::optional<DesignNote> RateRefusal(const DesignRequest& q)
{
    switch (CheckMultirate(RateFactorOf(q), q.samplingRate, q.firstCorner)) {
    case MultirateStatus::BadFactor:
        return DesignNote{DesignCode::RateFactorRange, 0};
    case MultirateStatus::BadRate:
        return DesignNote{DesignCode::RateSamplingRate, 0};
    case MultirateStatus::BadPassEdge:
        return DesignNote{DesignCode::RatePassEdge, 0};
    case MultirateStatus::Ok:
        break;
    }
    return std::nullopt;
}

std::optional<DesignNote> ValidateRateChange(const DesignRequest& q)
{
    const bool halfband = q.rateChange.kind == RateChangeKind::Halfband;
    const bool methodOk = q.method == DesignMethod::Remez || (!halfband && q.method == DesignMethod::Sinc);
    if (q.filterType != FilterType::Lowpass || !methodOk || UsesMethodDesign(q))
        return DesignNote{DesignCode::RateChangeNotSupported, 0};
    if (const std::optional<DesignNote> rate = RateRefusal(q))
        return rate;
    if (halfband && !IsHalfbandTaps(q.taps))
        return DesignNote{DesignCode::HalfbandTaps, q.taps};
    if (!halfband && (q.taps < 4 || q.taps > kMaxRateTaps))
        return DesignNote{DesignCode::RateTapsRange, q.taps};
    if (!StopBandsValid(q))
        return DesignNote{DesignCode::RateStopBands, 0};
    if (q.method == DesignMethod::Sinc) {
        if (q.window == WindowType::Kaiser && !(q.kaiserBeta >= 0.0 && q.kaiserBeta <= 20.0))
            return DesignNote{DesignCode::ShapeFactorBounds, 0};
        if (q.window == WindowType::Chebyshev && (q.chebyshevAttenuation < 10 || q.chebyshevAttenuation > 100))
            return DesignNote{DesignCode::AttenuationRange, 0};
    } else if (q.gridDensity < 8 || q.gridDensity > 64) {
        return DesignNote{DesignCode::GridDensityRange, 0};
    }
    return std::nullopt;
}

std::vector<MaskBand> RateStopBandsOf(const DesignRequest& q)
{
    if (!q.rateChange.stopBands.empty())
        return q.rateChange.stopBands;
    return MultirateStopBands(RateFactorOf(q), q.samplingRate, q.firstCorner, q.rateChange.aliasBands);
}

std::vector<MaskBand> RateChangeMask(const DesignRequest& q)
{
    std::vector<MaskBand> mask = {{BandKind::Pass, 0.0, static_cast<double>(q.firstCorner), 1.0}};
    const std::vector<MaskBand> stops = RateStopBandsOf(q);
    mask.insert(mask.end(), stops.begin(), stops.end());
    return mask;
}

void DesignRateChangeFilter(const DesignRequest& q, DesignOutcome& out)
{
    RateChangeReport& report = out.rateChange;
    report.ran = true;
    report.rate = MultirateDesign{MultirateKindOf(q.rateChange.kind), RateFactorOf(q),
                                  static_cast<double>(q.firstCorner)};
    report.stopBands = RateStopBandsOf(q);
    const int n = q.taps;
    const int fs = q.samplingRate;
    if (q.rateChange.kind == RateChangeKind::Halfband) {
        const HalfbandResult r = DesignHalfband(n, fs, q.firstCorner, q.gridDensity);
        if (r.status != HalfbandStatus::Converged && r.status != HalfbandStatus::DidNotConverge) {
            out.notes.push_back({DesignCode::RateDesignFailed, 0});
            return;
        }
        // The table the exchange ran on: G's one band 0 .. 2 f1.
        report.table.assign(kBandCount, RemezBand{});
        report.table[0] = {1, 0, static_cast<int>(std::round(2.0 * q.firstCorner)), 1.0, 1.0};
        out.ResizeArrays(n);
        for (int i = 0; i < n; ++i)
            out.coeffs[i] = Complex(r.taps[static_cast<size_t>(i)], 0.0);
        SetRemezReport(r.remez, out);
        out.irPeak = out.coeffs.GetMaxMagnitude();
        return;
    }
    // The sinc ignores the table; it is kept so the design reads the same either way.
    RemezBand table[kBandCount];
    LowpassRemezTable(fs, q.firstCorner, report.stopBands, q.rateChange.stopWeight, table);
    report.table.assign(table, table + kBandCount);
    if (q.method == DesignMethod::Sinc) {
        // The ideal lowpass cut in the middle of the transition, f1 .. fs/M - f1, times the window.
        CPoints h(n);
        out.ResizeArrays(n);
        StopBandResponse(h, fs / (2.0 * report.rate.factor), fs / 2.0, fs);
        const WindowParameters parameters{q.chebyshevAttenuation, q.kaiserBeta};
        if (ComputeWindowSamples(out.window, IndexOf(q.window), parameters) != DspStatus::Ok) {
            out.ran = false;
            out.notes.push_back({DesignCode::RateDesignFailed, 0});
            return;
        }
        for (int i = 0; i < n; ++i)
            out.coeffs[i] = Complex(h.GetValue(i, 0) * out.window.GetValue(i, 0), 0.0);
    } else {
        out.ResizeArrays(n);
        RemezOptions options;
        options.start = q.remezStart;
        SetRemezReport(DesignRemez(n, FT_LOWPASS, FirTypeOf(FT_LOWPASS, n), fs, table, q.gridDensity, out.coeffs,
                                   options),
                       out);
    }
    out.irPeak = out.coeffs.GetMaxMagnitude();
}

void MeasureRateChange(const DesignRequest& q, DesignOutcome& out)
{
    RateChangeReport& report = out.rateChange;
    const std::vector<double> taps = out.Taps();
    report.phases = PolyphaseComponents(taps, report.rate.factor);
    report.figures = MeasureMultirate(taps, report.rate.kind, report.rate.factor, q.samplingRate,
                                      report.rate.passHz, std::nullopt);
}

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
    const bool sinc = q.method == DesignMethod::Sinc && q.rateChange.kind != RateChangeKind::Halfband;
    q.method = sinc ? DesignMethod::Sinc : DesignMethod::Remez;
    q.rateChange.stopBands.clear();
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
        q.rateChange.stopBands = stops;
    }
    if ((result.refusal = RateRefusal(q)))
        return result;
    const double dp = PassDeviation(requirement.passRippleDb), ds = StopDeviation(attenuation);
    q.rateChange.stopWeight = dp / ds;
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
        q.window = WindowType::Kaiser;
        q.kaiserBeta = KaiserBeta(tightest);
        const double width = (stops.empty() ? q.samplingRate / 2.0 : stops.front().loHz) - q.firstCorner;
        settings.startTaps = std::clamp(KaiserTaps(tightest, width / (q.samplingRate / 2.0)), 5, kMaxRateTaps);
        settings.oddOnly = true;
    } else if (q.rateChange.kind == RateChangeKind::Halfband) {
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
        trial.rateChange.stopWeight = weight;
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
    const bool weighed = !sinc && q.rateChange.kind != RateChangeKind::Halfband;
    result.search = SearchFewestTaps(req, settings, [&](int taps) {
        const double levelled = q.rateChange.stopWeight;
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
        q.rateChange.stopWeight = chosen[result.search->found.taps];
    if (result.search->status == SpecSearchStatus::Met)
        q.taps = result.search->found.taps;
    return result;
}
