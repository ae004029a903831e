#include "design/DesignValidation.h"

#include <charconv>
#include <cmath>

#include "design/MethodDesign.h"

namespace {

constexpr int kMaxCorner = 10000000;
constexpr int kMinTaps = 4;
constexpr int kMaxTaps = 1025;
constexpr int kMaxTextChars = 8;

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Characters of printf("%4.<decimals>f", value), as the band dialog shows it.
int ShownLength(double value, int decimals)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const int length = r.ec == std::errc() ? static_cast<int>(r.ptr - buf) : static_cast<int>(sizeof buf);
    return length < 4 ? 4 : length;
}

std::optional<DesignNote> MethodRefusal(const DesignRequest& q)
{
    const int type = IndexOf(q.filterType);
    switch (q.method) {
    case DesignMethod::Sinc:
        if (type > FT_DIFFERENTIATOR)
            return DesignNote{DesignCode::SincNotSupported};
        break;
    case DesignMethod::FrequencySampling:
        if (type > FT_BANDSTOP)
            return DesignNote{DesignCode::FreqSamplingNotSupported};
        if (!q.hasInputData)
            return DesignNote{DesignCode::NoInputData};
        if (q.samplingPoints.size() < 2)
            return DesignNote{DesignCode::TooFewPoints};
        break;
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

std::optional<DesignNote> WindowRefusal(const DesignRequest& q)
{
    if (q.window == WindowType::Chebyshev && !InRange(q.chebyshevAttenuation, 10, 100))
        return DesignNote{DesignCode::AttenuationRange};
    // Written so that NaN is refused as well.
    if (q.window == WindowType::Kaiser && !(q.kaiserBeta >= 0.0 && q.kaiserBeta <= 20.0))
        return DesignNote{DesignCode::ShapeFactorBounds};
    return std::nullopt;
}

std::optional<DesignNote> ShapeRefusal(const DesignRequest& q)
{
    if (q.method == DesignMethod::Sinc && (q.filterType == FilterType::Bandpass || q.filterType == FilterType::Bandstop) &&
        q.secondCorner <= q.firstCorner)
        return DesignNote{DesignCode::CornerOrder};
    if (q.method == DesignMethod::Sinc && q.filterType == FilterType::Differentiator) {
        if (!InRange(IndexOf(q.diffGainSelection), 0, 3))
            return DesignNote{DesignCode::DiffGainSelectionRange};
        if (q.diffGainSelection == DifferentiatorGain::Other && !(q.diffGain >= 0.1 && q.diffGain <= 10.0))
            return DesignNote{DesignCode::DiffGainRange};
    }
    if (q.filterType == FilterType::Gaussian && !(q.gaussianVariance >= 0.1 && q.gaussianVariance <= 3.0))
        return DesignNote{DesignCode::VarianceRange};
    return std::nullopt;
}

std::optional<DesignNote> BandTableRefusal(const DesignRequest& q)
{
    if (q.bands.size() > static_cast<size_t>(kBandCount))
        return DesignNote{DesignCode::TooManyBands};
    // The dialog exchanges every row, in use or not, before it checks the
    // rows in use.
    for (size_t i = 0; i < q.bands.size(); ++i) {
        const RemezBand& b = q.bands[i];
        const int row = static_cast<int>(i);
        if (!InRange(b.m_nLowerEdge, 0, kMaxCorner) || !InRange(b.m_nUpperEdge, 0, kMaxCorner))
            return DesignNote{DesignCode::BandEdgeRange, row};
        if (ShownLength(b.m_dValue, 3) > kMaxTextChars || ShownLength(b.m_dWeight, 2) > kMaxTextChars)
            return DesignNote{DesignCode::BandTextLength, row};
    }
    if (!InRange(q.gridDensity, 8, 64))
        return DesignNote{DesignCode::GridDensityRange};

    const int half = (q.samplingRate > 0 ? q.samplingRate : 0) / 2;
    int previous = 0;
    int used = 0;
    for (size_t i = 0; i < q.bands.size(); ++i) {
        const RemezBand& b = q.bands[i];
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
        const bool weightOk = q.weightRange == RemezWeightRange::AnyPositive
                                  ? std::isfinite(b.m_dWeight) && b.m_dWeight > 0.0
                                  : b.m_dWeight >= 1.0 && b.m_dWeight <= 100.0;
        if (!weightOk)
            return DesignNote{DesignCode::WeightRange, row};
    }
    if (used == 0)
        return DesignNote{DesignCode::NoBand};
    return std::nullopt;
}

}  // namespace

double EffectiveScale(const DesignRequest& request)
{
    return request.scaling == IRScaling::Natural ? 1.0 : request.scale;
}

std::optional<DesignNote> ValidateRequest(const DesignRequest& q)
{
    if (!InRange(q.firstCorner, 0, kMaxCorner))
        return DesignNote{DesignCode::FirstCornerRange};
    if (!InRange(q.secondCorner, 0, kMaxCorner))
        return DesignNote{DesignCode::SecondCornerRange};
    if (!InRange(q.taps, kMinTaps, kMaxTaps))
        return DesignNote{DesignCode::TapsRange};
    // The corners are the windowed and sampled designs' (the others take bands or symbols).
    if (q.method != DesignMethod::Remez && q.method != DesignMethod::LeastSquares && q.method != DesignMethod::Pulse) {
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
    switch (q.method) {
    case DesignMethod::Sinc:
    case DesignMethod::Direct:
    case DesignMethod::FrequencySampling:
        if (auto refusal = WindowRefusal(q))
            return refusal;
        return ShapeRefusal(q);
    case DesignMethod::Remez:
    case DesignMethod::LeastSquares:
        return BandTableRefusal(q);
    case DesignMethod::Pulse:
        return std::nullopt;
    }
    return std::nullopt;
}
