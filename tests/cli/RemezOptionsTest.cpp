#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunSupport.h"
#include "cli/CliParser.h"

TEST(RemezOptions, BandTextsSplitAsTheRowTakesThem)
{
    auto band = CliParser::ParseBand("0:1000:1.0:10");
    ASSERT_TRUE(band);
    EXPECT_EQ(band->lower, "0");
    EXPECT_EQ(band->upper, "1000");
    EXPECT_EQ(band->value, "1.0");
    EXPECT_EQ(band->weight, "10");
    EXPECT_FALSE(CliParser::ParseBand("0:1000:1"));
    EXPECT_FALSE(CliParser::ParseBand("0:1000:1:1:1"));
    EXPECT_FALSE(CliParser::ParseBand("-5:1000:1:1"));     // edges take digits only
    EXPECT_FALSE(CliParser::ParseBand("0:1000:1e0:1"));    // values take what the key filter passes
    EXPECT_FALSE(CliParser::ParseBand("0:1000::1"));
    EXPECT_FALSE(CliParser::ParseBand("0:1000:0.123456789:1"));  // longer than the edit
    EXPECT_EQ(Cli({"--band", "0:x:1:1"}).status, 2);
}

TEST(RemezOptions, BandsFillRowsFromTheTopAndClearTheRest)
{
    // The preset leaves five bands in use; two given bands leave two.
    CliResult r = Cli({"--preset", "multi bandpass 55", "--type", "lowpass", "--taps", "63", "--band", "0:1000:1:1",
                    "--band", "1200:4000:0:10", "--grid", "32", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = r.Json();
    // Density 32 starts from the same design on a grid of density 8: three passes of its own.
    EXPECT_EQ(j["passes"], 3);
    EXPECT_EQ(j["messages"][0], "The Remez algorithm took   3 iterations to converge.");
    const auto& bands = j["parameters"]["m_Bands"];
    EXPECT_EQ(bands[0]["m_bUse"], 1);
    EXPECT_EQ(bands[1]["m_nLowerEdge"], 1200);
    EXPECT_EQ(bands[1]["m_dWeight"], 10.0);
    for (int row = 2; row < 8; ++row)
        EXPECT_EQ(bands[row]["m_bUse"], 0) << row;
    EXPECT_EQ(j["parameters"]["m_nGridDensity"], 32);
    // Symmetric taps of an odd-length lowpass.
    const auto& h = j["coefficients"];
    for (int i = 0; i < 63; ++i)
        EXPECT_NEAR(h[i].get<double>(), h[62 - i].get<double>(), 1e-12);
}

TEST(RemezOptions, RefusedBandTableEndsWithExitOne)
{
    CliResult r = Cli({"--method", "remez", "--band", "0:5000:1:1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Edge frequencies must be <= fs/2."), std::string::npos);
}

TEST(RemezOptions, ReadFileFeedsFrequencySampling)
{
    const auto path = std::filesystem::temp_directory_path() / ("zantro-input-" + std::to_string(::getpid()));
    std::ofstream(path) << "1\n1\n0\n";
    CliResult r = Cli({"--method", "fsamp", "--window", "rectangular", "--taps", "5", "--input", path.string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = r.Json();
    const double expected[] = {-0.125, 0.25, 0.75, 0.25, -0.125};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(j["coefficients"][i].get<double>(), expected[i], 1e-15);
    EXPECT_EQ(j["parameters"]["m_bInputData"], 1);
    EXPECT_EQ(j["parameters"]["m_InputData"].size(), 3u);

    CliResult missing = Cli({"--method", "fsamp", "--input", (path.string() + ".none")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos);
    std::filesystem::remove(path);
}

// Designs that used to end with NaN taps, a valid design and exit 0: an
// all-pass band whose error is 0 in the first pass is an exact design; a
// lowpass whose optimum lies below double resolution hands out finite taps
// that meet both bands to rounding (5.8e-15 at most), so it is exact too
// and says it converged rather than that it did not.
TEST(RemezOptions, HardDesignsGiveFiniteCoefficients)
{
    CliResult exact = Cli({"--method", "remez", "--taps", "25", "--band", "0:4000:1:1", "--scaling", "natural", "--json"});
    ASSERT_EQ(exact.status, 0) << exact.err;
    auto j = exact.Json();
    EXPECT_EQ(j["messages"][0], "The Remez algorithm took   1 iterations to converge.");
    ASSERT_EQ(j["coefficients"].size(), 25u);
    for (int i = 0; i < 25; ++i)
        EXPECT_NEAR(j["coefficients"][i].get<double>(), i == 12 ? 1.0 : 0.0, 1e-14) << i;

    CliResult hard = Cli({"--method", "remez", "--taps", "301", "--band", "0:1000:1:1", "--band", "1800:4000:0:1",
                          "--scaling", "natural", "--json"});
    ASSERT_EQ(hard.status, 0) << hard.err;
    j = hard.Json();
    const int passes = j["passes"].get<int>();
    EXPECT_GE(passes, 1);
    EXPECT_LT(passes, 64);
    char converged[80];
    std::snprintf(converged, sizeof converged, "The Remez algorithm took %3d iterations to converge.", passes);
    EXPECT_EQ(j["messages"][0], converged);
    EXPECT_EQ(j["design_valid"], true);
    ASSERT_EQ(j["coefficients"].size(), 301u);
    for (const auto& c : j["coefficients"])
        ASSERT_TRUE(c.is_number());
    // The taps' own largest error on both bands, summed directly.
    double largest = 0.0;
    for (int i = 0; i <= 2000; ++i) {
        const double f = i < 500 ? 0.125 * i / 500 : 0.225 + 0.275 * (i - 500) / 1500;
        double a = 0.0;
        for (int k = 0; k < 301; ++k)
            a += j["coefficients"][k].get<double>() * std::cos(2.0 * M_PI * f * (k - 150));
        largest = std::max(largest, std::fabs(a - (f < 0.2 ? 1.0 : 0.0)));
    }
    EXPECT_LT(largest, 1e-13);
}
