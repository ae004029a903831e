#pragma once

#include <string>

#include "platform/Host.h"

struct DialogTemplate;
class CDataExchange;

// A window of the program: the form, a dialog or a plot. Control access goes
// through the host; a window without a host ignores writes and reads empty
// values, so core objects can be used before they are placed on screen.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    void SetHost(Host* host) { m_pHost = host; }
    Host* GetHost() const { return m_pHost; }

    // The template the window's controls are made from; nullptr for plain windows.
    virtual const DialogTemplate* GetTemplate() const { return nullptr; }

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    int GetCurSel(int id) const;
    void SetCurSel(int id, int index);
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int state);
    void LimitText(int id, int maxChars);
    void GotoDlgCtrl(int id);
    int MessageBox(const std::string& text, unsigned type = MB_OK);
    void MessageBeep(unsigned type);
    // InvalidateRect(no erase) followed by UpdateWindow.
    void RepaintNow();

    // Field exchange between members and controls. Reading (save = true)
    // validates and stops at the first failing control, whose message has
    // then been shown; returns false in that case.
    bool UpdateData(bool save = true);
    virtual void DoDataExchange(CDataExchange& /*dx*/) {}

    // A button or menu command of this window (dialogs: any button but OK and Cancel).
    virtual void OnCommand(int /*id*/) {}
    // The selection of combo box id changed by the user.
    virtual void OnSelChange(int /*id*/) {}

protected:
    Host* m_pHost = nullptr;
};
