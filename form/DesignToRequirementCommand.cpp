#include "form/DesignToRequirementCommand.h"

#include "dsp/DesignKinds.h"
#include "form/CRequirementDlg.h"
#include "form/CZantroView.h"
#include "platform/DataExchange.h"

void SeedSpecDialog(const CZantroView& view, CRequirementDlg& dlg)
{
    int fs = 0, f1 = 0, f2 = 0;
    if (ParseInt(view.GetDlgItemText(IDC_SAMPLING_RATE), fs) && fs > 0)
        dlg.m_nSamplingRate = static_cast<unsigned>(fs);
    const int type = view.GetCurSel(IDC_FILTER_TYPE);
    if (type >= FT_LOWPASS && type <= FT_BANDSTOP)
        dlg.m_nFilterType = type;
    const unsigned width = dlg.m_nSamplingRate / 40;
    if (ParseInt(view.GetDlgItemText(IDC_FIRST_CORNER), f1) && f1 >= 0) {
        dlg.m_nEdge[0] = static_cast<unsigned>(f1);
        dlg.m_nEdge[1] = static_cast<unsigned>(f1) + width;
    }
    if (ParseInt(view.GetDlgItemText(IDC_SECOND_CORNER), f2) && f2 >= 0) {
        dlg.m_nEdge[2] = static_cast<unsigned>(f2);
        dlg.m_nEdge[3] = static_cast<unsigned>(f2) + width;
    }
}

bool FormShowsFound(const CZantroView& view, const SpecDesignResult& result)
{
    const std::vector<double>& found = result.search.found.coefficients;
    if (view.m_bDesignValid != 1 || view.m_nTaps != static_cast<int>(found.size()) ||
        view.m_Coeffs.m_nCount < view.m_nTaps)
        return false;
    for (int i = 0; i < view.m_nTaps; ++i)
        if (view.m_Coeffs.GetValue(i, 0) != found[static_cast<size_t>(i)])
            return false;
    return true;
}

void DesignToSpecification(CZantroView& view)
{
    // A cancelled search returns to the dialog with what was typed.
    for (;;) {
        CRequirementDlg dlg(&view);
        // The last requirement, as typed, even when no design met it.
        if (view.m_LastRequirement)
            dlg.Load(*view.m_LastRequirement);
        else
            SeedSpecDialog(view, dlg);
        if (dlg.DoModal() != IDOK)
            return;
        view.m_LastRequirement = dlg.Fields();
        const SpecRequest request = dlg.Request();
        if (const std::optional<std::string> refusal = SeedRefusal(request, SeedOf(view))) {
            view.MessageBox(*refusal);
            return;
        }
        SpecDesignResult result;
        if (Host* host = view.GetHost()) {
            const std::unique_ptr<ProgressMeter> meter = host->BeginProgress(view, kSpecProgressCaption);
            result = FindSpecDesign(request, SeedOf(view), [&meter](int designed, int taps) {
                return meter->Update(SpecProgressText(designed, taps));
            });
        } else {
            result = FindSpecDesign(request, SeedOf(view));
        }
        std::string text = SpecOutcomeText(request, result);
        if (result.search.status == SpecSearchStatus::Cancelled) {
            view.MessageBox(text);
            continue;
        }
        if (result.search.status == SpecSearchStatus::Met) {
            FillForm(view, result.setting);
            view.OnDesign();
            if (!FormShowsFound(view, result))
                text += "\n" + std::string(kMsgSpecFormDiffers);
            else
                view.SetShownRequirement(request.requirement);
            // Chosen words stay asked for, chosen again for each design:
            // for this requirement while the form shows its design.
            view.m_WordRequest.reset();
            if (request.chooseWords)
                view.m_WordRequest = WordRequest{*request.quantize, {}};
        }
        view.MessageBox(text);
        return;
    }
}
