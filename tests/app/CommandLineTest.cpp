#include <gtest/gtest.h>

#include "app/CCommandLineInfo.h"
#include "app/CRecentFileList.h"

namespace {

CCommandLineInfo Parse(const std::vector<std::string>& args)
{
    CCommandLineInfo info;
    info.Parse(args);
    return info;
}

}  // namespace

TEST(CommandLine, NoArgumentIsANewDocumentAndAFileNameOpensIt)
{
    EXPECT_EQ(Parse({}).m_nShellCommand, CCommandLineInfo::FileNew);
    // Absolute paths start with '/' here and are still file names.
    const CCommandLineInfo open = Parse({"/home/user/designs/lowpass.fir"});
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "/home/user/designs/lowpass.fir");
    EXPECT_EQ(Parse({"/p"}).m_nShellCommand, CCommandLineInfo::FilePrint);
}

TEST(CommandLine, PrintAndPrintToTakeTheFileThenPrinterDriverAndPort)
{
    const CCommandLineInfo print = Parse({"/p", "/tmp/a.fir"});
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "/tmp/a.fir");
    // Switches ignore case and may start with '-'; the file may come first.
    EXPECT_EQ(Parse({"a.fir", "-P"}).m_nShellCommand, CCommandLineInfo::FilePrint);

    const CCommandLineInfo to = Parse({"/pt", "a.fir", "Laser", "winspool", "LPT1:"});
    EXPECT_EQ(to.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(to.m_strFileName, "a.fir");
    EXPECT_EQ(to.m_strPrinterName, "Laser");
    EXPECT_EQ(to.m_strDriverName, "winspool");
    EXPECT_EQ(to.m_strPortName, "LPT1:");
}

TEST(CommandLine, TheShellSwitchesAreRecognised)
{
    EXPECT_EQ(Parse({"/dde"}).m_nShellCommand, CCommandLineInfo::FileDDE);
    EXPECT_EQ(Parse({"/Register"}).m_nShellCommand, CCommandLineInfo::AppRegister);
    EXPECT_EQ(Parse({"-regserver"}).m_nShellCommand, CCommandLineInfo::AppRegister);
    EXPECT_EQ(Parse({"/Unregister"}).m_nShellCommand, CCommandLineInfo::AppUnregister);
    EXPECT_EQ(Parse({"/UNREGSERVER"}).m_nShellCommand, CCommandLineInfo::AppUnregister);
    const CCommandLineInfo embedded = Parse({"/Embedding", "-Automation"});
    EXPECT_TRUE(embedded.m_bRunEmbedded);
    EXPECT_TRUE(embedded.m_bRunAutomated);
    EXPECT_EQ(embedded.m_nShellCommand, CCommandLineInfo::FileNew);
    // An unknown '-' switch is ignored, not taken for a file.
    EXPECT_EQ(Parse({"-foo"}).m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(RecentFileList, KeepsTheMostRecentFirstWithoutRepeats)
{
    CRecentFileList list(4);
    for (const char* p : {"/a.fir", "/b.fir", "/c.fir", "/d.fir", "/e.fir"})
        list.Add(p);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list[0], "/e.fir");
    EXPECT_EQ(list[3], "/b.fir");
    list.Add("/c.fir");
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list[0], "/c.fir");
    EXPECT_EQ(list[1], "/e.fir");
    list.Remove(0);
    EXPECT_EQ(list[0], "/e.fir");
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(RecentFileList, MenuTextsShowAtMostThirtyCharactersOfThePath)
{
    EXPECT_EQ(CRecentFileList::AbbreviateName("/tmp/lowpass.fir", 30), "/tmp/lowpass.fir");
    const std::string longPath = "/home/engineer/projects/audio/filters/lowpass.fir";
    const std::string shortened = CRecentFileList::AbbreviateName(longPath, 30);
    EXPECT_EQ(shortened, "/.../audio/filters/lowpass.fir");
    EXPECT_LE(shortened.size(), 30u);
    // A name too long for any folder is shown alone, uncut.
    EXPECT_EQ(CRecentFileList::AbbreviateName("/x/a_rather_long_design_name_here.fir", 30),
              "a_rather_long_design_name_here.fir");

    CRecentFileList list(4);
    list.Add("/tmp/R&D.fir");
    list.Add(longPath);
    EXPECT_EQ(list.MenuText(0), "&1 /.../audio/filters/lowpass.fir");
    EXPECT_EQ(list.MenuText(1), "&2 /tmp/R&&D.fir");
}
