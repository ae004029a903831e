#include "form/RateChangeCommand.h"

#include "dsp/DesignKinds.h"
#include "form/CRateChangeDlg.h"
#include "form/CZantroView.h"
#include "form/RequirementDesign.h"
#include "platform/DataExchange.h"

void DesignRateChange(CZantroView& view)
{
    CRateChangeDlg dlg(&view);
    int fs = 0, taps = 0, f1 = 0;
    if (ParseInt(view.GetDlgItemText(IDC_SAMPLING_RATE), fs) && fs > 0)
        dlg.m_nSamplingRate = static_cast<unsigned>(fs);
    if (ParseInt(view.GetDlgItemText(IDC_TAPS), taps) && taps >= 4)
        dlg.m_nTaps = static_cast<unsigned>(taps);
    if (ParseInt(view.GetDlgItemText(IDC_FIRST_CORNER), f1) && f1 > 0)
        dlg.m_nPassEdge = static_cast<unsigned>(f1);
    // A corner the factor cannot take gives way to the middle of the output band.
    if (CheckMultirate(static_cast<int>(dlg.m_nFactor), dlg.m_nSamplingRate, dlg.m_nPassEdge) != MultirateStatus::Ok)
        dlg.m_nPassEdge = dlg.m_nSamplingRate / (4 * dlg.m_nFactor);
    if (dlg.DoModal() != IDOK)
        return;
    RemezBand table[kBandCount];
    const int rows = dlg.BandTable(table);
    SpecFormSetting s;
    s.filterType = FT_LOWPASS;
    s.designMethod = DM_REMEZ;
    s.windowType = -1;
    s.taps = static_cast<int>(dlg.m_nTaps);
    s.samplingRate = static_cast<int>(dlg.m_nSamplingRate);
    s.firstCorner = static_cast<int>(dlg.m_nPassEdge);
    s.secondCorner = s.firstCorner;
    s.bands.assign(table, table + rows);
    FillForm(view, s);
    view.OnDesign();
    if (view.m_bDesignValid != 1)
        return;
    const MultirateKind kind = dlg.m_nKind == 1 ? MultirateKind::Interpolate : MultirateKind::Decimate;
    view.m_RateChange = MultirateDesign{kind, static_cast<int>(dlg.m_nFactor), static_cast<double>(dlg.m_nPassEdge)};
    view.m_nRateChangeFs = s.samplingRate;
}
