#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "PythonReference.h"
#include "TestPaths.h"
#include "CliRunSupport.h"

namespace {

using json = nlohmann::json;

struct AnalysisCase {
    std::string name;
    std::vector<std::string> args;
};

std::filesystem::path TempDir()
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zantro-analysis-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// The reference case of one precision: taps, rate, the bands measured.
json ReferenceCase(const std::vector<double>& taps, double fs, const json& analysis, bool crossings)
{
    json bands = json::array();
    for (const json& b : analysis["bands"])
        bands.push_back({{"kind", b["kind"]},
                         {"lo", b["lo_hz"]},
                         {"hi", b["hi_hz"]},
                         {"desired", b.contains("desired") ? b["desired"] : json(0.0)}});
    return {{"fs", fs}, {"taps", taps}, {"bands", bands}, {"crossings", crossings}};
}

// Ours against the reference: pass-band gains within 0.01 dB, stop-band
// peaks within 0.1 dB, crossings within one of our grid steps.
void Compare(const json& ours, const json& ref, double fs, bool linearPhase)
{
    ASSERT_EQ(ours["status"], "ok");
    ASSERT_EQ(ours["bands"].size(), ref["bands"].size());
    for (size_t i = 0; i < ours["bands"].size(); ++i) {
        const json& b = ours["bands"][i];
        const json& r = ref["bands"][i];
        SCOPED_TRACE("band " + std::to_string(i) + " " + b["kind"].get<std::string>());
        if (b["kind"] == "pass") {
            EXPECT_NEAR(b["max_db"].get<double>(), r["max_db"].get<double>(), 0.01);
            EXPECT_NEAR(b["min_db"].get<double>(), r["min_db"].get<double>(), 0.01);
            EXPECT_NEAR(b["ripple_db"].get<double>(), r["max_db"].get<double>() - r["min_db"].get<double>(), 0.02);
            EXPECT_NEAR(b["max_deviation"].get<double>(), r["max_dev"].get<double>(), 1e-4);
        } else if (b["kind"] == "stop") {
            EXPECT_NEAR(b["max_db"].get<double>(), r["max_db"].get<double>(), 0.1);
            EXPECT_NEAR(b["attenuation_db"].get<double>(),
                        20.0 * std::log10(ref["nominal"].get<double>()) - r["max_db"].get<double>(), 0.1);
        } else {
            EXPECT_NEAR(b["max_deviation"].get<double>(), r["max_dev"].get<double>(), 1e-4);
        }
    }
    EXPECT_NEAR(ours["nominal_pass_gain"].get<double>(), ref["nominal"].get<double>(),
                1e-4 * ref["nominal"].get<double>());
    const double step = fs / 2.0 / (ours["grid_points"].get<double>() - 1.0);
    for (const char* key : {"minus3", "minus6"}) {
        const json& mine = ours[std::string(key) + "db_hz"];
        ASSERT_EQ(mine.size(), ref[key].size()) << key;
        for (size_t i = 0; i < mine.size(); ++i)
            EXPECT_NEAR(mine[i].get<double>(), ref[key][i].get<double>(), step) << key;
    }
    // Gains at rounding level (antisymmetric taps at DC) only need to stay there.
    for (const auto& [mine, theirs] : {std::pair{"dc_gain_db", "dc_db"}, std::pair{"nyquist_gain_db", "nyq_db"}}) {
        if (ref[theirs].get<double>() > -200.0)
            EXPECT_NEAR(ours[mine].get<double>(), ref[theirs].get<double>(), 1e-6) << mine;
        else
            EXPECT_LT(ours[mine].get<double>(), -200.0) << mine;
    }
    if (!linearPhase) {
        EXPECT_NEAR(ours["group_delay_samples"].get<double>(),
                    0.5 * (ref["gd_min"].get<double>() + ref["gd_max"].get<double>()),
                    0.5 * (ref["gd_max"].get<double>() - ref["gd_min"].get<double>()) + 0.01);
    }
}

}  // namespace

