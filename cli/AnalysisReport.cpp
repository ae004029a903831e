#include "cli/AnalysisReport.h"

#include "document/DesignJson.h"
#include "form/DesignAnalysis.h"

using OrderedJson = nlohmann::ordered_json;

OrderedJson AnalysisReport::Of(const DesignAnalysis& a)
{
    if (!a.valid)
        return nullptr;
    return AnalysisJson(a.figures, a.quantized, a.bandsDerived, a.chosen ? &*a.chosen : nullptr);
}

OrderedJson AnalysisReport::Build(const CZantroView& view, const AnalysisRequest& request)
{
    std::optional<std::vector<MaskBand>> mask;
    if (!request.mask.empty())
        mask = request.mask;
    return Of(AnalyzeDesign(view, mask, request.quantize));
}
