#include "platform/CDialog.h"

int CDialog::DoModal()
{
    if (!m_pHost)
        return -1;
    ResetModalState();
    return m_pHost->DoModal(*this);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
