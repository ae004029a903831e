#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <vector>

#include "BandLetters.h"
#include "dsp/DesignKinds.h"
#include "dsp/FewestTapsSearch.h"

namespace {

// A symmetric Kaiser-windowed sinc lowpass (or, for odd N, the highpass
// delta minus lowpass) with cutoff fc as a fraction of fs, written from the
// textbook independently of the form.
std::vector<double> KaiserSinc(int n, double fc, double beta, bool highpass)
{
    std::vector<double> h(static_cast<size_t>(n));
    const double centre = 0.5 * (n - 1);
    for (int i = 0; i < n; ++i) {
        const double x = i - centre;
        const double sinc = x == 0.0 ? 2.0 * fc : std::sin(2.0 * std::numbers::pi * fc * x) / (std::numbers::pi * x);
        const double t = 2.0 * i / (n - 1) - 1.0;
        const double w = std::cyl_bessel_i(0.0, beta * std::sqrt(std::max(0.0, 1.0 - t * t))) /
                         std::cyl_bessel_i(0.0, beta);
        h[static_cast<size_t>(i)] = (highpass ? (x == 0.0 ? 1.0 : 0.0) - sinc : sinc) * w;
    }
    return h;
}

const SpecRequirement kLowpass = {8000, {{P, 0, 1000, 0.1}, {S, 1200, 4000, 60}}};
const SpecRequirement kHighpass = {8000, {{S, 0, 1000, 60}, {P, 1200, 4000, 0.1}}};

SpecDesigner Designer(const SpecRequirement& req, bool highpass, std::vector<int>* calls = nullptr)
{
    const double beta = KaiserBeta(60.0);
    const double fc = 1100.0 / req.fs;
    return [=](int n) {
        if (calls)
            calls->push_back(n);
        return TrialDesign{TrialStatus::Designed, KaiserSinc(n, fc, beta, highpass)};
    };
}

}  // namespace

// The search ends on N that meets while N - 1 misses, wherever it starts.
// Near the limit a Kaiser design does not improve steadily with its length
// (here 148, 149 and 150 meet, 151 misses), so from a start at or just
// below the smallest length it must find exactly that one.
TEST(SpecSearch, FindsTheSmallestLengthFromAnyStart)
{
    auto judged = [](int n) {
        return JudgeTaps(KaiserSinc(n, 1100.0 / 8000, KaiserBeta(60.0), false), kLowpass, std::nullopt);
    };
    int smallest = 0;
    for (int n = 120; n <= 170 && smallest == 0; ++n)
        if (judged(n).met)
            smallest = n;
    ASSERT_EQ(smallest, 148);
    EXPECT_FALSE(judged(151).met);

    for (int start : {4, 100, 141, 147, 148, 300}) {
        SCOPED_TRACE("start " + std::to_string(start));
        std::vector<int> calls;
        SpecSearchSettings settings;
        settings.startTaps = start;
        const SpecSearchResult r = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false, &calls));
        ASSERT_EQ(r.status, SpecSearchStatus::Met);
        EXPECT_EQ(r.filterType, FT_LOWPASS);
        EXPECT_TRUE(r.found.met);
        EXPECT_TRUE(judged(r.found.taps).met);
        EXPECT_GE(r.found.worstMarginDb, 0.0);
        ASSERT_TRUE(r.nextSmaller.has_value());
        EXPECT_EQ(r.nextSmaller->taps, r.found.taps - 1);
        EXPECT_FALSE(r.nextSmaller->met);
        EXPECT_FALSE(judged(r.found.taps - 1).met);
        EXPECT_LT(r.nextSmaller->worstMarginDb, 0.0);
        if (start >= 141 && start <= 148) {
            EXPECT_EQ(r.found.taps, smallest);
        }
        EXPECT_EQ(r.tried, calls);
        EXPECT_EQ(std::set<int>(calls.begin(), calls.end()).size(), calls.size()) << "an N designed twice";
        EXPECT_LE(calls.size(), 40u);  // the bracket, then at most 16 below its boundary
        EXPECT_EQ(r.found.coefficients.size(), static_cast<size_t>(r.found.taps));
    }
}

