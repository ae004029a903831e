#pragma once

#include "platform/CWnd.h"

// A modal dialog made from a template. The caller creates it for one
// request, seeds its members, runs DoModal and reads the members back on IDOK.
class CDialog : public CWnd {
public:
    // The dialog runs on the parent's host and its messages are owned by it.
    explicit CDialog(CWnd* parent) : m_pParent(parent)
    {
        if (parent)
            m_pHost = parent->GetHost();
    }

    // IDOK, IDCANCEL, or -1 when there is no host to show it on.
    int DoModal();

    // Called once the controls exist: writes the members into them.
    virtual bool OnInitDialog();
    // OK button: reads and validates the controls; ends with IDOK when they pass.
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result)
    {
        m_bEnded = true;
        m_nResult = result;
    }
    bool IsEnded() const { return m_bEnded; }
    int GetResult() const { return m_nResult; }
    // Back to the open state; the host calls this when it starts a modal run.
    void ResetModalState()
    {
        m_bEnded = false;
        m_nResult = IDCANCEL;
    }

protected:
    CWnd* m_pParent;

private:
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
};
