#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "design/Design.h"
#include "design/RequirementSearch.h"
#include "dsp/DesignKinds.h"
#include "form/RequirementDesign.h"

namespace {

SpecBand Pass(double lo, double hi, double ripple)
{
    return {BandKind::Pass, lo, hi, ripple};
}

SpecBand Stop(double lo, double hi, double attenuation)
{
    return {BandKind::Stop, lo, hi, attenuation};
}

}  // namespace

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
            return DesignSpecTrial(NewDocumentFields(), s);
        });
        ASSERT_EQ(r.search.status, SpecSearchStatus::Met) << SpecOutcomeText(request, r);
        const TrialVerdict& v = r.search.found;
        EXPECT_TRUE(v.whole.met);
        EXPECT_LE(v.whole.peakDb, v.whole.limitDb);
        // The form's design of the setting found is the design judged.
        const DesignOutcome again = Design(*RequestOf({FilledFields(NewDocumentFields(), r.setting)}));
        EXPECT_EQ(again.Taps(), v.coefficients);
        double sumAbs = 0.0;
        for (double t : v.coefficients)
            sumAbs += std::abs(t);
        EXPECT_LT(sumAbs, 4.0);
    }
}
