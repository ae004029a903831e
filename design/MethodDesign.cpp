#include "design/MethodDesign.h"

#include <algorithm>
#include <cmath>

#include "dsp/LeastSquares.h"
#include "dsp/MinimumPhase.h"
#include "dsp/RemezAlgorithm.h"
#include "dsp/RemezDesign.h"

namespace {

bool PassStopType(FilterType type)
{
    return type == FilterType::Lowpass || type == FilterType::Bandpass || type == FilterType::Bandstop;
}

std::vector<RemezEdge> EdgesOf(const DesignRequest& q)
{
    RemezBand table[kBandCount] = {};
    static const std::vector<RemezBand> none;
    const std::vector<RemezBand>& bands = BandsOf(q) ? *BandsOf(q) : none;
    for (size_t i = 0; i < bands.size() && i < static_cast<size_t>(kBandCount); ++i)
        table[i] = bands[i];
    return BuildBandList(table, q.samplingRate);
}

void SetTaps(DesignOutcome& out, const std::vector<double>& taps)
{
    const int n = static_cast<int>(taps.size());
    out.ResizeArrays(n);
    for (int i = 0; i < n; ++i)
        out.coeffs[i] = Complex(taps[static_cast<size_t>(i)], 0.0);
    out.irPeak = out.coeffs.GetMaxMagnitude();
}

void DesignPulseFilter(const PulseRequest& pulse, DesignOutcome& out)
{
    const PulseResult r = DesignPulse(pulse);
    if (!r.Ok()) {
        out.notes.push_back(DesignNote{DesignCode::PulseRange});
        return;
    }
    SetTaps(out, r.taps);
    out.firType = FirTypeOf(FT_LOWPASS, out.taps);
    out.methods.pulse = PulseReport{true, pulse, AnalysePulse(r.taps, pulse.shape, pulse.sps)};
}

void DesignLeastSquaresFilter(const DesignRequest& q, DesignOutcome& out)
{
    std::vector<LeastSquaresBand> bands;
    for (const RemezEdge& e : EdgesOf(q))
        bands.push_back({e.lower, e.upper, e.value, e.weight});
    const LeastSquaresResult r = DesignLeastSquares(q.taps, out.firType, bands);
    if (!r.Ok()) {
        out.notes.push_back(DesignNote{DesignCode::MethodFailed});
        return;
    }
    SetTaps(out, r.taps);
    out.methods.leastSquares =
        LeastSquaresReport{true, r.conditionEstimate, r.ridge, r.relativeResidual, r.weightedSquaredError};
}

void DesignMinimumPhaseFilter(const DesignRequest& q, DesignOutcome& out)
{
    const PrototypeMethod method =
        q.As<LeastSquaresMethod>() ? PrototypeMethod::LeastSquares : PrototypeMethod::Remez;
    const MinimumPhaseDesign d = DesignMinimumPhase(q.taps, method, EdgesOf(q), GridDensityOf(q));
    if (!d.factor.Ok()) {
        out.notes.push_back(DesignNote{DesignCode::MethodFailed});
        return;
    }
    SetTaps(out, d.factor.taps);
    MinimumPhaseReport& m = out.methods.minimumPhase;
    m.ran = true;
    m.prototypeMethod = method;
    m.prototypeTaps = static_cast<int>(d.prototype.size());
    m.prototypeConverged = d.prototypeConverged;
    m.prototypeError = d.prototypeError;
    m.shift = d.factor.shift;
    m.prototypeStopRipple = d.prototypeStopRipple;
    m.promisedStopDb = d.promisedStopDb;
    m.fftSize = d.factor.fftSize;
    m.tailEnergy = d.factor.tailEnergy;
    m.groupDelayDcSamples = GroupDelayAt(d.factor.taps, 0.0);
    m.linearPhaseDelaySamples = 0.5 * (q.taps - 1);
    if (method == PrototypeMethod::Remez && !d.prototypeConverged)
        out.notes.push_back(DesignNote{DesignCode::RemezNoConvergence, kRemezMaxPasses});
}

void DesignShapedRemezFilter(const DesignRequest& q, const RemezMethod& m, DesignOutcome& out)
{
    std::vector<RemezEdge> edges = EdgesOf(q);
    for (RemezEdge& e : edges)
        if (e.value > 0.0)
            e.shape = m.shape;
    CPoints h;
    const RemezResult design =
        DesignRemezEdges(q.taps, IndexOf(q.filterType), out.firType, edges, m.gridDensity, h);
    std::vector<double> taps(static_cast<size_t>(h.m_nCount));
    for (int i = 0; i < h.m_nCount; ++i)
        taps[static_cast<size_t>(i)] = h[i].real();
    SetTaps(out, taps);
    out.remez.ran = true;
    out.remez.status = design.status;
    out.remez.passes = design.nPasses;
    out.remez.exact = design.bExact;
    if (design.Converged())
        out.notes.push_back(DesignNote{DesignCode::RemezPasses, design.nPasses});
    else
        out.notes.push_back(DesignNote{DesignCode::RemezNoConvergence, design.nPasses});
    ShapeReport& s = out.methods.shape;
    s.ran = true;
    s.shape = m.shape;
    for (const RemezEdge& e : edges)
        if (e.value > 0.0)
            s.cascadeDeviation =
                std::max(s.cascadeDeviation, CascadeDeviation(taps, m.shape, e.lower, e.upper, e.value));
}

std::optional<DesignNote> ShapeBoundsRefusal(const DesignRequest& q)
{
    const ResponseShape shape = ShapeOf(q);
    if (shape.kind == ShapeKind::None)
        return std::nullopt;
    for (const RemezEdge& e : EdgesOf(q))
        if (e.value > 0.0 && !ShapeBounded(shape, e.lower, e.upper))
            return DesignNote{DesignCode::ShapeRange};
    return std::nullopt;
}

}  // namespace

