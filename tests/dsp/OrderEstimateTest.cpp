#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "PythonReference.h"
#include "BandLetters.h"
#include "dsp/DesignKinds.h"
#include "dsp/OrderEstimate.h"

namespace {

// Runs a Python program and returns the numbers it prints, in order.
std::vector<double> PythonNumbers(const std::string& program)
{
    // One file per test and process: ctest runs the tests of this file side by side.
    const std::string path = testing::TempDir() + "order_estimate_" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                             std::to_string(getpid()) + ".py";
    if (FILE* f = std::fopen(path.c_str(), "w")) {
        std::fputs(program.c_str(), f);
        std::fclose(f);
    }
    std::vector<double> out;
    FILE* p = popen((std::string(kPython) + " " + path).c_str(), "r");
    if (!p)
        return out;
    double x = 0.0;
    while (std::fscanf(p, "%lf", &x) == 1)
        out.push_back(x);
    pclose(p);
    std::remove(path.c_str());
    return out;
}

SpecRequirement Req(double fs, std::vector<SpecBand> bands)
{
    return SpecRequirement{fs, std::move(bands)};
}

}  // namespace

// Kaiser's beta and length against scipy.signal.kaiser_beta and kaiserord
// (width as a fraction of fs/2, as scipy takes it), on both sides of the
// 21 dB and 50 dB breaks.
TEST(OrderEstimate, KaiserFormulasAgreeWithScipy)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    const std::vector<double> atten = {8.5, 20.0, 21.5, 30.0, 45.0, 50.0, 50.5, 60.0, 83.3, 120.0};
    const std::vector<double> widths = {0.2, 0.05, 0.0123, 0.004};
    std::ostringstream program;
    program.precision(17);
    program << "import scipy.signal as s\n";
    for (double a : atten)
        for (double w : widths)
            program << "n, b = s.kaiserord(" << a << ", " << w << "); print(repr(float(s.kaiser_beta(" << a
                    << "))), n)\n";
    const std::vector<double> ref = PythonNumbers(program.str());
    ASSERT_EQ(ref.size(), 2 * atten.size() * widths.size());
    size_t k = 0;
    for (double a : atten)
        for (double w : widths) {
            SCOPED_TRACE("A " + std::to_string(a) + " dB, width " + std::to_string(w));
            EXPECT_NEAR(KaiserBeta(a), ref[k], 1e-12);
            const int scipyTaps = static_cast<int>(ref[k + 1]);
            EXPECT_EQ(KaiserTaps(a, w), scipyTaps > 1026 ? 1026 : scipyTaps);
            k += 2;
        }
}

