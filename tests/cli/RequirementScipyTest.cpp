#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "PythonReference.h"
#include "TestPaths.h"
#include "CliRunSupport.h"

namespace {

using json = nlohmann::json;

struct RequirementCase {
    std::string name;
    std::string fs;
    std::string method;  // sinc or remez
    std::vector<std::string> bands;
    std::string quantize;  // empty: double only
};

std::string Fixed2(double value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    return std::string(buf, r.ptr);
}

// The ordinary design at n taps with the parameters --to-spec chose, typed
// as a user would type them.
std::vector<std::string> ExplicitArgs(const RequirementCase& c, const json& run, int n)
{
    const json& t = run["to_spec"];
    std::vector<std::string> args = {"--type", t["filter_type"], "--fs", c.fs, "--taps", std::to_string(n), "--json"};
    if (c.method == "sinc") {
        args.insert(args.end(), {"--method", "sinc", "--window", "kaiser", "--beta", Fixed2(t["beta"]), "--f1",
                                 std::to_string(t["corners_hz"][0].get<int>()), "--f2",
                                 std::to_string(t["corners_hz"][1].get<int>())});
    } else {
        args.insert(args.end(), {"--method", "remez", "--grid", std::to_string(t["grid_density"].get<int>())});
        for (const json& b : run["parameters"]["m_Bands"])
            if (b["m_bUse"] == 1)
                args.insert(args.end(), {"--band", std::to_string(b["m_nLowerEdge"].get<int>()) + ":" +
                                                       std::to_string(b["m_nUpperEdge"].get<int>()) + ":" +
                                                       (b["m_dValue"].get<double>() > 0 ? "1" : "0") + ":" +
                                                       Fixed2(b["m_dWeight"])});
    }
    if (!c.quantize.empty())
        args.insert(args.end(), {"--quantize", c.quantize});
    return args;
}

// requirement_reference.py on the cases (see there); null when it fails.
json Reference(const json& input)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zantro-requirement-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.json") << input.dump();
    const std::string cmd = std::string(kPython) + " " + TestSourceDir() + "/tests/cli/requirement_reference.py " +
                            (dir / "in.json").string() + " " + (dir / "out.json").string();
    json out;
    if (std::system(cmd.c_str()) == 0)
        std::ifstream(dir / "out.json") >> out;
    std::filesystem::remove_all(dir);
    return out;
}

std::vector<double> Quantized(const json& run)
{
    const json& q = run["analysis"]["quantized"];
    std::vector<double> out;
    for (const json& v : q["taps"])
        out.push_back(std::ldexp(v.get<double>(), -q["fraction_length"].get<int>()));
    return out;
}

}  // namespace

