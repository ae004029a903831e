#include "design/DesignMessages.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "design/RateChangeDesign.h"
#include "dsp/HalfbandDesign.h"

namespace {

// The form's field exchange words its refusals so; a test holds these to
// its own texts.
std::string IntegerBetween(int low, int high)
{
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

std::string PassesText(int passes)
{
    // "%3d": right-aligned in three columns.
    std::string number = std::to_string(passes);
    if (number.size() < 3)
        number.insert(0, 3 - number.size(), ' ');
    const std::string_view text = kMsgRemezPasses;
    const size_t at = text.find("%3d");
    return std::string(text.substr(0, at)) + number + std::string(text.substr(at + 3));
}

std::string Shortest6(double v)
{
    // "%g": six significant digits.
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
    return std::string(text, r.ptr);
}

std::string FixedText(double v, int decimals)
{
    char text[400];
    const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(text, r.ptr) : "?";
}

}  // namespace

std::vector<std::string> UnsoundDesignWarnings(bool converged, const ResponseFigures& figures)
{
    std::vector<std::string> warnings;
    if (!converged)
        warnings.push_back(kMsgUnsoundNoConvergence);
    if (WholeResponseExceeds(figures)) {
        const double peak = figures.whole.peakDb;
        const std::string rise = std::isfinite(peak) ? FixedText(peak, 2) + " dB" : "without bound";
        warnings.push_back("The response rises " + rise + " above the pass band at " +
                           Shortest6(figures.whole.peakHz) + " Hz, outside the stop bands.");
    }
    return warnings;
}

std::string DesignMessage(const DesignNote& note)
{
    switch (note.code) {
    case DesignCode::FirstCornerRange:
    case DesignCode::SecondCornerRange:
        return IntegerBetween(0, 10000000);
    case DesignCode::TapsRange:
        return IntegerBetween(4, 1025);
    case DesignCode::CornerFrequencies:
        return kMsgCornerFrequencies;
    case DesignCode::ScaleRange:
        return kMsgScaleRange;
    case DesignCode::SincNotSupported:
        return kMsgSincNotSupported;
    case DesignCode::FreqSamplingNotSupported:
        return kMsgFreqSamplingNotSupported;
    case DesignCode::RemezNotSupported:
        return kMsgRemezNotSupported;
    case DesignCode::DirectNotSupported:
        return kMsgDirectNotSupported;
    case DesignCode::NoInputData:
        return kMsgNoInputData;
    case DesignCode::TooFewPoints:
        return kMsgTooFewPoints;
    case DesignCode::AttenuationRange:
        return IntegerBetween(10, 100);
    case DesignCode::ShapeFactorBounds:
        return kMsgShapeFactorBounds;
    case DesignCode::DiffGainRange:
        return kMsgDiffGainRange;
    case DesignCode::VarianceRange:
        return kMsgVarianceRange;
    case DesignCode::TooManyBands:
        return kMsgTooManyBands;
    case DesignCode::GridDensityRange:
        return IntegerBetween(8, 64);
    case DesignCode::EdgeAboveHalf:
        return kMsgEdgeAboveHalf;
    case DesignCode::EdgeOrder:
        return kMsgEdgeOrder;
    case DesignCode::EdgesEqual:
        return kMsgEdgesEqual;
    case DesignCode::DiffValueRange:
        return kMsgDiffValueRange;
    case DesignCode::ValueRange:
        return kMsgValueRange;
    case DesignCode::WeightRange:
        return kMsgPositiveWeight;
    case DesignCode::NoBand:
        return kMsgNoBand;
    case DesignCode::CornerOrder:
        return kMsgCornerOrder;
    case DesignCode::NonFiniteTaps:
        return kMsgTapsNotFinite;
    case DesignCode::RemezPasses:
        return PassesText(note.value);
    case DesignCode::RemezNoConvergence:
        return kMsgRemezNoConvergence;
    case DesignCode::CalculatedScale:
        return kMsgCalculatedScale;
    case DesignCode::LeastSquaresNotSupported:
        return kMsgLeastSquaresNotSupported;
    case DesignCode::MinimumPhaseNotSupported:
        return kMsgMinimumPhaseNotSupported;
    case DesignCode::ShapeNotSupported:
        return kMsgShapeNotSupported;
    case DesignCode::ShapeRange:
        return kMsgShapeRange;
    case DesignCode::PulseRange:
        return kMsgPulseRange;
    case DesignCode::MethodFailed:
        return kMsgMethodFailed;
    case DesignCode::RateChangeNotSupported:
        return kMsgRateChangeNotSupported;
    case DesignCode::RateFactorRange:
        return kMsgRateFactorRange;
    case DesignCode::RateSamplingRate:
        return kMsgRateSamplingRate;
    case DesignCode::RatePassEdge:
        return "The pass-band edge must lie above 0 Hz and below fs / (2 x factor).";
    case DesignCode::HalfbandTaps:
        return HalfbandTapsMessage(note.value);
    case DesignCode::RateTapsRange:
        return kMsgRateTapsRange;
    case DesignCode::RateStopBands:
        return kMsgRateStopBands;
    case DesignCode::RateDesignFailed:
        return kMsgRateDesignFailed;
    }
    return {};
}

std::string DesignMessage(const DesignNote& note, const DesignRequest& q)
{
    if (note.code == DesignCode::RatePassEdge) {
        const int factor = RateFactorOf(q);
        return "The pass-band edge must lie above 0 Hz and below fs / (2 x " + std::to_string(factor) + ") = " +
               Shortest6(q.samplingRate / (2.0 * factor)) + " Hz.";
    }
    return DesignMessage(note);
}

std::vector<std::string> RateChangeMessages(const DesignRequest& q, const DesignOutcome& outcome)
{
    std::vector<std::string> messages;
    for (const DesignNote& note : outcome.notes) {
        if (note.code == DesignCode::RemezNoConvergence)
            messages.push_back(kMsgRateNoConvergence);
        else if (note.code == DesignCode::NonFiniteTaps)
            messages.push_back(kMsgExportNonFinite);
        else if (IsRefusal(note.code))
            messages.push_back(DesignMessage(note, q));
    }
    return messages;
}
