#include "form/DesignAnalysis.h"

#include <algorithm>

#include "document/CZantroDoc.h"
#include "form/CZantroView.h"

DesignOutline OutlineOf(const CZantroView& view) {
    return OutlineOf(view.MakeRequest(), view.m_nTaps, view.m_dGain);
}

DesignAnalysis AnalyzeDesign(const CZantroView& view, const std::optional<std::vector<MaskBand>>& mask,
                             const QuantSpec& quantSpec) {
    DesignAnalysis a;
    a.valid = view.m_bDesignValid == 1;
    a.fs = view.m_nSamplingRate;
    if (!a.valid) {
        return a;
    }
    const int n = std::min(view.m_nTaps, view.m_Coeffs.m_nCount);
    for (int i = 0; i < n; ++i) {
        a.taps.push_back(view.m_Coeffs.GetValue(i, 0));
    }
    a.bandsDerived = !mask.has_value();
    a.bands = mask ? *mask : DeriveMaskBands(OutlineOf(view));
    a.crossings = HasCornerCrossings(view.m_nFilterType);
    a.figures = MeasureResponse(a.taps, a.fs, a.bands, a.crossings);
    a.quantized = QuantizeAndMeasure(a.taps, quantSpec, a.fs, a.bands, a.crossings);
    return a;
}
