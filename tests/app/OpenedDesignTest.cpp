#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <vector>

#include "AppFixture.h"
#include "ViewFixture.h"
#include "app/CommandIds.h"
#include "app/ReportPrinter.h"
#include "document/CFilPar.h"
#include "form/COutfileDlg.h"
#include "form/FileCommands.h"
#include "form/RemezMessages.h"

namespace {

constexpr int kKaiserDlg = 132;
constexpr int kKaiserEdit = 1036;

// A curve pixel: plots draw their axes and text black, only curves in colour.
bool IsCurveColour(QColor c)
{
    const int hi = std::max({c.red(), c.green(), c.blue()});
    const int lo = std::min({c.red(), c.green(), c.blue()});
    return hi - lo > 100;
}

int CurvePixels(const QImage& image, int top, int bottom)
{
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += IsCurveColour(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

// The curve pixels of the four plots on page 1 of a printed report, rendered
// by poppler without smoothing. The plots stand at 3H/16 + k H/5.
std::array<int, 4> PlotCurvePixels(const QString& pdf, const QString& folder)
{
    std::array<int, 4> counts{-1, -1, -1, -1};
    const QString prefix = folder + QStringLiteral("/page");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                             QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"),
                                             QStringLiteral("no"), QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                             pdf, prefix});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return counts;
    const QImage page(prefix + QStringLiteral(".png"));
    if (page.isNull())
        return counts;
    const int h = page.height();
    for (int k = 0; k < 4; ++k)
        counts[static_cast<size_t>(k)] = CurvePixels(page, 3 * h / 16 + k * h / 5, 3 * h / 16 + (k + 1) * h / 5);
    return counts;
}

std::vector<double> Values(const CPlotWnd& plot)
{
    std::vector<double> v;
    for (int i = 0; i < plot.m_values.m_nCount; ++i)
        v.push_back(plot.m_values[i]);
    return v;
}

class OpenedDesign : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        printer = ReportPrinter::Install(*app);
        printer->m_showMessage = [this](CZantroApp&, const std::string& text, bool) { printMessages.push_back(text); };
        app->m_headlessMessage = [this](const std::string& text) { designMessages.push_back(text); };
    }
    std::string Path(const char* name) const { return dir.filePath(QLatin1String(name)).toStdString(); }

    // The multi-bandpass Remez target (55 taps), designed and saved; its taps.
    std::vector<double> SaveRemez(const std::string& path)
    {
        ViewFixture d;
        d.Select(IDC_TARGET_FILTER, 6);
        d.Design();
        EXPECT_EQ(d.view.m_bDesignValid, 1);
        EXPECT_TRUE(SaveDocument(d.doc, d.view, path));
        remezPasses = d.view.m_nRemezPasses;
        impulse = Values(d.view.m_ImpulseWnd);
        magnitude = Values(d.view.m_MagnitudeWnd);
        phase = Values(d.view.m_PhaseWnd);
        step = Values(d.view.m_StepWnd);
        return impulse;
    }
    void SaveKaiser(const std::string& path)
    {
        ViewFixture d;
        d.Select(IDC_WINDOW_TYPE, 5);
        d.Type(IDC_TAPS, "41");
        d.host.QueueDialog(kKaiserDlg, {{ScriptedHost::Action::Type, kKaiserEdit, "7.25"}});
        d.Design();
        EXPECT_EQ(d.view.m_bDesignValid, 1);
        EXPECT_TRUE(SaveDocument(d.doc, d.view, path));
    }
    QString PassesText() const
    {
        char text[80];
        std::snprintf(text, sizeof text, kMsgRemezPasses, remezPasses);
        return QString::fromLatin1(text);
    }
    void ExpectRemezPlots()
    {
        CZantroView& v = app->m_view;
        EXPECT_EQ(Values(v.m_ImpulseWnd), impulse);
        EXPECT_EQ(Values(v.m_MagnitudeWnd), magnitude);
        EXPECT_EQ(Values(v.m_PhaseWnd), phase);
        EXPECT_EQ(Values(v.m_StepWnd), step);
    }

    QTemporaryDir dir;
    std::shared_ptr<ReportPrinter> printer;
    std::vector<std::string> printMessages;
    std::vector<std::string> designMessages;
    int remezPasses = 0;
    std::vector<double> impulse, magnitude, phase, step;
};

}  // namespace

