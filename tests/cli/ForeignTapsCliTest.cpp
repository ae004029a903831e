#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliRunSupport.h"

namespace {

namespace fs = std::filesystem;

struct ForeignTapsCli : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zx-foreign-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        // A 0.5, 0.5 pair: 0.688 dB down at 1 kHz of 8 kHz, 8.01 dB of attenuation at 3 kHz.
        std::ofstream(dir / "pair.txt") << "0.5\n0.5\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace

TEST_F(ForeignTapsCli, RefusalsAndUsageErrors)
{
    std::ofstream(dir / "bad.csv") << "0.5,abc\n";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* text;
    } cases[] = {
        {{"--coefficients", In("none.txt")}, 1, "Cannot read file "},
        {{"--coefficients", In("bad.csv")}, 1, "bad.csv, line 1: 'abc' is not a number."},
        {{"--coefficients", In("pair.txt"), "--taps", "31"}, 2,
         "--coefficients exports taps designed elsewhere: leave --taps out"},
        {{"--coefficients", In("pair.txt"), "--method", "remez"}, 2, "leave --method out"},
        {{"--coefficients", In("pair.txt"), "--stop-band", "alias:60"}, 2, "alias stop bands need a rate change"},
        {{"--pass-band", "0:1000:1"}, 2, "--pass-band and --stop-band go with --to-spec, --coefficients, --optimize-words or --fewest-bits"},
        {{"--coefficients", In("pair.txt"), "--fs", "0"}, 2, "--fs: the sampling rate must be a whole number"},
        {{"--coefficients", In("pair.txt"), "--mask", "0:5000:pass"}, 2,
         "--mask: the band 0 - 5000 Hz reaches beyond fs/2 = 4000 Hz"},
        {{"--coefficients", In("pair.txt"), "--export", "cmsis-decimate-q15", "--export-root", In("d")}, 1,
         "The multirate profiles need a design made for a rate change"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        const CliResult r = Cli(args);
        SCOPED_TRACE(args.back());
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
}

// The taps print back exactly; a requirement is judged in double precision
// and in the --quantize format, the exit status saying whether it is met.
TEST_F(ForeignTapsCli, JudgesTheRequirementAndExports)
{
    const CliResult plain = Cli({"--coefficients", In("pair.txt")});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out, "0.5\n0.5\n");

    const CliResult met = Cli({"--coefficients", In("pair.txt"), "--pass-band", "0:1000:0.8", "--stop-band",
                               "3000:4000:6", "--quantize", "q7", "--json", "--export", "c-fixed", "--export-root",
                               In("pair_fixed"), "--word-length", "8"});
    ASSERT_EQ(met.status, 0) << met.err;
    const nlohmann::json j = met.Json();
    EXPECT_EQ(j["sampling_rate_hz"], 8000.0);
    EXPECT_EQ(j["requirement"]["met"], true);
    EXPECT_NEAR(j["requirement"]["bands"][0]["achieved"]["ripple_db"].get<double>(), 0.6876930816, 1e-9);
    EXPECT_EQ(j["analysis"]["bands"].size(), 2u);
    EXPECT_NE(met.err.find("The taps meet the requirement (in double precision and in Q7)."), std::string::npos)
        << met.err;
    const std::string header = Slurp(dir / "pair_fixed.h");
    EXPECT_NE(header.find(" * Filter: 2 taps designed elsewhere, read from " + In("pair.txt")), std::string::npos);
    EXPECT_NE(header.find(" *   Met in double precision and as exported."), std::string::npos);

    const CliResult missed =
        Cli({"--coefficients", In("pair.txt"), "--stop-band", "3000:4000:20", "--export", "csv", "--export-root",
             In("pair_csv")});
    EXPECT_EQ(missed.status, 1);
    EXPECT_NE(missed.err.find("Stop band 3000 - 4000 Hz, attenuation at least 20 dB: "), std::string::npos);
    EXPECT_NE(missed.err.find("The taps miss the requirement."), std::string::npos) << missed.err;
    // Written all the same, with the verdict; and it reads back as the taps.
    const CliResult back = Cli({"--coefficients", In("pair_csv.csv")});
    EXPECT_EQ(back.out, "0.5\n0.5\n");
    EXPECT_NE(Slurp(dir / "pair_csv.csv").find("#   Missed in double precision and as exported."), std::string::npos);
}
