#include "app/CZantroApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "app/CAboutDlg.h"
#include "app/CCommandLineInfo.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "form/FileCommands.h"
#include "plot/PlotAxes.h"

namespace {

QString FilterText()
{
    return QtHost::QtFilter(std::string(CZantroApp::kDocFilter) + "|*.fir|" + CZantroApp::kAllFilter + "|*.*||");
}

bool DefaultPrintHandler(CZantroApp& app, const PrintRequest&)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zantro"),
                    QStringLiteral("Printing the design report is not available in this version."), QMessageBox::Ok,
                    app.MainFrame());
    box.exec();
    return false;
}

// The last requirement of Design to Requirement, for the next run.
std::optional<RequirementFields> ReadRequirement(QSettings& settings)
{
    settings.beginGroup(QStringLiteral("Requirement"));
    std::optional<RequirementFields> fields;
    if (settings.contains(QStringLiteral("Type"))) {
        RequirementFields f;
        f.filterType = settings.value(QStringLiteral("Type")).toInt();
        f.samplingRate = settings.value(QStringLiteral("Rate"), f.samplingRate).toUInt();
        for (size_t i = 0; i < f.edges.size(); ++i)
            f.edges[i] = settings.value(QStringLiteral("Edge%1").arg(i + 1), f.edges[i]).toUInt();
        f.ripple = settings.value(QStringLiteral("Ripple"), QString::fromStdString(f.ripple)).toString().toStdString();
        f.attenuation =
            settings.value(QStringLiteral("Attenuation"), QString::fromStdString(f.attenuation)).toString().toStdString();
        f.method = settings.value(QStringLiteral("Method")).toInt();
        f.format = settings.value(QStringLiteral("Format")).toInt();
        f.chooseWords = settings.value(QStringLiteral("ChooseWords"), false).toBool();
        fields = f;
    }
    settings.endGroup();
    return fields;
}

void WriteRequirement(QSettings& settings, const RequirementFields& f)
{
    settings.beginGroup(QStringLiteral("Requirement"));
    settings.setValue(QStringLiteral("Type"), f.filterType);
    settings.setValue(QStringLiteral("Rate"), f.samplingRate);
    for (size_t i = 0; i < f.edges.size(); ++i)
        settings.setValue(QStringLiteral("Edge%1").arg(i + 1), f.edges[i]);
    settings.setValue(QStringLiteral("Ripple"), QString::fromStdString(f.ripple));
    settings.setValue(QStringLiteral("Attenuation"), QString::fromStdString(f.attenuation));
    settings.setValue(QStringLiteral("Method"), f.method);
    settings.setValue(QStringLiteral("Format"), f.format);
    settings.setValue(QStringLiteral("ChooseWords"), f.chooseWords);
    settings.endGroup();
}

}  // namespace

CZantroApp::CZantroApp() : m_recentFiles(kRecentFileCount)
{
    m_printHandler = DefaultPrintHandler;
    m_headlessMessage = [](const std::string& text) { std::cerr << text << '\n'; };
    // Nobody pressed Design for an opened document: its messages must not
    // stop the opening (or a print) on a box that waits for a click.
    m_view.m_quietMessages = [this](const std::vector<std::string>& texts) {
        if (m_bPrinting) {
            for (const std::string& text : texts)
                m_headlessMessage(text);
            return;
        }
        std::string line;
        for (const std::string& text : texts) {
            if (!line.empty())
                line += "  ";
            line += text;
        }
        std::replace(line.begin(), line.end(), '\n', ' ');
        m_host.SetStatusText(line);
    };
}

CZantroApp::~CZantroApp() = default;

std::unique_ptr<QSettings> CZantroApp::OpenSettings() const
{
    return std::make_unique<QSettings>(QString::fromLatin1(kRegistryKey), QString::fromLatin1(kAppName));
}

void CZantroApp::LoadStdProfileSettings()
{
    std::unique_ptr<QSettings> settings = OpenSettings();
    m_recentFiles.ReadList(*settings);
    m_nNumPreviewPages = settings->value(QStringLiteral("Settings/PreviewPages"), 0).toInt();
    m_view.m_LastRequirement = ReadRequirement(*settings);
}

void CZantroApp::SaveSettings()
{
    std::unique_ptr<QSettings> settings = OpenSettings();
    m_recentFiles.WriteList(*settings);
    if (m_nNumPreviewPages != 0)
        settings->setValue(QStringLiteral("Settings/PreviewPages"), m_nNumPreviewPages);
    if (m_view.m_LastRequirement)
        WriteRequirement(*settings, *m_view.m_LastRequirement);
    settings->sync();
}

bool CZantroApp::CreateMainFrame()
{
    if (m_pMainWnd)
        return true;
    ResetPlotAxes();
    m_view.SetHost(&m_host);
    m_view.SetDocument(&m_doc);
    m_pMainWnd = std::make_unique<CMainFrame>(*this);
    m_host.SetMainWindow(m_pMainWnd.get());
    if (!m_pMainWnd->OnCreate()) {
        m_pMainWnd.reset();
        return false;
    }
    m_pMainWnd->setAcceptDrops(true);
    return true;
}

