#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliRunSupport.h"

namespace {

namespace fs = std::filesystem;

nlohmann::json ReadJson(const fs::path& path)
{
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

}  // namespace

// zantro-cli --json and the json export write one design's analysis with
// the same writer: the same keys, the same values, for a Remez, a windowed
// and a differentiator design (its slope band included).
TEST(DesignJson, CliAndJsonExportCarryTheSameAnalysis)
{
    const fs::path dir = fs::temp_directory_path() / ("zx-designjson-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const struct {
        const char* name;
        std::vector<std::string> design;
        const char* firstKind;
    } cases[] = {
        {"remez", {"--method", "remez", "--taps", "40", "--fs", "8000", "--band", "0:1000:1:1", "--band",
                   "1500:4000:0:10"}, "pass"},
        {"kaiser", {"--taps", "63", "--window", "kaiser"}, "pass"},
        {"diff", {"--type", "differentiator", "--taps", "31"}, "slope"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> cli = c.design;
        cli.insert(cli.end(), {"--json", "--quantize", "16"});
        const CliResult shown = RunCliArgs(cli);
        ASSERT_EQ(shown.status, 0) << shown.err;
        std::vector<std::string> exported = c.design;
        const std::string root = (dir / c.name).string();
        exported.insert(exported.end(), {"--export", "json", "--export-root", root});
        ASSERT_EQ(RunCliArgs(exported).status, 0);

        const nlohmann::json a = shown.Json()["analysis"];
        const nlohmann::json e = ReadJson(root + ".json")["analysis"];
        EXPECT_EQ(a, e) << a.dump(1).substr(0, 2000) << "\n---\n" << e.dump(1).substr(0, 2000);
        // What each side wrote before, now in both.
        for (const char* key : {"status", "grid_points", "measured", "grid_intervals", "bands_derived"})
            EXPECT_TRUE(e.contains(key)) << key;
        EXPECT_EQ(e["grid_points"], e["grid_intervals"].get<int>() + 1);
        ASSERT_FALSE(e["bands"].empty());
        EXPECT_EQ(e["bands"][0]["kind"], c.firstKind);
        for (const char* key : {"desired", "max_deviation", "ripple_db"})
            EXPECT_TRUE(e["bands"][0].contains(key)) << key;
        EXPECT_TRUE(e["quantized"]["figures"]["measured"].get<bool>());
        EXPECT_EQ(e["quantized"]["figures"]["bands"], e["quantized"]["bands"]);
        EXPECT_EQ(e["quantized"]["word_length"], 16);
    }
    fs::remove_all(dir);
}
