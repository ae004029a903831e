#include "app/ModalDialog.h"

#include "app/QtHost.h"
#include "platform/CDialog.h"

ModalDialog::ModalDialog(QtHost& host, CDialog& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_dialog(dialog)
{
    setModal(true);
}

void ModalDialog::reject()
{
    m_host.Clicked(m_dialog, IDCANCEL);
}
