#include "form/DesignAnalysis.h"

#include <algorithm>

#include "document/CZantroDoc.h"
#include "form/CZantroView.h"

DesignOutline OutlineOf(const CZantroView& view) {
    DesignOutline d;
    d.filterType = view.m_nFilterType;
    d.designMethod = view.m_nDesignMethod;
    d.windowType = view.m_nWindowType;
    d.taps = view.m_nTaps;
    d.fs = view.m_nSamplingRate;
    d.firstCorner = view.m_nFirstCorner;
    d.secondCorner = view.m_nSecondCorner;
    d.shapeFactor = view.m_dShapeFactor;
    d.stopbandAtt = view.m_nStopbandAtt;
    d.diffGain = view.m_dDiffGain;
    d.gain = view.m_dGain;
    if (const CZantroDoc* doc = view.GetDocument()) {
        const CFilPar& par = doc->m_FilPar;
        d.remezBands.assign(par.m_Bands, par.m_Bands + kBandCount);
        if (par.m_bInputData) {
            for (int i = 0; i < par.m_InputData.m_nCount; ++i) {
                d.inputData.push_back(par.m_InputData.GetValue(i, 0));
            }
        }
    }
    return d;
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
