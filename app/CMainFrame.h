#pragma once

#include <QMainWindow>
#include <map>
#include <string>

class CZantroApp;
class AnalysisWindow;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QToolBar;
class HelpViewer;
class PlotWidget;

// The main window: menu bar, the dockable standard toolbar, the status bar
// with its message pane and the CAP, NUM and SCRL indicators, and the main
// form as its client. Menu entries, toolbar buttons and accelerators all
// reach OnCommand by command id.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kInitialWidth = 1400;
    static constexpr int kInitialHeight = 1200;

    explicit CMainFrame(CZantroApp& app);
    ~CMainFrame() override;

    // Window creation: toolbar, status bar, menus and accelerators, and the
    // form with its controls and the four plot windows. False when any of
    // them could not be made.
    bool OnCreate();

    // Recalculates the layout and shrinks the frame so that its client area
    // just holds the form (never grows it), and keeps the whole frame inside
    // the available area of its screen; the form scrolls when it is cut.
    void ResizeToFitForm();
    // The frame rectangle (decorations included) moved and shrunk to lie
    // inside available, the screen's area without panels and docks.
    static QRect FitToScreen(const QRect& frame, const QRect& available);
    // The keyboard focus goes to the form's first control, as when a form opens.
    void FocusFirstControl();
    void SetDocumentTitle(const std::string& title);
    void UpdateRecentFileMenu();
    // Routes a menu, toolbar or accelerator command.
    void OnCommand(int id);
    void ShowHelp();
    // Extras > Analysis...: opens the analysis window, made on first use
    // and placed then with PlaceBesideForm.
    void ShowAnalysis();
    // Smallest size at which the analysis window shows its texts whole.
    static constexpr QSize kAnalysisMinimum{640, 480};
    // Places a window of its present size beside the main window where the
    // screen has room, else over the form's plots, inside the screen's
    // available area with its title bar and borders.
    void PlaceBesideForm(QWidget& window);
    AnalysisWindow* Analysis() const { return m_pAnalysis; }

    QAction* Action(int id) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    QWidget* Form() const { return m_pForm; }
    QLabel* IdlePrompt() const { return m_pIdlePrompt; }
    HelpViewer* Help() const { return m_pHelp; }
    PlotWidget* Plot(int index) const { return m_pPlots[index]; }

    static const char* const kIdlePrompt;
    // The status-bar prompt of a command ("" when it has none).
    static QString PromptOf(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& text);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    bool CreateForm();
    // The edit field with the keyboard focus in this window, or nullptr.
    QLineEdit* FocusedEdit() const;
    // Enables the Edit menu's entries that have something to act on.
    void UpdateEditActions();
    // Edit > Copy Coefficients: the design's taps onto the clipboard.
    void CopyCoefficients();
    // The Edit menu's commands: Undo and Redo step through the designs,
    // Cut, Copy and Paste act on the focused field.
    void OnEditCommand(int id);
    // Clicks the form's button id as the user would, when it can be clicked.
    void ClickFormButton(int id);

    CZantroApp& m_app;
    std::map<int, QAction*> m_actions;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentSeparator = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pIdlePrompt = nullptr;
    QScrollArea* m_pScroll = nullptr;
    QWidget* m_pForm = nullptr;
    PlotWidget* m_pPlots[4] = {};
    HelpViewer* m_pHelp = nullptr;
    AnalysisWindow* m_pAnalysis = nullptr;
};
