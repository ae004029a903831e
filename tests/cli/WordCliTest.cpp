#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliRunSupport.h"
#include "ExportedWords.h"

namespace {

namespace fs = std::filesystem;

struct WordCli : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zx-words-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const std::string& name) const { return (dir / name).string(); }
};

// A 71-tap Remez lowpass at 48 kHz and its requirement: 0.1 dB to 4.8 kHz,
// 70 dB from 7.2 kHz.
const std::vector<std::string> kLowpass = {"--method", "remez", "--taps", "71", "--fs", "48000", "--band",
                                           "0:4800:1:1", "--band", "7200:24000:0:18"};
const std::vector<std::string> kRequirement = {"--pass-band", "0:4800:0.1", "--stop-band", "7200:24000:70"};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> args;
    for (const std::vector<std::string>& p : parts)
        args.insert(args.end(), p.begin(), p.end());
    return args;
}

}  // namespace

TEST_F(WordCli, UsageErrors)
{
    const struct {
        std::vector<std::string> args;
        const char* text;
    } cases[] = {
        {{"--fewest-bits"}, "--fewest-bits needs the requirement: --pass-band and --stop-band"},
        {Joined({kRequirement, {"--fewest-bits", "--quantize", "q15"}}),
         "--fewest-bits chooses the word length; leave --quantize out"},
        {Joined({kRequirement, {"--fewest-bits", "--word-length", "12"}}),
         "--fewest-bits chooses the word length; leave --word-length out"},
        {{"--decimate", "2", "--fs", "48000", "--f1", "2400", "--taps", "47", "--optimize-words"},
         "--optimize-words applies to single-rate designs"},
    };
    for (const auto& c : cases) {
        const CliResult r = Cli(c.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
}

// The example: 13-bit words rounded meet the requirement at no
// length up to 1025 taps; chosen, at 67.
TEST_F(WordCli, DesignToRequirementWithChosenWords)
{
    const std::vector<std::string> toRequirement =
        Joined({{"--to-spec", "--method", "remez", "--fs", "48000"}, kRequirement, {"--quantize", "13"}});
    const CliResult rounded = Cli(toRequirement);
    EXPECT_EQ(rounded.status, 1);
    EXPECT_NE(rounded.err.find("No design up to 1025 taps meets the requirement in double precision and in 13 bits"),
              std::string::npos)
        << rounded.err;
    const CliResult chosen = Cli(Joined({toRequirement, {"--optimize-words", "--json"}}));
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.err.find("67 taps meet the requirement in double precision and in optimised 13 bits words"),
              std::string::npos)
        << chosen.err;
    const nlohmann::json j = chosen.Json();
    EXPECT_EQ(j["taps"], 67);
    EXPECT_EQ(j["analysis"]["optimized"]["met"], true);
    EXPECT_EQ(j["analysis"]["optimized"]["requirement_derived"], false);
}

// The words the JSON analysis reports are those every fixed-point export
// writes for the same format; without a requirement they are chosen for
// the design's own figures, never worse than rounding.
TEST_F(WordCli, ExportedWordsAreTheAnalysedWords)
{
    const CliResult r = Cli(Joined({kLowpass, kRequirement,
                                    {"--optimize-words", "--quantize", "13", "--json", "--export", "c-fixed",
                                     "--export-root", In("lp"), "--word-length", "13"}}));
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json optimized = r.Json()["analysis"]["optimized"];
    EXPECT_EQ(optimized["status"], "met");
    EXPECT_LT(optimized["rounded_margin"].get<double>(), 0.0);
    EXPECT_EQ(CFixedWords(Slurp(dir / "lp.c")), optimized["taps"].get<std::vector<long long>>());
    EXPECT_NE(Slurp(dir / "lp.h").find(" * Quantisation: optimised words, chosen to meet the requirement"),
              std::string::npos);

    const nlohmann::json own = Cli(Joined({kLowpass, {"--optimize-words", "--json"}})).Json()["analysis"]["optimized"];
    EXPECT_EQ(own["requirement_derived"], true);
    EXPECT_GE(own["margin"].get<double>(), own["rounded_margin"].get<double>());
    EXPECT_TRUE(Cli(Joined({kLowpass, {"--json"}})).Json()["analysis"]["optimized"].is_null());
}

// The fewest bits at 71 taps: 13 for chosen words, 15 rounded; the JSON
// analysis and the export take the length found.
TEST_F(WordCli, FewestBits)
{
    const CliResult chosen = Cli(Joined({kLowpass, kRequirement,
                                         {"--fewest-bits", "--optimize-words", "--json", "--export", "c-fixed",
                                          "--export-root", In("few")}}));
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.err.find("At 71 taps the fewest bits that meet the requirement are 13 (optimised words; rounded "
                              "words need 15 bits)."),
              std::string::npos)
        << chosen.err;
    const nlohmann::json j = chosen.Json();
    EXPECT_EQ(j["fewest_bits"]["bits"], 13);
    EXPECT_EQ(j["fewest_bits"]["rounded_bits"], 15);
    EXPECT_EQ(j["analysis"]["quantized"]["word_length"], 13);
    EXPECT_NE(Slurp(dir / "few.h").find("Number format: 13-bit two's complement words"), std::string::npos);

    const CliResult rounded = Cli(Joined({kLowpass, kRequirement, {"--fewest-bits"}}));
    EXPECT_NE(rounded.err.find("At 71 taps the fewest bits that meet the requirement are 15 (rounded words)."),
              std::string::npos)
        << rounded.err;
}

