#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/QtHost.h"

namespace {

constexpr int kYes = 0x00004000;     // QMessageBox::Yes
constexpr int kNo = 0x00010000;      // QMessageBox::No
constexpr int kCancel = 0x00400000;  // QMessageBox::Cancel

}  // namespace

class FileCommands : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        app->m_promptFileName = [this](CZantroApp::FileDialog kind, const std::string& suggested) {
            asked.push_back({kind, suggested});
            std::optional<std::string> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.erase(answers.begin());
            }
            return answer;
        };
    }
    std::string Path(const char* name) const { return QDir(dir.path()).filePath(QLatin1String(name)).toStdString(); }
    QString Stored(int i) const
    {
        QSettings s(QString::fromLatin1(CZantroApp::kRegistryKey), QString::fromLatin1(CZantroApp::kAppName));
        return s.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
    }

    QTemporaryDir dir;
    std::vector<std::optional<std::string>> answers;
    std::vector<std::pair<CZantroApp::FileDialog, std::string>> asked;
};

TEST_F(FileCommands, AModifiedDocumentPromptsOnCloseAndCancelKeepsTheWindow)
{
    Start();
    Press(IDC_DESIGN);
    ASSERT_TRUE(app->m_doc.IsModified());
    script->ExpectMessage(kCancel);
    EXPECT_FALSE(frame()->close());
    EXPECT_EQ(script->Seen(), QStringList{QStringLiteral("Save changes to Untitled?")});
    EXPECT_EQ(script->LastTitle(), QStringLiteral("Zantro"));
    QStringList buttons = script->LastButtons();
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"&No", "&Yes", "Cancel"}));
    EXPECT_TRUE(frame()->isVisible());

    script->ExpectMessage(kNo);
    EXPECT_TRUE(frame()->close());
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_TRUE(answers.empty());
}

TEST_F(FileCommands, YesSavesUnderANewNameBeforeNewGoesOn)
{
    Start();
    Press(IDC_DESIGN);
    answers.push_back(Path("first"));
    script->ExpectMessage(kYes);
    frame()->Action(ID_FILE_NEW)->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, CZantroApp::FileDialog::SaveAs);
    EXPECT_EQ(asked[0].second, "Untitled.fir");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("first.fir"))));
    EXPECT_FALSE(app->m_doc.IsModified());
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Untitled - Zantro"));
}

TEST_F(FileCommands, SaveAsAndOpenRoundTripADesignThroughTheFileCommands)
{
    Start();
    Select(IDC_FILTER_TYPE, 1);  // Highpass
    Type(IDC_TAPS, QStringLiteral("31"));
    Type(IDC_SAMPLING_RATE, QStringLiteral("48000"));
    Type(IDC_FIRST_CORNER, QStringLiteral("6000"));
    Press(IDC_DESIGN);
    answers.push_back(Path("highpass"));
    frame()->Action(ID_FILE_SAVE_AS)->trigger();
    const std::string saved = Path("highpass.fir");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(saved)));
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("highpass.fir - Zantro"));
    EXPECT_EQ(app->m_doc.GetPathName(), saved);

    // Save again: no dialog, same file.
    Press(IDC_DESIGN);
    frame()->Action(ID_FILE_SAVE)->trigger();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(app->m_doc.IsModified());

    frame()->Action(ID_FILE_NEW)->trigger();
    Select(IDC_FILTER_TYPE, 0);
    Type(IDC_TAPS, QStringLiteral("99"));
    Press(IDC_DESIGN);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Untitled - Zantro"));

    answers.push_back(saved);
    script->ExpectMessage(kNo);
    frame()->Action(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(asked.back().first, CZantroApp::FileDialog::Open);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("highpass.fir - Zantro"));
    EXPECT_EQ(Edit(IDC_TAPS)->text(), QStringLiteral("31"));
    EXPECT_EQ(Edit(IDC_SAMPLING_RATE)->text(), QStringLiteral("48000"));
    EXPECT_EQ(Edit(IDC_FIRST_CORNER)->text(), QStringLiteral("6000"));
    EXPECT_EQ(Combo(IDC_FILTER_TYPE)->currentText(), QStringLiteral("Highpass"));
    EXPECT_FALSE(app->m_doc.IsModified());
}

