#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "PythonReference.h"
#include "TestPaths.h"
#include "RemezTestSupport.h"

namespace {

std::string Json(const RemezCase& c)
{
    std::ostringstream s;
    s.precision(17);
    const char* type = c.filterType == FT_DIFFERENTIATOR ? "differentiator"
                       : c.filterType == FT_HILBERT      ? "hilbert"
                                                         : "bandpass";
    std::string bands, desired, weight;
    for (const RemezBand& b : c.table.bands) {
        if (b.m_bUse != 1)
            continue;
        const char* sep = bands.empty() ? "" : ", ";
        bands.append(sep).append(std::to_string(b.m_nLowerEdge)).append(", ").append(std::to_string(b.m_nUpperEdge));
        // scipy's differentiator wants value x f; ours is 2 value f (the value is reached at fs/2).
        std::ostringstream v, w;
        v.precision(17);
        w.precision(17);
        v << (c.filterType == FT_DIFFERENTIATOR ? 2.0 * b.m_dValue : b.m_dValue);
        w << b.m_dWeight;
        desired.append(sep).append(v.str());
        weight.append(sep).append(w.str());
    }
    s << "{\"taps\": " << c.taps << ", \"bands\": [" << bands << "], \"desired\": [" << desired
      << "], \"weight\": [" << weight << "], \"type\": \"" << type << "\", \"fs\": " << c.fs
      << ", \"density\": " << c.density << "}";
    return s.str();
}

}  // namespace

// Against an implementation written elsewhere: scipy's Parks-McClellan on
// the same bands, weights, grid density and length. The two build their
// grids alike (scipy keeps a point that lands exactly on an edge and does
// not floor Q), so the taps agree to the convergence limit.
TEST(RemezCrossCheck, TapsAgreeWithScipy)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";

    std::vector<RemezCase> cases;
    for (int preset = 1; preset <= 10; ++preset)
        cases.push_back(PresetCase(preset));
    const BandTable narrow{Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)};
    cases.push_back({"lowpass 255", 255, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 511", 511, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 1025", 1025, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 1025 density 64", 1025, FT_LOWPASS, narrow, 64});

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        std::string("zantro-scipy-").append(std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    {
        std::ofstream in(dir / "designs.json");
        in << "[";
        for (size_t i = 0; i < cases.size(); ++i)
            in << (i ? ",\n" : "") << Json(cases[i]);
        in << "]\n";
    }
    const std::string script = TestSourceDir() + "/tests/dsp/remez_reference.py";
    const std::string cmd = std::string(kPython) + " " + script + " " + (dir / "designs.json").string() + " " +
                            (dir / "taps.txt").string();
    const int status = std::system(cmd.c_str());
    std::ifstream out(dir / "taps.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(lines.size(), cases.size());

    for (size_t i = 0; i < cases.size(); ++i) {
        const RemezCase& c = cases[i];
        const std::string label = (i < 10 ? "preset " + std::to_string(i + 1) : std::string(c.name)) + " (" +
                                  std::to_string(c.taps) + " taps, density " + std::to_string(c.density) + ")";
        SCOPED_TRACE(label);
        ASSERT_NE(lines[i], "error");
        std::istringstream values(lines[i]);
        std::vector<double> ref;
        for (double v; values >> v;)
            ref.push_back(v);
        ASSERT_EQ(static_cast<int>(ref.size()), c.taps);

        CPoints h;
        const RemezResult result = RunDesign(c, h);
        const int passes = result.nPasses;
        EXPECT_TRUE(result.Converged());
        double diff = 0.0;
        double peak = 0.0;
        for (int k = 0; k < c.taps; ++k) {
            diff = std::max(diff, std::fabs(h[k].real() - ref[static_cast<size_t>(k)]));
            peak = std::max(peak, std::fabs(ref[static_cast<size_t>(k)]));
        }
        const std::vector<double> ripple = GridPeaks(h, c);
        const double hi = *std::max_element(ripple.begin(), ripple.end());
        const double lo = *std::min_element(ripple.begin(), ripple.end());
        std::cout << "  " << label << ": " << passes << " passes, max |h - scipy| = " << diff << " (largest tap "
                  << peak << "), weighted ripple " << hi << ", spread across bands " << (hi - lo) / hi << "\n";
        EXPECT_LT(diff, 1e-6 * peak);
        EXPECT_LT((hi - lo) / hi, 1e-4);
    }
}
