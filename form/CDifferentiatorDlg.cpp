#include "form/CDifferentiatorDlg.h"

#include <cmath>
#include <numbers>

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace differentiator_dlg {

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CDifferentiatorDlg;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Differentiator";
    t.cx = 237;
    t.cy = 173;
    t.controls = {
        {D::IDC_NOTE, K::Static,
         "A differentiator must be causal, just like any other type of FIR filter.\n"
         "Therefore, apart from a phase shift by + Pi, it will produce a\n"
         "constant delay of (N - 1) / (2 * fs).",
         18, 6, 215, 25},
        {D::IDC_GAIN_LABEL, K::Static, "Normalized gain at (fs / 2)", 18, 54, 90, 8},
        {D::IDC_GAIN_GROUP, K::GroupBox, "", 120, 42, 48, 84},
        {D::IDC_GAIN_PI, K::RadioButton, "PI", 126, 54, 23, 10, StyleAuto | StyleGroup},
        {D::IDC_GAIN_HALF_PI, K::RadioButton, "PI / 2", 126, 72, 34, 10, StyleAuto},
        {D::IDC_GAIN_ONE, K::RadioButton, "1.0", 126, 90, 26, 10, StyleAuto},
        {D::IDC_GAIN_OTHER, K::RadioButton, "Other:", 126, 108, 35, 10, StyleAuto},
        {D::IDC_GAIN_EDIT, K::Edit, "", 180, 102, 40, 14, StyleRight},
        {IDOK, K::DefPushButton, "OK", 168, 144, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 18, 144, 50, 14},
    };
    return t;
}

}  // namespace differentiator_dlg

CDifferentiatorDlg::CDifferentiatorDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CDifferentiatorDlg::GetTemplate() const
{
    static const DialogTemplate dialog = differentiator_dlg::MakeTemplate();
    return &dialog;
}

void CDifferentiatorDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_GAIN_EDIT, m_strGain);
    DDV_MaxChars(dx, m_strGain, 8);
    DDX_Radio(dx, IDC_GAIN_PI, m_nGainSel);
    DDV_MinMaxInt(dx, m_nGainSel, 0, 3);
}

bool CDifferentiatorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_GainEdit.SubclassDlgItem(IDC_GAIN_EDIT, *this);
    return true;
}

void CDifferentiatorDlg::OnCommand(int id)
{
    switch (id) {
    case IDC_GAIN_PI:
        m_dGain = std::numbers::pi;
        m_nGainSel = 0;
        break;
    case IDC_GAIN_HALF_PI:
        m_dGain = std::numbers::pi / 2.0;
        m_nGainSel = 1;
        break;
    case IDC_GAIN_ONE:
        m_dGain = 1.0;
        m_nGainSel = 2;
        break;
    case IDC_GAIN_OTHER:
        // Keeps whatever the edit holds, typed or left by the last button.
        m_nGainSel = 3;
        return;
    default:
        return;
    }
    m_strGain = FormatText("%1.5f", m_dGain);
    UpdateData(false);
}

void CDifferentiatorDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    switch (m_nGainSel) {
    case 0:
        m_dGain = std::numbers::pi;
        break;
    case 1:
        m_dGain = std::numbers::pi / 2.0;
        break;
    case 2:
        m_dGain = 1.0;
        break;
    default: {
        const double x = TextToDouble(m_strGain);
        // Written so that a pasted "nan" is refused as well.
        if (!(x >= 0.1 && x <= 10.0)) {
            MessageBox(kMsgDiffGainRange);
            return;
        }
        m_dGain = x;
        break;
    }
    }
    EndDialog(IDOK);
}
