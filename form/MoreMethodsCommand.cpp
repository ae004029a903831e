#include "form/MoreMethodsCommand.h"

#include <utility>

#include "design/DesignValidation.h"
#include "form/CMethodDlg.h"
#include "form/CZantroView.h"
#include "platform/TextFormat.h"

void SeedMethodDialog(const CZantroView& view, CMethodDlg& dlg)
{
    if (const DesignRequest* request = view.ShownMethodRequest())
        dlg.Load(*MethodChoiceOf(*request));
}

void DesignMoreMethods(CZantroView& view)
{
    if (!view.ReadFields())
        return;
    CMethodDlg dlg(&view);
    SeedMethodDialog(view, dlg);
    dlg.m_nFilterType = view.m_nFilterType;
    if (view.RunParameterDialog(dlg) != IDOK)
        return;
    if (dlg.m_nMethod != CMethodDlg::kPulse && !view.AskRemezBands())
        return;
    view.m_bDesignValid = 0;
    std::optional<DesignRequest> request = RequestOf({view.Fields(), dlg.Choice()});
    if (!request)
        return;
    request->measure = false;
    DesignOutcome outcome = Design(*request);
    // A pulse's gain is its own: the form's scale field keeps what it held.
    const bool scaled = ScalingApplies(*request);
    const std::string scaleText = view.m_strIRScale;
    const double scale = view.m_dIRScale;
    const int taps = outcome.taps;
    const int shown = view.DesignsShown();
    view.TakeOutcome(*request, std::move(outcome));
    if (!scaled) {
        view.m_strIRScale = scaleText;
        view.m_dIRScale = scale;
        view.UpdateData(false);
    }
    if (view.m_bDesignValid == 1) {
        // The form shows the nearest design its own fields hold.
        view.SetFields(FieldsFor(*request, view.Fields()));
        view.m_nFirType = CZantroView::GetFirType(view.m_nFilterType, taps);
        view.StoreParameters();
    }
    view.NoteDesignOutcome(shown);
}
