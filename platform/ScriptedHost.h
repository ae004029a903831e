#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"

// A host without a display: control values live in memory, modal dialogs
// are answered from a script and every message box is recorded. Used by
// the tests and by zantro-cli.
class ScriptedHost : public Host {
public:
    struct Message {
        std::string text;
        unsigned type = 0;
        int ownerTemplate = 0;  // template id of the owning window, 0 for plain windows
    };

    // One user action inside a modal dialog.
    struct Action {
        // Select picks entry `index` of combo `id` (the dialog hears of the change).
        enum Kind { Type, Click, Ok, Cancel, Select } kind = Ok;
        int id = 0;
        std::string text;
        int index = -1;
    };

    // The answer to the next modal run of the dialog with this template id.
    // Without one, a dialog is accepted as it was seeded (OK is pressed).
    // When the actions do not end the dialog, OK is pressed after them,
    // unless their last action was an OK that the dialog refused.
    void QueueDialog(int templateId, std::vector<Action> actions);
    void QueueDialogOk(int templateId) { QueueDialog(templateId, {}); }
    void QueueDialogCancel(int templateId) { QueueDialog(templateId, {{Action::Cancel, 0, {}}}); }

    // The user selects all text of the edit (or combo edit) and types text:
    // digits-only edits drop other characters, the text limit drops the
    // excess, backspace erases the character before it, and an attached key
    // filter sees every character.
    void TypeText(CWnd& wnd, int id, const std::string& text);
    // The user picks a combo entry; the window hears of the change.
    void SelectEntry(CWnd& wnd, int id, int index);
    // The user clicks a button, check box or radio button (or a menu command
    // with that id). In a dialog, IDOK and IDCANCEL reach OnOK and OnCancel.
    void Click(CWnd& wnd, int id);
    // Combo entries (from the template).
    std::vector<std::string> Entries(const CWnd& wnd, int id) const;

    const std::vector<Message>& Messages() const { return m_messages; }
    void ClearMessages() { m_messages.clear(); }
    int Beeps() const { return m_nBeeps; }
    // Dialogs that stayed open after OK (a refused entry) and were then cancelled.
    int RefusedDialogs() const { return m_nRefusedDialogs; }
    int Repaints(const CWnd& wnd) const;
    int FocusedControl(const CWnd& wnd) const;
    int TextLimit(const CWnd& wnd, int id) const;
    bool CloseRequested() const { return m_bCloseRequested; }
    // The answer to the next file-open dialog; without one it is cancelled.
    void QueueOpenFile(const std::string& path) { m_openFiles.push_back(path); }
    void QueueOpenFileCancel() { m_openFiles.push_back(std::nullopt); }
    // Every file-open dialog shown so far, in order.
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
    // Every status-bar text set so far, in order.
    const std::vector<std::string>& StatusTexts() const { return m_statusTexts; }
    // Every progress text reported so far, in order. In the next progress
    // meter only, the user cancels at the update that would make more than
    // `updates`.
    const std::vector<std::string>& ProgressTexts() const { return m_progressTexts; }
    void CancelProgressAfter(int updates) { m_nCancelProgressAfter = updates; }
    std::unique_ptr<ProgressMeter> BeginProgress(CWnd& owner, const std::string& caption) override;
    // Called for each message box as it is shown (zantro-cli prints it).
    std::function<void(const Message&)> onMessage;

    void CreateControls(CWnd& wnd) override;
    void DestroyControls(CWnd& wnd) override;
    std::string GetDlgItemText(const CWnd& wnd, int id) const override;
    void SetDlgItemText(CWnd& wnd, int id, const std::string& text) override;
    int GetCurSel(const CWnd& wnd, int id) const override;
    void SetCurSel(CWnd& wnd, int id, int index) override;
    int IsDlgButtonChecked(const CWnd& wnd, int id) const override;
    void CheckDlgButton(CWnd& wnd, int id, int state) override;
    void LimitText(CWnd& wnd, int id, int maxChars) override;
    void GotoDlgCtrl(CWnd& wnd, int id) override;
    void SetKeyFilter(CWnd& wnd, int id, KeyFilter* filter) override;
    int MessageBox(CWnd& owner, const std::string& text, unsigned type) override;
    void MessageBeep(unsigned type) override;
    int DoModal(CDialog& dlg) override;
    void RepaintNow(CWnd& wnd) override;
    void PostClose() override { m_bCloseRequested = true; }
    bool GetOpenFileName(CWnd& owner, const FileDialogRequest& request, std::string& path) override;
    void SetStatusText(const std::string& text) override { m_statusTexts.push_back(text); }

private:
    struct Control {
        std::string text;
        int selection = -1;
        int check = 0;
        int limit = 0;  // 0: no limit
        KeyFilter* filter = nullptr;
    };
    struct Window {
        std::map<int, Control> controls;
        int focus = 0;
        int repaints = 0;
    };
    struct Script {
        int templateId;
        std::vector<Action> actions;
    };

    Window& WindowOf(const CWnd& wnd) const;
    Control& ControlOf(const CWnd& wnd, int id) const;

    mutable std::map<const CWnd*, Window> m_windows;
    std::vector<Script> m_scripts;
    std::vector<Message> m_messages;
    int m_nBeeps = 0;
    int m_nRefusedDialogs = 0;
    bool m_bCloseRequested = false;
    std::vector<std::optional<std::string>> m_openFiles;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::vector<std::string> m_statusTexts;
    std::vector<std::string> m_progressTexts;
    int m_nCancelProgressAfter = -1;
};
