#include <gtest/gtest.h>

#include <cmath>

#include "CliRunSupport.h"
#include "cli/AnalysisOptions.h"

using json = nlohmann::json;

namespace {

const std::vector<std::string> kKaiser = {"--taps", "101", "--fs", "48000", "--f1", "6000",
                                          "--window", "kaiser", "--beta", "10", "--json"};

json Analysis(std::vector<std::string> args)
{
    const CliResult r = RunCliArgs(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.Json()["analysis"];
}

}  // namespace

// The default design: a 63-tap Hamming lowpass at 1000 Hz of 8000 Hz, its
// bands 258 Hz (half the Hamming main lobe, 4/62 of fs) either side of the corner.
TEST(AnalysisOption, DefaultDesignHasTheHammingFigures)
{
    const json a = Analysis({"--json"});
    EXPECT_EQ(a["bands_derived"], true);
    ASSERT_EQ(a["bands"].size(), 2u);
    EXPECT_EQ(a["bands"][0]["kind"], "pass");
    EXPECT_EQ(a["bands"][0]["lo_hz"], 0.0);
    EXPECT_NEAR(a["bands"][0]["hi_hz"].get<double>(), 1000.0 - 8000.0 * 4.0 / 62.0 / 2.0, 1e-9);
    EXPECT_EQ(a["bands"][1]["kind"], "stop");
    EXPECT_NEAR(a["bands"][1]["attenuation_db"].get<double>(), 53.0, 1.5);
    EXPECT_LT(a["bands"][0]["ripple_db"].get<double>(), 0.05);
    EXPECT_FALSE(a["bands"][1].contains("ripple_db"));
    EXPECT_FALSE(a["bands"][0].contains("attenuation_db"));
    ASSERT_EQ(a["minus6db_hz"].size(), 1u);
    EXPECT_NEAR(a["minus6db_hz"][0].get<double>(), 1000.0, 5.0);
    EXPECT_EQ(a["group_delay_samples"], 31.0);
    EXPECT_EQ(a["linear_phase"], true);
    EXPECT_EQ(a["peak_tap"], 0.25);
    EXPECT_EQ(a["peak_tap_index"], 31);
    const json& q = a["quantized"];
    EXPECT_EQ(q["format"], "Q15");
    EXPECT_EQ(q["word_length"], 16);
    EXPECT_EQ(q["fraction_length"], 15);
    EXPECT_EQ(q["taps"].size(), 63u);
    EXPECT_EQ(q["taps"][31], 8192);
    EXPECT_LE(q["max_error_lsb"].get<double>(), 0.5);
    EXPECT_EQ(q["symmetric_after"], true);
}

// 101-tap Kaiser (beta 10) lowpass: what Q15 and Q7 leave of the stop band.
TEST(AnalysisOption, KaiserStopBandAfterQ15AndQ7)
{
    json a = Analysis(kKaiser);
    EXPECT_NEAR(a["bands"][1]["max_db"].get<double>(), -99.2, 0.1);
    EXPECT_NEAR(a["quantized"]["bands"][1]["max_db"].get<double>(), -72.2, 0.1);
    std::vector<std::string> q7 = kKaiser;
    q7.insert(q7.end(), {"--quantize", "q7"});
    a = Analysis(q7);
    EXPECT_EQ(a["quantized"]["format"], "Q7");
    EXPECT_EQ(a["quantized"]["fraction_length"], 7);
    EXPECT_NEAR(a["quantized"]["bands"][1]["max_db"].get<double>(), -28.9, 0.1);
    // 16 bits with the fraction from the peak tap 0.25 gain a bit over Q15.
    std::vector<std::string> bits = kKaiser;
    bits.insert(bits.end(), {"--quantize", "16"});
    a = Analysis(bits);
    EXPECT_EQ(a["quantized"]["format"], "16 bits");
    EXPECT_EQ(a["quantized"]["fraction_length"], 16);
    EXPECT_EQ(a["quantized"]["shift"], 1);
    EXPECT_LT(a["quantized"]["bands"][1]["max_db"].get<double>(), -78.0);
}

TEST(AnalysisOption, MaskReplacesTheDerivedBands)
{
    std::vector<std::string> args = kKaiser;
    args.insert(args.end(), {"--mask", "0:4000:pass", "--mask", "8000:24000:STOP", "--quantize", "12", "--rounding",
                             "truncate"});
    const json a = Analysis(args);
    EXPECT_EQ(a["bands_derived"], false);
    ASSERT_EQ(a["bands"].size(), 2u);
    EXPECT_EQ(a["bands"][0]["hi_hz"], 4000.0);
    EXPECT_EQ(a["bands"][1]["lo_hz"], 8000.0);
    EXPECT_EQ(a["bands"][1]["kind"], "stop");
    EXPECT_EQ(a["quantized"]["rounding"], "truncate");
    EXPECT_LT(a["quantized"]["max_error_lsb"].get<double>(), 1.0);
    EXPECT_EQ(a["quantized"]["bands"].size(), 2u);
}

// A mask beyond fs/2 (of the design's rate, however it was set) or with an
// infinite edge is a usage error: exit 2 and no report of zeroed figures.
TEST(AnalysisOption, AMaskOutsideTheRateIsAUsageError)
{
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--fs", "8000", "--mask", "0:5000:stop", "--json"},
          {"--fs", "8000", "--mask", "0:1000:pass", "--mask", "3000:4000.5:stop", "--json"},
          {"--fs", "8000", "--mask", "0:inf:stop", "--json"},
          {"--fs", "8000", "--mask", "0:1e400:stop", "--json"},
          {"--mask", "0:5000:pass", "--json"}}) {
        const CliResult r = RunCliArgs(bad);
        EXPECT_EQ(r.status, 2) << bad[3];
        EXPECT_NE(r.err.find("zantro-cli: --mask"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const CliResult r = RunCliArgs({"--fs", "8000", "--mask", "0:5000:stop", "--json"});
    EXPECT_NE(r.err.find("the band must lie within 0 to fs/2 (4000 Hz at fs 8000 Hz)"), std::string::npos) << r.err;
    const CliResult edge = RunCliArgs({"--fs", "8000", "--mask", "0:1000:pass", "--mask", "1500:4000:stop", "--json"});
    EXPECT_EQ(edge.status, 0) << edge.err;
}

TEST(AnalysisOption, UsageErrorsAndRefusedDesigns)
{
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--mask", "100:50:pass"}, {"--mask", "0:100"}, {"--mask", "0:100:keep"},
          {"--mask", "a:100:stop"}, {"--quantize", "q16"}, {"--quantize", "1"}, {"--rounding", "up"}}) {
        const CliResult r = RunCliArgs(bad);
        EXPECT_EQ(r.status, 2) << bad[0] << " " << bad[1];
        EXPECT_NE(r.err.find("zantro-cli:"), std::string::npos);
    }
    const CliResult refused = RunCliArgs({"--taps", "2000", "--json"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.Json()["analysis"].is_null());

    const std::optional<MaskBand> band = ParseMaskBand("12.5:100:Pass");
    ASSERT_TRUE(band);
    EXPECT_EQ(band->kind, BandKind::Pass);
    EXPECT_EQ(band->loHz, 12.5);
}
