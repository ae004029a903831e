#include "form/CVarianceDlg.h"

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace variance_dlg {

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CVarianceDlg;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Variance";
    t.cx = 152;
    t.cy = 86;
    t.controls = {
        {D::IDC_VARIANCE_PROMPT, K::Static, "Please specify the variance to be used\n(0.1 to 3.0) :", 15, 15, 130,
         19},
        {D::IDC_SIGMA_LABEL, K::Static, " sigma  =", 40, 40, 29, 8},
        {D::IDC_VARIANCE_EDIT, K::Edit, "", 75, 37, 30, 14, StyleRight},
        {IDOK, K::DefPushButton, "OK", 90, 60, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 15, 60, 50, 14},
    };
    return t;
}

}  // namespace variance_dlg

CVarianceDlg::CVarianceDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CVarianceDlg::GetTemplate() const
{
    static const DialogTemplate dialog = variance_dlg::MakeTemplate();
    return &dialog;
}

void CVarianceDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_VARIANCE_EDIT, m_strVariance);
    DDV_MaxChars(dx, m_strVariance, 5);
}

bool CVarianceDlg::OnInitDialog()
{
    m_strVariance = FormatText("%2.2f", m_dVariance);
    CDialog::OnInitDialog();
    m_VarianceEdit.SubclassDlgItem(IDC_VARIANCE_EDIT, *this);
    GotoDlgCtrl(IDC_VARIANCE_EDIT);
    return false;
}

void CVarianceDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    const double x = TextToDouble(m_strVariance);
    // Written so that a pasted "nan" is refused as well.
    if (!(x >= 0.1 && x <= 3.0)) {
        MessageBox(kMsgVarianceRange);
        return;
    }
    m_dVariance = x;
    EndDialog(IDOK);
}
