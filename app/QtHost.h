#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/DialogBuilder.h"
#include "platform/Host.h"

class ModalDialog;
class QtProgressMeter;

// The platform layer on Qt widgets. Each window of the core (the form, a
// dialog, a plot) is attached to the widget that shows it; its controls
// are built from its template and addressed by control id. Button clicks,
// check and radio clicks and user selections in combos are delivered to
// the window; on the form they run as commands under a wait cursor.
class QtHost : public Host {
public:
    QtHost() = default;
    ~QtHost() override;

    // wnd is shown by widget: the container of its controls, or the plot
    // widget. The widget stays owned by its parent.
    void Attach(CWnd& wnd, QWidget* widget);
    void Detach(CWnd& wnd);
    QWidget* WidgetOf(const CWnd& wnd) const;
    QWidget* ControlWidget(const CWnd& wnd, int id) const;
    // The window close requests are posted to.
    void SetMainWindow(QWidget* window) { m_pMainWindow = window; }
    QWidget* MainWindow() const { return m_pMainWindow; }

    // Runs a command of the user under the wait cursor; modal windows that
    // the command opens show the normal cursor while they are up. An
    // exception the command throws ends it with a message box (the
    // out-of-memory text, or "The command could not be completed." and the
    // reason); the program goes on.
    void RunCommand(const std::function<void()>& command);
    bool IsBusy() const { return m_nBusy > 0; }
    int Beeps() const { return m_nBeeps; }

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
    void PostClose() override;
    void SetCapture(CWnd& wnd) override;
    void ReleaseCapture() override;
    int GetScreenLogPixelsY() const override;
    bool GetOpenFileName(CWnd& owner, const FileDialogRequest& request, std::string& path) override;
    // Shown in the main window's status bar until other text replaces it.
    void SetStatusText(const std::string& text) override;
    // A dialog with the task's progress and Cancel, once the task has run
    // for m_nProgressDelayMs.
    std::unique_ptr<ProgressMeter> BeginProgress(CWnd& owner, const std::string& caption) override;
    int m_nProgressDelayMs = 400;
    // Cancels the task whose progress is being reported; false when none is.
    bool CancelProgress();

    // True on the platforms without a screen ("offscreen", "minimal").
    static bool IsHeadless();
    // When set, message boxes are handed to it instead of being shown: a
    // command-line print without a screen has nobody to close them.
    std::function<void(const std::string& text)> m_messageSink;

    // The Qt filter list of a platform filter "text|pattern|...||". A
    // pattern "*.*" means every file there, so it becomes "*" here, where
    // names need not have an extension.
    static QString QtFilter(const std::string& filter);
    // Answers GetOpenFileName instead of the file dialog when set (tests).
    std::function<bool(const FileDialogRequest& request, std::string& path)> m_answerFileDialog;
    // Called after every command RunCommand runs (the analysis window follows designs).
    std::function<void()> m_afterCommand;

    // The user clicked control id of wnd (button, check box, radio button).
    void Clicked(CWnd& wnd, int id);

private:
    struct Window {
        QPointer<QWidget> widget;
        bool ownsWidget = false;
        std::vector<DialogBuilder::Control> controls;
        ModalDialog* modal = nullptr;  // while the window runs modally
    };

    const Window* Find(const CWnd& wnd) const;
    const DialogBuilder::Control* ControlOf(const CWnd& wnd, int id) const;
    void Connect(CWnd& wnd, const DialogBuilder::Control& c);
    // The widget that owns a message box or dialog of wnd.
    QWidget* OwnerWidget(const CWnd* wnd) const;
    void EndIfDone(CWnd& wnd);
    // Deletes the controls (not the container) unless the container is gone.
    static void DeleteControls(Window& w);

    std::map<const CWnd*, Window> m_windows;
    QPointer<QWidget> m_pMainWindow;
    QPointer<QWidget> m_pCapture;
    QtProgressMeter* m_pProgress = nullptr;
    int m_nBusy = 0;
    int m_nBeeps = 0;
};
