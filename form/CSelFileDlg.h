#pragma once

#include <string>

#include "platform/Host.h"

class CWnd;

// The file-open dialog of Read File: the platform's file dialog with the
// title "Select a file".
class CSelFileDlg {
public:
    // openFileDialog: true for an Open dialog (the only kind used).
    // defaultExt without the dot; filter "text|pattern|...||"; flags OFN_ options.
    CSelFileDlg(bool openFileDialog, const std::string& defaultExt, const std::string& fileName, unsigned flags,
                const std::string& filter, CWnd* parent);
    virtual ~CSelFileDlg() = default;

    // IDOK with the chosen path available from GetPathName, IDCANCEL otherwise.
    int DoModal();
    // Full path of the chosen file, after IDOK.
    const std::string& GetPathName() const { return m_strPathName; }

    bool m_bOpenFileDialog;
    FileDialogRequest m_request;

private:
    CWnd* m_pParent;
    std::string m_strPathName;
};
