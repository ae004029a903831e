#include "python/MeasureBinding.h"

#include <algorithm>

#include "document/DesignJson.h"
#include "python/DesignError.h"

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

py::object MeasureTaps(const py::handle& taps, double fs, const py::handle& bands, const py::handle& quantize,
                       const std::string& rounding)
{
    const std::vector<double> values = TapsFrom(taps, "taps");
    const std::vector<MaskBand> mask = MaskBandsFrom(bands);
    const QuantSpec format = QuantSpecFrom(quantize, rounding);
    const bool crossings =
        std::any_of(mask.begin(), mask.end(), [](const MaskBand& b) { return b.kind == BandKind::Pass; });
    ResponseFigures figures;
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        figures = MeasureResponse(values, fs, mask, crossings);
        if (figures.status == MeasureStatus::Ok)
            quantized = QuantizeAndMeasure(values, format, fs, mask, crossings);
    }
    if (const char* refusal = Refusal(figures.status))
        throw DesignError(refusal);
    return ToPython(AnalysisJson(figures, quantized, false));
}
