#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/RateChangeDesign.h"
#include "design/RateChangeSearch.h"
#include "dsp/HalfbandDesign.h"
#include "RequestParts.h"

namespace {

DesignRequest RateRequest(RateChangeKind kind, int factor, int taps, int f1, bool aliasBands = false)
{
    DesignRequest q;
    q.filterType = FilterType::Lowpass;
    q.method = RemezMethod{};
    q.taps = taps;
    q.samplingRate = 48000;
    q.firstCorner = f1;
    q.rateChange = RateChange{kind, factor, aliasBands};
    return q;
}

}  // namespace

// The half-band golden of the rate-change issue, 47 taps at 48 kHz with the
// pass edge at 10 kHz, through Design: the half-band routine's taps bit for
// bit, centre 0.5 and every second tap from it 0 exactly, pass and stop
// ripple equal (3.38e-4, as scipy's remez gives through the same construction).
TEST(RateChangeDesign, HalfbandIsTheHalfbandDesignWithItsFigures)
{
    const DesignOutcome out = Design(RateRequest(RateChangeKind::Halfband, 7, 47, 10000));
    ASSERT_TRUE(out.valid);
    const HalfbandResult direct = DesignHalfband(47, 48000, 10000, 16);
    EXPECT_EQ(out.Taps(), direct.taps);
    const std::vector<double> taps = out.Taps();
    EXPECT_EQ(taps[23], 0.5);
    for (int i = 2; 23 + i < 47; i += 2) {
        EXPECT_EQ(taps[static_cast<size_t>(23 + i)], 0.0);
        EXPECT_EQ(taps[static_cast<size_t>(23 - i)], 0.0);
    }
    const RateChangeReport& r = out.rateChange;
    EXPECT_EQ(r.rate.factor, 2);  // a half-band's, whatever the request's factor
    ASSERT_EQ(r.phases.size(), 2u);
    EXPECT_EQ(r.phases[0].size(), 24u);
    EXPECT_EQ(r.figures.macsPerOutput, 25);
    ASSERT_EQ(out.figures.bands.size(), 2u);
    EXPECT_NEAR(out.figures.bands[0].maxDeviation, 3.38e-4, 0.02e-4);
    EXPECT_NEAR(std::pow(10.0, -out.figures.bands[1].attenuationDb / 20.0), 3.38e-4, 0.02e-4);
    EXPECT_EQ(r.table[0].m_nUpperEdge, 20000);  // G's one band 0 .. 2 f1
}

// The derived bands: everything from fs/M - f1, or only the alias bands
// k fs/M -+ f1; the Remez design on them is equiripple and symmetric, the
// sinc cut at fs / (2M) has unit DC gain.
TEST(RateChangeDesign, DecimatorsOnTheirDerivedBands)
{
    const DesignOutcome full = Design(RateRequest(RateChangeKind::Decimate, 4, 63, 2000));
    ASSERT_TRUE(full.valid);
    ASSERT_EQ(full.mask.size(), 2u);
    EXPECT_EQ(full.mask[1].loHz, 10000.0);
    EXPECT_EQ(full.mask[1].hiHz, 24000.0);

    const DesignOutcome alias = Design(RateRequest(RateChangeKind::Decimate, 4, 63, 2000, true));
    ASSERT_TRUE(alias.valid);
    ASSERT_EQ(alias.mask.size(), 3u);
    EXPECT_EQ(alias.mask[1].loHz, 10000.0);
    EXPECT_EQ(alias.mask[1].hiHz, 14000.0);
    EXPECT_EQ(alias.mask[2].loHz, 22000.0);
    EXPECT_EQ(alias.mask[2].hiHz, 24000.0);
    // Fewer constraints, deeper alias bands with the same taps.
    EXPECT_GT(alias.rateChange.figures.aliasAttenuationDb, full.rateChange.figures.aliasAttenuationDb);
    for (const DesignOutcome* out : {&full, &alias}) {
        const std::vector<double> taps = out->Taps();
        for (size_t i = 0; i < taps.size(); ++i)
            EXPECT_EQ(taps[i], taps[taps.size() - 1 - i]);
        EXPECT_EQ(out->rateChange.figures.macsPerOutput, 63);
        EXPECT_EQ(out->rateChange.phases.size(), 4u);
    }

    DesignRequest sinc = RateRequest(RateChangeKind::Interpolate, 4, 63, 2000);
    Sinc(sinc).window = {WindowType::Kaiser, 8.0};
    const DesignOutcome s = Design(sinc);
    ASSERT_TRUE(s.valid);
    double sum = 0.0;
    for (double t : s.Taps())
        sum += t;
    EXPECT_NEAR(sum, 1.0, 1e-3);
    EXPECT_EQ(s.rateChange.figures.macsPerOutput, 16);  // ceil(63 / 4)
    EXPECT_EQ(s.rateChange.figures.inputRateHz, 12000.0);
}