bool UsesMethodDesign(const DesignRequest& q)
{
    const RemezMethod* remez = q.As<RemezMethod>();
    return q.As<LeastSquaresMethod>() || q.As<PulseMethod>() ||
           (remez && (remez->minimumPhase || remez->shape.kind != ShapeKind::None));
}

std::optional<DesignNote> ValidateMethodRequest(const DesignRequest& q)
{
    if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        const PulseRequest& p = pulse->pulse;
        const long long taps = static_cast<long long>(p.sps) * p.span + 1;
        const bool raised = p.shape == PulseShape::RaisedCosine || p.shape == PulseShape::RootRaisedCosine;
        const bool ok = (raised ? p.rolloff >= 0.0 && p.rolloff <= 1.0 : p.bt >= kPulseMinBt && p.bt <= kPulseMaxBt) &&
                        p.sps >= kPulseMinSps && p.sps <= kPulseMaxSps && p.span >= 1 && p.span <= kPulseMaxSpan &&
                        taps % 2 == 1 && taps >= 5 && taps <= 1025 &&
                        (raised || p.shape == PulseShape::Gaussian);
        if (!ok)
            return DesignNote{DesignCode::PulseRange};
        return std::nullopt;
    }
    if (q.As<LeastSquaresMethod>() && !PassStopType(q.filterType) && q.filterType != FilterType::Highpass &&
        q.filterType != FilterType::Hilbert)
        return DesignNote{DesignCode::LeastSquaresNotSupported};
    if (IsMinimumPhase(q) && !PassStopType(q.filterType))
        return DesignNote{DesignCode::MinimumPhaseNotSupported};
    const ResponseShape shape = ShapeOf(q);
    if (shape.kind != ShapeKind::None) {
        if (!PassStopType(q.filterType) || IsMinimumPhase(q))
            return DesignNote{DesignCode::ShapeNotSupported};
        if (!ShapeValid(shape))
            return DesignNote{DesignCode::ShapeRange};
    }
    return std::nullopt;
}

void DesignByMethod(const DesignRequest& q, DesignOutcome& out)
{
    if (auto refusal = ShapeBoundsRefusal(q)) {
        out.notes.push_back(*refusal);
        return;
    }
    if (const PulseMethod* pulse = q.As<PulseMethod>())
        DesignPulseFilter(pulse->pulse, out);
    else if (IsMinimumPhase(q))
        DesignMinimumPhaseFilter(q, out);
    else if (q.As<LeastSquaresMethod>())
        DesignLeastSquaresFilter(q, out);
    else
        DesignShapedRemezFilter(q, std::get<RemezMethod>(q.method), out);
}

std::vector<MaskBand> MethodMask(const DesignRequest& q, double gain)
{
    std::vector<MaskBand> mask;
    const double fs = q.samplingRate;
    if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        const PulseRequest& p = pulse->pulse;
        if (p.shape == PulseShape::Gaussian || p.sps <= 0)
            return mask;
        const double symbolRate = fs / p.sps;
        const double flat = 0.5 * (1.0 - p.rolloff) * symbolRate;
        const double stop = 0.5 * (1.0 + p.rolloff) * symbolRate;
        if (flat > 0.0)
            mask.push_back({BandKind::Pass, 0.0, flat, 1.0});
        if (stop < 0.5 * fs)
            mask.push_back({BandKind::Stop, stop, 0.5 * fs, 0.0});
        return mask;
    }
    for (const RemezEdge& e : EdgesOf(q))
        mask.push_back({e.value > 0.0 ? BandKind::Pass : BandKind::Stop, e.lower * fs, e.upper * fs, e.value * gain});
    return mask;
}
