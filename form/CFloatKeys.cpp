#include "form/CFloatKeys.h"

bool CFloatKeys::IsAccepted(unsigned ch)
{
    return ch == 8 || ch == '+' || ch == '-' || ch == '.' || (ch >= '0' && ch <= '9');
}

bool CFloatKeys::OnChar(Host& host, unsigned ch)
{
    if (IsAccepted(ch))
        return true;
    host.MessageBeep(MB_ICONEXCLAMATION);
    return false;
}

void CFloatKeys::SubclassDlgItem(int id, CWnd& parent)
{
    if (Host* host = parent.GetHost())
        host->SetKeyFilter(parent, id, this);
}
