#include "form/CSelFileDlg.h"

#include "platform/CWnd.h"

CSelFileDlg::CSelFileDlg(bool openFileDialog, const std::string& defaultExt, const std::string& fileName,
                         unsigned flags, const std::string& filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog), m_pParent(parent)
{
    m_request.title = "Select a file";
    m_request.defaultExt = defaultExt;
    m_request.fileName = fileName;
    m_request.filter = filter;
    m_request.flags = flags;
}

int CSelFileDlg::DoModal()
{
    Host* host = m_pParent ? m_pParent->GetHost() : nullptr;
    if (!host)
        return IDCANCEL;
    std::string path;
    if (!host->GetOpenFileName(*m_pParent, m_request, path))
        return IDCANCEL;
    m_strPathName = path;
    return IDOK;
}
