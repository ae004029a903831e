#pragma once

#include <memory>
#include <string>

class CWnd;
class CDialog;
class Host;

// Character filter of an edit control (attached by subclassing the edit).
class KeyFilter {
public:
    virtual ~KeyFilter() = default;
    // Called for every typed character; false discards it.
    virtual bool OnChar(Host& host, unsigned ch) = 0;
};

// What a task that may run for a while reports while it runs. The host
// shows it once the task has run for a moment, with a Cancel button.
class ProgressMeter {
public:
    virtual ~ProgressMeter() = default;
    // What the task does now (one or two lines); false once the user has
    // cancelled, after which the task should end soon.
    virtual bool Update(const std::string& text) = 0;
};

// A meter nobody watches: the task runs to its end.
class SilentProgress : public ProgressMeter {
public:
    bool Update(const std::string& /*text*/) override { return true; }
};

// Message box types and results, as the windowing platform numbers them.
enum : unsigned {
    MB_OK = 0x00,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
};

// Options of the file-open dialog, as the windowing platform numbers them.
enum : unsigned {
    OFN_HIDEREADONLY = 0x0004,
    OFN_NOCHANGEDIR = 0x0008,
    OFN_FILEMUSTEXIST = 0x1000,
};

// A file-open dialog: caption, default extension (no dot), proposed file
// name, filter as "text|pattern|text|pattern||" and the OFN_ options.
struct FileDialogRequest {
    std::string title;
    std::string defaultExt;
    std::string fileName;
    std::string filter;
    unsigned flags = 0;
};

// Everything the form, the dialogs and the plot windows ask of the windowing
// platform. Controls are addressed by the window that owns them and the
// control id of its template. The Qt shell implements it with real widgets,
// ScriptedHost with values in memory.
class Host {
public:
    virtual ~Host() = default;

    // The window's controls are made from its template (CWnd::GetTemplate).
    virtual void CreateControls(CWnd& wnd) = 0;
    virtual void DestroyControls(CWnd& wnd) = 0;

    virtual std::string GetDlgItemText(const CWnd& wnd, int id) const = 0;
    // For a drop-down combo this sets its edit text; the selection becomes -1.
    virtual void SetDlgItemText(CWnd& wnd, int id, const std::string& text) = 0;
    // Selected index of a combo box, -1 when nothing is selected.
    virtual int GetCurSel(const CWnd& wnd, int id) const = 0;
    virtual void SetCurSel(CWnd& wnd, int id, int index) = 0;
    virtual int IsDlgButtonChecked(const CWnd& wnd, int id) const = 0;
    virtual void CheckDlgButton(CWnd& wnd, int id, int state) = 0;
    // Longest text the edit accepts from typing, in characters.
    virtual void LimitText(CWnd& wnd, int id, int maxChars) = 0;
    virtual void GotoDlgCtrl(CWnd& wnd, int id) = 0;
    // Typed characters of the edit pass through filter first (nullptr detaches).
    virtual void SetKeyFilter(CWnd& wnd, int id, KeyFilter* filter) = 0;

    // Modal message box captioned "Zantro"; type is MB_OK plus an icon.
    virtual int MessageBox(CWnd& owner, const std::string& text, unsigned type) = 0;
    virtual void MessageBeep(unsigned type) = 0;

    // Runs the dialog modally: creates its controls, calls OnInitDialog and
    // delivers the user's actions until the dialog ends. Returns the dialog's
    // result (IDOK, IDCANCEL) or -1 when it could not be shown.
    virtual int DoModal(CDialog& dlg) = 0;

    // InvalidateRect without erasing, then UpdateWindow: repaint at once.
    virtual void RepaintNow(CWnd& wnd) = 0;
    // PostMessage(WM_CLOSE) to the main window.
    virtual void PostClose() = 0;

    // Mouse capture: moves and the button release reach wnd even outside it,
    // until ReleaseCapture.
    virtual void SetCapture(CWnd& /*wnd*/) {}
    virtual void ReleaseCapture() {}
    // Vertical resolution of the screen in dots per inch (LOGPIXELSY).
    virtual int GetScreenLogPixelsY() const { return 96; }
    // Text of the main window's status-bar message pane: what a command did
    // (the files Make File wrote). It stays until other text replaces it.
    virtual void SetStatusText(const std::string& /*text*/) {}
    // Modal file-open dialog owned by owner: true with the full path of the
    // chosen file, false when the user cancels or there is no such dialog.
    virtual bool GetOpenFileName(CWnd& /*owner*/, const FileDialogRequest& /*request*/, std::string& /*path*/)
    {
        return false;
    }
    // The progress of a task of owner titled caption, shown while the
    // meter lives; without a display nobody cancels.
    virtual std::unique_ptr<ProgressMeter> BeginProgress(CWnd& /*owner*/, const std::string& /*caption*/)
    {
        return std::make_unique<SilentProgress>();
    }
};
