#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunSupport.h"

namespace {

int RunWith(std::vector<std::string> args, std::string& err)
{
    CliResult r = RunCliArgs(std::move(args));
    err = r.err;
    return r.status;
}

}  // namespace

TEST(SvgOption, WritesTheFourPlotsAfterTheDesign)
{
    const auto dir = std::filesystem::temp_directory_path() / ("zantro-svg-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::string err;
    ASSERT_EQ(RunWith({"--svg", (dir / "plots").string()}, err), 0) << err;
    for (const char* name : {"magnitude.svg", "phase.svg", "impulse.svg", "step.svg"}) {
        const std::string svg = Slurp(dir / "plots" / name);
        SCOPED_TRACE(name);
        EXPECT_NE(svg.find("<svg"), std::string::npos);
        EXPECT_NE(svg.find("width=\"568\""), std::string::npos);
        EXPECT_NE(svg.find("height=\"312\""), std::string::npos);
        EXPECT_NE(svg.find("#00ff00"), std::string::npos);  // the green curve
    }
    EXPECT_NE(Slurp(dir / "plots" / "magnitude.svg").find("Gain = 1.000"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(SvgOption, UnwritableFolderIsReportedWithExitOne)
{
    const auto file = std::filesystem::temp_directory_path() / ("zantro-svg-file-" + std::to_string(::getpid()));
    std::ofstream(file) << "x";
    std::string err;
    EXPECT_EQ(RunWith({"--svg", (file / "sub").string()}, err), 1);
    EXPECT_NE(err.find("zantro-cli: "), std::string::npos);
    std::filesystem::remove(file);
}