bool CZantroApp::InitInstance(const std::vector<std::string>& args)
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(kRegistryKey));
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    LoadStdProfileSettings();

    CCommandLineInfo cmdInfo;
    cmdInfo.Parse(args);
    if (!CreateMainFrame()) {
        m_nStartupStatus = 1;
        return false;
    }

    const bool print = cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint ||
                       cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrintTo;
    // The opened document is designed before it is printed; a message of
    // that design (a Remez pass count) cannot wait for a click without a screen.
    if (print && QtHost::IsHeadless())
        m_host.m_messageSink = m_headlessMessage;
    m_bPrinting = print;
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen || print) {
        // No save prompt here: nothing has been changed yet.
        bool opened = false;
        m_host.RunCommand([&]() { opened = OpenDocument(m_doc, m_view, cmdInfo.m_strFileName); });
        if (!opened) {
            m_host.m_messageSink = nullptr;
            m_bPrinting = false;
            m_pMainWnd.reset();
            m_nStartupStatus = 1;
            return false;
        }
        DocumentChanged(true);
    } else {
        NewDocument(m_doc, m_view);
        DocumentChanged(false);
    }

    if (print) {
        PrintRequest request;
        request.kind = cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint ? PrintRequest::Direct
                                                                               : PrintRequest::PrintTo;
        request.printer = cmdInfo.m_strPrinterName;
        request.driver = cmdInfo.m_strDriverName;
        request.port = cmdInfo.m_strPortName;
        const bool printed = Print(request);
        m_host.m_messageSink = nullptr;
        m_bPrinting = false;
        SaveSettings();
        m_pMainWnd.reset();
        m_nStartupStatus = printed ? 0 : 1;
        return false;
    }

    m_pMainWnd->show();
    m_pMainWnd->ResizeToFitForm();
    // The window manager frames the window after it is shown; the title bar
    // and borders then count too.
    QTimer::singleShot(300, m_pMainWnd.get(), [frame = m_pMainWnd.get()]() { frame->ResizeToFitForm(); });
    m_pMainWnd->FocusFirstControl();
    m_pMainWnd->repaint();
    return true;
}

int CZantroApp::ExitInstance()
{
    SaveSettings();
    return 0;
}

std::string CZantroApp::FrameTitle() const
{
    return m_doc.GetTitle() + " - " + kAppName;
}

void CZantroApp::DocumentChanged(bool addToRecent)
{
    if (addToRecent && !m_doc.GetPathName().empty()) {
        m_recentFiles.Add(m_doc.GetPathName());
        SaveSettings();
    }
    if (m_pMainWnd) {
        m_pMainWnd->SetDocumentTitle(m_doc.GetTitle());
        m_pMainWnd->UpdateRecentFileMenu();
        m_pMainWnd->ResizeToFitForm();
    }
}

std::optional<std::string> CZantroApp::PromptFileName(FileDialog kind, const std::string& suggested)
{
    if (m_promptFileName)
        return m_promptFileName(kind, suggested);
    QFileDialog dialog(m_pMainWnd.get(), kind == FileDialog::Open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog.setNameFilter(FilterText());
    dialog.setDefaultSuffix(QStringLiteral("fir"));
    if (kind == FileDialog::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(QString::fromStdString(suggested));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

bool CZantroApp::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    const std::string name = m_doc.GetPathName().empty() ? m_doc.GetTitle() : m_doc.GetPathName();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zantro"),
                    QStringLiteral("Save changes to %1?").arg(QString::fromStdString(name)),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_pMainWnd.get());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return OnFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CZantroApp::OnFileNew()
{
    if (!SaveModified())
        return;
    NewDocument(m_doc, m_view);
    DocumentChanged(false);
}

void CZantroApp::OnFileOpen()
{
    std::optional<std::string> path = PromptFileName(FileDialog::Open, std::string());
    if (path)
        OpenDocumentFile(*path);
}

bool CZantroApp::OpenDocumentFile(const std::string& path)
{
    if (!SaveModified())
        return false;
    bool opened = false;
    m_host.RunCommand([&]() { opened = OpenDocument(m_doc, m_view, path); });
    if (opened)
        DocumentChanged(true);
    return opened;
}

void CZantroApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.GetCount())
        return;
    const std::string path = m_recentFiles[index];
    if (!SaveModified())
        return;
    bool opened = false;
    m_host.RunCommand([&]() { opened = OpenDocument(m_doc, m_view, path); });
    if (opened) {
        DocumentChanged(true);
    } else {
        // Only a file that failed to open leaves the list, not a cancelled prompt.
        m_recentFiles.Remove(index);
        SaveSettings();
        if (m_pMainWnd)
            m_pMainWnd->UpdateRecentFileMenu();
    }
}

bool CZantroApp::OnFileSave()
{
    const std::string& path = m_doc.GetPathName();
    if (!path.empty()) {
        QFileInfo info(QString::fromStdString(path));
        // A read-only file is saved under a new name instead.
        if (!info.exists() || info.isWritable())
            return DoSave(path);
    }
    return DoSave(std::string());
}

bool CZantroApp::OnFileSaveAs()
{
    return DoSave(std::string());
}

bool CZantroApp::DoSave(const std::string& path)
{
    std::string name = path;
    if (name.empty()) {
        std::string suggested = m_doc.GetPathName();
        if (suggested.empty())
            suggested = CZantroDoc::WithDefaultExtension(m_doc.GetTitle());
        std::optional<std::string> chosen = PromptFileName(FileDialog::SaveAs, suggested);
        if (!chosen || chosen->empty())
            return false;
        name = CZantroDoc::WithDefaultExtension(*chosen);
    }
    bool saved = false;
    m_host.RunCommand([&]() { saved = SaveDocument(m_doc, m_view, name); });
    if (saved)
        DocumentChanged(true);
    return saved;
}

void CZantroApp::OnAppAbout()
{
    CAboutDlg about(&m_view);
    about.DoModal();
}

bool CZantroApp::Print(const PrintRequest& request)
{
    return m_printHandler && m_printHandler(*this, request);
}