TEST(RateChangeDesign, Refusals)
{
    const auto with = [](auto change) {
        DesignRequest q = RateRequest(RateChangeKind::Decimate, 4, 63, 2000);
        change(q);
        return q;
    };
    const struct {
        DesignRequest request;
        DesignCode code;
        const char* text;
    } cases[] = {
        {with([](DesignRequest& q) { q.filterType = FilterType::Highpass; }), DesignCode::RateChangeNotSupported,
         kMsgRateChangeNotSupported},
        {with([](DesignRequest& q) { Direct(q); }), DesignCode::RateChangeNotSupported,
         kMsgRateChangeNotSupported},
        {with([](DesignRequest& q) {
             q.rateChange->kind = RateChangeKind::Halfband;
             Sinc(q);
         }),
         DesignCode::RateChangeNotSupported, kMsgRateChangeNotSupported},
        {with([](DesignRequest& q) { Remez(q).minimumPhase = true; }), DesignCode::RateChangeNotSupported,
         kMsgRateChangeNotSupported},
        {with([](DesignRequest& q) { q.rateChange->factor = 65; }), DesignCode::RateFactorRange,
         "The factor must be 2 .. 64."},
        {with([](DesignRequest& q) { q.samplingRate = 0; }), DesignCode::RateSamplingRate,
         "The sampling rate must be above 0 Hz."},
        {with([](DesignRequest& q) { q.firstCorner = 6000; }), DesignCode::RatePassEdge,
         "The pass-band edge must lie above 0 Hz and below fs / (2 x 4) = 6000 Hz."},
        {with([](DesignRequest& q) {
             q.samplingRate = 48001;
             q.firstCorner = 7000;
         }),
         DesignCode::RatePassEdge, "The pass-band edge must lie above 0 Hz and below fs / (2 x 4) = 6000.12 Hz."},
        {with([](DesignRequest& q) {
             q.rateChange->kind = RateChangeKind::Halfband;
             q.taps = 49;
         }),
         DesignCode::HalfbandTaps, "A half-band filter has 4k + 3 taps (7 .. 1023); 49 is not one. The nearest is 51."},
        {with([](DesignRequest& q) { q.taps = 3; }), DesignCode::RateTapsRange, "The number of taps must be 4 .. 1025."},
        {with([](DesignRequest& q) { q.rateChange->stopBands = {{BandKind::Stop, 1000, 3000, 0.0}}; }),
         DesignCode::RateStopBands, kMsgRateStopBands},
        {with([](DesignRequest& q) { q.rateChange->stopWeight = 0.0; }), DesignCode::RateStopBands, kMsgRateStopBands},
        {with([](DesignRequest& q) { Remez(q).gridDensity = 65; }), DesignCode::GridDensityRange,
         "Please enter an integer between 8 and 64."},
    };
    for (const auto& c : cases) {
        const DesignOutcome out = Design(c.request);
        EXPECT_FALSE(out.valid) << c.text;
        ASSERT_TRUE(out.Refusal()) << c.text;
        EXPECT_EQ(out.Refusal()->code, c.code) << c.text;
        EXPECT_EQ(RateChangeMessages(c.request, out), std::vector<std::string>{c.text});
    }
}

// To a requirement: the N found meets it and the next smaller one does not;
// the alias bands need fewer taps than the whole stop band (decimation by 4,
// 0.1 dB ripple to 1 kHz, 80 dB); a half-band takes 4k + 3 taps only.
TEST(RateChangeDesign, SearchFindsTheFewestTaps)
{
    RateChangeRequirement requirement;
    requirement.passRippleDb = 0.1;
    requirement.aliasAttenuationDb = 80.0;
    const RateChangeSearch full = SearchRateChange(RateRequest(RateChangeKind::Decimate, 4, 0, 1000), requirement);
    const RateChangeSearch alias =
        SearchRateChange(RateRequest(RateChangeKind::Decimate, 4, 0, 1000, true), requirement);
    for (const RateChangeSearch* s : {&full, &alias}) {
        ASSERT_TRUE(s->search);
        ASSERT_EQ(s->search->status, SpecSearchStatus::Met);
        EXPECT_EQ(s->request.taps, s->search->found.taps);
        ASSERT_TRUE(s->search->nextSmaller);
        EXPECT_FALSE(s->search->nextSmaller->met);
        // The request found designs the taps the search judged.
        EXPECT_EQ(Design(s->request).Taps(), s->search->found.coefficients);
    }
    EXPECT_LT(alias.request.taps, full.request.taps);

    requirement.passRippleDb = 0.01;
    requirement.aliasAttenuationDb = 60.0;
    const RateChangeSearch halfband =
        SearchRateChange(RateRequest(RateChangeKind::Halfband, 2, 0, 10000), requirement);
    ASSERT_TRUE(halfband.search);
    EXPECT_EQ(halfband.search->status, SpecSearchStatus::Met);
    EXPECT_EQ(halfband.request.taps % 4, 3);

    // The windowed sinc keeps its cut at fs / (2 M): a Kaiser window of odd
    // N, longer than the Remez design for the same requirement.
    requirement.passRippleDb = 0.1;
    requirement.aliasAttenuationDb = 80.0;
    DesignRequest sincBase = RateRequest(RateChangeKind::Decimate, 4, 0, 1000);
    Sinc(sincBase);
    const RateChangeSearch sinc = SearchRateChange(sincBase, requirement);
    ASSERT_TRUE(sinc.search);
    ASSERT_EQ(sinc.search->status, SpecSearchStatus::Met);
    ASSERT_TRUE(sinc.request.As<SincMethod>());
    EXPECT_EQ(sinc.request.As<SincMethod>()->window.type, WindowType::Kaiser);
    EXPECT_EQ(sinc.request.taps % 2, 1);
    EXPECT_GT(sinc.request.taps, full.request.taps);
    ASSERT_TRUE(sinc.search->nextSmaller);
    EXPECT_EQ(sinc.search->nextSmaller->taps, sinc.request.taps - 2);
    EXPECT_FALSE(sinc.search->nextSmaller->met);
    const DesignOutcome found = Design(sinc.request);
    EXPECT_EQ(found.Taps(), sinc.search->found.coefficients);
    EXPECT_GE(found.rateChange.figures.aliasAttenuationDb, 80.0);

    const RateChangeSearch refused = SearchRateChange(RateRequest(RateChangeKind::Decimate, 4, 0, 7000), requirement);
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(refused.refusal->code, DesignCode::RatePassEdge);
    EXPECT_FALSE(refused.search);
}
