#include "form/CKaiserShapeDlg.h"

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace kaiser_shape_dlg {

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CKaiserShapeDlg;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Kaiser window shape factor";
    t.cx = 217;
    t.cy = 161;
    t.controls = {
        {D::IDC_SHAPE_HEADING, K::Static, "Window approximations/equivalences by shape factor:", 15, 10, 180, 8},
        {D::IDC_SHAPE_FACTORS, K::Static, "Factor:\n\n0.00\n5.44\n6.00\n8.60\nlarge", 15, 25, 35, 60},
        {D::IDC_SHAPE_NAMES, K::Static, "Shape\n\nRectangular\nHamming\nHanning\nBlackman\nGaussian", 65, 25, 65, 60},
        {D::IDC_SHAPE_PROMPT, K::Static,
         "Please enter a shape factor for\nthe Kaiser window (0.00 <= x <= 20.00):", 15, 100, 130, 20},
        {D::IDC_SHAPE_EDIT, K::Edit, "", 155, 103, 40, 14, StyleRight},
        {IDOK, K::DefPushButton, "OK", 145, 135, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 15, 135, 50, 14},
    };
    return t;
}

}  // namespace kaiser_shape_dlg

CKaiserShapeDlg::CKaiserShapeDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CKaiserShapeDlg::GetTemplate() const
{
    static const DialogTemplate dialog = kaiser_shape_dlg::MakeTemplate();
    return &dialog;
}

void CKaiserShapeDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_SHAPE_EDIT, m_strShape);
}

bool CKaiserShapeDlg::OnInitDialog()
{
    m_strShape = FormatText("%2.2f", m_dShapeFactor);
    CDialog::OnInitDialog();
    m_ShapeEdit.SubclassDlgItem(IDC_SHAPE_EDIT, *this);
    GotoDlgCtrl(IDC_SHAPE_EDIT);
    return false;
}

void CKaiserShapeDlg::OnOK()
{
    UpdateData(true);
    const double x = TextToDouble(m_strShape);
    // Written so that a pasted "nan" is refused as well.
    if (!(x >= 0.0 && x <= 20.0)) {
        MessageBox(kMsgShapeFactorBounds);
        return;
    }
    m_dShapeFactor = x;
    EndDialog(IDOK);
}
