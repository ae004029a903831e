#include "design/RateChangeDesign.h"

#include <algorithm>
#include <cmath>

#include "design/MethodDesign.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/IdealResponses.h"
#include "dsp/Windows.h"

namespace {

void SetRemezReport(const RemezResult& r, DesignOutcome& out)
{
    out.remez = RemezReport{true, r.status, r.nPasses, r.bExact, r.startUsed};
    out.notes.push_back({r.Converged() ? DesignCode::RemezPasses : DesignCode::RemezNoConvergence, r.nPasses});
}

bool StopBandsValid(const DesignRequest& q)
{
    const RateChange& r = *q.rateChange;
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
    return q.rateChange->kind == RateChangeKind::Halfband ? 2 : q.rateChange->factor;
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
    const bool halfband = q.rateChange->kind == RateChangeKind::Halfband;
    const bool methodOk = q.As<RemezMethod>() || (!halfband && q.As<SincMethod>());
    if (q.filterType != FilterType::Lowpass || !methodOk || UsesMethodDesign(q))
        return DesignNote{DesignCode::RateChangeNotSupported, 0};
    if (const std::optional<DesignNote> rate = RateRefusal(q))
        return rate;
    if (halfband && !IsHalfbandTaps(q.taps))
        return DesignNote{DesignCode::HalfbandTaps, q.taps};
    if (!halfband && (q.taps < 4 || q.taps > kMaxRateChangeTaps))
        return DesignNote{DesignCode::RateTapsRange, q.taps};
    if (!StopBandsValid(q))
        return DesignNote{DesignCode::RateStopBands, 0};
    if (const SincMethod* sinc = q.As<SincMethod>()) {
        const WindowChoice& w = sinc->window;
        if (w.type == WindowType::Kaiser && !(w.kaiserBeta >= 0.0 && w.kaiserBeta <= 20.0))
            return DesignNote{DesignCode::ShapeFactorBounds, 0};
        if (w.type == WindowType::Chebyshev && (w.chebyshevAttenuation < 10 || w.chebyshevAttenuation > 100))
            return DesignNote{DesignCode::AttenuationRange, 0};
    } else if (GridDensityOf(q) < 8 || GridDensityOf(q) > 64) {
        return DesignNote{DesignCode::GridDensityRange, 0};
    }
    return std::nullopt;
}

std::vector<MaskBand> RateStopBandsOf(const DesignRequest& q)
{
    if (!q.rateChange->stopBands.empty())
        return q.rateChange->stopBands;
    return MultirateStopBands(RateFactorOf(q), q.samplingRate, q.firstCorner, q.rateChange->aliasBands);
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
    report.rate = MultirateDesign{MultirateKindOf(q.rateChange->kind), RateFactorOf(q),
                                  static_cast<double>(q.firstCorner)};
    report.stopBands = RateStopBandsOf(q);
    const int n = q.taps;
    const int fs = q.samplingRate;
    if (q.rateChange->kind == RateChangeKind::Halfband) {
        const HalfbandResult r = DesignHalfband(n, fs, q.firstCorner, GridDensityOf(q));
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
    LowpassRemezTable(fs, q.firstCorner, report.stopBands, q.rateChange->stopWeight, table);
    report.table.assign(table, table + kBandCount);
    if (const SincMethod* sinc = q.As<SincMethod>()) {
        // The ideal lowpass cut in the middle of the transition, f1 .. fs/M - f1, times the window.
        CPoints h(n);
        out.ResizeArrays(n);
        StopBandResponse(h, fs / (2.0 * report.rate.factor), fs / 2.0, fs);
        const WindowParameters parameters{sinc->window.chebyshevAttenuation, sinc->window.kaiserBeta};
        if (ComputeWindowSamples(out.window, IndexOf(sinc->window.type), parameters) != DspStatus::Ok) {
            out.ran = false;
            out.notes.push_back({DesignCode::RateDesignFailed, 0});
            return;
        }
        for (int i = 0; i < n; ++i)
            out.coeffs[i] = Complex(h.GetValue(i, 0) * out.window.GetValue(i, 0), 0.0);
    } else {
        out.ResizeArrays(n);
        RemezOptions options;
        options.start = std::get<RemezMethod>(q.method).start;
        SetRemezReport(DesignRemez(n, FT_LOWPASS, FirTypeOf(FT_LOWPASS, n), fs, table, GridDensityOf(q), out.coeffs,
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

