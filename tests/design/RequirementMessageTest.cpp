#include <cmath>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "design/RequirementSearch.h"
#include "dsp/DesignKinds.h"

// The message after a search that found nothing: it counts the designs
// tried in the right number, says when the tap limit cut the estimate, and
// names a fixed-point format that is what cannot reach the attenuation.
namespace {

SpecRequest Lowpass(double stopDb, int method)
{
    SpecRequest r;
    r.requirement.fs = 8000;
    r.requirement.bands = {{BandKind::Pass, 0, 1000, 0.1}, {BandKind::Stop, 1010, 4000, stopDb}};
    r.designMethod = method;
    return r;
}

BandVerdict Verdict(const SpecBand& band, double figureDb, bool met)
{
    BandVerdict v;
    v.required = band;
    v.figures.band = {band.kind, band.loHz, band.hiHz, band.kind == BandKind::Pass ? 1.0 : 0.0};
    (band.kind == BandKind::Pass ? v.figures.rippleDb : v.figures.attenuationDb) = figureDb;
    v.met = met;
    return v;
}

}  // namespace

TEST(RequirementMessage, OneDesignTriedAndACappedEstimate)
{
    const SpecRequest request = Lowpass(120.0, DM_SINC);
    SpecDesignResult result;
    result.plan = PlanOf(request);
    result.search.status = SpecSearchStatus::Unreachable;
    result.search.tried = {1025};
    // Kaiser's formula (Kaiser 1974; Oppenheim and Schafer, Discrete-Time
    // Signal Processing, 3rd ed., eq. 7.63): N = ceil((A - 7.95) /
    // (2.285 pi w) + 1), w the 10 Hz transition as a fraction of fs/2.
    const double w = 10.0 / 4000.0;
    const int asked = static_cast<int>(std::ceil((120.0 - 7.95) / (2.285 * std::numbers::pi * w) + 1.0));
    ASSERT_GT(asked, 1025);
    ASSERT_EQ(result.plan.estimatedTaps, 1025);
    const std::string text = SpecOutcomeText(request, result);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "No design up to 1025 taps meets the requirement (estimate: 1025 taps by Kaiser's formula, capped at "
              "1025 from the formula's " +
                  std::to_string(asked) + "; 1 design tried).")
        << text;

    result.search.tried = {1025, 1023};
    EXPECT_NE(SpecOutcomeText(request, result).find("; 2 designs tried)."), std::string::npos);
}

TEST(RequirementMessage, AnEstimateInsideTheLimitIsNotCalledCapped)
{
    SpecRequest request = Lowpass(60.0, DM_SINC);
    request.requirement.bands[1].loHz = 1200;
    SpecDesignResult result;
    result.plan = PlanOf(request);
    result.search.status = SpecSearchStatus::Unreachable;
    result.search.tried = {147, 149};
    EXPECT_EQ(SpecOutcomeText(request, result).find("capped"), std::string::npos);
}

TEST(RequirementMessage, AFormatThatCannotReachTheAttenuationIsNamed)
{
    SpecRequest request = Lowpass(60.0, DM_REMEZ);
    request.requirement.bands[1].loHz = 1200;
    request.quantize = QuantSpec{QuantFormat::Q7, 8};
    SpecDesignResult result;
    result.plan = PlanOf(request);
    result.search.status = SpecSearchStatus::Unreachable;
    result.search.tried = {61, 63, 1025};
    TrialVerdict& best = result.search.found;
    best.taps = 63;
    best.design = TrialStatus::Designed;
    const auto& bands = request.requirement.bands;
    best.bands = {Verdict(bands[0], 0.05, true), Verdict(bands[1], 72.0, true)};
    best.quantBands = {Verdict(bands[0], 0.08, true), Verdict(bands[1], 41.37, false)};
    const std::string text = SpecOutcomeText(request, result);
    EXPECT_NE(text.find("\nThe double-precision taps meet it: Q7 words cannot reach the 60.00 dB attenuation "
                        "(41.37 dB at best); choose a longer word.\n"),
              std::string::npos)
        << text;

    // When the double taps miss too, the format is not blamed.
    best.bands[1] = Verdict(bands[1], 55.0, false);
    EXPECT_EQ(SpecOutcomeText(request, result).find("words cannot"), std::string::npos);
}