// Every method and filter type, the Remez target presets included, in
// double precision and after quantisation, against scipy.signal.freqz on a
// grid eight times finer than ours.
TEST(AnalysisCrossCheck, FiguresAgreeWithScipyFreqz)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    const std::filesystem::path dir = TempDir();
    {
        std::ofstream input(dir / "fsamp.txt");
        for (int i = 0; i < 33; ++i)
            input << (i < 10 ? "1.0\n" : i == 10 ? "0.5\n" : "0.0\n");
    }

    std::vector<AnalysisCase> cases = {
        {"hamming lowpass", {}},
        {"kaiser lowpass q7", {"--taps", "101", "--fs", "48000", "--f1", "6000", "--window", "kaiser", "--beta", "10",
                               "--quantize", "q7"}},
        {"kaiser lowpass q31", {"--taps", "101", "--fs", "48000", "--f1", "6000", "--window", "kaiser", "--beta",
                                "10", "--quantize", "q31"}},
        {"kaiser lowpass even", {"--taps", "64", "--window", "kaiser", "--beta", "6", "--quantize", "12"}},
        {"kaiser highpass", {"--type", "highpass", "--taps", "65", "--fs", "48000", "--f1", "6000", "--window",
                             "kaiser", "--beta", "8.6", "--quantize", "14", "--rounding", "truncate"}},
        {"blackman bandpass", {"--type", "bandpass", "--taps", "101", "--f1", "1000", "--f2", "2000", "--window",
                               "blackman"}},
        {"chebyshev bandstop", {"--type", "bandstop", "--taps", "81", "--f1", "1000", "--f2", "2500", "--window",
                                "chebyshev", "--att", "60"}},
        {"rectangular lowpass 1025", {"--taps", "1025", "--window", "rectangular", "--quantize", "q31"}},
        {"hanning hilbert", {"--type", "hilbert", "--taps", "63", "--f1", "200", "--f2", "3800", "--window",
                             "hanning"}},
        {"hamming differentiator", {"--type", "differentiator", "--taps", "32", "--f1", "0", "--f2", "3000",
                                    "--gain", "pi", "--window", "hamming"}},
        {"frequency sampling", {"--method", "fsamp", "--window", "hamming", "--input", (dir / "fsamp.txt").string()}},
        {"remez bandpass", {"--method", "remez", "--type", "bandpass", "--taps", "63", "--band", "0:800:0:1", "--band",
                            "1000:2000:1:1", "--band", "2200:4000:0:1"}},
        {"direct gaussian", {"--method", "direct", "--type", "gaussian", "--sigma", "1.5", "--taps", "15"}},
        {"direct allpass", {"--method", "direct", "--type", "allpass", "--taps", "31", "--window", "rectangular"}},
        {"direct moving average", {"--method", "direct", "--type", "moving-average", "--taps", "16", "--mask",
                                   "0:50:pass", "--mask", "600:4000:stop", "--quantize", "10"}},
    };
    for (int preset = 1; preset <= 10; ++preset)
        cases.push_back({"preset " + std::to_string(preset), {"--preset", std::to_string(preset)}});

    json reference = json::array();
    std::vector<json> analyses;
    std::vector<double> rates;
    for (AnalysisCase& c : cases) {
        c.args.push_back("--json");
        const CliResult r = RunCliArgs(c.args);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        const json j = r.Json();
        const json& a = j["analysis"];
        ASSERT_TRUE(a.is_object()) << c.name;
        const double fs = j["parameters"]["m_nSamplingRate"].get<double>();
        const bool crossings = !a["minus3db_hz"].empty() || j["parameters"]["m_nFilterType"].get<int>() <= 3;
        const json& q = a["quantized"];
        std::vector<double> qtaps;
        for (const json& t : q["taps"])
            qtaps.push_back(std::ldexp(t.get<double>(), -q["fraction_length"].get<int>()));
        reference.push_back(ReferenceCase(j["coefficients"].get<std::vector<double>>(), fs, a, crossings));
        reference.push_back(ReferenceCase(qtaps, fs, q, crossings));
        analyses.push_back(a);
        rates.push_back(fs);
    }
    {
        std::ofstream in(dir / "cases.json");
        in << reference.dump();
    }
    const std::string cmd = std::string(kPython) + " " + TestSourceDir() + "/tests/cli/analysis_reference.py " +
                            (dir / "cases.json").string() + " " + (dir / "figures.json").string();
    const int status = std::system(cmd.c_str());
    json figures;
    {
        std::ifstream out(dir / "figures.json");
        if (out)
            figures = json::parse(out, nullptr, false);
    }
    std::filesystem::remove_all(dir);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(figures.size(), 2 * cases.size());

    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const json& a = analyses[i];
        EXPECT_FALSE(a["bands"].empty() && cases[i].name.rfind("direct gaussian", 0) != 0);
        {
            SCOPED_TRACE("double");
            Compare(a, figures[2 * i], rates[i], a["linear_phase"].get<bool>());
        }
        {
            SCOPED_TRACE("quantized " + a["quantized"]["format"].get<std::string>());
            Compare(a["quantized"], figures[2 * i + 1], rates[i], a["quantized"]["linear_phase"].get<bool>());
        }
    }
}