TEST_F(FileCommands, TheRecentFileListLandsInTheSettingsStoreAndTheMenu)
{
    Start();
    answers.push_back(Path("one"));
    frame()->Action(ID_FILE_SAVE_AS)->trigger();
    answers.push_back(Path("two.fir"));
    frame()->Action(ID_FILE_SAVE_AS)->trigger();
    EXPECT_EQ(Stored(1), QString::fromStdString(Path("two.fir")));
    EXPECT_EQ(Stored(2), QString::fromStdString(Path("one.fir")));
    EXPECT_TRUE(Stored(3).isEmpty());
    QAction* first = frame()->Action(ID_FILE_MRU_FILE1);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_EQ(first->text().toStdString(), CRecentFileList::AbbreviateName(Path("two.fir"), 30).insert(0, "&1 "));
    EXPECT_TRUE(frame()->Action(ID_FILE_MRU_FILE1 + 1)->isVisible());
    EXPECT_FALSE(frame()->Action(ID_FILE_MRU_FILE1 + 2)->isVisible());

    // Opening the second entry moves it to the top.
    frame()->Action(ID_FILE_MRU_FILE1 + 1)->trigger();
    EXPECT_EQ(Stored(1), QString::fromStdString(Path("one.fir")));
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("one.fir - Zantro"));

    // A recent file that has gone is reported and leaves the list.
    QFile::remove(QString::fromStdString(Path("two.fir")));
    script->ExpectMessage();
    frame()->Action(ID_FILE_MRU_FILE1 + 1)->trigger();
    EXPECT_EQ(script->Seen().size(), 1);
    EXPECT_TRUE(Stored(2).isEmpty());
    EXPECT_EQ(Stored(1), QString::fromStdString(Path("one.fir")));

    // The next start reads the list back.
    app->ExitInstance();
    CZantroApp second;
    ASSERT_TRUE(second.InitInstance({}));
    ASSERT_EQ(second.m_recentFiles.GetCount(), 1);
    EXPECT_EQ(second.m_recentFiles[0], Path("one.fir"));
}

TEST_F(FileCommands, ACancelledSavePromptKeepsTheRecentEntry)
{
    Start();
    answers.push_back(Path("kept"));
    frame()->Action(ID_FILE_SAVE_AS)->trigger();
    frame()->Action(ID_FILE_NEW)->trigger();
    Press(IDC_DESIGN);
    script->ExpectMessage(kCancel);
    frame()->Action(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_EQ(app->m_recentFiles.GetCount(), 1);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Untitled - Zantro"));
}

TEST_F(FileCommands, TheCommandLineOpensAFileAndPrintsForSlashP)
{
    {
        Start();
        answers.push_back(Path("cmd"));
        frame()->Action(ID_FILE_SAVE_AS)->trigger();
        app->m_doc.SetModifiedFlag(false);
        app = std::make_unique<CZantroApp>();
    }
    ASSERT_TRUE(app->InitInstance({Path("cmd.fir")}));
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("cmd.fir - Zantro"));

    std::vector<PrintRequest> printed;
    auto printer = [&](CZantroApp& a, const PrintRequest& r) {
        EXPECT_EQ(a.m_doc.GetPathName(), Path("cmd.fir"));
        printed.push_back(r);
        return true;
    };
    app = std::make_unique<CZantroApp>();
    app->m_printHandler = printer;
    EXPECT_FALSE(app->InitInstance({"/p", Path("cmd.fir")}));
    EXPECT_EQ(app->StartupStatus(), 0);
    app = std::make_unique<CZantroApp>();
    app->m_printHandler = printer;
    EXPECT_FALSE(app->InitInstance({"/pt", Path("cmd.fir"), "Laser", "drv", "port"}));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].kind, PrintRequest::Direct);
    EXPECT_EQ(printed[1].kind, PrintRequest::PrintTo);
    EXPECT_EQ(printed[1].printer, "Laser");
    EXPECT_EQ(printed[1].port, "port");
    EXPECT_EQ(app->MainFrame(), nullptr);
}

TEST_F(FileCommands, AFileTheCommandLineCannotOpenEndsTheStartAfterItsMessage)
{
    script->ExpectMessage();
    EXPECT_FALSE(app->InitInstance({Path("missing.fir")}));
    EXPECT_EQ(app->StartupStatus(), 1);
    EXPECT_EQ(script->Seen().size(), 1);
    EXPECT_EQ(app->MainFrame(), nullptr);
}

TEST_F(FileCommands, ADroppedFileOpensLikeFileOpen)
{
    Start();
    answers.push_back(Path("dropped"));
    Type(IDC_TAPS, QStringLiteral("45"));
    Press(IDC_DESIGN);
    frame()->Action(ID_FILE_SAVE_AS)->trigger();
    frame()->Action(ID_FILE_NEW)->trigger();
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Untitled - Zantro"));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Path("dropped.fir")))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &drop);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("dropped.fir - Zantro"));
    EXPECT_EQ(Edit(IDC_TAPS)->text(), QStringLiteral("45"));
}

TEST(QtHostFilters, PlatformFiltersBecomeQtFiltersThatShowEveryFileForStarDotStar)
{
    EXPECT_EQ(QtHost::QtFilter(".txt files (*.txt)|*.txt|All Files (*.*)|*.*||"),
              QStringLiteral(".txt files (*.txt);;All Files (*)"));
    EXPECT_EQ(QtHost::QtFilter("Zant Files (*.fir)|*.fir||"), QStringLiteral("Zant Files (*.fir)"));
    EXPECT_EQ(QtHost::QtFilter("Data|*.dat;*.txt||"), QStringLiteral("Data (*.dat *.txt)"));
}
