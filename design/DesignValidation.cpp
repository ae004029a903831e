#include "design/DesignValidation.h"

#include <cmath>

#include "design/MethodDesign.h"

namespace {

constexpr int kMaxCorner = 10000000;
constexpr int kMinTaps = 4;
constexpr int kMaxTaps = 1025;

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

std::optional<DesignNote> MethodRefusal(const DesignRequest& q)
{
    const int type = IndexOf(q.filterType);
    switch (q.Method()) {
    case DesignMethod::Sinc:
        if (type > FT_DIFFERENTIATOR)
            return DesignNote{DesignCode::SincNotSupported};
        break;
    case DesignMethod::FrequencySampling: {
        if (type > FT_BANDSTOP)
            return DesignNote{DesignCode::FreqSamplingNotSupported};
        const FrequencySamplingMethod& m = std::get<FrequencySamplingMethod>(q.method);
        if (!m.points)
            return DesignNote{DesignCode::NoInputData};
        if (m.points->size() < 2)
            return DesignNote{DesignCode::TooFewPoints};
        break;
    }
    case DesignMethod::Remez:
        if (type > FT_DIFFERENTIATOR)
            return DesignNote{DesignCode::RemezNotSupported};
        break;
    case DesignMethod::Direct:
        if (type != FT_GAUSSIAN && type != FT_ALLPASS && type != FT_MOVING_AVERAGE)
            return DesignNote{DesignCode::DirectNotSupported};
        break;
    case DesignMethod::LeastSquares:
    case DesignMethod::Pulse:
        break;
    }
    return ValidateMethodRequest(q);
}

std::optional<DesignNote> WindowRefusal(const WindowChoice& w)
{
    if (w.type == WindowType::Chebyshev && !InRange(w.chebyshevAttenuation, 10, 100))
        return DesignNote{DesignCode::AttenuationRange};
    // Written so that NaN is refused as well.
    if (w.type == WindowType::Kaiser && !(w.kaiserBeta >= 0.0 && w.kaiserBeta <= 20.0))
        return DesignNote{DesignCode::ShapeFactorBounds};
    return std::nullopt;
}

std::optional<DesignNote> ShapeRefusal(const DesignRequest& q)
{
    if (const SincMethod* sinc = q.As<SincMethod>()) {
        if ((q.filterType == FilterType::Bandpass || q.filterType == FilterType::Bandstop) &&
            q.secondCorner <= q.firstCorner)
            return DesignNote{DesignCode::CornerOrder};
        if (q.filterType == FilterType::Differentiator &&
            !(sinc->differentiatorGain >= 0.1 && sinc->differentiatorGain <= 10.0))
            return DesignNote{DesignCode::DiffGainRange};
    }
    if (const DirectMethod* direct = q.As<DirectMethod>())
        if (q.filterType == FilterType::Gaussian &&
            !(direct->gaussianVariance >= 0.1 && direct->gaussianVariance <= 3.0))
            return DesignNote{DesignCode::VarianceRange};
    return std::nullopt;
}

std::optional<DesignNote> BandTableRefusal(const DesignRequest& q, const std::vector<RemezBand>& bands,
                                           int gridDensity)
{
    if (bands.size() > static_cast<size_t>(kBandCount))
        return DesignNote{DesignCode::TooManyBands};
    if (!InRange(gridDensity, 8, 64))
        return DesignNote{DesignCode::GridDensityRange};

    const int half = (q.samplingRate > 0 ? q.samplingRate : 0) / 2;
    int previous = 0;
    int used = 0;
    for (size_t i = 0; i < bands.size(); ++i) {
        const RemezBand& b = bands[i];
        const int row = static_cast<int>(i);
        if (b.m_bUse != 1)
            continue;
        ++used;
        if (b.m_nLowerEdge > half)
            return DesignNote{DesignCode::EdgeAboveHalf, row};
        if (b.m_nLowerEdge < previous)
            return DesignNote{DesignCode::EdgeOrder, row};
        if (b.m_nUpperEdge > half)
            return DesignNote{DesignCode::EdgeAboveHalf, row};
        if (b.m_nUpperEdge < b.m_nLowerEdge)
            return DesignNote{DesignCode::EdgeOrder, row};
        previous = b.m_nUpperEdge;
        if (b.m_nUpperEdge == b.m_nLowerEdge)
            return DesignNote{DesignCode::EdgesEqual, row};
        // Written so that NaN is refused as well.
        if (q.filterType == FilterType::Differentiator) {
            if (!(b.m_dValue >= 0.1 && b.m_dValue <= 3.2))
                return DesignNote{DesignCode::DiffValueRange, row};
        } else if (!(b.m_dValue >= 0.0 && b.m_dValue <= 1.0)) {
            return DesignNote{DesignCode::ValueRange, row};
        }
        if (!(std::isfinite(b.m_dWeight) && b.m_dWeight > 0.0))
            return DesignNote{DesignCode::WeightRange, row};
    }
    if (used == 0)
        return DesignNote{DesignCode::NoBand};
    return std::nullopt;
}

}  // namespace

bool ScalingApplies(const DesignRequest& request)
{
    return !request.As<PulseMethod>() && !request.rateChange;
}

double EffectiveScale(const DesignRequest& request)
{
    return request.scaling == IRScaling::Natural || !ScalingApplies(request) ? 1.0 : request.scale;
}

std::optional<DesignNote> ValidateRequest(const DesignRequest& q)
{
    if (!InRange(q.firstCorner, 0, kMaxCorner))
        return DesignNote{DesignCode::FirstCornerRange};
    if (!InRange(q.secondCorner, 0, kMaxCorner))
        return DesignNote{DesignCode::SecondCornerRange};
    // A pulse's length is its own.
    if (!q.As<PulseMethod>() && !InRange(q.taps, kMinTaps, kMaxTaps))
        return DesignNote{DesignCode::TapsRange};
    // The corners are the windowed and sampled designs' (the others take bands or symbols).
    if (WindowOf(q)) {
        const int half = q.samplingRate / 2;
        if (q.firstCorner >= half || q.secondCorner >= half)
            return DesignNote{DesignCode::CornerFrequencies};
    }
    // As the form compares: a scale that is no number passes here and is
    // refused later as a calculated scale out of range.
    const double scale = EffectiveScale(q);
    if (scale < 0.1 || scale > 10.0)
        return DesignNote{DesignCode::ScaleRange};
    if (auto refusal = MethodRefusal(q))
        return refusal;
    if (const WindowChoice* window = WindowOf(q)) {
        if (auto refusal = WindowRefusal(*window))
            return refusal;
        return ShapeRefusal(q);
    }
    if (const std::vector<RemezBand>* bands = BandsOf(q))
        return BandTableRefusal(q, *bands, GridDensityOf(q));
    return std::nullopt;
}
