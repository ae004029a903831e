#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/PrintRequest.h"
#include "app/ReportPrinter.h"
#include "document/CFilPar.h"

namespace {

// Pages of a PDF as its page tree counts them, -1 when there is no tree.
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF-"))
        return -1;
    const QRegularExpression tree(QStringLiteral("/Type\\s*/Pages\\b[^>]*?/Count\\s+(\\d+)"),
                                  QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = tree.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class ReportPrinterTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        printer = ReportPrinter::Install(*app);
        printer->m_showMessage = [this](CZantroApp&, const std::string& text, bool commandLine) {
            messages.push_back(text);
            commandLineMessages += commandLine ? 1 : 0;
        };
    }

    // A design document of this method on disk.
    std::string WriteDocument(const QString& name, int method)
    {
        CZantroDoc doc;
        doc.m_FilPar.m_nDesignMethod = method;
        doc.m_FilPar.m_nTaps = 31;
        doc.m_FilPar.m_Bands[0] = {1, 0, 1000, 1.0, 1.0};
        doc.m_FilPar.m_Bands[1] = {1, 1500, 4000, 0.0, 10.0};
        const std::string path = dir.filePath(name).toStdString();
        EXPECT_TRUE(doc.OnSaveDocument(path, nullptr));
        return path;
    }

    // Runs the command line; true when the program went on to its window.
    bool Run(const std::vector<std::string>& args) { return app->InitInstance(args); }

    QTemporaryDir dir;
    std::shared_ptr<ReportPrinter> printer;
    std::vector<std::string> messages;
    int commandLineMessages = 0;
};

}  // namespace

TEST(ReportPrinterNames, PdfFileNamesAndPreviewModes)
{
    EXPECT_TRUE(ReportPrinter::IsPdfFileName("report.pdf"));
    EXPECT_TRUE(ReportPrinter::IsPdfFileName("/tmp/Design Report.PDF"));
    EXPECT_FALSE(ReportPrinter::IsPdfFileName("pdf"));
    EXPECT_FALSE(ReportPrinter::IsPdfFileName(".pd"));
    EXPECT_FALSE(ReportPrinter::IsPdfFileName("Office LaserJet"));
    EXPECT_FALSE(ReportPrinter::IsPdfFileName("report.pdf.txt"));

    EXPECT_EQ(ReportPrinter::ViewModeForPages(0), QPrintPreviewWidget::SinglePageView);
    EXPECT_EQ(ReportPrinter::ViewModeForPages(1), QPrintPreviewWidget::SinglePageView);
    EXPECT_EQ(ReportPrinter::ViewModeForPages(2), QPrintPreviewWidget::AllPagesView);
    EXPECT_EQ(ReportPrinter::PagesForViewMode(QPrintPreviewWidget::SinglePageView), 1);
    EXPECT_EQ(ReportPrinter::PagesForViewMode(QPrintPreviewWidget::FacingPagesView), 2);
    EXPECT_EQ(ReportPrinter::PagesForViewMode(QPrintPreviewWidget::AllPagesView), 2);
}

TEST_F(ReportPrinterTest, PrintToPdfFromTheCommandLine)
{
    const std::string sinc = WriteDocument(QStringLiteral("sinc.fir"), DM_SINC);
    const QString pdf = dir.filePath(QStringLiteral("sinc.pdf"));
    EXPECT_FALSE(Run({"/pt", sinc, pdf.toStdString()}));
    EXPECT_EQ(app->StartupStatus(), 0);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReportPrinterTest, RemezDesignPrintsTwoPages)
{
    const std::string remez = WriteDocument(QStringLiteral("remez.fir"), DM_REMEZ);
    const QString pdf = dir.filePath(QStringLiteral("Remez Report.PDF"));
    EXPECT_FALSE(Run({"/pt", remez, pdf.toStdString(), "driver", "port"}));
    EXPECT_EQ(app->StartupStatus(), 0);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReportPrinterTest, UnwritablePdfIsReportedAsAFailure)
{
    const std::string sinc = WriteDocument(QStringLiteral("sinc.fir"), DM_SINC);
    const std::string pdf = dir.filePath(QStringLiteral("no such folder/report.pdf")).toStdString();
    EXPECT_FALSE(Run({"/pt", sinc, pdf}));
    EXPECT_EQ(app->StartupStatus(), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The report could not be written to \"" + pdf + "\".");
    EXPECT_EQ(commandLineMessages, 1);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf)));
}

