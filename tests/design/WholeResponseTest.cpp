#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "design/Design.h"
#include "design/RateChangeDesign.h"
#include "dsp/DesignKinds.h"
#include "dsp/MinimumPhase.h"

// The whole response: what a design does between the bands it was given.

namespace {

RemezBand Row(int lo, int hi, double value, double weight)
{
    return {1, lo, hi, value, weight};
}

}  // namespace

// A decimator's lowpass whose exchange levels a negligible error on two
// far-apart bands and rises 21.9 dB at 10.6 kHz in between.
TEST(WholeResponse, TheTransitionPeakOfARateChangeIsMeasured)
{
    DesignRequest q;
    q.method = RemezMethod{};
    q.taps = 48;
    q.samplingRate = 48000;
    q.firstCorner = 2400;
    q.rateChange = RateChange{RateChangeKind::Decimate, 2};
    const DesignOutcome out = Design(q);
    ASSERT_TRUE(out.valid);
    ASSERT_TRUE(out.figures.whole.measured);
    EXPECT_NEAR(out.figures.whole.peakDb, 21.9, 0.05);
    EXPECT_NEAR(out.figures.whole.peakHz, 10600.0, 100.0);
    EXPECT_TRUE(WholeResponseExceeds(out.figures));
}

// The rate-change search tries several weights per length: a 47-tap
// Remez design with stop weight 100 meets this in Q15, so the search must
// find 47 taps or fewer.
TEST(WholeResponse, TheRateChangeSearchIsNotBeatenByAnotherWeight)
{
    DesignRequest base;
    base.method = RemezMethod{};
    base.samplingRate = 48000;
    base.firstCorner = 4000;
    base.rateChange = RateChange{RateChangeKind::Decimate, 4};
    RateChangeRequirement requirement;
    requirement.passRippleDb = 0.1;
    requirement.aliasAttenuationDb = 80.0;
    QuantSpec q15;
    q15.format = QuantFormat::Q15;
    requirement.quantize = q15;
    const RateChangeSearch r = SearchRateChange(base, requirement);
    ASSERT_TRUE(r.search);
    ASSERT_EQ(r.search->status, SpecSearchStatus::Met);
    EXPECT_LE(r.search->found.taps, 47);
    EXPECT_TRUE(r.search->found.met);
}

// Minimum phase: the shift comes from the prototype's stop bands, the
// stop bands keep the level it promises, every zero lies inside.
TEST(WholeResponse, MinimumPhaseKeepsItsStopBands)
{
    struct Case {
        const char* name;
        DesignMethod method;
        FilterType type;
        int taps;
        int fs;
        std::vector<RemezBand> bands;
    };
    const Case cases[] = {
        {"remez band-stop", DesignMethod::Remez, FilterType::Bandstop, 95, 16000,
         {Row(0, 2000, 1, 1), Row(3000, 5000, 0, 10), Row(7000, 8000, 1, 1)}},
        {"least-squares band-pass", DesignMethod::LeastSquares, FilterType::Bandpass, 70, 8000,
         {Row(0, 800, 0, 10), Row(1200, 2000, 1, 1), Row(2800, 4000, 0, 10)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignRequest q;
        if (c.method == DesignMethod::Remez)
            q.method = RemezMethod{c.bands, 16, RemezStart::Automatic, true, {}};
        else
            q.method = LeastSquaresMethod{c.bands, 16, true};
        q.filterType = c.type;
        q.taps = c.taps;
        q.samplingRate = c.fs;
        const DesignOutcome out = Design(q);
        ASSERT_TRUE(out.valid);
        EXPECT_EQ(ZerosOutsideUnitCircle(out.Taps()), 0);
        for (const BandFigures& b : out.figures.bands) {
            if (b.band.kind == BandKind::Stop) {
                EXPECT_GT(b.attenuationDb, 40.0);
            }
        }
    }
}

// The argument principle counts the zeros on or outside the unit circle.
TEST(WholeResponse, ZerosOutsideTheUnitCircleAreCounted)
{
    EXPECT_EQ(ZerosOutsideUnitCircle(std::vector<double>{1.0, -0.5}), 0);
    EXPECT_EQ(ZerosOutsideUnitCircle(std::vector<double>{1.0, -2.0}), 1);
    EXPECT_EQ(ZerosOutsideUnitCircle(std::vector<double>{1.0, 0.0, -4.0}), 2);
    // (1 - 0.9 z^-1)(1 - 1.00005 z^-1): one zero a hair outside.
    EXPECT_EQ(ZerosOutsideUnitCircle(std::vector<double>{1.0, -1.90005, 0.9 * 1.00005}), 1);
    EXPECT_EQ(ZerosOutsideUnitCircle(std::vector<double>{1.0, -1.89995, 0.9 * 0.99995}), 0);
}
