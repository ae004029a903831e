#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <tuple>

#include "app/CZantroApp.h"
#include "app/AnalysisWindow.h"
#include "app/ExportDialog.h"
#include "app/CommandIds.h"
#include "app/DialogBuilder.h"
#include "app/HelpViewer.h"
#include "app/PlotWidget.h"
#include "app/ToolbarIcons.h"
#include "app/WindowPlacement.h"
#include "form/DesignToRequirementCommand.h"
#include "form/MoreMethodsCommand.h"
#include "form/RateChangeCommand.h"
#include "form/FormTemplate.h"

const char* const CMainFrame::kIdlePrompt = "For Help, press F1";

namespace {

// Status-bar prompt, then the tooltip, of each command.
struct Prompt {
    int id;
    const char* text;
};

const Prompt kPrompts[] = {
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_EXPORT, "Write the design for its target: CMSIS-DSP, plain C, CSV, JSON or FPGA tools\nExport"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE1 + 3, "Open this document"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
    {ID_EDIT_COPY_COEFFS, "Copy the coefficients of the design as text, one per line\nCopy Coefficients"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_EXTRAS_WINDOW, "Show the characteristics of the current window"},
    {ID_FORM_DESIGN, "Design the filter the form describes\nDesign (F5)"},
    {ID_FORM_MAKE_FILE, "Write the coefficients as a C or C++ header and source\nMake File (Ctrl+M)"},
    {ID_EXTRAS_ANALYSIS, "Show the achieved figures of the design and of its fixed-point taps\nAnalysis"},
    {ID_EXTRAS_DESIGN_TO_SPEC,
     "Design with the fewest taps that meet a pass-band ripple and a stop-band attenuation\nDesign to Requirement"},
    {ID_EXTRAS_RATE_CHANGE,
     "Design the lowpass of a decimator, an interpolator or a half-band filter, of given taps or the fewest that "
     "meet a requirement\nRate Change"},
    {ID_EXTRAS_MORE_METHODS,
     "Design by least squares, with minimum phase, a pulse-shaping filter, or Remez with a CIC-compensating or "
     "inverse-sinc pass band\nMore Methods"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_CONTEXT_HELP, "Display help for clicked buttons, menus and windows\nHelp"},
    {ID_HELP, "Display help for current task or command\nHelp"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
};

QString PromptPart(int id, int part)
{
    for (const Prompt& p : kPrompts)
        if (p.id == id) {
            const QStringList parts = QString::fromLatin1(p.text).split(QLatin1Char('\n'));
            return part < parts.size() ? parts[part] : QString();
        }
    return QString();
}

}  // namespace

CMainFrame::CMainFrame(CZantroApp& app) : m_app(app)
{
    setWindowIcon(ApplicationIcon());
    resize(kInitialWidth, kInitialHeight);
}

CMainFrame::~CMainFrame()
{
    m_app.m_host.m_afterCommand = nullptr;
    // The controls go with the window; the focus moves while they do.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The plot widgets detach from the host before the form goes.
    for (PlotWidget*& plot : m_pPlots) {
        delete plot;
        plot = nullptr;
    }
}

QString CMainFrame::PromptOf(int id)
{
    return PromptPart(id, 0);
}

QAction* CMainFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(PromptPart(id, 0));
    const QString tip = PromptPart(id, 1);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, id]() { OnCommand(id); });
    m_actions[id] = action;
    return action;
}

bool CMainFrame::OnCreate()
{
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    if (!m_pToolBar || !statusBar())
        return false;
    // After every command the user runs on the form or the menu.
    m_app.m_host.m_afterCommand = [this]() {
        if (m_pAnalysis && m_pAnalysis->isVisible())
            m_pAnalysis->Follow();
        UpdateEditActions();
    };
    return CreateForm();
}

