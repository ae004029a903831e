#include "form/CStopbandAttDlg.h"

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace stopband_att_dlg {

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CStopbandAttDlg;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Dolph-Chebyshev Window";
    t.cx = 152;
    t.cy = 95;
    t.controls = {
        {D::IDC_ATT_PROMPT, K::Static, "Please enter the minimum stopband\nattenuation in dB [10 to 100] :", 20, 10,
         125, 20},
        {D::IDC_ATT_EDIT, K::Edit, "", 20, 35, 40, 14, StyleDigitsOnly | StyleRight},
        {IDOK, K::DefPushButton, "OK", 85, 65, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 20, 65, 50, 14},
    };
    return t;
}

}  // namespace stopband_att_dlg

CStopbandAttDlg::CStopbandAttDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CStopbandAttDlg::GetTemplate() const
{
    static const DialogTemplate dialog = stopband_att_dlg::MakeTemplate();
    return &dialog;
}

void CStopbandAttDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_ATT_EDIT, m_nAttenuation);
    DDV_MinMaxInt(dx, m_nAttenuation, 10, 100);
}
