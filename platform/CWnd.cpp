#include "platform/CWnd.h"

#include "platform/DataExchange.h"

std::string CWnd::GetDlgItemText(int id) const
{
    return m_pHost ? m_pHost->GetDlgItemText(*this, id) : std::string();
}

void CWnd::SetDlgItemText(int id, const std::string& text)
{
    if (m_pHost)
        m_pHost->SetDlgItemText(*this, id, text);
}

int CWnd::GetCurSel(int id) const
{
    return m_pHost ? m_pHost->GetCurSel(*this, id) : -1;
}

void CWnd::SetCurSel(int id, int index)
{
    if (m_pHost)
        m_pHost->SetCurSel(*this, id, index);
}

int CWnd::IsDlgButtonChecked(int id) const
{
    return m_pHost ? m_pHost->IsDlgButtonChecked(*this, id) : 0;
}

void CWnd::CheckDlgButton(int id, int state)
{
    if (m_pHost)
        m_pHost->CheckDlgButton(*this, id, state);
}

void CWnd::LimitText(int id, int maxChars)
{
    if (m_pHost)
        m_pHost->LimitText(*this, id, maxChars);
}

void CWnd::GotoDlgCtrl(int id)
{
    if (m_pHost)
        m_pHost->GotoDlgCtrl(*this, id);
}

int CWnd::MessageBox(const std::string& text, unsigned type)
{
    return m_pHost ? m_pHost->MessageBox(*this, text, type) : IDOK;
}

void CWnd::MessageBeep(unsigned type)
{
    if (m_pHost)
        m_pHost->MessageBeep(type);
}

void CWnd::RepaintNow()
{
    if (m_pHost)
        m_pHost->RepaintNow(*this);
}

bool CWnd::UpdateData(bool save)
{
    CDataExchange dx(*this, save);
    DoDataExchange(dx);
    return !dx.m_bFailed;
}