// For lowpass, highpass, bandpass and bandstop requirements, by Kaiser window
// and by Remez exchange, at 8 and 48 kHz (and the 8 kHz lowpass in Q15): the
// N found meets every band when scipy.signal.freqz measures the taps on a
// grid of 32768 points per band, and the ordinary design with the next
// smaller N the filter type allows misses; the estimate and N are reported.
// The ordinary design at N with the chosen parameters gives the same taps
// bit for bit, so what Design shows is what was verified.
TEST(ToSpecCrossCheck, FewestTapsVerifiedWithScipy)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";

    const std::vector<std::vector<std::string>> requirements8k = {
        {"--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60"},
        {"--stop-band", "0:1500:50", "--pass-band", "2000:4000:0.5"},
        {"--stop-band", "0:800:50", "--pass-band", "1200:2000:0.5", "--stop-band", "2500:4000:50"},
        {"--pass-band", "0:1000:0.5", "--stop-band", "1400:2200:45", "--pass-band", "2800:4000:0.5"},
    };
    const std::vector<std::vector<std::string>> requirements48k = {
        {"--pass-band", "0:6000:0.5", "--stop-band", "8000:24000:70"},
        {"--stop-band", "0:9000:60", "--pass-band", "12000:24000:0.2"},
        {"--stop-band", "0:4000:60", "--pass-band", "6000:10000:1", "--stop-band", "12000:24000:60"},
        {"--pass-band", "0:5000:0.2", "--stop-band", "7000:11000:50", "--pass-band", "14000:24000:0.2"},
    };
    std::vector<RequirementCase> cases;
    for (const char* method : {"sinc", "remez"}) {
        for (size_t i = 0; i < requirements8k.size(); ++i)
            cases.push_back({"8k " + std::to_string(i), "8000", method, requirements8k[i], ""});
        for (size_t i = 0; i < requirements48k.size(); ++i)
            cases.push_back({"48k " + std::to_string(i), "48000", method, requirements48k[i], ""});
        cases.push_back({"8k lowpass q15", "8000", method, requirements8k[0], "q15"});
    }

    json input = json::array();
    std::vector<json> runs;
    std::vector<bool> smallerDesigned;
    for (const RequirementCase& c : cases) {
        SCOPED_TRACE(c.name + " " + c.method);
        std::vector<std::string> args = {"--to-spec", "--fs", c.fs, "--method", c.method, "--json"};
        args.insert(args.end(), c.bands.begin(), c.bands.end());
        if (!c.quantize.empty())
            args.insert(args.end(), {"--quantize", c.quantize});
        const CliResult r = RunCliArgs(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const json run = r.Json();
        const json& t = run["to_spec"];
        ASSERT_TRUE(t["met"].get<bool>()) << t.dump();
        const int n = t["taps"];
        const int estimate = t["estimated_taps"];
        std::cout << "[ to-spec  ] " << c.name << " " << c.method << (c.quantize.empty() ? "" : " " + c.quantize)
                  << " " << t["filter_type"].get<std::string>() << ": estimate " << estimate << " ("
                  << t["estimator"].get<std::string>() << "), found " << n << "\n";
        EXPECT_GE(estimate, 4);
        // Kaiser's formula is an estimate: a window design's attenuation
        // swings with N, and the window takes odd N only.
        EXPECT_LE(std::abs(n - estimate), 16);
        EXPECT_EQ(run["taps"], n);
        EXPECT_TRUE(run["design_valid"].get<bool>());
        EXPECT_TRUE(run["analysis"]["linear_phase"].get<bool>());
        ASSERT_EQ(run["coefficients"].size(), static_cast<size_t>(n));

        // Symmetric highpass and bandstop filters need odd N; the form's Kaiser
        // window of even N is not symmetric, so a window design takes odd N too.
        const bool oddOnly = c.method == "sinc" || t["filter_type"] == "Highpass" || t["filter_type"] == "Bandstop";
        if (oddOnly) {
            EXPECT_EQ(n % 2, 1);
        }
        const int smaller = n - (oddOnly ? 2 : 1);
        ASSERT_FALSE(t["next_smaller"].is_null());
        EXPECT_EQ(t["next_smaller"]["taps"], smaller);

        const CliResult same = RunCliArgs(ExplicitArgs(c, run, n));
        ASSERT_EQ(same.status, 0) << same.err;
        EXPECT_EQ(same.Json()["coefficients"], run["coefficients"]) << "the ordinary design differs";
        const CliResult less = RunCliArgs(ExplicitArgs(c, run, smaller));
        const json lessRun = less.Json();
        smallerDesigned.push_back(t["next_smaller"]["design"] == "designed");
        if (!smallerDesigned.back()) {
            EXPECT_NE(less.err.find("did not converge"), std::string::npos) << less.err;
        }

        json bands = json::array();
        for (const json& b : t["bands"])
            bands.push_back({{"kind", b["kind"]},
                             {"lo", b["lo_hz"]},
                             {"hi", b["hi_hz"]},
                             {"limit", b["kind"] == "pass" ? b["max_ripple_db"] : b["min_attenuation_db"]}});
        json designs = {run["coefficients"], lessRun["coefficients"]};
        if (!c.quantize.empty()) {
            designs.push_back(Quantized(run));
            designs.push_back(Quantized(lessRun));
        }
        input.push_back({{"fs", std::stod(c.fs)}, {"bands", bands}, {"designs", designs}});
        runs.push_back(run);
    }

    const json out = Reference(input);
    ASSERT_EQ(out.size(), cases.size());

    for (size_t i = 0; i < cases.size(); ++i) {
        const RequirementCase& c = cases[i];
        SCOPED_TRACE(c.name + " " + c.method);
        const json& per = out[i];
        // Found: every band meets in double precision (and in the format).
        // scipy's grid is finer than ours, so a peak may show a hair higher.
        const double tol = 1e-3;
        EXPECT_GE(per[0]["worst"].get<double>(), -tol) << per[0].dump();
        double smallerWorst = per[1]["worst"];
        if (!c.quantize.empty()) {
            EXPECT_GE(per[2]["worst"].get<double>(), -tol) << per[2].dump();
            smallerWorst = std::min(smallerWorst, per[3]["worst"].get<double>());
        }
        std::cout << "[ to-spec  ] " << c.name << " " << c.method << ": worst margin found " << per[0]["worst"]
                  << " dB, next smaller " << smallerWorst << " dB\n";
        // The next smaller allowed N misses some band (a non-converged
        // design misses by definition).
        if (smallerDesigned[i]) {
            EXPECT_LT(smallerWorst, 0.0) << per[1].dump();
        }
    }
}

