#include "form/CZantroView.h"
#include "platform/CDialog.h"
#include "platform/ScriptedHost.h"

void CZantroView::DesignQuietly()
{
    m_bQuietDesign = true;
    OnDesign();
    m_bQuietDesign = false;
}

int CZantroView::RunParameterDialog(CDialog& dlg)
{
    if (!m_bQuietDesign)
        return dlg.DoModal();
    // The dialog runs on controls in memory and is accepted as seeded, so it
    // reads its values back exactly as an OK without edits would. A value
    // it refuses shows its message on the form and cancels the dialog.
    ScriptedHost answers;
    answers.onMessage = [this](const ScriptedHost::Message& m) { MessageBox(m.text, m.type); };
    Host* shown = dlg.GetHost();
    dlg.SetHost(&answers);
    const int result = dlg.DoModal();
    dlg.SetHost(shown);
    return result;
}
