#include <gtest/gtest.h>

#include <vector>

#include "RemezTestSupport.h"

namespace {

struct Outcome {
    int passes = 0;
    std::vector<std::vector<int>> trace;
    RemezReport report;
    CPoints taps;
};

Outcome Design(const RemezCase& c, bool reference, int threads)
{
    Outcome o;
    RemezOptions options;
    options.bReference = reference;
    options.nThreads = threads;
    options.pTrace = &o.trace;
    options.pReport = &o.report;
    o.passes = RunDesign(c, o.taps, options);
    return o;
}

std::vector<RemezCase> Cases()
{
    std::vector<RemezCase> cases;
    for (int preset = 1; preset <= 10; ++preset) {
        RemezCase c = PresetCase(preset);
        c.name = "preset";
        cases.push_back(c);
    }
    const BandTable narrow{Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)};
    cases.push_back({"lowpass 63", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1200, 4000, 0.0, 1.0)}});
    cases.push_back({"lowpass 255", 255, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 511", 511, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 255 density 64", 255, FT_LOWPASS, narrow, 64});
    cases.push_back({"lowpass 1024", 1024, FT_LOWPASS, narrow});
    cases.push_back({"lowpass 1025 density 64", 1025, FT_LOWPASS, narrow, 64});
    cases.push_back({"hilbert 255", 255, FT_HILBERT, {Band(100, 3900, 1.0, 1.0)}, 32});
    cases.push_back({"differentiator 128", 128, FT_DIFFERENTIATOR, {Band(0, 3600, 1.5, 1.0)}, 32});
    cases.push_back({"no convergence", 63, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(3000, 4000, 0.0, 1.0)}});
    return cases;
}

}  // namespace

// The fast evaluation (vectorised, one or two threads) must make the same
// exchange as the plain per-point loop: the same extremal set after every
// pass, the same pass count and the same taps, bit for bit.
TEST(RemezEquivalence, FastPassesEqualThePlainLoop)
{
    for (const RemezCase& c : Cases()) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.taps) + " taps");
        const Outcome plain = Design(c, true, 1);
        ASSERT_FALSE(plain.trace.empty());
        for (int threads : {1, 2}) {
            const Outcome fast = Design(c, false, threads);
            EXPECT_EQ(fast.passes, plain.passes);
            EXPECT_EQ(fast.report.nStartStages, plain.report.nStartStages);
            EXPECT_EQ(fast.report.nStartPasses, plain.report.nStartPasses);
            ASSERT_EQ(fast.trace.size(), plain.trace.size());
            for (size_t p = 0; p < plain.trace.size(); ++p)
                ASSERT_EQ(fast.trace[p], plain.trace[p]) << "pass " << p;
            for (int k = 0; k < c.taps; ++k)
                ASSERT_EQ(fast.taps[k].real(), plain.taps[k].real()) << "tap " << k;
        }
    }
}

TEST(RemezEquivalence, ThreadsFollowTheSizeOfTheWork)
{
    RemezCase small = PresetCase(3);
    const Outcome s = Design(small, false, 0);
    EXPECT_EQ(s.report.nThreads, 1);
    RemezCase large{"lowpass 1025", 1025, FT_LOWPASS, {Band(0, 1000, 1.0, 1.0), Band(1050, 4000, 0.0, 10.0)}, 64};
    EXPECT_EQ(Design(large, false, 1).report.nThreads, 1);
    EXPECT_EQ(Design(large, false, 2).report.nThreads, 2);
    EXPECT_EQ(Design(large, true, 2).report.nThreads, 1);
}