// A method beside the form's and taps read from a file take the word
// options as the form's designs do (FewestBits): the fewest bits found, the
// analysis at that length, and the export writing the words the analysis
// reports.
TEST_F(WordCli, EveryRunPathTakesTheWordOptions)
{
    const std::vector<std::string> words = {"--optimize-words", "--fewest-bits", "--json", "--export", "c-fixed"};
    const CliResult form = Cli(Joined({kLowpass, {"--json"}}));
    ASSERT_EQ(form.status, 0) << form.err;
    std::ofstream(dir / "taps.txt") << form.Json()["coefficients"].dump();

    const struct {
        const char* name;
        std::vector<std::string> args;
        int bits, roundedBits;
    } cases[] = {
        {"file", Joined({{"--coefficients", In("taps.txt"), "--fs", "48000"}, kRequirement}), 13, 15},
        {"ls",
         {"--method", "ls", "--taps", "71", "--fs", "48000", "--band", "0:4800:1:1", "--band", "7200:24000:0:18",
          "--pass-band", "0:4800:0.1", "--stop-band", "7200:24000:55"},
         10, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = Cli(Joined({c.args, words, {"--export-root", In(c.name)}}));
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json j = r.Json();
        EXPECT_EQ(j["fewest_bits"]["bits"], c.bits);
        EXPECT_EQ(j["fewest_bits"]["rounded_bits"], c.roundedBits);
        EXPECT_EQ(j["analysis"]["quantized"]["word_length"], c.bits);
        EXPECT_EQ(j["analysis"]["optimized"]["met"], true);
        EXPECT_EQ(CFixedWords(Slurp(dir / (std::string(c.name) + ".c"))),
                  j["analysis"]["optimized"]["taps"].get<std::vector<long long>>());
    }

    const CliResult miss = Cli(Joined({{"--coefficients", In("taps.txt"), "--fs", "48000", "--pass-band", "0:4800:0.1",
                                        "--stop-band", "7200:24000:90", "--fewest-bits"}}));
    EXPECT_EQ(miss.status, 1);
    EXPECT_NE(miss.err.find("At 71 taps no word of up to 32 bits meets the requirement (rounded words; the "
                            "double-precision taps miss it too)."),
              std::string::npos)
        << miss.err;
}
