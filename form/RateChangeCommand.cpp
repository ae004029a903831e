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
    // The form shows the lowpass as Remez on the table its exchange runs on.
    view.SetFields(FieldsFor(request, view.Fields()));
    const int shown = view.DesignsShown();
    if (view.ReadFields()) {
        view.m_bDesignValid = 0;
        DesignRequest q = request;
        q.measure = true;
        view.TakeOutcome(q, Design(q));
        if (view.m_bDesignValid == 1) {
            view.m_nFirType = CZantroView::GetFirType(view.m_nFilterType, view.m_nTaps);
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
        // The analysis judges the design on what it was asked to meet.
        if (DesignThroughEngine(view, search.request))
            view.SetShownRequirement(AskedOf(search.request, requirement));
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
