#include "form/MoreMethodsCommand.h"

#include <utility>

#include "form/CMethodDlg.h"
#include "form/CZantroView.h"
#include "platform/TextFormat.h"

void SeedMethodDialog(const CZantroView& view, CMethodDlg& dlg)
{
    if (!view.m_MethodRequest)
        return;
    const DesignRequest& q = *view.m_MethodRequest;
    if (q.method == DesignMethod::Pulse) {
        dlg.m_nMethod = CMethodDlg::kPulse;
        dlg.m_nPulse = static_cast<int>(q.pulse.shape);
        const double x = q.pulse.shape == PulseShape::Gaussian ? q.pulse.bt : q.pulse.rolloff;
        dlg.m_strRolloff = FormatText("%g", x);
        dlg.m_nSps = static_cast<unsigned>(q.pulse.sps);
        dlg.m_nSpan = static_cast<unsigned>(q.pulse.span);
        dlg.m_nPulseGain = q.pulse.normalisation == PulseNormalisation::UnitDcGain ? 1 : 0;
        return;
    }
    dlg.m_nMethod = q.method == DesignMethod::Remez ? CMethodDlg::kRemez : CMethodDlg::kLeastSquares;
    dlg.m_bMinPhase = q.minimumPhase ? 1 : 0;
    switch (q.remezShape.kind) {
    case ShapeKind::None:
        dlg.m_nShape = CMethodDlg::kFlat;
        break;
    case ShapeKind::CicInverse:
        dlg.m_nShape = CMethodDlg::kCicCompensation;
        dlg.m_nCicDecimation = static_cast<unsigned>(q.remezShape.decimation);
        dlg.m_nCicDelay = static_cast<unsigned>(q.remezShape.delay);
        dlg.m_nCicStages = static_cast<unsigned>(q.remezShape.stages);
        break;
    case ShapeKind::InverseSinc:
        dlg.m_nShape = CMethodDlg::kInverseSinc;
        break;
    }
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
    const DesignRequest request = dlg.Apply(view.MakeRequest());
    DesignOutcome outcome = Design(request);
    const int taps = outcome.taps;
    const int shown = view.DesignsShown();
    view.TakeOutcome(std::move(outcome));
    if (view.m_bDesignValid == 1) {
        view.m_MethodRequest = request;
        view.m_RateChangeDesign.reset();
        view.m_nTaps = taps;
        view.m_nFirType = CZantroView::GetFirType(view.m_nFilterType, taps);
        view.UpdateData(false);
        view.StoreParameters();
    }
    view.NoteDesignOutcome(shown);
}
