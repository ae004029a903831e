#include "form/RateChangeCommand.h"

#include <utility>

#include "document/CZantroDoc.h"
#include "document/RateChangeReport.h"
#include "dsp/DesignKinds.h"
#include "form/CRateChangeDlg.h"
#include "form/CZantroView.h"
#include "design/RateChangeSearch.h"
#include "form/RequirementDesign.h"
#include "platform/DataExchange.h"

namespace {

constexpr int kDefaultGridDensity = 16;

void SeedDialog(const CZantroView& view, CRateChangeDlg& dlg)
{
    if (view.m_LastRateChange)
        dlg.Load(*view.m_LastRateChange);
    int fs = 0, taps = 0, f1 = 0;
    if (ParseInt(view.GetDlgItemText(IDC_SAMPLING_RATE), fs) && fs > 0)
        dlg.m_nSamplingRate = static_cast<unsigned>(fs);
    if (ParseInt(view.GetDlgItemText(IDC_TAPS), taps) && taps >= 4)
        dlg.m_nTaps = static_cast<unsigned>(taps);
    if (ParseInt(view.GetDlgItemText(IDC_FIRST_CORNER), f1) && f1 > 0)
        dlg.m_nPassEdge = static_cast<unsigned>(f1);
    // A corner the factor cannot take gives way to the middle of the output band.
    const unsigned factor = dlg.m_nKind == CRateChangeDlg::kHalfband ? 2 : dlg.m_nFactor;
    if (CheckMultirate(static_cast<int>(factor), dlg.m_nSamplingRate, dlg.m_nPassEdge) != MultirateStatus::Ok)
        dlg.m_nPassEdge = dlg.m_nSamplingRate / (4 * factor);
}

int GridDensityOf(const CZantroView& view)
{
    const CZantroDoc* doc = view.GetDocument();
    const int grid = doc ? doc->m_FilPar.m_nGridDensity : kDefaultGridDensity;
    return grid >= 8 && grid <= 64 ? grid : kDefaultGridDensity;
}

// The request's design as the engine makes it, shown on the form; true
// when the plots show it.
bool DesignThroughEngine(CZantroView& view, const DesignRequest& request)
{
    // The band table the form's own Design would redesign from: the one the
    // exchange runs on, but for a half-band, whose G runs on 0 .. 2 f1
    // alone, the lowpass's bands of equal weight.
    RemezBand table[kBandCount];
    const bool halfband = request.rateChange->kind == RateChangeKind::Halfband;
    const int rows = LowpassRemezTable(request.samplingRate, request.firstCorner, RateStopBandsOf(request),
                                       halfband ? 1.0 : request.rateChange->stopWeight, table);
    SpecFormSetting s;
    s.filterType = FT_LOWPASS;
    s.designMethod = DM_REMEZ;
    s.windowType = -1;
    s.taps = request.taps;
    s.samplingRate = request.samplingRate;
    s.firstCorner = request.firstCorner;
    s.secondCorner = request.firstCorner;
    s.bands.assign(table, table + rows);
    s.gridDensity = ::GridDensityOf(request);
    FillForm(view, s);
    view.SetCurSel(IDC_IR_SCALING, SC_NATURAL);
    view.SetDlgItemText(IDC_IR_SCALE, "1.00");
    view.CheckDlgButton(IDC_SINX_COMP, 0);
    const int shown = view.DesignsShown();
    if (view.ReadFields()) {
        view.m_bDesignValid = 0;
        view.m_MethodRequest.reset();
        DesignRequest q = request;
        q.measure = true;
        DesignOutcome outcome = Design(q);
        DesignedRateChange designed{request, outcome.valid ? RateChangeExportDesign(q, outcome) : ExportDesign{}};
        view.TakeOutcome(std::move(outcome));
        if (view.m_bDesignValid == 1) {
            view.m_nFirType = CZantroView::GetFirType(view.m_nFilterType, view.m_nTaps);
            view.m_RateChange = designed.exportDesign.multirate;
            view.m_nRateChangeFs = request.samplingRate;
            view.m_RateChangeDesign = std::move(designed);
            view.StoreParameters();
        }
    }
    view.NoteDesignOutcome(shown);
    return view.DesignsShown() != shown;
}

void DesignToRequirement(CZantroView& view, const CRateChangeDlg& dlg)
{
    const RateChangeRequirement requirement = dlg.Requirement();
    const RateChangeSearch search = SearchRateChange(*RequestOf(dlg.Design(GridDensityOf(view))), requirement);
    const std::string text = RateSearchMessage(search, requirement.quantize);
    if (search.search && search.search->status == SpecSearchStatus::Met) {
        if (DesignThroughEngine(view, search.request)) {
            // The analysis judges the design on what it was asked to meet.
            SpecRequirement asked;
            asked.fs = search.request.samplingRate;
            asked.bands.push_back({BandKind::Pass, 0.0, static_cast<double>(search.request.firstCorner),
                                   requirement.passRippleDb});
            for (const MaskBand& b : RateStopBandsOf(search.request))
                asked.bands.push_back({BandKind::Stop, b.loHz, b.hiHz, *requirement.aliasAttenuationDb});
            view.SetShownRequirement(asked);
        }
    }
    view.MessageBox(text);
}

}  // namespace

void DesignRateChange(CZantroView& view)
{
    CRateChangeDlg dlg(&view);
    SeedDialog(view, dlg);
    if (dlg.DoModal() != IDOK)
        return;
    view.m_LastRateChange = dlg.Fields();
    if (dlg.m_bToSpec)
        DesignToRequirement(view, dlg);
    else
        DesignThroughEngine(view, *RequestOf(dlg.Design(GridDensityOf(view))));
}
