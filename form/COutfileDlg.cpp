#include "form/COutfileDlg.h"

#include "document/CoefficientFiles.h"
#include "document/DocumentMessages.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace outfile_dlg {

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    DialogTemplate t;
    t.id = COutfileDlg::IDD;
    t.caption = "Make File";
    t.cx = 212;
    t.cy = 141;
    t.controls = {
        {COutfileDlg::IDC_OUTFILE_PROMPT, K::Static, "Please specify a file name:", 15, 15, 125, 8},
        {COutfileDlg::IDC_ROOT_LABEL, K::Static, "Root:", 15, 30, 30, 8},
        {COutfileDlg::IDC_ROOT, K::Edit, "", 15, 45, 140, 14},
        {COutfileDlg::IDC_EXT_LABEL, K::Static, "Ext", 165, 30, 11, 8},
        {COutfileDlg::IDC_EXTENSION, K::DropDownList, "", 165, 45, 30, 45, StyleNone,
         {std::begin(kSourceExtensions), std::end(kSourceExtensions)}},
        {COutfileDlg::IDC_FORMAT_LABEL, K::Static, "Number Format", 15, 70, 49, 8},
        {COutfileDlg::IDC_NUMBER_FORMAT, K::DropDownList, "", 15, 85, 50, 80, StyleNone,
         {std::begin(kNumberFormatNames), std::end(kNumberFormatNames)}},
        {IDOK, K::DefPushButton, "OK", 145, 115, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 15, 115, 50, 14},
    };
    return t;
}

}  // namespace outfile_dlg

COutfileDlg::COutfileDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* COutfileDlg::GetTemplate() const
{
    static const DialogTemplate t = outfile_dlg::MakeTemplate();
    return &t;
}

void COutfileDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_ROOT, m_strOutfile);
    DDV_MaxChars(dx, m_strOutfile, kMaxRootLength);
    DDX_CBIndex(dx, IDC_EXTENSION, m_nOutExt);
    DDX_CBIndex(dx, IDC_NUMBER_FORMAT, m_nNumFormat);
}

bool COutfileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GotoDlgCtrl(IDC_ROOT);
    return false;
}

void COutfileDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (static_cast<int>(m_strOutfile.size()) >= kMinRootLength)
        EndDialog(IDOK);
    else
        MessageBox(FormatText(kMsgRootTooShort, kMinRootLength), MB_OK);
}