// Herrmann's and Ichige's lengths against the formulas written out again
// in Python from the papers: Herrmann's D as the quadratic form
// [1 d1 d1^2] A [1 d2 d2^2]^T, Ichige's from its published steps.
TEST(OrderEstimate, ParksMcClellanLengthsAgreeWithTheFormulas)
{
    if (!HaveScipy())
        GTEST_SKIP() << kPython << " with scipy is not available";
    struct Case {
        double fp, fs, dp, ds;
    };
    const std::vector<Case> cases = {{0.125, 0.15, 0.00576, 0.001},
                                     {0.2, 0.25, 0.01, 0.001},
                                     {0.1, 0.13, 0.0288, 0.0001},
                                     {0.3, 0.31, 0.001, 0.01},
                                     {0.02, 0.03, 0.0115, 0.00316}};
    std::ostringstream program;
    program.precision(17);
    program << R"(import numpy as np
A = np.array([[-4.278e-1, -4.761e-1, 0.0], [-5.941e-1, 7.114e-2, 0.0], [-2.660e-3, 5.309e-3, 0.0]])
def herrmann(fp, fs, dp, ds):
    d1, d2 = np.log10(dp), np.log10(ds)
    D = np.array([1.0, d1, d1 * d1]) @ A @ np.array([1.0, d2, d2 * d2])
    F = 11.01217 + 0.51244 * (d1 - d2)
    df = fs - fp
    return D / df - F * df + 1.0
def ichige(fp, fs, dp, ds):
    dF = fs - fp
    v = 2.325 * (-np.log10(dp)) ** -0.445 * dF ** -1.39
    def g(f, c):
        return 1.0 if f <= 0 else 2.0 / np.pi * np.arctan(c * (1.0 / f - 1.0 / (0.5 - dF)))
    Nc = np.ceil(1.0 + (1.101 / dF) * (-np.log10(2.0 * dp)) ** 1.1)
    Nm = (0.52 / dF) * np.log10(dp / ds) * (-np.log10(dp)) ** 0.17
    N3 = np.ceil(Nc * (g(fp, v) + g(0.5 - dF - fp, v) + 1.0) / 3.0)
    DN = np.ceil(Nm * (g(fp, 1.1 / dF) - (g(0.5 - dF - fp, 0.29 / dF) - 1.0) / 2.0))
    return N3 + DN
)";
    for (const Case& c : cases)
        program << "print(repr(float(herrmann(" << c.fp << ", " << c.fs << ", " << c.dp << ", " << c.ds
                << "))), repr(float(ichige(" << c.fp << ", " << c.fs << ", " << c.dp << ", " << c.ds << "))))\n";
    const std::vector<double> ref = PythonNumbers(program.str());
    ASSERT_EQ(ref.size(), 2 * cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_NEAR(HerrmannLength(c.fp, c.fs, c.dp, c.ds), ref[2 * i], 1e-9) << i;
        EXPECT_EQ(IchigeLength(c.fp, c.fs, c.dp, c.ds), ref[2 * i + 1]) << i;
    }
    // Worked by hand: fp 0.2, fst 0.25, dp 0.01, ds 0.001 give D = 2.541192 and
    // f = 11.52461, so 2.541192 / 0.05 - 11.52461 * 0.05 + 1 = 51.2476.
    EXPECT_NEAR(HerrmannLength(0.2, 0.25, 0.01, 0.001), 51.2476, 1e-4);
}

TEST(OrderEstimate, DeviationsAndBandPatterns)
{
    EXPECT_NEAR(20.0 * std::log10((1.0 + PassDeviation(0.1)) / (1.0 - PassDeviation(0.1))), 0.1, 1e-12);
    EXPECT_NEAR(PassDeviation(0.1), 0.0057564, 1e-7);
    EXPECT_NEAR(StopDeviation(60.0), 0.001, 1e-15);

    EXPECT_EQ(RequirementFilterType(Req(8000, {{P, 0, 1000, 0.1}, {S, 1200, 4000, 60}})), FT_LOWPASS);
    EXPECT_EQ(RequirementFilterType(Req(8000, {{S, 0, 1000, 60}, {P, 1200, 4000, 0.1}})), FT_HIGHPASS);
    EXPECT_EQ(RequirementFilterType(Req(8000, {{S, 0, 500, 40}, {P, 1000, 2000, 1}, {S, 2500, 4000, 40}})),
              FT_BANDPASS);
    EXPECT_EQ(RequirementFilterType(Req(8000, {{P, 0, 500, 1}, {S, 1000, 2000, 40}, {P, 2500, 4000, 1}})),
              FT_BANDSTOP);
    // Bands need not reach 0 or fs/2.
    EXPECT_EQ(RequirementFilterType(Req(8000, {{P, 100, 1000, 0.1}, {S, 1200, 3000, 60}})), FT_LOWPASS);

    EXPECT_EQ(CheckRequirement(Req(0, {{P, 0, 1000, 0.1}, {S, 1200, 4000, 60}})), SpecCheck::BadRate);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.1}})), SpecCheck::TooFewBands);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1, 1}, {S, 2, 3, 1}, {P, 4, 5, 1}, {S, 6, 7, 1}})),
              SpecCheck::TooManyBands);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.1}, {S, 1200, 4001, 60}})), SpecCheck::BadEdges);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.1}, {S, 1000, 4000, 60}})), SpecCheck::NoTransition);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.1}, {P, 1200, 4000, 60}})), SpecCheck::NotAlternating);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.0}, {S, 1200, 4000, 60}})), SpecCheck::BadLimit);
    EXPECT_EQ(CheckRequirement(Req(8000, {{P, 0, 1000, 0.1}, {S, 1200, 4000, NAN}})), SpecCheck::BadLimit);
    EXPECT_EQ(RequirementFilterType(Req(8000, {{P, 0, 1000, 0.1}, {S, 900, 4000, 60}})), -1);
}

