#include "python/MeasureBinding.h"

#include <algorithm>

#include "document/DesignJson.h"
#include "python/DesignError.h"
#include "python/LongCall.h"

namespace {

const char* Refusal(MeasureStatus status)
{
    switch (status) {
    case MeasureStatus::BadRate:
        return "fs must be a finite sampling rate above 0 Hz";
    case MeasureStatus::BadBand:
        return "a band lies outside 0..fs/2";
    case MeasureStatus::NonFinite:
        return "the taps hold values that are not finite numbers";
    case MeasureStatus::NoTaps:
        return "there are no taps to measure";
    default:
        return nullptr;
    }
}

}  // namespace

py::object MeasureTaps(const py::handle& taps, const py::handle& fs, const py::handle& bands,
                       const py::handle& quantize, const std::string& rounding)
{
    std::vector<double> values = TapsFrom(taps, "taps");
    const double rate = NumberFrom(fs, "fs");
    const std::vector<MaskBand> mask = MaskBandsFrom(bands);
    const QuantSpec format = QuantSpecFrom(quantize, rounding);
    const bool crossings =
        std::any_of(mask.begin(), mask.end(), [](const MaskBand& b) { return b.kind == BandKind::Pass; });
    struct Measured {
        ResponseFigures figures;
        QuantResult quantized;
    };
    const Measured measured =
        RunInterruptible([values = std::move(values), rate, mask, format, crossings](const CancelFlag&) {
            Measured m;
            m.figures = MeasureResponse(values, rate, mask, crossings);
            if (m.figures.status == MeasureStatus::Ok)
                m.quantized = QuantizeAndMeasure(values, format, rate, mask, crossings);
            return m;
        });
    if (const char* refusal = Refusal(measured.figures.status))
        throw DesignError(refusal);
    return ToPython(AnalysisJson(measured.figures, measured.quantized, false));
}
