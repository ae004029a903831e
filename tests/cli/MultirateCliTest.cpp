#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "CliRunSupport.h"

// The half-band golden through the command line: 47 taps at 48 kHz, pass
// edge 10 kHz; the multirate object's figures.
TEST(MultirateCli, HalfbandJson)
{
    const CliResult r = RunCliArgs({"--halfband", "--fs", "48000", "--f1", "10000", "--taps", "47", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = r.Json();
    EXPECT_TRUE(j["design_valid"].get<bool>());
    ASSERT_EQ(j["coefficients"].size(), 47u);
    EXPECT_EQ(j["coefficients"][23].get<double>(), 0.5);
    EXPECT_EQ(j["coefficients"][21].get<double>(), 0.0);
    const nlohmann::json& m = j["multirate"];
    EXPECT_EQ(m["kind"], "halfband");
    EXPECT_EQ(m["factor"], 2);
    EXPECT_EQ(m["input_rate_hz"].get<double>(), 48000.0);
    EXPECT_EQ(m["output_rate_hz"].get<double>(), 24000.0);
    ASSERT_EQ(m["phases"].size(), 2u);
    EXPECT_EQ(m["phases"][0].size(), 24u);
    EXPECT_EQ(m["phases"][1].size(), 23u);
    EXPECT_EQ(m["phases"][1][11].get<double>(), 0.5);
    EXPECT_EQ(m["macs_per_output"], 25);
    EXPECT_NEAR(m["alias_attenuation_db"]["double"].get<double>(), -20 * std::log10(3.3842e-4), 0.01);
    EXPECT_LT(m["alias_attenuation_db"]["Q15"].get<double>(), m["alias_attenuation_db"]["double"].get<double>());
    // The analysis measures the design's own bands: pass 0 .. 10 kHz, stop 14 .. 24 kHz.
    const nlohmann::json& bands = j["analysis"]["bands"];
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1]["lo_hz"].get<double>(), 14000.0);
    EXPECT_NEAR(bands[1]["attenuation_db"].get<double>(), m["alias_attenuation_db"]["double"].get<double>(), 1e-9);
}

