#pragma once

#include "platform/CDialog.h"

// "About Zantro" (template 100): the program's icon, its name and version
// and an OK button. It has no data.
class CAboutDlg : public CDialog {
public:
    enum { IDD = 100 };

    explicit CAboutDlg(CWnd* parent) : CDialog(parent) {}

    const DialogTemplate* GetTemplate() const override;
};