// A Kaiser design whose stop-band peak (-119.950 dB at 9001.46 Hz for 387
// taps) falls between the points of the measurement grid, which read
// 120.05 dB and declared 387 taps met. The figures are refined between
// the points: the N found meets under a 2^18-point evaluation with refined
// peaks, its reported peak agrees with that one to 0.001 dB, and the next
// smaller N misses.
TEST(ToSpecCrossCheck, AStopPeakBetweenGridPointsIsNotSteppedOver)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    const CliResult r = RunCliArgs({"--to-spec", "--method", "sinc", "--fs", "48000", "--pass-band", "0:8000:0.001",
                                    "--stop-band", "9000:24000:120", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json run = r.Json();
    const json& t = run["to_spec"];
    ASSERT_TRUE(t["met"].get<bool>());
    // The formula's beta (12.27) first met at 389 taps; a beta for the N
    // meets with fewer.
    EXPECT_LT(t["taps"].get<int>(), 389);
    const RequirementCase c{"kaiser 48k", "48000", "sinc", {}, ""};
    const CliResult less = RunCliArgs(ExplicitArgs(c, run, t["next_smaller"]["taps"].get<int>()));
    ASSERT_EQ(less.status, 0) << less.err;
    const json input = json::array({{{"fs", 48000.0},
                                     {"bands", json::array({{{"kind", "pass"}, {"lo", 0}, {"hi", 8000}, {"limit", 0.001}},
                                                            {{"kind", "stop"}, {"lo", 9000}, {"hi", 24000}, {"limit", 120.0}}})},
                                     {"designs", {run["coefficients"], less.Json()["coefficients"]}}}});
    const json out = Reference(input);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_GE(out[0][0]["worst"].get<double>(), 0.0) << out.dump();
    EXPECT_LT(out[0][1]["worst"].get<double>(), 0.0) << out.dump();
    EXPECT_NEAR(t["bands"][1]["achieved"]["max_db"].get<double>(), out[0][0]["max_db"][1].get<double>(), 1e-3);
}

// Kaiser's formula puts beta at 6.07 for 63.8 dB, and with that beta no
// length holds 63.8 dB once the taps are rounded to Q15: more taps only
// narrow the transition. With beta chosen per N the requirement is met
// (513 taps, beta 6.09; the formula's length is 513). The answer's own
// figures meet every limit in double precision and in Q15, and so does a
// 2^18-point evaluation with refined peaks of both sets of taps.
TEST(ToSpecCrossCheck, KaiserBetaPerTapCountMeetsInQ15)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    const CliResult r = RunCliArgs({"--to-spec", "--method", "sinc", "--fs", "8000", "--stop-band", "0:1472:63.8",
                                    "--pass-band", "1533:4000:1.695", "--quantize", "q15", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json run = r.Json();
    const json& t = run["to_spec"];
    ASSERT_TRUE(t["met"].get<bool>()) << r.err;
    EXPECT_LE(t["taps"].get<int>(), 515);
    EXPECT_GT(t["beta"].get<double>(), 6.07);
    EXPECT_LT(t["beta"].get<double>(), 6.3);
    for (const json& b : t["bands"]) {
        for (const char* precision : {"achieved", "quantized"}) {
            const json& a = b[precision];
            EXPECT_TRUE(a["met"].get<bool>()) << b.dump();
            if (b["kind"] == "stop") {
                EXPECT_GE(a["attenuation_db"].get<double>(), b["min_attenuation_db"].get<double>()) << b.dump();
            } else {
                EXPECT_LE(a["ripple_db"].get<double>(), b["max_ripple_db"].get<double>()) << b.dump();
            }
        }
    }
    const json input = json::array(
        {{{"fs", 8000.0},
          {"bands", json::array({{{"kind", "stop"}, {"lo", 0}, {"hi", 1472}, {"limit", 63.8}},
                                 {{"kind", "pass"}, {"lo", 1533}, {"hi", 4000}, {"limit", 1.695}}})},
          {"designs", {run["coefficients"], Quantized(run)}}}});
    const json out = Reference(input);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_GE(out[0][0]["worst"].get<double>(), 0.0) << out.dump();
    EXPECT_GE(out[0][1]["worst"].get<double>(), 0.0) << out.dump();
    EXPECT_NEAR(t["bands"][0]["achieved"]["max_db"].get<double>(), out[0][0]["max_db"][0].get<double>(), 1e-3);
}

// Remez weights at the true ratio of the deviations: a 0.5 dB pass band
// next to an 80 dB stop band weighs the stop band 287.74, beyond the
// 100.00 the band table took before (1020 taps, using 0.167 of the 0.5 dB
// allowed). scipy.signal.remez with that weight (grid density 16) meets at
// 899 taps by requirement_reference.py; Zantro's N is at most one more, and
// its taps meet by the same reference.
TEST(ToSpecCrossCheck, RemezWeightsKeepTheirTrueRatio)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    const CliResult r = RunCliArgs({"--to-spec", "--method", "remez", "--fs", "8000", "--pass-band", "0:1000:0.5",
                                    "--stop-band", "1025:4000:80", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json run = r.Json();
    const json& t = run["to_spec"];
    ASSERT_TRUE(t["met"].get<bool>());
    EXPECT_LE(t["taps"].get<int>(), 900);
    EXPECT_NEAR(run["parameters"]["m_Bands"][1]["m_dWeight"].get<double>(), 287.74, 0.005);
    EXPECT_EQ(run["parameters"]["m_Bands"][0]["m_dWeight"].get<double>(), 1.0);
    const json input = json::array({{{"fs", 8000.0},
                                     {"bands", json::array({{{"kind", "pass"}, {"lo", 0}, {"hi", 1000}, {"limit", 0.5}},
                                                            {{"kind", "stop"}, {"lo", 1025}, {"hi", 4000}, {"limit", 80.0}}})},
                                     {"designs", {run["coefficients"]}}}});
    const json out = Reference(input);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_GE(out[0][0]["worst"].get<double>(), 0.0) << out.dump();
}

// The requirement's refusals: a usage error for a pattern no filter type
// has or a --type that contradicts it; a message and exit status 1 for
// edges beyond fs/2; and an impossible requirement names its best figures.
TEST(ToSpecCli, RefusalsAndAnImpossibleRequirement)
{
    CliResult r = RunCliArgs({"--to-spec", "--pass-band", "0:1000:0.1", "--pass-band", "1200:4000:0.1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("The bands must describe a lowpass"), std::string::npos) << r.err;
    r = RunCliArgs({"--to-spec", "--type", "highpass", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("the bands describe a lowpass, not a highpass"), std::string::npos) << r.err;
    r = RunCliArgs({"--to-spec", "--method", "fsamp", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60"});
    EXPECT_EQ(r.status, 2);
    r = RunCliArgs({"--pass-band", "0:1000:0.1"});
    EXPECT_EQ(r.status, 2) << "--pass-band without --to-spec";
    r = RunCliArgs({"--to-spec", "--taps", "33", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60"});
    EXPECT_EQ(r.status, 2) << "--taps with --to-spec";
    r = RunCliArgs({"--to-spec", "--pass-band", "0:1000.5:0.1", "--stop-band", "1200:4000:60"});
    EXPECT_EQ(r.status, 2) << "edges are whole hertz";

    r = RunCliArgs({"--to-spec", "--fs", "6000", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Band edges must be whole hertz from 0 to fs/2"), std::string::npos) << r.err;
    EXPECT_TRUE(r.Json()["to_spec"].is_null());

    // Eight-bit words hold no 60 dB stop band at any length.
    r = RunCliArgs({"--to-spec", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60", "--quantize", "q7",
                    "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No design up to 1025 taps meets the requirement in double precision and in Q7"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("Best reached with "), std::string::npos) << r.err;
    const json j = r.Json();
    EXPECT_FALSE(j["to_spec"]["met"].get<bool>());
    EXPECT_EQ(j["to_spec"]["status"], "unreachable");
    EXPECT_FALSE(j["design_valid"].get<bool>());
    EXPECT_FALSE(j["to_spec"]["bands"][1]["quantized"]["met"].get<bool>());
}
