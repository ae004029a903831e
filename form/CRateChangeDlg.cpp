#include "form/CRateChangeDlg.h"

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

namespace {

constexpr int kStatic = -1;
constexpr int kLabelX = 12;
constexpr int kFieldX = 100;
constexpr int kEditWidth = 45;

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CRateChangeDlg;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Rate Change";
    t.cx = 220;
    t.cy = 160;
    t.controls = {
        {kStatic, K::Static, "Rate change", kLabelX, 12, 80, 8},
        {D::IDC_RATE_KIND, K::DropDownList, "", kFieldX, 10, 80, 40, StyleNone, {"Decimation", "Interpolation"}},
        {kStatic, K::Static, "Factor (2 .. 64)", kLabelX, 30, 80, 8},
        {D::IDC_RATE_FACTOR, K::Edit, "", kFieldX, 28, kEditWidth, 14, number},
        {kStatic, K::Static, "High sampling rate", kLabelX, 48, 80, 8},
        {D::IDC_RATE_FS, K::Edit, "", kFieldX, 46, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kFieldX + kEditWidth + 4, 48, 12, 8},
        {kStatic, K::Static, "Pass-band edge", kLabelX, 66, 80, 8},
        {D::IDC_RATE_PASS, K::Edit, "", kFieldX, 64, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kFieldX + kEditWidth + 4, 66, 12, 8},
        {kStatic, K::Static, "Taps", kLabelX, 84, 80, 8},
        {D::IDC_RATE_TAPS, K::Edit, "", kFieldX, 82, kEditWidth, 14, number},
        {D::IDC_RATE_ALIAS, K::CheckBox, "Alias bands only (fewer taps)", kLabelX, 104, 160, 10, StyleAuto},
        {IDCANCEL, K::PushButton, "Cancel", kLabelX, 136, 50, 14},
        {IDOK, K::DefPushButton, "OK", 158, 136, 50, 14},
    };
    return t;
}

}  // namespace

CRateChangeDlg::CRateChangeDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CRateChangeDlg::GetTemplate() const
{
    static const DialogTemplate dialog = MakeTemplate();
    return &dialog;
}

void CRateChangeDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, IDC_RATE_KIND, m_nKind);
    DDX_Text(dx, IDC_RATE_FACTOR, m_nFactor);
    DDX_Text(dx, IDC_RATE_FS, m_nSamplingRate);
    DDX_Text(dx, IDC_RATE_PASS, m_nPassEdge);
    DDX_Text(dx, IDC_RATE_TAPS, m_nTaps);
    DDX_Check(dx, IDC_RATE_ALIAS, m_bAliasBands);
}

int CRateChangeDlg::BandTable(RemezBand (&table)[kBandCount]) const
{
    return MultirateRemezTable(static_cast<int>(m_nFactor), static_cast<int>(m_nSamplingRate), m_nPassEdge,
                               m_bAliasBands != 0, 1.0, table);
}

void CRateChangeDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    switch (CheckMultirate(static_cast<int>(m_nFactor), m_nSamplingRate, m_nPassEdge)) {
    case MultirateStatus::BadFactor:
        MessageBox("The factor must be 2 .. 64.");
        return;
    case MultirateStatus::BadRate:
        MessageBox("The sampling rate must be above 0 Hz.");
        return;
    case MultirateStatus::BadPassEdge:
        MessageBox("The pass-band edge must lie above 0 Hz and below fs / (2 x factor).");
        return;
    case MultirateStatus::Ok:
        break;
    }
    if (m_nTaps < 4 || m_nTaps > 1025) {
        MessageBox("The number of taps must be 4 .. 1025.");
        return;
    }
    EndDialog(IDOK);
}