// The example 0-1000 Hz 0.1 dB, 1200-4000 Hz 60 dB at 8 kHz.
TEST(OrderEstimate, DesignEstimatesOfALowpass)
{
    const SpecRequirement req = Req(8000, {{P, 0, 1000, 0.1}, {S, 1200, 4000, 60}});
    const KaiserDesignEstimate k = EstimateKaiserDesign(req);
    EXPECT_NEAR(k.attenuationDb, 60.0, 1e-9);
    EXPECT_NEAR(k.beta, 0.1102 * (60.0 - 8.7), 1e-12);
    EXPECT_EQ(k.widthHz, 200.0);
    EXPECT_EQ(k.cornersHz, std::vector<int>{1100});
    // (60 - 7.95) / (2.285 pi 0.05) + 1 = 146.01.
    EXPECT_EQ(k.taps, 147);

    const RemezDesignEstimate r = EstimateRemezDesign(req);
    ASSERT_EQ(r.weights.size(), 2u);
    EXPECT_EQ(r.weights[0], 1.0);
    EXPECT_NEAR(r.weights[1], PassDeviation(0.1) / 0.001, 1e-9);
    EXPECT_GT(r.herrmannLength, kIchigeFromTaps);
    EXPECT_TRUE(r.usedIchige);
    EXPECT_EQ(r.taps, static_cast<int>(std::ceil(r.ichigeLength)));
}

TEST(OrderEstimate, TapsRespectTheFirTypesAFilterAllows)
{
    EXPECT_EQ(AllowedTaps(2, FT_LOWPASS), 4);
    EXPECT_EQ(AllowedTaps(4, FT_HIGHPASS), 5);
    EXPECT_EQ(AllowedTaps(64, FT_BANDPASS), 64);
    EXPECT_EQ(AllowedTaps(64, FT_BANDSTOP), 65);
    EXPECT_EQ(AllowedTaps(1024, FT_HIGHPASS), 1025);
    EXPECT_EQ(AllowedTaps(5000, FT_LOWPASS), 1025);

    // A highpass by either estimate gets an odd length; the mirror image of
    // the transition makes a highpass as long as the lowpass it mirrors.
    const SpecRequirement hp = Req(48000, {{S, 0, 9000, 60}, {P, 12000, 24000, 0.2}});
    const SpecRequirement lp = Req(48000, {{P, 0, 12000, 0.2}, {S, 15000, 24000, 60}});
    EXPECT_EQ(EstimateKaiserDesign(hp).taps % 2, 1);
    EXPECT_EQ(EstimateRemezDesign(hp).taps % 2, 1);
    EXPECT_DOUBLE_EQ(EstimateRemezDesign(hp).herrmannLength, EstimateRemezDesign(lp).herrmannLength);
    // The narrower of two transitions sets the window's length.
    const SpecRequirement bp = Req(8000, {{S, 0, 500, 50}, {P, 1000, 2000, 1}, {S, 2100, 4000, 50}});
    const KaiserDesignEstimate k = EstimateKaiserDesign(bp);
    EXPECT_EQ(k.widthHz, 100.0);
    EXPECT_EQ(k.cornersHz, (std::vector<int>{750, 2050}));
}