TEST_F(OpenedDesign, OpeningARemezDocumentShowsItsDesignInTheFourPlots)
{
    const std::string remez = Path("remez.fir");
    ASSERT_EQ(SaveRemez(remez).size(), 55u);

    Start();
    Press(IDC_DESIGN);  // the default 63-tap lowpass is on screen
    ASSERT_EQ(app->m_view.m_ImpulseWnd.m_values.m_nCount, 63);
    app->m_doc.SetModifiedFlag(false);

    app->m_promptFileName = [&](CZantroApp::FileDialog, const std::string&) { return std::optional(remez); };
    frame()->OnCommand(ID_FILE_OPEN);
    // Nobody pressed Design: the pass count goes to the status bar, no box waits.
    EXPECT_TRUE(script->Seen().isEmpty());
    EXPECT_EQ(frame()->statusBar()->currentMessage(), PassesText());
    ExpectRemezPlots();
    EXPECT_EQ(app->m_view.m_bDesignValid, 1);
    EXPECT_FALSE(app->m_doc.IsModified());
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("remez.fir - Zantro"));
    EXPECT_EQ(Edit(IDC_TAPS)->text(), QStringLiteral("55"));
    for (int k = 0; k < 4; ++k) {
        const QImage plot = frame()->Plot(k)->grab().toImage();
        EXPECT_GT(CurvePixels(plot, 0, plot.height()), 100) << "plot " << k;
    }

    // The recent-file entry and the command line open it the same way.
    frame()->OnCommand(ID_FILE_NEW);
    Select(IDC_DESIGN_METHOD, DM_SINC);
    Select(IDC_FILTER_TYPE, FT_LOWPASS);
    Select(IDC_WINDOW_TYPE, 2);
    Type(IDC_TAPS, QStringLiteral("31"));
    Type(IDC_SAMPLING_RATE, QStringLiteral("8000"));
    Type(IDC_FIRST_CORNER, QStringLiteral("1000"));
    Type(IDC_SECOND_CORNER, QStringLiteral("3000"));
    Press(IDC_DESIGN);
    ASSERT_EQ(app->m_view.m_ImpulseWnd.m_values.m_nCount, 31);
    app->m_doc.SetModifiedFlag(false);
    frame()->statusBar()->clearMessage();
    frame()->OnCommand(ID_FILE_MRU_FILE1);
    EXPECT_TRUE(script->Seen().isEmpty());
    EXPECT_EQ(frame()->statusBar()->currentMessage(), PassesText());
    ExpectRemezPlots();
    EXPECT_FALSE(app->m_doc.IsModified());
}

TEST_F(OpenedDesign, TheCommandLineOpensTheDocumentWithItsDesign)
{
    const std::string remez = Path("remez.fir");
    SaveRemez(remez);
    Start({remez});
    ExpectRemezPlots();
    EXPECT_FALSE(app->m_doc.IsModified());
    EXPECT_TRUE(script->Seen().isEmpty());
    EXPECT_EQ(frame()->statusBar()->currentMessage(), PassesText());
}

TEST_F(OpenedDesign, PrintedReportsShowTheDocumentsPlots)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) << "poppler-utils";
    const std::string kaiser = Path("kaiser.fir");
    const std::string remez = Path("remez.fir");
    SaveKaiser(kaiser);
    SaveRemez(remez);

    const QString kaiserPdf = dir.filePath(QStringLiteral("kaiser.pdf"));
    EXPECT_FALSE(app->InitInstance({"/pt", kaiser, kaiserPdf.toStdString()}));
    EXPECT_EQ(app->StartupStatus(), 0);
    EXPECT_TRUE(designMessages.empty());
    for (int count : PlotCurvePixels(kaiserPdf, dir.path()))
        EXPECT_GT(count, 100);

    // Without a screen the Remez design's message goes to stderr instead of a box.
    app = std::make_unique<CZantroApp>();
    SetUp();
    SaveRemez(remez);
    const QString remezPdf = dir.filePath(QStringLiteral("remez.pdf"));
    EXPECT_FALSE(app->InitInstance({"/pt", remez, remezPdf.toStdString()}));
    EXPECT_EQ(app->StartupStatus(), 0);
    EXPECT_EQ(designMessages, std::vector<std::string>{PassesText().toStdString()});
    EXPECT_TRUE(printMessages.empty());
    for (int count : PlotCurvePixels(remezPdf, dir.path()))
        EXPECT_GT(count, 100);
    EXPECT_EQ(Values(app->m_view.m_ImpulseWnd), impulse);
}

TEST_F(OpenedDesign, AReportOfADesignThatEndsWithAMessageShowsWhatTheFormShows)
{
    CZantroDoc doc;
    doc.m_FilPar.m_nFirstCorner = 4000;  // refused: not below fs/2
    const std::string path = Path("corner.fir");
    ASSERT_TRUE(doc.OnSaveDocument(path, nullptr));
    const QString pdf = dir.filePath(QStringLiteral("corner.pdf"));
    EXPECT_FALSE(app->InitInstance({"/pt", path, pdf.toStdString()}));
    EXPECT_EQ(app->StartupStatus(), 0);
    EXPECT_EQ(designMessages, std::vector<std::string>{"The corner frequencies must be < ((sampling rate) / 2)"});
    // Nothing was designed, so the plot areas stay empty.
    for (int count : PlotCurvePixels(pdf, dir.path()))
        EXPECT_EQ(count, 0);
}

TEST_F(OpenedDesign, MakeFileNamesTheWrittenFilesInTheStatusBar)
{
    Start();
    Press(IDC_DESIGN);
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    script->Expect([](QWidget* modal) {
        auto* root = modal->findChild<QLineEdit*>(QStringLiteral("control%1").arg(COutfileDlg::IDC_ROOT));
        ASSERT_NE(root, nullptr);
        root->setText(QStringLiteral("lowpass"));
        modal->findChild<QPushButton*>(QStringLiteral("control1"))->click();
    });
    Press(IDC_MAKE_FILE);
    QDir::setCurrent(cwd);
    const QString folder = QDir(dir.path()).canonicalPath();
    EXPECT_EQ(frame()->statusBar()->currentMessage(),
              QStringLiteral("Wrote %1/lowpass.h and %1/lowpass.c").arg(folder));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("lowpass.c"))));
}
