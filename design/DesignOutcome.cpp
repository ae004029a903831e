#include "design/DesignOutcome.h"

#include <algorithm>

CodeSource SourceOf(DesignCode code)
{
    switch (code) {
    case DesignCode::LeastSquaresNotSupported:
    case DesignCode::MinimumPhaseNotSupported:
    case DesignCode::ShapeNotSupported:
        return CodeSource::Method;
    case DesignCode::ShapeRange:
    case DesignCode::PulseRange:
        return CodeSource::Dialog;
    case DesignCode::MethodFailed:
    case DesignCode::RateDesignFailed:
        return CodeSource::Design;
    case DesignCode::RateChangeNotSupported:
        return CodeSource::Method;
    case DesignCode::RateFactorRange:
    case DesignCode::RateSamplingRate:
    case DesignCode::RatePassEdge:
    case DesignCode::HalfbandTaps:
    case DesignCode::RateTapsRange:
    case DesignCode::RateStopBands:
        return CodeSource::Fields;
    default:
        break;
    }
    if (code <= DesignCode::ScaleRange)
        return CodeSource::Fields;
    if (code <= DesignCode::TooFewPoints)
        return CodeSource::Method;
    if (code <= DesignCode::NoBand)
        return CodeSource::Dialog;
    if (code <= DesignCode::NonFiniteTaps)
        return CodeSource::Design;
    return CodeSource::Note;
}

void DesignOutcome::ResizeArrays(int n)
{
    ran = true;
    taps = n;
    window = CPoints(n);
    coeffs = CPoints(n);
    step = CPoints(n);
    spectrum = CPoints(n);
}

std::optional<DesignNote> DesignOutcome::Refusal() const
{
    for (const DesignNote& note : notes)
        if (IsRefusal(note.code))
            return note;
    return std::nullopt;
}

bool DesignOutcome::Has(DesignCode code) const
{
    return std::any_of(notes.begin(), notes.end(), [code](const DesignNote& n) { return n.code == code; });
}

std::vector<double> DesignOutcome::Taps() const
{
    std::vector<double> real;
    real.reserve(static_cast<size_t>(coeffs.m_nCount));
    for (int i = 0; i < coeffs.m_nCount; ++i)
        real.push_back(coeffs[i].real());
    return real;
}
