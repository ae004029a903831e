#include <gtest/gtest.h>

#include <cmath>

#include "design/Design.h"

namespace {

// A lowpass of 41 taps: pass 0 .. 1000 Hz, stop 1500 .. 4000 Hz at 8 kHz.
DesignRequest Lowpass(RemezStart start, int gridDensity)
{
    DesignRequest q;
    q.taps = 41;
    q.method = RemezMethod{{{1, 0, 1000, 1.0, 1.0}, {1, 1500, 4000, 0.0, 1.0}}, gridDensity, start};
    return q;
}

}  // namespace

TEST(RemezOutcome, ReportsConvergenceItsPassesAndTheStartUsed)
{
    struct Row {
        RemezStart asked;
        int density;
        RemezStart used;
    };
    const Row rows[] = {
        {RemezStart::Automatic, 16, RemezStart::Uniform},
        {RemezStart::Automatic, 32, RemezStart::SparseGrid},
        {RemezStart::Uniform, 32, RemezStart::Uniform},
        {RemezStart::Coarse, 16, RemezStart::Coarse},
        {RemezStart::SparseGrid, 16, RemezStart::SparseGrid},
    };
    const DesignOutcome reference = Design(Lowpass(RemezStart::Uniform, 16));
    ASSERT_TRUE(reference.valid);
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.asked) * 100 + row.density);
        const DesignOutcome out = Design(Lowpass(row.asked, row.density));
        ASSERT_TRUE(out.valid);
        EXPECT_TRUE(out.remez.ran);
        EXPECT_EQ(out.remez.status, RemezStatus::Converged);
        EXPECT_EQ(out.remez.startUsed, row.used);
        EXPECT_GE(out.remez.passes, 1);
        EXPECT_LT(out.remez.passes, 64);
        ASSERT_EQ(out.notes.size(), 1u);
        EXPECT_EQ(out.notes[0].code, DesignCode::RemezPasses);
        EXPECT_EQ(out.notes[0].value, out.remez.passes);
        // Every start reaches the one optimum (on its own grid).
        ASSERT_EQ(out.coeffs.m_nCount, 41);
        for (int i = 0; i < 41; ++i)
            EXPECT_NEAR(out.coeffs[i].real(), reference.coeffs[i].real(), 2e-4) << i;
        // Linear phase and the equiripple figures: the same ripple in both
        // bands with equal weights.
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(out.coeffs[i].real(), out.coeffs[40 - i].real());
        ASSERT_EQ(out.figures.bands.size(), 2u);
        const double passDeviation = out.figures.bands[0].maxDeviation;
        const double stopGain = std::pow(10.0, -out.figures.bands[1].attenuationDb / 20.0);
        EXPECT_NEAR(stopGain / passDeviation, 1.0, 0.02);
    }
}

TEST(RemezOutcome, ANonConvergedDesignSaysSoAndKeepsFiniteTaps)
{
    // A 2000 Hz transition for 63 taps asks for a ripple far below what
    // doubles resolve: the exchange never levels its error.
    DesignRequest q = Lowpass(RemezStart::Automatic, 16);
    std::get<RemezMethod>(q.method).bands = {{1, 0, 1000, 1.0, 1.0}, {1, 3000, 4000, 0.0, 1.0}};
    q.taps = 63;
    const DesignOutcome out = Design(q);
    ASSERT_TRUE(out.remez.ran);
    EXPECT_EQ(out.remez.status, RemezStatus::DidNotConverge);
    EXPECT_EQ(out.remez.passes, 64);
    EXPECT_TRUE(out.Has(DesignCode::RemezNoConvergence));
    EXPECT_FALSE(out.Has(DesignCode::RemezPasses));
    EXPECT_TRUE(out.valid);
    for (int i = 0; i < out.coeffs.m_nCount; ++i)
        EXPECT_TRUE(std::isfinite(out.coeffs[i].real()));
}
