// Placeholder bodies until the parameter dialogs are written.
#include "design/CDifferentiatorDlg.h"
#include "design/CKaiserShapeDlg.h"
#include "design/CStopbandAttDlg.h"
#include "design/CVarianceDlg.h"
#include "design/CZantroView.h"

CDifferentiatorDlg::CDifferentiatorDlg(CWnd* parent) : CDialog(parent) {}
const DialogTemplate* CDifferentiatorDlg::GetTemplate() const { return nullptr; }
void CDifferentiatorDlg::DoDataExchange(CDataExchange&) {}
bool CDifferentiatorDlg::OnInitDialog() { return true; }
void CDifferentiatorDlg::OnOK() { EndDialog(IDOK); }
void CDifferentiatorDlg::OnCommand(int) {}
CKaiserShapeDlg::CKaiserShapeDlg(CWnd* parent) : CDialog(parent) {}
const DialogTemplate* CKaiserShapeDlg::GetTemplate() const { return nullptr; }
void CKaiserShapeDlg::DoDataExchange(CDataExchange&) {}
bool CKaiserShapeDlg::OnInitDialog() { return true; }
void CKaiserShapeDlg::OnOK() { EndDialog(IDOK); }
CStopbandAttDlg::CStopbandAttDlg(CWnd* parent) : CDialog(parent) {}
const DialogTemplate* CStopbandAttDlg::GetTemplate() const { return nullptr; }
void CStopbandAttDlg::DoDataExchange(CDataExchange&) {}
CVarianceDlg::CVarianceDlg(CWnd* parent) : CDialog(parent) {}
const DialogTemplate* CVarianceDlg::GetTemplate() const { return nullptr; }
void CVarianceDlg::DoDataExchange(CDataExchange&) {}
bool CVarianceDlg::OnInitDialog() { return true; }
void CVarianceDlg::OnOK() { EndDialog(IDOK); }
int CZantroView::ComputeWindow(CPoints&, int) { return 1; }