TEST_F(ReportPrinterTest, MissingPrintersGiveAMessage)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers; the report would really be printed";
    const std::string sinc = WriteDocument(QStringLiteral("sinc.fir"), DM_SINC);
    const std::string noPrinter =
        "No printer is installed, so the design report cannot be printed. Install a printer, or write the "
        "report into a PDF file: zantro /pt design.fir report.pdf";

    EXPECT_FALSE(Run({"/p", sinc}));
    EXPECT_EQ(app->StartupStatus(), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], noPrinter);

    messages.clear();
    app = std::make_unique<CZantroApp>();
    printer = ReportPrinter::Install(*app);
    printer->m_showMessage = [this](CZantroApp&, const std::string& text, bool) { messages.push_back(text); };
    EXPECT_FALSE(Run({"/pt", sinc, "Office LaserJet", "winspool", "LPT1:"}));
    EXPECT_EQ(app->StartupStatus(), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], noPrinter);
}

TEST_F(ReportPrinterTest, PrintDialogOffersTheReportsPages)
{
    Start();
    app->m_view.m_nDesignMethod = DM_REMEZ;
    int minPage = 0, maxPage = 0;
    script->Expect([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        minPage = dialog->minPage();
        maxPage = dialog->maxPage();
        dialog->reject();
    });
    frame()->OnCommand(ID_FILE_PRINT);
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 2);
    EXPECT_TRUE(messages.empty());  // cancelled: nothing printed, nothing to say
}

TEST_F(ReportPrinterTest, PreviewRemembersPagesSideBySide)
{
    Start();
    app->m_view.m_nDesignMethod = DM_REMEZ;
    app->m_nNumPreviewPages = 2;
    int shownMode = -1, pages = 0;
    script->Expect([&](QWidget* modal) {
        auto* preview = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Print Preview"));
        shownMode = preview->viewMode();
        pages = preview->pageCount();
        preview->setSinglePageViewMode();
        modal->close();
    });
    frame()->OnCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(shownMode, QPrintPreviewWidget::AllPagesView);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(app->m_nNumPreviewPages, 1);
    QSettings settings(QString::fromLatin1(CZantroApp::kRegistryKey), QString::fromLatin1(CZantroApp::kAppName));
    EXPECT_EQ(settings.value(QStringLiteral("Settings/PreviewPages")).toInt(), 1);

    app->m_view.m_nDesignMethod = DM_SINC;
    script->Expect([&](QWidget* modal) {
        auto* preview = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        shownMode = preview->viewMode();
        pages = preview->pageCount();
        preview->setAllPagesViewMode();
        modal->close();
    });
    frame()->OnCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(shownMode, QPrintPreviewWidget::SinglePageView);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(app->m_nNumPreviewPages, 2);
}

TEST_F(ReportPrinterTest, PrintSetupShowsThePageSetup)
{
    Start();
    bool seen = false;
    script->Expect([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPageSetupDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Print Setup"));
        seen = true;
        dialog->reject();
    });
    frame()->OnCommand(ID_FILE_PRINT_SETUP);
    EXPECT_TRUE(seen);
}

// The program itself, as the desktop shell or a script runs it without a display.
TEST_F(ReportPrinterTest, ProgramWritesThePdfHeadless)
{
    const QString exe = QCoreApplication::applicationDirPath() + QStringLiteral("/../../app/zantro");
    if (!QFileInfo(exe).isExecutable())
        GTEST_SKIP() << "zantro is not built next to the tests";
    const std::string sinc = WriteDocument(QStringLiteral("sinc.fir"), DM_SINC);
    const std::string remez = WriteDocument(QStringLiteral("remez.fir"), DM_REMEZ);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    const struct {
        std::string doc;
        const char* pdf;
        int pages;
    } cases[] = {{sinc, "sinc.pdf", 1}, {remez, "remez.pdf", 2}};
    for (const auto& c : cases) {
        QProcess zantro;
        zantro.setProcessEnvironment(env);
        const QString pdf = dir.filePath(QLatin1String(c.pdf));
        zantro.start(exe, {QStringLiteral("/pt"), QString::fromStdString(c.doc), pdf});
        ASSERT_TRUE(zantro.waitForFinished(120000));
        EXPECT_EQ(zantro.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(zantro.exitCode(), 0) << zantro.readAllStandardError().toStdString();
        EXPECT_EQ(PdfPageCount(pdf), c.pages) << c.pdf;
    }

    QProcess failing;
    failing.setProcessEnvironment(env);
    failing.start(exe, {QStringLiteral("/pt"), QString::fromStdString(sinc), dir.filePath(QStringLiteral("none/x.pdf"))});
    ASSERT_TRUE(failing.waitForFinished(120000));
    EXPECT_EQ(failing.exitCode(), 1);
    EXPECT_THAT(failing.readAllStandardError().toStdString(),
                testing::HasSubstr("The report could not be written to"));
}
