#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "form/COutfileDlg.h"

namespace fs = std::filesystem;

namespace {

struct MakeFileStatus : ::testing::Test, ViewFixture {
    fs::path dir = fs::temp_directory_path() / ("zantro-make-status-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        Design();
    }
    void TearDown() override { fs::remove_all(dir); }
    void MakeFile(const std::string& root, int extension)
    {
        using Action = ScriptedHost::Action;
        host.QueueDialog(COutfileDlg::IDD, {{Action::Type, COutfileDlg::IDC_ROOT, root},
                                            {Action::Select, COutfileDlg::IDC_EXTENSION, {}, extension}});
        host.Click(view, IDC_MAKE_FILE);
    }
};

}  // namespace

TEST_F(MakeFileStatus, TheStatusBarNamesBothFilesWithTheirFullPaths)
{
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    MakeFile("sub/../coeffs", 1);  // relative, through a folder that is not there
    MakeFile("coeffs", 1);
    MakeFile("./abs", 0);
    fs::current_path(cwd);
    // The first root cannot be opened: its message, no status text.
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text.rfind("Cannot open file sub/../coeffs.h", 0), 0u) << host.Messages()[0].text;
    ASSERT_GE(host.StatusTexts().size(), 1u);
    EXPECT_EQ(host.StatusTexts()[0],
              "Wrote " + (dir / "coeffs.h").string() + " and " + (dir / "coeffs.cpp").string());
    EXPECT_TRUE(fs::exists(dir / "coeffs.cpp"));
    ASSERT_EQ(host.StatusTexts().size(), 2u);
    EXPECT_EQ(host.StatusTexts()[1], "Wrote " + (dir / "abs.h").string() + " and " + (dir / "abs.c").string());
}
