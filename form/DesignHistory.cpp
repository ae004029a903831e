#include "form/DesignHistory.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "document/CZantroDoc.h"
#include "form/CZantroView.h"

// The view's parameters as its fields and dialogs hold them.
struct DesignHistory::Entry {
    int designMethod = 0, filterType = 0, windowType = 0, firstCorner = 0, samplingRate = 0, secondCorner = 0;
    int taps = 0, irScaling = 0, sinXComp = 0, targetFilter = 0, stopbandAtt = 0, diffGainSel = 0;
    std::string irScale;
    double dIRScale = 0.0, shapeFactor = 0.0, variance = 0.0, diffGain = 0.0;
    bool hasBands = false;
    std::array<RemezBand, kBandCount> bands{};
    int gridDensity = 0;
    std::optional<DesignValue> value;
    std::unique_ptr<DesignSnapshot> design;
};

DesignHistory::DesignHistory() = default;
DesignHistory::~DesignHistory() = default;

void DesignHistory::Record(CZantroView& v)
{
    auto e = std::make_unique<Entry>();
    e->designMethod = v.m_nDesignMethod;
    e->filterType = v.m_nFilterType;
    e->windowType = v.m_nWindowType;
    e->firstCorner = v.m_nFirstCorner;
    e->samplingRate = v.m_nSamplingRate;
    e->secondCorner = v.m_nSecondCorner;
    e->taps = v.m_nTaps;
    e->irScaling = v.m_nIRScaling;
    e->sinXComp = v.m_bSinXComp;
    e->targetFilter = v.m_nTargetFilter;
    e->stopbandAtt = v.m_nStopbandAtt;
    e->diffGainSel = v.m_nDiffGainSel;
    e->irScale = v.m_strIRScale;
    e->dIRScale = v.m_dIRScale;
    e->shapeFactor = v.m_dShapeFactor;
    e->variance = v.m_dVariance;
    e->diffGain = v.m_dDiffGain;
    if (const CZantroDoc* doc = v.GetDocument()) {
        e->hasBands = true;
        std::copy_n(doc->m_FilPar.m_Bands, kBandCount, e->bands.begin());
        e->gridDensity = doc->m_FilPar.m_nGridDensity;
    }
    e->value = v.m_design;
    e->design = std::make_unique<DesignSnapshot>(v);
    m_entries.resize(static_cast<size_t>(m_nCurrent + 1));
    m_entries.push_back(std::move(e));
    if (m_entries.size() > kMaxDesigns)
        m_entries.erase(m_entries.begin());
    m_nCurrent = static_cast<int>(m_entries.size()) - 1;
}

void DesignHistory::Replace(const CZantroView& view)
{
    if (m_nCurrent >= 0)
        m_entries[static_cast<size_t>(m_nCurrent)]->value = view.m_design;
}

bool DesignHistory::Undo(CZantroView& view)
{
    if (!CanUndo())
        return false;
    --m_nCurrent;
    Show(view, *m_entries[static_cast<size_t>(m_nCurrent)]);
    return true;
}

bool DesignHistory::Redo(CZantroView& view)
{
    if (!CanRedo())
        return false;
    ++m_nCurrent;
    Show(view, *m_entries[static_cast<size_t>(m_nCurrent)]);
    return true;
}

void DesignHistory::Show(CZantroView& v, Entry& e)
{
    v.m_nDesignMethod = e.designMethod;
    v.m_nFilterType = e.filterType;
    v.m_nWindowType = e.windowType;
    v.m_nFirstCorner = e.firstCorner;
    v.m_nSamplingRate = e.samplingRate;
    v.m_nSecondCorner = e.secondCorner;
    v.m_nTaps = e.taps;
    v.m_nIRScaling = e.irScaling;
    v.m_bSinXComp = e.sinXComp;
    v.m_nTargetFilter = e.targetFilter;
    v.m_nStopbandAtt = e.stopbandAtt;
    v.m_nDiffGainSel = e.diffGainSel;
    v.m_strIRScale = e.irScale;
    v.m_dIRScale = e.dIRScale;
    v.m_dShapeFactor = e.shapeFactor;
    v.m_dVariance = e.variance;
    v.m_dDiffGain = e.diffGain;
    if (CZantroDoc* doc = v.GetDocument(); doc && e.hasBands) {
        std::copy(e.bands.begin(), e.bands.end(), doc->m_FilPar.m_Bands);
        doc->m_FilPar.m_nGridDensity = e.gridDensity;
    }
    v.m_design = e.value;
    v.UpdateData(false);
    // Restore swaps the entry's arrays and plots into the view; the entry
    // then keeps a fresh copy of them for the next time it is shown.
    e.design->Restore();
    v.StoreParameters();
    v.SetDlgItemText(IDC_MAGNITUDE_CAPTION, e.design->MagnitudeCaption());
    e.design = std::make_unique<DesignSnapshot>(v);
    v.m_shown.Designed(v);
    for (CPlotWnd* plot : {static_cast<CPlotWnd*>(&v.m_MagnitudeWnd), static_cast<CPlotWnd*>(&v.m_PhaseWnd),
                           &v.m_ImpulseWnd, &v.m_StepWnd})
        plot->RepaintNow();
}
