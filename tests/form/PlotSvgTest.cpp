#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ViewFixture.h"
#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"
#include "form/PlotSvg.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class PlotSvgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPlotAxes();
        dir = fs::temp_directory_path() /
              ("zantro-plotsvg-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        ASSERT_TRUE(StartForm(host, doc, view));
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        ResetPlotAxes();
    }

    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
    fs::path dir;
};

}  // namespace

TEST_F(PlotSvgTest, FourPlotsOfALowpassDesign)
{
    host.Click(view, IDC_DESIGN);
    ASSERT_EQ(view.m_bDesignValid, 1);
    std::string error;
    ASSERT_TRUE(WritePlotSvgs(view, (dir / "plots").string(), error)) << error;
    EXPECT_TRUE(error.empty());

    for (const char* name : {"magnitude.svg", "phase.svg", "impulse.svg", "step.svg"}) {
        const std::string svg = ReadFile(dir / "plots" / name);
        SCOPED_TRACE(name);
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        EXPECT_NE(svg.find("width=\"568\" height=\"312\""), std::string::npos);
        // The paint handler's white fill comes first, the green curve after the axes.
        EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"568\" height=\"312\" fill=\"#ffffff\"/>"),
                  std::string::npos);
        const size_t axes = svg.find("stroke=\"#000000\"");
        const size_t curve = svg.find("stroke=\"#00ff00\"");
        ASSERT_NE(axes, std::string::npos);
        ASSERT_NE(curve, std::string::npos);
        EXPECT_LT(axes, curve);
        EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
    }
    const std::string magnitude = ReadFile(dir / "plots" / "magnitude.svg");
    EXPECT_NE(magnitude.find(">Gain = 1.000</text>"), std::string::npos);
    EXPECT_NE(magnitude.find(">-100.00</text>"), std::string::npos);
    EXPECT_NE(magnitude.find("> 4000</text>"), std::string::npos);
    // 63 taps: the impulse and step axes run to 64.
    EXPECT_NE(ReadFile(dir / "plots" / "impulse.svg").find(">  64</text>"), std::string::npos);
    EXPECT_NE(ReadFile(dir / "plots" / "step.svg").find(">1.20</text>"), std::string::npos);
    EXPECT_NE(ReadFile(dir / "plots" / "phase.svg").find(">3.14</text>"), std::string::npos);
}

TEST_F(PlotSvgTest, PlotsBeforeADesignAreWhite)
{
    std::string error;
    ASSERT_TRUE(WritePlotSvgs(view, dir.string(), error)) << error;
    const std::string svg = ReadFile(dir / "impulse.svg");
    EXPECT_NE(svg.find("<rect"), std::string::npos);
    EXPECT_EQ(svg.find("<path"), std::string::npos);
    EXPECT_EQ(svg.find("<text"), std::string::npos);
}

TEST_F(PlotSvgTest, UnwritableDirectoryIsReported)
{
    fs::create_directories(dir);
    std::ofstream(dir / "file") << "x";
    std::string error;
    EXPECT_FALSE(WritePlotSvgs(view, (dir / "file" / "plots").string(), error));
    EXPECT_EQ(error.rfind("cannot create directory " + (dir / "file" / "plots").string(), 0), 0u) << error;

    fs::create_directories(dir / "ro" / "magnitude.svg");  // a directory where the file should go
    error.clear();
    EXPECT_FALSE(WritePlotSvgs(view, (dir / "ro").string(), error));
    EXPECT_EQ(error, "cannot write " + (dir / "ro" / "magnitude.svg").string());
}
