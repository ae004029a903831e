#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunSupport.h"
#include "dsp/LeastSquares.h"
#include "dsp/PulseShaping.h"

// Least squares through the command line: the dsp design's taps, any
// positive weight, its report and the analysis on the band table.
TEST(MethodCli, LeastSquaresJson)
{
    const CliResult r = RunCliArgs({"--method", "ls", "--taps", "64", "--fs", "48000", "--band", "0:8000:1:1",
                                    "--band", "10000:24000:0:0.25", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = r.Json();
    EXPECT_TRUE(j["design_valid"].get<bool>());
    EXPECT_EQ(j["method"], "ls");
    const std::vector<LeastSquaresBand> bands = {{0.0, 8000.0 / 48000, 1.0, 1.0}, {10000.0 / 48000, 0.5, 0.0, 0.25}};
    const LeastSquaresResult ref = DesignLeastSquares(64, 1, bands);
    ASSERT_EQ(j["coefficients"].size(), 64u);
    for (size_t k = 0; k < 64; ++k)
        EXPECT_EQ(j["coefficients"][k].get<double>(), ref.taps[k]);
    const nlohmann::json& ls = j["methods"]["least_squares"];
    EXPECT_EQ(ls["ridge"].get<double>(), 0.0);
    EXPECT_LT(ls["relative_residual"].get<double>(), 1e-12);
    ASSERT_EQ(j["analysis"]["bands"].size(), 2u);
    EXPECT_EQ(j["analysis"]["bands"][1]["kind"], "stop");
    EXPECT_GT(j["analysis"]["bands"][1]["attenuation_db"].get<double>(), 20.0);
}

TEST(MethodCli, MinimumPhasePulseAndCicReports)
{
    CliResult r = RunCliArgs({"--method", "remez", "--min-phase", "--taps", "48", "--fs", "48000", "--band",
                              "0:6000:1:1", "--band", "8000:24000:0:10", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = r.Json();
    EXPECT_TRUE(j["minimum_phase"].get<bool>());
    EXPECT_FALSE(j["analysis"]["linear_phase"].get<bool>());
    const nlohmann::json& mp = j["methods"]["minimum_phase"];
    EXPECT_EQ(mp["prototype_taps"], 95);
    EXPECT_LT(mp["group_delay_dc_samples"].get<double>(), 0.25 * mp["linear_phase_delay_samples"].get<double>());

    r = RunCliArgs({"--pulse", "rc", "--rolloff", "0.5", "--sps", "4", "--span", "8", "--pulse-gain", "dc", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = r.Json();
    EXPECT_EQ(j["taps"], 33);
    const PulseResult ref = DesignPulse({PulseShape::RaisedCosine, 0.5, 0.3, 4, 8, PulseNormalisation::UnitDcGain});
    for (size_t k = 0; k < 33; ++k)
        EXPECT_EQ(j["coefficients"][k].get<double>(), ref.taps[k]);
    EXPECT_EQ(j["methods"]["pulse"]["isi_rms"].get<double>(), 0.0);
    EXPECT_EQ(j["methods"]["pulse"]["isi_of"], "pulse");

    r = RunCliArgs({"--method", "remez", "--cic-comp", "8:1:4", "--taps", "63", "--fs", "8000", "--band",
                    "0:1600:1:1", "--band", "2400:4000:0:1", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = r.Json();
    const nlohmann::json& s = j["methods"]["shaped_response"];
    EXPECT_EQ(s["kind"], "cic");
    EXPECT_EQ(s["stages"], 4);
    // Equal weights: the cascade's pass deviation is the stop band's level
    // (to the grid's resolution, density 16).
    const double stop = std::pow(10.0, j["analysis"]["bands"][1]["max_db"].get<double>() / 20.0);
    EXPECT_NEAR(s["cascade_max_deviation"].get<double>(), stop, 0.06 * stop);
}

// Plain output: one coefficient per line; refusals: the message and exit 1.
TEST(MethodCli, CoefficientsAndRefusals)
{
    CliResult r = RunCliArgs({"--pulse", "gaussian", "--bt", "0.3", "--sps", "8", "--span", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        ++count;
    EXPECT_EQ(count, 33);

    r = RunCliArgs({"--method", "ls", "--type", "differentiator"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Least Squares design not supported for this filter type"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    r = RunCliArgs({"--method", "remez", "--cic-comp", "8:2:4", "--band", "0:4000:1:1", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.Json()["design_valid"].get<bool>());
    EXPECT_NE(r.err.find("first null"), std::string::npos) << r.err;

    r = RunCliArgs({"--method", "ls", "--band", "0:1000:1:-1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Weights must be positive finite numbers."), std::string::npos) << r.err;

    // A pulse's gain is its own.
    r = RunCliArgs({"--pulse", "rrc", "--pulse-gain", "dc", "--scaling", "custom", "--scale", "2"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--pulse scales its taps by --pulse-gain"), std::string::npos) << r.err;
}

// A minimum-phase export: json and csv carry the taps as designed (not
// mirrored into a linear-phase set), the analysis says so; the multirate
// profiles want a rate change and write nothing.
TEST(MethodCli, MinimumPhaseExportsCarryTheTaps)
{
    const std::vector<std::string> design = {"--method", "remez", "--min-phase", "--taps", "48", "--fs", "48000",
                                             "--band", "0:6000:1:1", "--band", "8000:24000:0:10"};
    std::vector<std::string> args = design;
    args.push_back("--json");
    const CliResult coefficients = RunCliArgs(args);
    ASSERT_EQ(coefficients.status, 0) << coefficients.err;
    const nlohmann::json taps = coefficients.Json()["coefficients"];
    ASSERT_EQ(taps.size(), 48u);
    EXPECT_NE(taps[0], taps[47]);

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zantro-mp-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string root = (dir / "mp").string();
    args = design;
    for (const char* a : {"--export", "json", "--export-root"})
        args.push_back(a);
    args.push_back(root);
    CliResult r = RunCliArgs(args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(root + ".json");
    const nlohmann::json j = nlohmann::json::parse(in);
    EXPECT_EQ(j["taps"], taps);
    EXPECT_FALSE(j["analysis"]["linear_phase"].get<bool>());
    EXPECT_LT(j["analysis"]["group_delay_samples"].get<double>(), 23.5 / 2);

    args = design;
    for (const char* a : {"--export", "csv", "--export-root"})
        args.push_back(a);
    args.push_back(root);
    r = RunCliArgs(args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream csv(root + ".csv");
    std::vector<double> values;
    std::string delayLine;
    for (std::string line; std::getline(csv, line);) {
        if (!line.empty() && line[0] != '#')
            values.push_back(std::stod(line.substr(line.rfind(',') + 1)));
        else if (line.find("group delay") != std::string::npos)
            delayLine = line;
    }
    ASSERT_EQ(values.size(), 48u);
    // The mean delay of minimum-phase taps is no half sample: four decimals,
    // as the milliseconds beside it, not every digit of the double.
    EXPECT_TRUE(std::regex_search(delayLine, std::regex(R"(group delay \d+\.\d{4} samples \(0\.\d{4} ms\)$)")))
        << delayLine;
    for (size_t k = 0; k < 48; ++k)
        EXPECT_EQ(values[k], taps[k].get<double>()) << k;

    args = design;
    for (const char* a : {"--export", "cmsis-decimate-f32", "--export-root"})
        args.push_back(a);
    args.push_back((dir / "dec").string());
    r = RunCliArgs(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The multirate profiles need a design made for a rate change"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "dec.h"));
    std::filesystem::remove_all(dir);
}
