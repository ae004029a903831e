#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunSupport.h"

namespace {

namespace fs = std::filesystem;

struct FileOptions : ::testing::Test {
    // Short enough that a root in it stays within the Make File dialog's 32
    // characters for any process id.
    fs::path dir = fs::temp_directory_path() / ("zcli-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace

TEST_F(FileOptions, SaveRightAfterStartWritesTheDefaultDocument)
{
    CliResult r = Cli({"--no-design", "--save", In("start")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");  // no design, no coefficients
    EXPECT_EQ(fs::file_size(dir / "start.fir"), 240u);
}

TEST_F(FileOptions, OpenDesignSaveRoundTrip)
{
    ASSERT_EQ(Cli({"--type", "bandpass", "--taps", "101", "--f1", "500", "--f2", "1500", "--save", In("bp.fir")}).status, 0);
    CliResult reopened = Cli({"--doc", In("bp.fir"), "--json"});
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    const auto j = reopened.Json();
    EXPECT_EQ(j["parameters"]["m_nFilterType"], 2);
    EXPECT_EQ(j["parameters"]["m_nTaps"], 101);
    EXPECT_EQ(j["taps"], 101);
    EXPECT_EQ(j["coefficients"].size(), 101u);
    EXPECT_EQ(j["parameters"]["m_nFirstCorner"], 500);
}

TEST_F(FileOptions, FailedOpenLeavesEverythingAndExitsOne)
{
    std::ofstream(dir / "bad.fir") << "garbage that is not a design";
    CliResult r = Cli({"--doc", In("bad.fir"), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unexpected file format."), std::string::npos);
    const auto j = r.Json();  // the object still comes
    EXPECT_EQ(j["parameters"]["m_nTaps"], 63);
    EXPECT_EQ(j["design_valid"], false);

    CliResult missing = Cli({"--doc", In("missing.fir")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err, "");
}

TEST_F(FileOptions, PresetByTextOrIndexAndTypedText)
{
    CliResult byText = Cli({"--preset", "multi bandpass 55", "--no-design", "--json"});
    ASSERT_EQ(byText.status, 0) << byText.err;
    const auto p = byText.Json()["parameters"];
    EXPECT_EQ(p["m_nTaps"], 55);
    EXPECT_EQ(p["m_nDesignMethod"], 2);
    EXPECT_EQ(p["m_Bands"][4]["m_nLowerEdge"], 3280);
    EXPECT_EQ(p["m_Bands"][5]["m_bUse"], 0);

    CliResult byIndex = Cli({"--preset", "9", "--no-design", "--json"});
    EXPECT_EQ(byIndex.Json()["parameters"]["m_nFilterType"], 4);

    CliResult typed = Cli({"--preset", "my own", "--no-design"});
    EXPECT_EQ(typed.status, 1);
    EXPECT_EQ(typed.err, "Please enter an integer between 0 and 255.\nTarget -1 not supported !\n");
}

TEST_F(FileOptions, MakeFileWritesHeaderAndSource)
{
    CliResult r = Cli({"--taps", "4", "--make", In("lp"), "--ext", "cpp", "--format", "q15", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string header = Slurp(dir / "lp.h");
    EXPECT_NE(header.find("#define LP_NUMOF_TAPS ((int)   4)"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "lp.cpp"));
    EXPECT_NE(Slurp(dir / "lp.cpp").find("unsigned short int lp_coefficients[LP_NUMOF_TAPS]"), std::string::npos);
    // The form remembers the choices; the document takes them with the next design only.
    EXPECT_EQ(r.Json()["parameters"]["m_nOutExt"], 0);

    CliResult floats = Cli({"--taps", "5", "--make", In("fl"), "--format", "float"});
    ASSERT_EQ(floats.status, 0) << floats.err;
    EXPECT_NE(Slurp(dir / "fl.c").find("const float fl_coefficients"), std::string::npos);
}

TEST_F(FileOptions, MakeFileNamesTheWrittenFilesWithTheirFullPaths)
{
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    CliResult r = Cli({"--taps", "8", "--make", "./rel", "--ext", "cpp"});
    fs::current_path(cwd);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Wrote " + (dir / "rel.h").string() + " and " + (dir / "rel.cpp").string() + "\n");
    EXPECT_TRUE(fs::exists(dir / "rel.cpp"));
}

TEST_F(FileOptions, AnOpenedDocumentAlreadyHoldsItsDesign)
{
    ASSERT_EQ(Cli({"--preset", "6", "--save", In("rmz6")}).status, 0);
    CliResult opened = Cli({"--doc", In("rmz6.fir"), "--no-design", "--json"});
    ASSERT_EQ(opened.status, 0) << opened.err;
    const auto j = opened.Json();
    EXPECT_EQ(j["design_valid"], true);
    EXPECT_EQ(j["coefficients"].size(), 55u);
    EXPECT_EQ(j["modified"], false);
    ASSERT_GT(j["passes"].get<int>(), 0);
    ASSERT_EQ(j["messages"].size(), 1u);
    EXPECT_EQ(j["messages"][0].get<std::string>().rfind("The Remez algorithm took", 0), 0u);

    // Options after it are typed in and designed again.
    CliResult changed = Cli({"--doc", In("rmz6.fir"), "--taps", "41", "--json"});
    ASSERT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.Json()["coefficients"].size(), 41u);
    EXPECT_EQ(changed.Json()["messages"].size(), 2u);
    EXPECT_EQ(changed.Json()["modified"], true);
}

TEST_F(FileOptions, MakeFileRefusalsExitOne)
{
    CliResult shortRoot = Cli({"--make", "ab"});
    EXPECT_EQ(shortRoot.status, 1);
    EXPECT_NE(shortRoot.err.find("The file name root must be"), std::string::npos);

    CliResult noDesign = Cli({"--no-design", "--make", In("none")});
    EXPECT_EQ(noDesign.status, 1);
    EXPECT_EQ(noDesign.err, "No design available.\nPlease do a design or\nselect 'Extras Window'.\n");
    EXPECT_FALSE(fs::exists(dir / "none.h"));

    CliResult tooBig = Cli({"--scaling", "custom", "--scale", "8", "--make", In("big"), "--format", "q7"});
    EXPECT_EQ(tooBig.status, 1);
    EXPECT_NE(tooBig.err.find("Some impulse response values are > 1.0"), std::string::npos);
}

TEST_F(FileOptions, WindowOnlyAndNoDesignExclude)
{
    EXPECT_EQ(Cli({"--window-only", "--no-design"}).status, 2);
}

TEST_F(FileOptions, ValuesTheDialogsWouldCutOrDropAreUsageErrors)
{
    // The root edit holds 32 characters: a longer root would be cut and name
    // another file.
    const std::string longRoot = In(std::string(40, 'r'));
    CliResult tooLong = Cli({"--make", longRoot});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_NE(tooLong.err.find("longer than the field's 32 characters"), std::string::npos) << tooLong.err;
    EXPECT_TRUE(fs::is_empty(dir));

    std::vector<std::string> nine = {"--method", "remez", "--json"};
    for (int band = 0; band < 9; ++band) {
        nine.push_back("--band");
        nine.push_back(std::to_string(band * 400) + ":" + std::to_string(band * 400 + 300) + ":1:1");
    }
    CliResult ninth = Cli(nine);
    EXPECT_EQ(ninth.status, 2);
    EXPECT_NE(ninth.err.find("the band dialog holds at most 8"), std::string::npos) << ninth.err;
    EXPECT_TRUE(ninth.out.empty());
}

TEST_F(FileOptions, AFailedReadFileRunsNothingElse)
{
    ASSERT_EQ(::mkfifo(In("pipe").c_str(), 0644), 0);
    for (const std::string& input : {In("missing.txt"), std::string("/dev/zero"), In("pipe")}) {
        CliResult r = Cli({"--method", "fsamp", "--input", input, "--make", In("lp"), "--save", In("doc"), "--json"});
        EXPECT_EQ(r.status, 1) << input;
        EXPECT_EQ(r.err, "Cannot open file " + input + "\n");
        EXPECT_EQ(r.Json()["design_valid"], false);
        EXPECT_FALSE(fs::exists(dir / "lp.h"));
        EXPECT_FALSE(fs::exists(dir / "doc.fir"));
    }
    // A FIFO as the document fails the open at once.
    CliResult doc = Cli({"--doc", In("pipe")});
    EXPECT_EQ(doc.status, 1);
    EXPECT_EQ(doc.err, "Failed to open document.\n");
}