TEST(MultirateCli, DecimatorAndInterpolatorFigures)
{
    CliResult r = RunCliArgs({"--decimate", "3", "--fs", "48000", "--f1", "5000", "--taps", "48", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json m = r.Json()["multirate"];
    EXPECT_EQ(m["kind"], "decimate");
    EXPECT_EQ(m["output_rate_hz"].get<double>(), 16000.0);
    EXPECT_EQ(m["macs_per_output"], 48);
    EXPECT_EQ(m["phases"].size(), 3u);

    r = RunCliArgs({"--interpolate", "4", "--fs", "48000", "--f1", "4000", "--taps", "61", "--json", "--quantize",
                    "q31"});
    ASSERT_EQ(r.status, 0) << r.err;
    m = r.Json()["multirate"];
    EXPECT_EQ(m["kind"], "interpolate");
    EXPECT_EQ(m["input_rate_hz"].get<double>(), 12000.0);
    EXPECT_EQ(m["output_rate_hz"].get<double>(), 48000.0);
    EXPECT_EQ(m["macs_per_output"], 16);
    EXPECT_TRUE(m["alias_attenuation_db"].contains("Q31"));

    // A Kaiser window cut at fs/8 for decimation by 4: unit DC gain, deep alias bands.
    r = RunCliArgs({"--decimate", "4", "--fs", "48000", "--f1", "2000", "--taps", "63", "--method", "sinc", "--beta",
                    "8", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json sinc = r.Json();
    double sum = 0;
    for (const auto& t : sinc["coefficients"])
        sum += t.get<double>();
    EXPECT_NEAR(sum, 1.0, 1e-3);
    EXPECT_GT(sinc["multirate"]["alias_attenuation_db"]["double"].get<double>(), 85.0);
}

// Decimation by 4 to a requirement: the alias bands need fewer taps than
// the whole stop band above fs/4 - f1 (cross-checked with scipy in the dsp tests).
TEST(MultirateCli, ToSpecWithAliasBandsNeedsFewerTaps)
{
    const std::vector<std::string> base = {"--decimate", "4", "--fs", "48000", "--to-spec", "--pass-band",
                                           "0:1000:0.1", "--stop-band", "alias:80", "--json"};
    CliResult full = RunCliArgs(base);
    std::vector<std::string> args = base;
    args.push_back("--alias-bands");
    CliResult alias = RunCliArgs(args);
    ASSERT_EQ(full.status, 0) << full.err;
    ASSERT_EQ(alias.status, 0) << alias.err;
    const int fullTaps = full.Json()["taps"].get<int>(), aliasTaps = alias.Json()["taps"].get<int>();
    EXPECT_LT(aliasTaps, fullTaps);
    EXPECT_EQ(alias.Json()["to_spec"]["status"], "met");
    EXPECT_GE(alias.Json()["multirate"]["alias_attenuation_db"]["double"].get<double>(), 80.0);

    args.push_back("--quantize");
    args.push_back("q15");
    const CliResult q15 = RunCliArgs(args);
    ASSERT_EQ(q15.status, 0) << q15.err;
    EXPECT_GE(q15.Json()["taps"].get<int>(), aliasTaps);
    EXPECT_GE(q15.Json()["multirate"]["alias_attenuation_db"]["Q15"].get<double>(), 80.0);

    // A half-band to a requirement: 4k + 3 taps only.
    const CliResult hb = RunCliArgs({"--halfband", "--fs", "48000", "--to-spec", "--pass-band", "0:10000:0.01",
                                     "--stop-band", "alias:60", "--json"});
    ASSERT_EQ(hb.status, 0) << hb.err;
    EXPECT_EQ(hb.Json()["taps"].get<int>() % 4, 3);
}

TEST(MultirateCli, Refusals)
{
    const struct {
        std::vector<std::string> args;
        int status;
        const char* text;
    } cases[] = {
        {{"--halfband", "--fs", "48000", "--f1", "10000", "--taps", "49"}, 1,
         "A half-band filter has 4k + 3 taps (7 .. 1023); 49 is not one. The nearest is 51."},
        {{"--decimate", "4", "--fs", "48000", "--f1", "6000", "--taps", "31"}, 1,
         "The pass-band edge must lie above 0 Hz and below fs / (2 x 4) = 6000 Hz."},
        {{"--decimate", "65", "--fs", "48000", "--f1", "100", "--taps", "31"}, 2, "--decimate"},
        {{"--decimate", "4", "--interpolate", "4", "--fs", "48000", "--f1", "100", "--taps", "31"}, 2,
         "give one of --decimate, --interpolate and --halfband"},
        {{"--decimate", "4", "--fs", "48000", "--f1", "100"}, 2, "--decimate needs --taps and --f1"},
        {{"--alias-bands", "--fs", "48000"}, 2, "--alias-bands needs --decimate or --interpolate"},
        {{"--decimate", "4", "--fs", "48000", "--f1", "100", "--taps", "31", "--f2", "300"}, 2, "leave --f2 out"},
        {{"--halfband", "--fs", "48000", "--f1", "100", "--taps", "31", "--method", "sinc"}, 2,
         "--halfband designs with the Remez exchange"},
        {{"--decimate", "4", "--fs", "48000", "--to-spec", "--pass-band", "0:1000:0.1"}, 2,
         "takes --stop-band alias:ATTEN_DB (the derived stop bands) or explicit stop bands"},
        // Refused as the form and the Python module refuse them, never held at a limit.
        {{"--decimate", "4", "--fs", "48000", "--f1", "1000", "--taps", "63", "--method", "sinc", "--window",
          "kaiser", "--beta", "25"},
         1, "The shape factor is out of bounds.\n"},
        {{"--decimate", "4", "--fs", "48000", "--f1", "1000", "--taps", "63", "--grid", "200"}, 1,
         "Please enter an integer between 8 and 64.\n"},
        {{"--decimate", "4", "--fs", "48000", "--f1", "1000", "--taps", "63", "--method", "sinc", "--window",
          "chebyshev", "--att", "5"},
         1, "Please enter an integer between 10 and 100.\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCliArgs(c.args);
        EXPECT_EQ(r.status, c.status) << c.text;
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
}

// --export with the multirate profiles: the decimator's block size must be a
// multiple of M; the single-rate profiles export the prototype unchanged.
TEST(MultirateCli, ExportProfiles)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("zantro-multirate-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string root = (dir / "dec3").string();
    const std::vector<std::string> design = {"--decimate", "3", "--fs", "48000", "--f1", "5000", "--taps", "48"};
    std::vector<std::string> args = design;
    args.insert(args.end(), {"--export", "cmsis-decimate-q15", "--export-root", root});
    CliResult r = RunCliArgs(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The block size 32 is not a multiple of the decimation factor 3"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(root + ".h"));
    args.insert(args.end(), {"--block", "48"});
    r = RunCliArgs(args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream header(root + ".h");
    const std::string text((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("arm_fir_decimate_init_q15(&dec, DEC3_NUM_TAPS, DEC3_FACTOR, dec3_coefficients, state, "
                        "DEC3_BLOCK_SIZE);"),
              std::string::npos);
    EXPECT_NE(text.find("#define DEC3_BLOCK_SIZE 48"), std::string::npos);

    args = design;
    args.insert(args.end(), {"--export", "csv", "--export-root", root});
    r = RunCliArgs(args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream csv(root + ".csv");
    int lines = 0;
    for (std::string line; std::getline(csv, line);)
        lines += line.rfind("#", 0) != 0;  // after the "#" lines that describe the design
    EXPECT_EQ(lines, 48);
    std::filesystem::remove_all(dir);
}
