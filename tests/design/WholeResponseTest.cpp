#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "design/Design.h"
#include "design/RateChangeDesign.h"
#include "design/RequirementSearch.h"
#include "design/RequirementTrial.h"
#include "dsp/DesignKinds.h"
#include "dsp/MinimumPhase.h"

// The whole response: what a design does between the bands it was given.

namespace {

SpecBand Pass(double lo, double hi, double ripple)
{
    return {BandKind::Pass, lo, hi, ripple};
}

SpecBand Stop(double lo, double hi, double attenuation)
{
    return {BandKind::Stop, lo, hi, attenuation};
}

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
    q.method = DesignMethod::Remez;
    q.taps = 48;
    q.samplingRate = 48000;
    q.firstCorner = 2400;
    q.rateChange.kind = RateChangeKind::Decimate;
    q.rateChange.factor = 2;
    const DesignOutcome out = Design(q);
    ASSERT_TRUE(out.valid);
    ASSERT_TRUE(out.figures.whole.measured);
    EXPECT_NEAR(out.figures.whole.peakDb, 21.9, 0.05);
    EXPECT_NEAR(out.figures.whole.peakHz, 10600.0, 100.0);
    EXPECT_TRUE(WholeResponseExceeds(out.figures));
}

// Requirements with unequal transitions or two pass bands: a design is
// "met" only when nothing outside the stop bands rises above the pass
// band's upper ripple limit, and the search still finds one.
TEST(WholeResponse, ARequirementIsMetOnlyWithTheWholeResponse)
{
    struct Case {
        const char* name;
        double fs;
        std::vector<SpecBand> bands;
    };
    const Case cases[] = {
        {"band-pass 80 dB", 48000, {Stop(0, 3000, 80), Pass(4000, 10000, 0.3), Stop(14000, 24000, 80)}},
        {"band-pass 70 dB", 44100, {Stop(0, 2000, 70), Pass(2500, 8000, 0.5), Stop(12000, 22050, 70)}},
        {"two pass bands", 8000, {Pass(0, 1000, 0.5), Stop(1200, 2000, 60), Pass(3200, 4000, 0.5)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpecRequest request;
        request.requirement = {c.fs, c.bands};
        request.designMethod = DM_REMEZ;
        const SpecDesignResult r = FindSpecDesign(request, [](const SpecFormSetting& s) {
            return DesignSpecTrial(DesignRequest{}, s);
        });
        ASSERT_EQ(r.search.status, SpecSearchStatus::Met) << SpecOutcomeText(request, r);
        const TrialVerdict& v = r.search.found;
        EXPECT_TRUE(v.whole.met);
        EXPECT_LE(v.whole.peakDb, v.whole.limitDb);
        // The form's design of the setting found is the design judged.
        const DesignOutcome again = Design(SpecTrialRequest(DesignRequest{}, r.setting));
        EXPECT_EQ(again.Taps(), v.coefficients);
        double sumAbs = 0.0;
        for (double t : v.coefficients)
            sumAbs += std::abs(t);
        EXPECT_LT(sumAbs, 4.0);
    }
}

// The rate-change search tries several weights per length: a 47-tap
// Remez design with stop weight 100 meets this in Q15, so the search must
// find 47 taps or fewer.
TEST(WholeResponse, TheRateChangeSearchIsNotBeatenByAnotherWeight)
{
    DesignRequest base;
    base.method = DesignMethod::Remez;
    base.samplingRate = 48000;
    base.firstCorner = 4000;
    base.rateChange.kind = RateChangeKind::Decimate;
    base.rateChange.factor = 4;
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
        q.method = c.method;
        q.filterType = c.type;
        q.minimumPhase = true;
        q.taps = c.taps;
        q.samplingRate = c.fs;
        q.bands = c.bands;
        q.weightRange = RemezWeightRange::AnyPositive;
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