// Meeting is not monotonic in N: a Remez design met at 427 taps, missed at
// 428 to 430 and met again from 431, was answered with 431. Every N from the
// estimate's lower bound up is designed now, so the smallest that meets is
// found, from a start above it and from one below.
TEST(SpecSearch, TheSmallestMeetingLengthBelowAGapIsFound)
{
    const double beta = KaiserBeta(60.0);
    auto meetsAt = [](int n) { return n == 427 || n >= 431; };
    for (int start : {440, 425, 0}) {
        SCOPED_TRACE("start " + std::to_string(start));
        std::vector<int> calls;
        SpecSearchSettings settings;
        settings.startTaps = start == 0 ? 440 : start;
        if (start == 0)
            settings.lowerBoundTaps = 420;
        const SpecDesigner designer = [&](int n) {
            calls.push_back(n);
            if (!meetsAt(n))
                return TrialDesign{TrialStatus::NotConverged, {}};
            return TrialDesign{TrialStatus::Designed, KaiserSinc(n, 1100.0 / 8000, beta, false)};
        };
        const SpecSearchResult r = SearchFewestTaps(kLowpass, settings, designer);
        ASSERT_EQ(r.status, SpecSearchStatus::Met);
        EXPECT_EQ(r.found.taps, 427);
        ASSERT_TRUE(r.nextSmaller.has_value());
        EXPECT_EQ(r.nextSmaller->taps, 426);
        EXPECT_EQ(std::set<int>(calls.begin(), calls.end()).size(), calls.size()) << "an N designed twice";
        EXPECT_LE(calls.size(), 40u);
    }
}

TEST(SpecSearch, HighpassStepsOverEvenLengths)
{
    std::vector<int> calls;
    SpecSearchSettings settings;
    settings.startTaps = 120;  // even: moved up to 121
    const SpecSearchResult r = SearchFewestTaps(kHighpass, settings, Designer(kHighpass, true, &calls));
    ASSERT_EQ(r.status, SpecSearchStatus::Met);
    EXPECT_EQ(r.startTaps, 121);
    for (int n : calls)
        EXPECT_EQ(n % 2, 1) << n;
    EXPECT_EQ(r.found.taps % 2, 1);
    ASSERT_TRUE(r.nextSmaller.has_value());
    EXPECT_EQ(r.nextSmaller->taps, r.found.taps - 2);

    // A lowpass may be asked for odd lengths only (148 meets, 147 does not).
    calls.clear();
    settings.startTaps = 140;
    settings.oddOnly = true;
    const SpecSearchResult odd = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false, &calls));
    ASSERT_EQ(odd.status, SpecSearchStatus::Met);
    for (int n : calls)
        EXPECT_EQ(n % 2, 1) << n;
    EXPECT_EQ(odd.found.taps, 149);
    EXPECT_EQ(odd.nextSmaller->taps, 147);
}

// A length whose design did not converge, or came out non-finite, never
// meets the requirement, however good its taps would measure.
TEST(SpecSearch, NonConvergedAndNonFiniteDesignsNeverMeet)
{
    SpecSearchSettings settings;
    settings.startTaps = 147;
    const int smallest = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false)).found.taps;

    const SpecDesigner good = Designer(kLowpass, false);
    const SpecSearchResult notConverged = SearchFewestTaps(kLowpass, settings, [&](int n) {
        TrialDesign d = good(n);
        if (n == smallest)
            d.status = TrialStatus::NotConverged;
        return d;
    });
    ASSERT_EQ(notConverged.status, SpecSearchStatus::Met);
    EXPECT_EQ(notConverged.found.taps, smallest + 1);
    ASSERT_TRUE(notConverged.nextSmaller.has_value());
    EXPECT_EQ(notConverged.nextSmaller->design, TrialStatus::NotConverged);
    EXPECT_EQ(notConverged.nextSmaller->worstMarginDb, -std::numeric_limits<double>::infinity());

    const SpecSearchResult nan = SearchFewestTaps(kLowpass, settings, [&](int n) {
        TrialDesign d = good(n);
        if (n == smallest)
            d.taps[3] = std::numeric_limits<double>::quiet_NaN();
        return d;
    });
    ASSERT_EQ(nan.status, SpecSearchStatus::Met);
    EXPECT_EQ(nan.found.taps, smallest + 1);
    EXPECT_EQ(nan.nextSmaller->measure, MeasureStatus::NonFinite);

    // Taps of the wrong length count as a failed design.
    const SpecSearchResult shortTaps = SearchFewestTaps(kLowpass, settings, [&](int n) {
        TrialDesign d = good(n);
        d.taps.pop_back();
        return d;
    });
    EXPECT_EQ(shortTaps.status, SpecSearchStatus::Unreachable);
    EXPECT_TRUE(shortTaps.found.bands.empty());
}

