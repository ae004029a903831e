#pragma once

#include <string>

#include "platform/CDialog.h"

// "Make File" (template 136): the file name root (3 to 32 characters, a
// path without extension, used as typed), the extension index (0 ".c",
// 1 ".cpp") and the number format index (0 Q7, 1 Q15, 2 Q31, 3 float,
// 4 double; -1 when nothing is selected).
class COutfileDlg : public CDialog {
public:
    enum { IDD = 136 };
    enum Control {
        IDC_OUTFILE_PROMPT = 1072,
        IDC_ROOT_LABEL = 1073,
        IDC_EXT_LABEL = 1074,
        IDC_ROOT = 1075,
        IDC_EXTENSION = 1076,
        IDC_FORMAT_LABEL = 1015,
        IDC_NUMBER_FORMAT = 1016,
    };

    explicit COutfileDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    // Fills the controls and puts the focus into the root edit.
    bool OnInitDialog() override;
    // Closes with IDOK only when the root has at least 3 characters.
    void OnOK() override;

    std::string m_strOutfile;
    int m_nOutExt = -1;
    int m_nNumFormat = -1;
};