void CMainFrame::CreateMenus()
{
    auto shortcut = [](QAction* a, std::initializer_list<QKeySequence> keys) { a->setShortcuts(QList<QKeySequence>(keys)); };

    m_pFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* file = m_pFileMenu;
    shortcut(MakeAction(ID_FILE_NEW, QStringLiteral("&New\tCtrl+N")), {QKeySequence(Qt::CTRL | Qt::Key_N)});
    shortcut(MakeAction(ID_FILE_OPEN, QStringLiteral("&Open...\tCtrl+O")), {QKeySequence(Qt::CTRL | Qt::Key_O)});
    shortcut(MakeAction(ID_FILE_SAVE, QStringLiteral("&Save\tCtrl+S")), {QKeySequence(Qt::CTRL | Qt::Key_S)});
    MakeAction(ID_FILE_SAVE_AS, QStringLiteral("Save &As..."));
    MakeAction(ID_FILE_EXPORT, QStringLiteral("&Export..."));
    shortcut(MakeAction(ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P")), {QKeySequence(Qt::CTRL | Qt::Key_P)});
    MakeAction(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"));
    MakeAction(ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."));
    for (int i = 0; i < kRecentFileCount; ++i)
        MakeAction(ID_FILE_MRU_FILE1 + i, QStringLiteral("Recent File"));
    MakeAction(ID_APP_EXIT, QStringLiteral("E&xit"));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        file->addAction(Action(id));
    file->addAction(Action(ID_FILE_EXPORT));
    file->addSeparator();
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
        file->addAction(Action(id));
    file->addSeparator();
    for (int i = 0; i < kRecentFileCount; ++i)
        file->addAction(Action(ID_FILE_MRU_FILE1 + i));
    m_pRecentSeparator = file->addSeparator();
    file->addAction(Action(ID_APP_EXIT));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    shortcut(MakeAction(ID_EDIT_UNDO, QStringLiteral("&Undo\tCtrl+Z")),
             {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    shortcut(MakeAction(ID_EDIT_CUT, QStringLiteral("Cu&t\tCtrl+X")),
             {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    shortcut(MakeAction(ID_EDIT_COPY, QStringLiteral("&Copy\tCtrl+C")),
             {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    shortcut(MakeAction(ID_EDIT_PASTE, QStringLiteral("&Paste\tCtrl+V")),
             {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    shortcut(MakeAction(ID_EDIT_REDO, QStringLiteral("&Redo\tCtrl+Y")),
             {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    shortcut(MakeAction(ID_EDIT_COPY_COEFFS, QStringLiteral("Copy C&oefficients\tCtrl+Shift+C")),
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    edit->addAction(Action(ID_EDIT_UNDO));
    edit->addAction(Action(ID_EDIT_REDO));
    edit->addSeparator();
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        edit->addAction(Action(id));
    }
    edit->addSeparator();
    edit->addAction(Action(ID_EDIT_COPY_COEFFS));
    // Undo and Redo step through the designs; Cut, Copy and Paste act on the
    // focused field. Each is enabled while it has something to act on.
    for (int id : std::initializer_list<int>{ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_COPY_COEFFS})
        Action(id)->setEnabled(false);
    connect(qApp, &QApplication::focusChanged, this, [this]() { UpdateEditActions(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (auto [id, text] : {std::pair{ID_VIEW_TOOLBAR, "&Toolbar"}, std::pair{ID_VIEW_STATUS_BAR, "&Status Bar"}}) {
        QAction* a = MakeAction(id, QString::fromLatin1(text));
        a->setCheckable(true);
        a->setChecked(true);
        view->addAction(a);
    }

    QMenu* extras = menuBar()->addMenu(QStringLiteral("E&xtras"));
    extras->addAction(MakeAction(ID_EXTRAS_WINDOW, QStringLiteral("&Window")));
    extras->addAction(MakeAction(ID_EXTRAS_ANALYSIS, QStringLiteral("&Analysis...")));
    extras->addAction(MakeAction(ID_EXTRAS_DESIGN_TO_SPEC, QStringLiteral("Design to &Requirement...")));
    extras->addAction(MakeAction(ID_EXTRAS_RATE_CHANGE, QStringLiteral("Rate &Change...")));
    extras->addAction(MakeAction(ID_EXTRAS_MORE_METHODS, QStringLiteral("More &Methods...")));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(MakeAction(ID_HELP_FINDER, QStringLiteral("&Help Topics")));
    help->addSeparator();
    help->addAction(MakeAction(ID_APP_ABOUT, QStringLiteral("&About Zantro...")));

    // Accelerators without a menu entry.
    shortcut(MakeAction(ID_NEXT_PANE, QStringLiteral("Next Pane")), {QKeySequence(Qt::Key_F6)});
    shortcut(MakeAction(ID_PREV_PANE, QStringLiteral("Previous Pane")), {QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    shortcut(MakeAction(ID_HELP, QStringLiteral("Help")), {QKeySequence(Qt::Key_F1)});
    shortcut(MakeAction(ID_CONTEXT_HELP, QStringLiteral("Help")), {QKeySequence(Qt::SHIFT | Qt::Key_F1)});
    MakeAction(ID_DEFAULT_HELP, QStringLiteral("Help"));
    shortcut(MakeAction(ID_FORM_DESIGN, QStringLiteral("Design")), {QKeySequence(Qt::Key_F5)});
    shortcut(MakeAction(ID_FORM_MAKE_FILE, QStringLiteral("Make File")), {QKeySequence(Qt::CTRL | Qt::Key_M)});
    for (int id : std::initializer_list<int>{ID_NEXT_PANE, ID_PREV_PANE, ID_HELP, ID_CONTEXT_HELP, ID_FORM_DESIGN, ID_FORM_MAKE_FILE})
        addAction(Action(id));
    Action(ID_CONTEXT_HELP)->setIcon(ToolbarIcon(ID_CONTEXT_HELP));
    UpdateRecentFileMenu();
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar128"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const int buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                           ID_FILE_PRINT, 0, ID_APP_ABOUT, ID_CONTEXT_HELP};
    for (int id : buttons) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* a = Action(id);
        a->setIcon(ToolbarIcon(id));
        m_pToolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    connect(m_pToolBar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (QAction* a = Action(ID_VIEW_TOOLBAR))
            a->setChecked(visible);
    });
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    m_pIdlePrompt = new QLabel(QString::fromLatin1(kIdlePrompt), bar);
    bar->addWidget(m_pIdlePrompt, 1);
    // The lock-key indicators; their texts show greyed while the keys are off.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(indicator), bar);
        pane->setObjectName(QStringLiteral("indicator%1").arg(QLatin1String(indicator)));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
}

bool CMainFrame::CreateForm()
{
    CZantroView& view = m_app.m_view;
    QtHost& host = m_app.m_host;
    const DialogTemplate* t = view.GetTemplate();
    if (!t)
        return false;
    DialogBuilder builder(*t);
    m_pForm = new QWidget;
    m_pForm->setObjectName(QStringLiteral("form101"));
    m_pForm->setFixedSize(builder.ClientSize());
    host.Attach(view, m_pForm);
    host.CreateControls(view);
    if (view.OnCreate() != 0)
        return false;

    CPlotWnd* plots[] = {&view.m_MagnitudeWnd, &view.m_PhaseWnd, &view.m_ImpulseWnd, &view.m_StepWnd};
    const int* rects[] = {kMagnitudeRect, kPhaseRect, kImpulseRect, kStepRect};
    for (int i = 0; i < 4; ++i) {
        Rect r = plots[i]->GetWindowRect();
        if (r.IsEmpty())
            r = {rects[i][0], rects[i][1], rects[i][2], rects[i][3]};
        m_pPlots[i] = new PlotWidget(host, *plots[i], QRect(r.left, r.top, r.Width(), r.Height()), m_pForm);
    }

    // The buttons' mnemonics, and Design as the default: Return in a field designs.
    for (auto [id, text, tip] : {std::tuple{IDC_DESIGN, "&Design", ID_FORM_DESIGN}, std::tuple{IDC_READ_FILE, "&Read File", 0},
                                 std::tuple{IDC_MAKE_FILE, "&Make File", ID_FORM_MAKE_FILE},
                                 std::tuple{IDC_CLOSE, "&Close", 0}})
        if (auto* button = qobject_cast<QPushButton*>(host.ControlWidget(view, id))) {
            button->setText(QString::fromLatin1(text));
            if (tip)
                button->setToolTip(PromptPart(tip, 1));
            button->setDefault(id == IDC_DESIGN);
        }
    m_pForm->installEventFilter(this);

    m_pScroll = new QScrollArea(this);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    // Tab walks the form's controls only.
    m_pScroll->setFocusPolicy(Qt::NoFocus);
    m_pScroll->setWidget(m_pForm);
    setCentralWidget(m_pScroll);
    return true;
}

void CMainFrame::ResizeToFitForm()
{
    if (!m_pForm || !m_pScroll)
        return;
    if (QLayout* l = layout())
        l->activate();
    QSize extra = size() - m_pScroll->size();
    if (m_pScroll->size().isEmpty() || extra.width() < 0 || extra.height() < 0) {
        int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
        if (m_pToolBar && m_pToolBar->isVisible())
            bars += m_pToolBar->sizeHint().height();
        extra = QSize(0, bars);
    }
    const QSize fit = m_pForm->size() + extra;
    QSize client = fit.boundedTo(size());
    // The title bar and borders, known once the window manager has framed the window.
    const QSize decoration = frameGeometry().size() - size();
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    QRect frame = FitToScreen(QRect(frameGeometry().topLeft(), client + decoration), available);
    // A cut height brings the vertical scroll bar, which would take its width
    // from the form and bring the horizontal one too; the window widens by it
    // where the screen has room (and likewise the other way round).
    const int bar = m_pScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pScroll);
    const QSize shown = frame.size() - decoration;
    if (shown.height() < fit.height())
        client.setWidth(std::min(width(), fit.width() + bar));
    if (shown.width() < fit.width())
        client.setHeight(std::min(height(), fit.height() + bar));
    frame = FitToScreen(QRect(frameGeometry().topLeft(), client + decoration), available);
    resize(frame.size() - decoration);
    if (frame.topLeft() != frameGeometry().topLeft())
        move(frame.topLeft());
}

QRect CMainFrame::FitToScreen(const QRect& frame, const QRect& available)
{
    return FitInside(frame, available);
}

void CMainFrame::FocusFirstControl()
{
    if (!m_pForm)
        return;
    for (QWidget* w = m_pForm->nextInFocusChain(); w && w != m_pForm; w = w->nextInFocusChain())
        if (m_pForm->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(m_pForm) &&
            w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
}

void CMainFrame::ClickFormButton(int id)
{
    auto* button = qobject_cast<QPushButton*>(m_app.m_host.ControlWidget(m_app.m_view, id));
    if (button && button->isVisible() && button->isEnabled())
        button->click();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Return that no field used reaches the form: it presses the focused
    // button, else the default one, as in a dialog.
    if (watched == m_pForm && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
            if (focused && m_pForm->isAncestorOf(focused))
                focused->click();
            else
                ClickFormButton(IDC_DESIGN);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetDocumentTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title) + QStringLiteral(" - Zantro"));
}

void CMainFrame::UpdateRecentFileMenu()
{
    const CRecentFileList& list = m_app.m_recentFiles;
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* a = Action(ID_FILE_MRU_FILE1 + i);
        if (!a)
            continue;
        if (i < list.GetCount()) {
            a->setText(QString::fromStdString(list.MenuText(i)));
            a->setEnabled(true);
            a->setVisible(true);
        } else {
            // With no recent document the placeholder stays, greyed.
            a->setText(QStringLiteral("Recent File"));
            a->setEnabled(false);
            a->setVisible(i == 0 && list.GetCount() == 0);
        }
    }
}

void CMainFrame::PlaceBesideForm(QWidget& window)
{
    // Not framed yet, the window will have the main window's title bar and borders.
    const QSize decoration = frameGeometry().size() - size();
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    QWidget* caption = m_app.m_host.ControlWidget(m_app.m_view, IDC_MAGNITUDE_CAPTION);
    const int plotsTop = caption ? caption->mapToGlobal(QPoint(0, 0)).y() : frameGeometry().top();
    const QSize minimum = window.minimumSizeHint().expandedTo(kAnalysisMinimum);
    const QRect frame =
        PlaceBesideOrOverPlots(frameGeometry(), plotsTop, window.size() + decoration, minimum + decoration, available);
    window.resize(frame.size() - decoration);
    window.move(frame.topLeft());
}

void CMainFrame::ShowHelp()
{
    if (!m_pHelp) {
        m_pHelp = new HelpViewer(this);
        const QSize decoration = frameGeometry().size() - size();
        const QRect available = screen() ? screen()->availableGeometry() : QRect();
        // Centred on the main window, title bar and all on the screen.
        QRect frame(QPoint(0, 0), m_pHelp->size() + decoration);
        frame.moveCenter(frameGeometry().center());
        frame = FitInside(frame, available);
        m_pHelp->resize(frame.size() - decoration);
        m_pHelp->move(frame.topLeft());
    }
    m_pHelp->ShowTopic();
}

void CMainFrame::OnCommand(int id)
{
    CZantroApp& app = m_app;
    switch (id) {
    case ID_FILE_NEW:
        app.OnFileNew();
        break;
    case ID_FILE_OPEN:
        app.OnFileOpen();
        break;
    case ID_FILE_SAVE:
        app.OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        app.OnFileSaveAs();
        break;
    case ID_FILE_PRINT:
        app.Print(PrintRequest{PrintRequest::Dialog});
        break;
    case ID_FILE_PRINT_DIRECT:
        app.Print(PrintRequest{PrintRequest::Direct});
        break;
    case ID_FILE_PRINT_PREVIEW:
        app.Print(PrintRequest{PrintRequest::Preview});
        break;
    case ID_FILE_PRINT_SETUP:
        app.Print(PrintRequest{PrintRequest::Setup});
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_VIEW_TOOLBAR:
        m_pToolBar->setVisible(!m_pToolBar->isVisible());
        Action(ID_VIEW_TOOLBAR)->setChecked(m_pToolBar->isVisible());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        Action(ID_VIEW_STATUS_BAR)->setChecked(statusBar()->isVisible());
        break;
    case ID_EXTRAS_WINDOW:
        app.m_host.RunCommand([&app]() { app.m_view.OnCommand(ID_EXTRAS_WINDOW); });
        break;
    case ID_EXTRAS_ANALYSIS:
        ShowAnalysis();
        break;
    case ID_FILE_EXPORT:
        RunExportCommand(app, *this);
        break;
    case ID_EXTRAS_DESIGN_TO_SPEC:
        app.m_host.RunCommand([&app]() { DesignToSpecification(app.m_view); });
        break;
    case ID_EXTRAS_RATE_CHANGE:
        app.m_host.RunCommand([&app]() { DesignRateChange(app.m_view); });
        break;
    case ID_EXTRAS_MORE_METHODS:
        app.m_host.RunCommand([&app]() { DesignMoreMethods(app.m_view); });
        break;
    case ID_HELP_FINDER:
    case ID_HELP:
    case ID_CONTEXT_HELP:
    case ID_DEFAULT_HELP:
        ShowHelp();
        break;
    case ID_APP_ABOUT:
        app.OnAppAbout();
        break;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_COPY_COEFFS:
        OnEditCommand(id);
        break;
    case ID_FORM_DESIGN:
        ClickFormButton(IDC_DESIGN);
        break;
    case ID_FORM_MAKE_FILE:
        ClickFormButton(IDC_MAKE_FILE);
        break;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        // One pane only: the form.
        break;
    default:
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount)
            app.OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        break;
    }
    // File commands change the design without running a form command.
    if (m_pAnalysis && m_pAnalysis->isVisible())
        m_pAnalysis->Follow();
    UpdateEditActions();
}

void CMainFrame::ShowAnalysis()
{
    if (!m_pAnalysis) {
        m_pAnalysis = new AnalysisWindow(m_app.m_view, this);
        PlaceBesideForm(*m_pAnalysis);
    }
    m_pAnalysis->Follow();
    m_pAnalysis->show();
    m_pAnalysis->raise();
    m_pAnalysis->activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A search still running under its progress dialog ends first; the
    // command it belongs to then returns to its own dialog.
    if (m_app.m_host.CancelProgress()) {
        event->ignore();
        return;
    }
    if (!m_app.SaveModified()) {
        event->ignore();
        return;
    }
    if (m_pHelp)
        m_pHelp->close();
    if (m_pAnalysis)
        m_pAnalysis->close();
    m_app.SaveSettings();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            activateWindow();
            m_app.OpenDocumentFile(url.toLocalFile().toStdString());
            return;
        }
}
