#include "form/DesignAnalysis.h"

#include <algorithm>

#include "design/MethodDesign.h"
#include "document/CZantroDoc.h"
#include "form/CZantroView.h"

DesignOutline OutlineOf(const CZantroView& view) {
    if (!view.m_design)
        return OutlineOf(view.Fields(), view.m_nTaps, view.m_dGain);
    const DesignValue& v = *view.m_design;
    const int taps = static_cast<int>(v.taps.size());
    if (const DesignRequest* request = MethodRequestOf(v))
        return OutlineOf(*request, taps, v.gain);
    return OutlineOf(v.fields, taps, v.gain);
}

DesignAnalysis AnalyzeDesign(const CZantroView& view, const std::optional<std::vector<MaskBand>>& mask,
                             const QuantSpec& quantSpec) {
    DesignAnalysis a;
    a.valid = view.m_design.has_value();
    if (!a.valid) {
        a.fs = view.m_nSamplingRate;
        return a;
    }
    const DesignValue& v = *view.m_design;
    a.fs = v.fields.samplingRate;
    a.taps = v.taps;
    a.bandsDerived = !mask.has_value();
    if (mask)
        a.bands = *mask;
    else if (const DesignRequest* request = MethodRequestOf(v))
        a.bands = MethodMask(*request, v.gain);
    else
        a.bands = DeriveMaskBands(OutlineOf(view));
    a.crossings = HasCornerCrossings(v.fields.filterType);
    a.figures = MeasureResponse(a.taps, a.fs, a.bands, a.crossings);
    a.quantized = QuantizeAndMeasure(a.taps, quantSpec, a.fs, a.bands, a.crossings);
    if (const std::optional<WordRequest> request = WordRequestOf(view); request && !a.taps.empty())
        AddChosenWords(a, *request);
    if (const std::optional<MultirateDesign> rate = RateChangeOf(v)) {
        const bool quantOk = a.quantized.status == QuantStatus::Ok;
        a.rateChange = MeasureRateChange(*rate, a.fs, a.taps,
                                         quantOk ? std::span<const double>(a.quantized.values) : std::span<const double>());
    }
    return a;
}

void AddChosenWords(DesignAnalysis& a, const WordRequest& request)
{
    a.chosen = ChooseWords(a.taps, a.fs, a.bands, request);
    a.optimized = QuantResult{};
    if (a.chosen->result.words.status == QuantStatus::Ok) {
        a.optimized = a.chosen->result.words;
        a.optimized.figures = MeasureResponse(a.optimized.values, a.fs, a.bands, a.crossings);
    }
}

std::optional<WordRequest> WordRequestOf(const CZantroView& view, const std::optional<QuantSpec>& format)
{
    if (!view.m_WordRequest)
        return std::nullopt;
    WordRequest request = *view.m_WordRequest;
    if (format)
        request.format = *format;
    if (request.requirement.empty())
        if (const SpecRequirement* shown = view.ShownRequirement())
            request.requirement = shown->bands;
    return request;
}

std::optional<ChosenWords> ChosenWordsOf(const CZantroView& view, std::span<const double> taps, double fs,
                                         std::span<const MaskBand> bands, const QuantSpec& format)
{
    const std::optional<WordRequest> request = WordRequestOf(view, format);
    if (!request || taps.empty())
        return std::nullopt;
    return ChooseWords(taps, fs, bands, *request);
}

DesignAnalysis MeasureAgain(const DesignAnalysis& held, const std::vector<MaskBand>& bands, const QuantSpec& quantSpec)
{
    DesignAnalysis a = held;
    if (!a.valid)
        return a;
    a.bands = bands;
    a.bandsDerived = false;
    a.figures = MeasureResponse(a.taps, a.fs, a.bands, a.crossings);
    a.quantized = QuantizeAndMeasure(a.taps, quantSpec, a.fs, a.bands, a.crossings);
    return a;
}