TEST(SpecSearch, UnreachableRequirementReportsTheBestReached)
{
    const SpecRequirement tight = {8000, {{P, 0, 1000, 0.1}, {S, 1200, 4000, 200}}};
    SpecSearchSettings settings;
    settings.startTaps = 100;
    settings.maxTaps = 180;
    std::vector<int> calls;
    const SpecSearchResult r = SearchFewestTaps(tight, settings, Designer(tight, false, &calls));
    EXPECT_EQ(r.status, SpecSearchStatus::Unreachable);
    EXPECT_EQ(calls.back(), 180);
    EXPECT_FALSE(r.nextSmaller.has_value());
    EXPECT_FALSE(r.found.met);
    ASSERT_EQ(r.found.bands.size(), 2u);
    // The best figure is the largest worst margin among the lengths tried.
    for (int n : calls) {
        const TrialVerdict v = JudgeTaps(KaiserSinc(n, 1100.0 / 8000, KaiserBeta(60.0), false), tight, std::nullopt);
        EXPECT_LE(v.worstMarginDb, r.found.worstMarginDb) << n;
    }
    EXPECT_LT(r.found.worstMarginDb, 0.0);
}

// With a fixed-point format both precisions must meet; a coarse word
// makes the requirement harder or impossible.
TEST(SpecSearch, QuantisedTapsMustMeetToo)
{
    SpecSearchSettings settings;
    settings.startTaps = 147;
    const SpecSearchResult plain = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false));
    settings.quantize = ParseQuantFormat("q7");
    settings.maxTaps = 300;
    const SpecSearchResult q7 = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false));
    EXPECT_EQ(q7.status, SpecSearchStatus::Unreachable);  // 8-bit words hold no 60 dB
    ASSERT_TRUE(q7.found.quantized.has_value());
    ASSERT_EQ(q7.found.quantBands.size(), 2u);
    EXPECT_LT(q7.found.quantBands[1].marginDb, 0.0);

    settings.quantize = ParseQuantFormat("q15");
    const SpecSearchResult q15 = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false));
    ASSERT_EQ(q15.status, SpecSearchStatus::Met);
    EXPECT_GE(q15.found.taps, plain.found.taps);
    for (const BandVerdict& b : q15.found.quantBands)
        EXPECT_TRUE(b.met);
    for (const BandVerdict& b : q15.found.bands)
        EXPECT_TRUE(b.met);
}

TEST(SpecSearch, RefusesABadRequirementWithoutDesigning)
{
    int calls = 0;
    const SpecRequirement overlapping = {8000, {{P, 0, 1000, 0.1}, {S, 900, 4000, 60}}};
    const SpecSearchResult r = SearchFewestTaps(overlapping, {}, [&](int) {
        ++calls;
        return TrialDesign{};
    });
    EXPECT_EQ(r.status, SpecSearchStatus::BadRequirement);
    EXPECT_EQ(calls, 0);
}

// The progress callback hears of every N before it is designed; answering
// false stops the search before that design, whichever phase it is in
// (the first design, walking, bisecting, scanning).
TEST(SpecSearch, ProgressHearsEveryDesignAndCancels)
{
    SpecSearchSettings settings;
    settings.startTaps = 100;
    std::vector<int> heard;
    settings.progress = [&](int designed, int taps) {
        EXPECT_EQ(designed, static_cast<int>(heard.size()));
        heard.push_back(taps);
        return true;
    };
    std::vector<int> calls;
    const SpecSearchResult whole = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false, &calls));
    ASSERT_EQ(whole.status, SpecSearchStatus::Met);
    EXPECT_EQ(heard, calls);
    EXPECT_EQ(whole.tried, calls);

    for (int k = 0; k < static_cast<int>(calls.size()); ++k) {
        SCOPED_TRACE("cancelled after " + std::to_string(k));
        int asked = 0;
        settings.progress = [&](int designed, int) {
            ++asked;
            return designed < k;
        };
        std::vector<int> cancelledCalls;
        const SpecSearchResult r = SearchFewestTaps(kLowpass, settings, Designer(kLowpass, false, &cancelledCalls));
        EXPECT_EQ(r.status, SpecSearchStatus::Cancelled);
        EXPECT_EQ(asked, k + 1);
        EXPECT_EQ(cancelledCalls, std::vector<int>(calls.begin(), calls.begin() + k));
        EXPECT_EQ(r.tried, cancelledCalls);
        EXPECT_FALSE(r.nextSmaller.has_value());
        if (k == 0)
            EXPECT_TRUE(r.found.bands.empty());
        else
            EXPECT_NE(std::find(cancelledCalls.begin(), cancelledCalls.end(), r.found.taps), cancelledCalls.end());
    }
}
