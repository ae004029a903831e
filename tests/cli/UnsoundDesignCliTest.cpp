#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "CliRunSupport.h"

// Designs whose taps are not fit to ship: the exchange did not converge, or
// the response rises above the pass band between the bands. The design is
// not valid in the JSON and says why; fixed-point exports are refused, the
// floating-point ones carry the warning in their header.

namespace {

struct UnsoundCase {
    const char* name;
    std::vector<std::string> design;
    const char* warning;     // the message that says why
    const char* fixedPoint;  // a fixed-point profile, refused
    const char* floating;    // a floating-point profile, written with the warning
};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

}  // namespace

TEST(UnsoundDesignCli, IsNotValidAndExportsOnlyFloatWithAWarning)
{
    const UnsoundCase cases[] = {
        // A decimator's lowpass that rises 21.9 dB at 10.6 kHz, between its bands.
        {"decimator transition peak",
         {"--decimate", "2", "--fs", "48000", "--f1", "2400", "--taps", "48"},
         "The response rises 21.9",
         "cmsis-decimate-q15",
         "cmsis-decimate-f32"},
        // A half-band whose exchange does not converge.
        {"half-band without convergence",
         {"--halfband", "--fs", "48000", "--f1", "2000", "--taps", "203"},
         "The Remez exchange did not converge",
         "cmsis-interpolate-q31",
         "c-polyphase"},
        // The form's band-pass with unequal transitions: 100 dB over the pass band at 12 kHz.
        {"band-pass with unequal transitions",
         {"--type", "bandpass", "--method", "remez", "--taps", "144", "--fs", "48000", "--band", "0:3000:0:1",
          "--band", "4000:10000:1:1", "--band", "14000:24000:0:1"},
         "The response rises 100.0",
         "cmsis-q15",
         "cmsis-f32"},
    };
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zantro-unsound-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const UnsoundCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult json = RunCliArgs(With(c.design, {"--json"}));
        ASSERT_EQ(json.status, 0) << json.err;
        const nlohmann::json j = json.Json();
        EXPECT_FALSE(j["design_valid"].get<bool>());
        bool said = false;
        for (const auto& m : j["messages"])
            said = said || m.get<std::string>().rfind(c.warning, 0) == 0;
        EXPECT_TRUE(said) << j["messages"].dump();

        const std::string fixedRoot = (dir / "fixed").string();
        const CliResult fixed = RunCliArgs(With(c.design, {"--export", c.fixedPoint, "--export-root", fixedRoot}));
        EXPECT_EQ(fixed.status, 1);
        EXPECT_NE(fixed.err.find(c.warning), std::string::npos) << fixed.err;
        EXPECT_NE(fixed.err.find("Fixed-point words sized for the pass band would not hold it"), std::string::npos)
            << fixed.err;
        EXPECT_FALSE(std::filesystem::exists(fixedRoot + ".h"));

        const std::string floatRoot = (dir / "float").string();
        const CliResult floating = RunCliArgs(With(c.design, {"--export", c.floating, "--export-root", floatRoot}));
        ASSERT_EQ(floating.status, 0) << floating.err;
        const std::string header = Slurp(floatRoot + ".h");
        EXPECT_NE(header.find(std::string("WARNING: ") + c.warning), std::string::npos) << header.substr(0, 600);
        std::filesystem::remove(floatRoot + ".h");
        std::filesystem::remove(floatRoot + ".c");
    }
    std::filesystem::remove_all(dir);
}

// A sound design says nothing of the kind and exports every profile.
TEST(UnsoundDesignCli, ASoundDesignExportsWithoutWarning)
{
    const std::vector<std::string> design = {"--halfband", "--fs", "48000", "--f1", "10000", "--taps", "47"};
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zantro-sound-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string root = (dir / "hb").string();
    const CliResult r = RunCliArgs(With(design, {"--export", "cmsis-decimate-q15", "--export-root", root}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(root + ".h").find("WARNING"), std::string::npos);
    std::filesystem::remove_all(dir);
}
