#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

namespace {

using nlohmann::json;
using ::testing::ElementsAre;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;

    json Json() const { return json::parse(out); }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

CliRun RunArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "zantro-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    CliRun r;
    r.status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// A refused command: exit 1, exactly these messages on stderr, no
// coefficients on stdout; with --json the object still comes and lists them.
void ExpectRefused(std::vector<std::string> args, const std::vector<std::string>& messages)
{
    std::string expectedErr;
    for (const auto& m : messages)
        expectedErr += m + "\n";
    CliRun plain = RunArgs(args);
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err, expectedErr);
    EXPECT_EQ(plain.out, "");

    args.push_back("--json");
    CliRun j = RunArgs(args);
    EXPECT_EQ(j.status, 1);
    EXPECT_EQ(j.err, expectedErr);
    ASSERT_FALSE(j.out.empty());
    EXPECT_EQ(j.Json()["messages"], json(messages));
}

}  // namespace

TEST(RunCli, DefaultDesignPrintsTheCoefficients)
{
    CliRun r = RunArgs({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::vector<std::string> lines = r.Lines();
    ASSERT_EQ(lines.size(), 63u);
    std::vector<double> taps;
    for (const std::string& line : lines) {
        char* end = nullptr;
        taps.push_back(std::strtod(line.c_str(), &end));
        EXPECT_EQ(*end, '\0') << line;
    }
    // Hamming lowpass at fs/8: the centre is 0.25 times the window's peak of 1, the taps symmetric.
    EXPECT_DOUBLE_EQ(taps[31], 0.25);
    for (int i = 0; i < 63; ++i)
        EXPECT_NEAR(taps[i], taps[62 - i], 1e-15) << i;
}

TEST(RunCli, PlainAndJsonCoefficientsAreTheSameNumbers)
{
    const std::vector<std::string> args = {"--type", "bandpass", "--taps", "48", "--f1", "700", "--f2", "2500"};
    CliRun plain = RunArgs(args);
    std::vector<std::string> with = args;
    with.push_back("--json");
    CliRun j = RunArgs(with);
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(j.status, 0);
    const json coeffs = j.Json()["coefficients"];
    std::vector<std::string> lines = plain.Lines();
    ASSERT_EQ(lines.size(), 48u);
    ASSERT_EQ(coeffs.size(), 48u);
    // "%.17g" round-trips every double, so the two outputs agree bit for bit.
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(std::strtod(lines[i].c_str(), nullptr), coeffs[i].get<double>()) << i;
}

TEST(RunCli, JsonObjectHasEveryKeyInOrder)
{
    CliRun r = RunArgs({"--json"});
    ASSERT_EQ(r.status, 0);
    const json j = r.Json();
    std::vector<std::string> keys;
    for (const auto& item : j.items())
        keys.push_back(item.key());
    // The parsed object sorts its keys; the order is checked on the text.
    std::vector<size_t> positions;
    for (const char* key : {"design_valid", "fir_type", "taps", "gain", "ir_peak", "scale_text",
                            "magnitude_caption", "coefficients", "window", "step", "magnitude", "phase", "messages",
                            "parameters", "modified", "design_seconds", "passes", "analysis"}) {
        EXPECT_TRUE(j.contains(key)) << key;
        positions.push_back(r.out.find(std::string("\n  \"") + key + "\":"));
        EXPECT_NE(positions.back(), std::string::npos) << key;
    }
    EXPECT_EQ(keys.size(), 18u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

    EXPECT_EQ(j["design_valid"], true);
    EXPECT_EQ(j["fir_type"], 0);
    EXPECT_EQ(j["taps"], 63);
    EXPECT_EQ(j["gain"], 1.0);
    EXPECT_EQ(j["ir_peak"], 0.25);
    EXPECT_EQ(j["scale_text"], "1.00");
    EXPECT_EQ(j["magnitude_caption"], "Logarithmic Magnitude");
    EXPECT_EQ(j["coefficients"].size(), 63u);
    EXPECT_EQ(j["window"].size(), 63u);
    EXPECT_EQ(j["step"].size(), 63u);
    EXPECT_EQ(j["magnitude"].size(), 513u);
    EXPECT_EQ(j["phase"].size(), 513u);
    EXPECT_EQ(j["messages"], json::array());
    EXPECT_EQ(j["modified"], true);
    EXPECT_TRUE(j["design_seconds"].is_number_float());
    EXPECT_GE(j["design_seconds"].get<double>(), 0.0);
    EXPECT_TRUE(j["passes"].is_null());

    // The step response is the running sum of the coefficients.
    double sum = 0.0;
    for (size_t i = 0; i < 63; ++i) {
        sum += j["coefficients"][i].get<double>();
        EXPECT_NEAR(j["step"][i].get<double>(), sum, 1e-15) << i;
    }
}

TEST(RunCli, ParametersAreTheDocumentsFieldsByName)
{
    CliRun r = RunArgs({"--json", "--type", "highpass", "--window", "blackman", "--taps", "32", "--fs", "16000", "--f1",
                    "2000", "--f2", "5000", "--scaling", "optimized", "--sinx"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = r.Json();
    EXPECT_EQ(j["fir_type"], 1);
    const json& p = j["parameters"];
    std::vector<std::string> keys;
    for (const auto& item : p.items())
        keys.push_back(item.key());
    std::sort(keys.begin(), keys.end());
    EXPECT_THAT(keys, ElementsAre("m_Bands", "m_InputData", "m_bInputData", "m_bSinXComp", "m_dIRScale",
                                  "m_dShapeFactor", "m_dVariance", "m_nDesignMethod", "m_nFilterType",
                                  "m_nFirstCorner", "m_nGridDensity", "m_nIRScaling", "m_nNumFormat", "m_nOutExt",
                                  "m_nSamplingRate", "m_nSecondCorner", "m_nStopbandAtt", "m_nTaps", "m_nVersion",
                                  "m_nWindowType", "m_strOutfile"));
    EXPECT_EQ(p["m_nDesignMethod"], 0);
    EXPECT_EQ(p["m_nFilterType"], 1);
    EXPECT_EQ(p["m_nWindowType"], 3);
    EXPECT_EQ(p["m_nTaps"], 32);
    EXPECT_EQ(p["m_nSamplingRate"], 16000);
    EXPECT_EQ(p["m_nFirstCorner"], 2000);
    EXPECT_EQ(p["m_nSecondCorner"], 5000);
    EXPECT_EQ(p["m_nIRScaling"], 2);
    EXPECT_EQ(p["m_bSinXComp"], 1);
    EXPECT_EQ(p["m_dIRScale"], j["gain"]);
    EXPECT_EQ(p["m_nStopbandAtt"], 40);
    EXPECT_EQ(p["m_dShapeFactor"], 5.0);
    EXPECT_EQ(p["m_dVariance"], 1.0);
    EXPECT_EQ(p["m_strOutfile"], "Outfile");
    EXPECT_EQ(p["m_nOutExt"], 0);
    EXPECT_EQ(p["m_nNumFormat"], 1);
    EXPECT_EQ(p["m_bInputData"], 0);
    EXPECT_EQ(p["m_InputData"], json::array());
    EXPECT_EQ(p["m_nVersion"], 0);
    ASSERT_EQ(p["m_Bands"].size(), 8u);
    for (const json& band : p["m_Bands"]) {
        std::vector<std::string> fields;
        for (const auto& item : band.items())
            fields.push_back(item.key());
        std::sort(fields.begin(), fields.end());
        EXPECT_THAT(fields, ElementsAre("m_bUse", "m_dValue", "m_dWeight", "m_nLowerEdge", "m_nUpperEdge"));
    }
}

TEST(RunCli, TheFormsRangeCheckRefusesTooManyTaps)
{
    ExpectRefused({"--taps", "2000"}, {"Please enter an integer between 4 and 1025."});
    ExpectRefused({"--taps", "3"}, {"Please enter an integer between 4 and 1025."});
    ExpectRefused({"--taps", ""}, {"Please enter an integer."});
    ExpectRefused({"--f1", "10000001"}, {"Please enter an integer between 0 and 10000000."});

    // The exchange stopped before any design: nothing was stored into the document.
    const json j = RunArgs({"--taps", "2000", "--json"}).Json();
    EXPECT_EQ(j["design_valid"], false);
    EXPECT_EQ(j["modified"], false);
    EXPECT_EQ(j["parameters"]["m_nTaps"], 63);
    EXPECT_EQ(j["coefficients"], json::array());
    EXPECT_EQ(j["magnitude_caption"], "Magnitude");
}

TEST(RunCli, DesignMessagesRefuseTheCommand)
{
    ExpectRefused({"--f1", "4000"}, {"The corner frequencies must be < ((sampling rate) / 2)"});
    ExpectRefused({"--f2", "4000"}, {"The corner frequencies must be < ((sampling rate) / 2)"});
    ExpectRefused({"--scaling", "custom", "--scale", "20"}, {"The impulse response scale must be 0.1 <= x <= 10.0"});
    ExpectRefused({"--type", "moving-average"}, {"Sync Window design not supported for this filter type"});
    ExpectRefused({"--method", "fsamp", "--type", "differentiator"},
                  {"Frequency Sampling design not supported for this filter type"});
    ExpectRefused({"--method", "remez", "--type", "allpass"},
                  {"Remex Exchange design not supported for this filter type"});
    ExpectRefused({"--method", "direct"}, {"Direct design not supported for this filter type"});

    // A refused support check does not store the parameters.
    EXPECT_EQ(RunArgs({"--method", "direct", "--json"}).Json()["modified"], false);
}

TEST(RunCli, AMessageThatDoesNotRefuseTheDesignKeepsExitZero)
{
    // Normalized scaling of a lowpass at fs/400: 1 / 0.005 = 200 is refused
    // and the design goes on with the factor 1.0.
    CliRun r = RunArgs({"--f1", "20", "--scaling", "normalized"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "The calculated impulse response scale\nis out of range (0.01 to 100.0)\n");
    EXPECT_EQ(r.Lines().size(), 63u);
    const json j = RunArgs({"--f1", "20", "--scaling", "normalized", "--json"}).Json();
    EXPECT_EQ(j["gain"], 1.0);
    EXPECT_EQ(j["scale_text"], "1.00");
    EXPECT_EQ(j["messages"].size(), 1u);
}

TEST(RunCli, NaturalScalingReplacesTheScaleText)
{
    CliRun r = RunArgs({"--scale", "-", "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Json()["scale_text"], "1.00");
    CliRun custom = RunArgs({"--scaling", "custom", "--scale", "2.5", "--json"});
    ASSERT_EQ(custom.status, 0) << custom.err;
    EXPECT_EQ(custom.Json()["gain"], 2.5);
    EXPECT_EQ(custom.Json()["scale_text"], "2.50");
}

TEST(RunCli, UsageErrorsExitTwoWithTheUsage)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--taps", "abc"}, {"--type", "notch"}, {"--bogus"}, {"--json", "extra"}}) {
        CliRun r = RunArgs(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("zantro-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("Usage: zantro-cli [OPTIONS]"), std::string::npos);
    }
    CliRun help = RunArgs({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_NE(help.out.find("Usage: zantro-cli [OPTIONS]"), std::string::npos);
}

TEST(RunCli, WindowOnlyShowsTheWindowWithoutStoring)
{
    CliRun r = RunArgs({"--window-only", "--type", "bandpass", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = r.Json();
    EXPECT_EQ(j["design_valid"], true);
    EXPECT_EQ(j["modified"], false);
    EXPECT_EQ(j["parameters"]["m_nFilterType"], 0);
    EXPECT_EQ(j["magnitude_caption"], "Logarithmic Magnitude");
    EXPECT_EQ(j["ir_peak"], 1.0);
    ASSERT_EQ(j["coefficients"].size(), 63u);
    double peak = 0.0, sum = 0.0;
    for (const json& c : j["coefficients"]) {
        peak = std::max(peak, std::abs(c.get<double>()));
        sum += c.get<double>();
    }
    EXPECT_EQ(peak, 1.0);
    EXPECT_NEAR(j["gain"].get<double>(), sum, 1e-12);

    ExpectRefused({"--window-only", "--f1", "4000"}, {"The corner frequencies must be < ((sampling rate) / 2)"});
}

TEST(RunCli, DialogsWithoutAnAnswerKeepTheirSeededValues)
{
    CliRun kaiser = RunArgs({"--window", "kaiser", "--json"});
    ASSERT_EQ(kaiser.status, 0) << kaiser.err;
    EXPECT_EQ(kaiser.Json()["parameters"]["m_dShapeFactor"], 5.0);
    CliRun cheb = RunArgs({"--window", "chebyshev", "--json"});
    ASSERT_EQ(cheb.status, 0) << cheb.err;
    EXPECT_EQ(cheb.Json()["parameters"]["m_nStopbandAtt"], 40);
    CliRun gauss = RunArgs({"--type", "gaussian", "--method", "direct", "--json"});
    ASSERT_EQ(gauss.status, 0) << gauss.err;
    EXPECT_EQ(gauss.Json()["parameters"]["m_dVariance"], 1.0);
    EXPECT_EQ(RunArgs({"--type", "differentiator"}).status, 0);
}

TEST(RunCli, DialogAnswersAreTypedIntoTheDialogs)
{
    CliRun kaiser = RunArgs({"--window", "kaiser", "--beta", "8.6", "--json"});
    ASSERT_EQ(kaiser.status, 0) << kaiser.err;
    EXPECT_EQ(kaiser.Json()["parameters"]["m_dShapeFactor"], 8.6);
    CliRun cheb = RunArgs({"--window", "chebyshev", "--att", "100", "--json"});
    ASSERT_EQ(cheb.status, 0) << cheb.err;
    EXPECT_EQ(cheb.Json()["parameters"]["m_nStopbandAtt"], 100);
    CliRun gauss = RunArgs({"--type", "gaussian", "--method", "direct", "--sigma", "3.0", "--json"});
    ASSERT_EQ(gauss.status, 0) << gauss.err;
    EXPECT_EQ(gauss.Json()["parameters"]["m_dVariance"], 3.0);
    for (const char* gain : {"pi", "pi/2", "1", "10.0", "0.1"}) {
        CliRun diff = RunArgs({"--type", "differentiator", "--gain", gain});
        EXPECT_EQ(diff.status, 0) << gain << ": " << diff.err;
        EXPECT_EQ(diff.err, "") << gain;
    }
    // An answer for a dialog that the design does not open changes nothing.
    CliRun unused = RunArgs({"--att", "5", "--beta", "99", "--json"});
    EXPECT_EQ(unused.status, 0) << unused.err;
    EXPECT_EQ(unused.Json()["parameters"]["m_nStopbandAtt"], 40);
}

TEST(RunCli, RefusedDialogAnswersEndWithExitOne)
{
    ExpectRefused({"--window", "chebyshev", "--att", "101"}, {"Please enter an integer between 10 and 100."});
    ExpectRefused({"--window", "chebyshev", "--att", "9"}, {"Please enter an integer between 10 and 100."});
    ExpectRefused({"--window", "chebyshev", "--att", ""}, {"Please enter an integer."});
    ExpectRefused({"--window", "kaiser", "--beta", "20.01"}, {"The shape factor is out of bounds."});
    ExpectRefused({"--type", "differentiator", "--gain", "10.01"},
                  {"The differentiator gain range is 0.1 <= x <= 10.0"});
    ExpectRefused({"--type", "differentiator", "--gain", "0.09"},
                  {"The differentiator gain range is 0.1 <= x <= 10.0"});
    ExpectRefused({"--window-only", "--window", "kaiser", "--beta", "21"}, {"The shape factor is out of bounds."});

    // A refused variance is cancelled; the form goes on with sigma 1.0, but
    // that is not the design asked for: the run reports the refusal and
    // claims no valid design, with no taps or figures.
    const std::vector<std::string> gauss = {"--type", "gaussian", "--method", "direct", "--sigma", "3.1"};
    ExpectRefused(gauss, {"The variance must be in the range\nfrom 0.1 to 3.0."});
    std::vector<std::string> withJson = gauss;
    withJson.push_back("--json");
    const json j = RunArgs(withJson).Json();
    EXPECT_EQ(j["design_valid"], false);
    EXPECT_TRUE(j["coefficients"].empty());
    EXPECT_TRUE(j["analysis"].is_null());
    EXPECT_EQ(j["parameters"]["m_dVariance"], 1.0);
    const json accepted = RunArgs({"--type", "gaussian", "--method", "direct", "--sigma", "2.9", "--json"}).Json();
    EXPECT_EQ(accepted["design_valid"], true);
    EXPECT_EQ(accepted["coefficients"].size(), 63u);
}

TEST(RunCli, EveryRunStartsLikeAFreshProgram)
{
    // Program-wide state (the plot axis records) must not leak from one run into the next.
    RunArgs({"--type", "differentiator", "--fs", "48000", "--f1", "100", "--f2", "20000"});
    json first = RunArgs({"--json"}).Json();
    RunArgs({"--window-only", "--taps", "1025", "--window", "rectangular"});
    json second = RunArgs({"--json"}).Json();
    first.erase("design_seconds");
    second.erase("design_seconds");
    EXPECT_EQ(first, second);
}
