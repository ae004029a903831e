#include <utility>

#include "document/CZantroDoc.h"
#include "form/CZantroView.h"
#include "platform/CDialog.h"
#include "platform/ScriptedHost.h"

void CZantroView::DesignQuietly()
{
    m_quietTexts.clear();
    m_bQuietDesign = true;
    const CFilPar* par = m_pDocument ? &m_pDocument->m_FilPar : nullptr;
    if (par && par->m_Extension && par->m_Extension->request)
        DesignStored(*par->m_Extension);
    else
        OnDesign();
    m_bQuietDesign = false;
    std::vector<std::string> texts = std::move(m_quietTexts);
    m_quietTexts.clear();
    if (m_quietMessages && !texts.empty())
        m_quietMessages(texts);
}

int CZantroView::MessageBox(const std::string& text, unsigned type)
{
    if (m_bQuietDesign && m_quietMessages) {
        m_quietTexts.push_back(text);
        return IDOK;
    }
    return CWnd::MessageBox(text, type);
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
