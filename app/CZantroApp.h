#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CRecentFileList.h"
#include "app/PrintRequest.h"
#include "app/QtHost.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"

class CMainFrame;
class QSettings;

// The application object: start-up, the one document, form and frame, the
// File commands with their file dialogs and the save prompt, the recent-file
// list and the settings kept between runs.
class CZantroApp {
public:
    static constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
    static constexpr const char* kAppName = "Zantro";
    static constexpr const char* kDocFilter = "Zant Files (*.fir)";
    static constexpr const char* kAllFilter = "All Files (*.*)";

    // Which file dialog a command asks for.
    enum class FileDialog { Open, SaveAs };

    CZantroApp();
    ~CZantroApp();
    CZantroApp(const CZantroApp&) = delete;
    CZantroApp& operator=(const CZantroApp&) = delete;

    // Start-up: the settings (recent files, preview pages), the command line
    // (args without the program name) and the main window. False when the
    // program is to end now: the command line could not be carried out, the
    // frame could not be made, or a "/p" or "/pt" print has been done.
    bool InitInstance(const std::vector<std::string>& args);
    // Writes the settings back; 0 for the program's exit status.
    int ExitInstance();
    // The exit status when InitInstance returned false.
    int StartupStatus() const { return m_nStartupStatus; }
    void SaveSettings();

    // File commands. Each asks to save a modified document first where the
    // framework does (New, Open, recent files, drops, Close, Exit).
    void OnFileNew();
    void OnFileOpen();
    // Opens path after the save prompt; false when cancelled or failed.
    bool OpenDocumentFile(const std::string& path);
    void OnOpenRecentFile(int index);
    bool OnFileSave();
    bool OnFileSaveAs();
    // Saves to path, or asks for a name when path is empty.
    bool DoSave(const std::string& path);
    // "Save changes to %1?" for a modified document: Yes saves, No goes
    // on, Cancel stops. False when the caller must stop.
    bool SaveModified();
    void OnAppAbout();
    // False when nothing was printed.
    bool Print(const PrintRequest& request);

    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
    std::string FrameTitle() const;

    // Answers the file dialogs: the chosen path, or nothing when cancelled.
    // The default shows the platform's file dialog; tests replace it.
    std::function<std::optional<std::string>(FileDialog kind, const std::string& suggested)> m_promptFileName;
    // Where the messages of a "/p" or "/pt" run go: those of the opened
    // document's design always, the others on a platform without a screen,
    // where no message box can be closed. stderr by default.
    std::function<void(const std::string& text)> m_headlessMessage;
    // Carries out a print command. The default reports that printing is not
    // part of this build yet.
    std::function<bool(CZantroApp& app, const PrintRequest& request)> m_printHandler;

    QtHost m_host;
    CZantroDoc m_doc;
    CZantroView m_view;
    CRecentFileList m_recentFiles;
    int m_nNumPreviewPages = 0;

private:
    bool CreateMainFrame();
    // After a new or opened document: caption, recent list, frame size.
    void DocumentChanged(bool addToRecent);
    std::optional<std::string> PromptFileName(FileDialog kind, const std::string& suggested);
    std::unique_ptr<QSettings> OpenSettings() const;
    void LoadStdProfileSettings();

    std::unique_ptr<CMainFrame> m_pMainWnd;
    int m_nStartupStatus = 0;
    // A "/p" or "/pt" run: the opened design's messages go to m_headlessMessage.
    bool m_bPrinting = false;
};
