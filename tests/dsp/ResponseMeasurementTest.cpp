#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "dsp/MaskDerivation.h"
#include "dsp/ResponseMeasurement.h"

// Two-tap average: |H(f)| = cos(pi f / fs), known in closed form.
TEST(ResponseMeasurement, TwoTapAverageInClosedForm)
{
    const std::vector<double> h = {0.5, 0.5};
    const double fs = 1000.0;
    const std::vector<MaskBand> bands = {{BandKind::Pass, 0.0, 100.0, 1.0}, {BandKind::Stop, 400.0, 500.0, 0.0}};
    const ResponseFigures r = MeasureResponse(h, fs, bands, true);
    ASSERT_EQ(r.status, MeasureStatus::Ok);
    EXPECT_EQ(r.gridIntervals, 8192);
    ASSERT_EQ(r.bands.size(), 2u);
    // Exact band edges: the smallest pass gain is at 100 Hz, the largest stop gain at 400 Hz.
    const double edge = std::cos(std::numbers::pi * 100.0 / fs);
    EXPECT_NEAR(r.bands[0].maxDb, 0.0, 1e-12);
    EXPECT_NEAR(r.bands[0].minDb, 20.0 * std::log10(edge), 1e-12);
    EXPECT_NEAR(r.bands[0].rippleDb, -20.0 * std::log10(edge), 1e-12);
    EXPECT_NEAR(r.bands[0].maxDeviation, 1.0 - edge, 1e-12);
    const double nominal = 0.5 * (1.0 + edge);
    EXPECT_NEAR(r.nominalPassGain, nominal, 1e-12);
    EXPECT_NEAR(r.bands[1].maxDb, 20.0 * std::log10(std::cos(std::numbers::pi * 0.4)), 1e-12);
    EXPECT_NEAR(r.bands[1].attenuationDb, 20.0 * std::log10(nominal / std::cos(std::numbers::pi * 0.4)), 1e-12);
    ASSERT_EQ(r.minus3dbHz.size(), 1u);
    ASSERT_EQ(r.minus6dbHz.size(), 1u);
    EXPECT_NEAR(r.minus3dbHz[0], fs / std::numbers::pi * std::acos(nominal * std::pow(10.0, -3.0 / 20.0)), 1e-6);
    EXPECT_NEAR(r.minus6dbHz[0], fs / std::numbers::pi * std::acos(nominal * std::pow(10.0, -6.0 / 20.0)), 1e-6);
    EXPECT_TRUE(r.linearPhase);
    EXPECT_EQ(r.groupDelaySamples, 0.5);
    EXPECT_EQ(r.groupDelayMs, 0.5);
    EXPECT_NEAR(r.dcGainDb, 0.0, 1e-12);
    EXPECT_EQ(r.nyquistGainDb, kFloorDb);
    EXPECT_EQ(r.sumAbsTaps, 1.0);
    EXPECT_EQ(r.headroomBits, 0);
}

// h = [1, a]: tau(w) = (a cos w + a^2) / (1 + 2 a cos w + a^2).
TEST(ResponseMeasurement, GroupDelayOfAMinimumPhasePair)
{
    const double a = 0.5;
    const std::vector<double> h = {1.0, a};
    for (double f : {0.0, 0.1, 0.25, 0.4, 0.5}) {
        const double c = std::cos(2.0 * std::numbers::pi * f);
        EXPECT_NEAR(GroupDelayAt(h, f), (a * c + a * a) / (1.0 + 2.0 * a * c + a * a), 1e-12) << f;
    }
    const std::vector<MaskBand> whole = {{BandKind::Pass, 0.0, 4000.0, 1.0}};
    const ResponseFigures r = MeasureResponse(h, 8000.0, whole, false);
    EXPECT_FALSE(r.linearPhase);
    EXPECT_NEAR(r.groupDelayMinSamples, -1.0, 1e-9);  // at fs/2: (-a + a^2) / (1 - a)^2
    EXPECT_NEAR(r.groupDelayMaxSamples, (a + a * a) / ((1 + a) * (1 + a)), 1e-9);
    EXPECT_TRUE(r.minus3dbHz.empty());
    EXPECT_EQ(r.headroomBits, 1);
    EXPECT_EQ(r.peakTap, 1.0);

    // A pure delay of two samples.
    const std::vector<double> delay = {0.0, 0.0, 1.0};
    const ResponseFigures d = MeasureResponse(delay, 8000.0, std::vector<MaskBand>{}, false);
    EXPECT_NEAR(d.groupDelaySamples, 2.0, 1e-12);
    EXPECT_NEAR(d.groupDelayMs, 0.25, 1e-12);
    EXPECT_EQ(d.peakTapIndex, 2);
}

TEST(ResponseMeasurement, SlopeBandsAndStatuses)
{
    // A first difference: |H| = 2 sin(pi f / fs), close to the line pi f / fs at low f.
    const std::vector<double> h = {0.5, 0.0, -0.5};
    const std::vector<MaskBand> slope = {{BandKind::Slope, 0.0, 400.0, std::numbers::pi}};
    const ResponseFigures r = MeasureResponse(h, 8000.0, slope, false);
    ASSERT_EQ(r.status, MeasureStatus::Ok);
    const double w = 2.0 * std::numbers::pi * 400.0 / 8000.0;
    EXPECT_NEAR(r.bands[0].maxDeviation, w - std::sin(w), 1e-12);
    EXPECT_NEAR(r.bands[0].minDb, 20.0 * std::log10(std::sin(w) / w), 1e-9);
    EXPECT_EQ(TapSymmetry(h, 0.0), -1);

    const std::vector<MaskBand> beyond = {{BandKind::Pass, 0.0, 4001.0, 1.0}};
    EXPECT_EQ(MeasureResponse(h, 8000.0, beyond, false).status, MeasureStatus::BadBand);
    const std::vector<MaskBand> reversed = {{BandKind::Stop, 300.0, 300.0, 0.0}};
    EXPECT_EQ(MeasureResponse(h, 8000.0, reversed, false).status, MeasureStatus::BadBand);
    EXPECT_EQ(MeasureResponse(h, 0.0, slope, false).status, MeasureStatus::BadRate);
    const std::vector<double> inf = {1.0, INFINITY};
    EXPECT_EQ(MeasureResponse(inf, 8000.0, slope, false).status, MeasureStatus::NonFinite);
    EXPECT_EQ(MeasureResponse(std::vector<double>{}, 8000.0, slope, false).status, MeasureStatus::NoTaps);
    EXPECT_EQ(MeasurementGridIntervals(4), 8192);
    EXPECT_EQ(MeasurementGridIntervals(1025), 16384);
    EXPECT_EQ(MeasurementGridIntervals(1026), 32768);
}

TEST(MaskDerivation, CornersMoveByHalfTheWindowsMainLobe)
{
    DesignOutline d;
    d.filterType = 2;  // bandpass
    d.windowType = 2;  // Hamming: main lobe 4 / (N - 1)
    d.taps = 41;
    d.fs = 8000.0;
    d.firstCorner = 1000.0;
    d.secondCorner = 2000.0;
    const std::vector<MaskBand> b = DeriveMaskBands(d);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0].kind, BandKind::Stop);
    EXPECT_DOUBLE_EQ(b[0].hiHz, 600.0);
    EXPECT_EQ(b[1].kind, BandKind::Pass);
    EXPECT_DOUBLE_EQ(b[1].loHz, 1400.0);
    EXPECT_DOUBLE_EQ(b[1].hiHz, 1600.0);
    EXPECT_DOUBLE_EQ(b[2].loHz, 2400.0);
    EXPECT_DOUBLE_EQ(b[2].hiHz, 4000.0);
    // Too short for a pass band between the corners: it is left out.
    d.taps = 21;
    EXPECT_EQ(DeriveMaskBands(d).size(), 2u);

    // Kaiser: beta 0 stands for 21 dB, beta 10 for 99.45 dB.
    EXPECT_DOUBLE_EQ(KaiserAttenuationForBeta(0.0), 21.0);
    EXPECT_NEAR(KaiserAttenuationForBeta(10.0), 10.0 / 0.1102 + 8.7, 1e-12);
    EXPECT_NEAR(0.5842 * std::pow(KaiserAttenuationForBeta(3.0) - 21.0, 0.4) +
                    0.07886 * (KaiserAttenuationForBeta(3.0) - 21.0),
                3.0, 1e-9);

    // A Remez design's rows in use; value 0 is a stop band.
    d = DesignOutline();
    d.designMethod = 2;
    d.fs = 8000.0;
    d.gain = 2.0;
    d.remezBands = {{1, 0, 1000, 1.0, 1.0}, {0, 1000, 1500, 0.5, 1.0}, {1, 1500, 4000, 0.0, 10.0}};
    const std::vector<MaskBand> r = DeriveMaskBands(d);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].kind, BandKind::Pass);
    EXPECT_EQ(r[0].desired, 2.0);
    EXPECT_EQ(r[1].kind, BandKind::Stop);
    EXPECT_EQ(r[1].loHz, 1500.0);
}

// A modulated rectangle of 1025 taps peaks at f0, half way between two
// points of the measurement grid (16 per tap), where the grid alone reads
// the lobe about 0.004 dB low. The refined figure is the true peak.
TEST(ResponseMeasurement, PeaksBetweenGridPointsAreRefined)
{
    const int n = 1025;
    const double fs = 1.0;
    const double spacing = 0.5 / MeasurementGridIntervals(n);
    const double f0 = 0.3 + 0.5 * spacing - std::fmod(0.3, spacing);
    std::vector<double> h(n);
    for (int k = 0; k < n; ++k)
        h[static_cast<size_t>(k)] = 1e-3 * std::cos(2.0 * std::numbers::pi * f0 * (k - 512)) / n;
    const double truePeak = std::abs(FrequencyResponseAt(h, f0));
    const double gridPeak = std::max(std::abs(FrequencyResponseAt(h, f0 - 0.5 * spacing)),
                                     std::abs(FrequencyResponseAt(h, f0 + 0.5 * spacing)));
    ASSERT_GT(GainDb(truePeak) - GainDb(gridPeak), 0.002) << "the grid must miss the peak for the test to bite";

    const std::vector<MaskBand> stop = {{BandKind::Stop, 0.25, 0.35, 0.0}};
    const ResponseFigures f = MeasureResponse(h, fs, stop, false);
    ASSERT_EQ(f.status, MeasureStatus::Ok);
    EXPECT_NEAR(f.bands[0].maxDb, GainDb(truePeak), 1e-4);
    EXPECT_GE(f.bands[0].maxDb, GainDb(truePeak) - 1e-6);

    // A pass band's dip between grid points: 1 minus the same lobe.
    std::vector<double> dip(h);
    for (double& t : dip)
        t = -t * 100.0;
    dip[512] += 1.0;
    const double trueDip = std::abs(FrequencyResponseAt(dip, f0));
    const std::vector<MaskBand> pass = {{BandKind::Pass, 0.25, 0.35, 1.0}};
    const ResponseFigures p = MeasureResponse(dip, fs, pass, false);
    // (The dip's lowest point lies a hair off f0: at or below |H(f0)|.)
    EXPECT_NEAR(p.bands[0].minDb, GainDb(trueDip), 1e-4);
    EXPECT_LE(p.bands[0].minDb, GainDb(trueDip) + 1e-9);
    EXPECT_NEAR(p.bands[0].maxDeviation, 1.0 - trueDip, 1e-6);
}

// Headroom from the sum of |h| rounded once: nine taps of 1/9 sum exactly
// to 1 - 2^-54, which rounds (to even) to 1, while adding them in order
// gives 1 + 2^-52 and a bit of headroom too many.
TEST(ResponseMeasurement, HeadroomFromAnExactlyRoundedSum)
{
    const std::vector<double> average(9, 1.0 / 9.0);
    double plain = 0.0;
    for (double t : average)
        plain += t;
    ASSERT_GT(plain, 1.0);
    EXPECT_EQ(ExactAbsSum(average), 1.0);
    const ResponseFigures f = MeasureResponse(average, 8000.0, {}, false);
    EXPECT_EQ(f.sumAbsTaps, 1.0);
    EXPECT_EQ(f.headroomBits, 0);

    EXPECT_EQ(ExactAbsSum(std::vector<double>(10, -0.1)), 1.0);  // in order: 0.9999999999999999
    EXPECT_EQ(ExactAbsSum(std::vector<double>{1e16, 1.0, -1e16, 1.0}), 2e16 + 2.0);
    EXPECT_EQ(ExactAbsSum(std::vector<double>{}), 0.0);
    EXPECT_EQ(HeadroomBits(0.5), 0);
    EXPECT_EQ(HeadroomBits(1.0), 0);
    EXPECT_EQ(HeadroomBits(std::nextafter(1.0, 2.0)), 1);
    EXPECT_EQ(HeadroomBits(2.0), 1);
    EXPECT_EQ(HeadroomBits(std::nextafter(2.0, 3.0)), 2);
    EXPECT_EQ(HeadroomBits(1.961), 1);
}

// A unit gain with a lobe in the transition band between grid points: the
// whole response finds the lobe's true top and where it is.
TEST(ResponseMeasurement, WholeResponseFindsAPeakInATransitionBand)
{
    const int n = 301;
    const double spacing = 0.5 / MeasurementGridIntervals(n);
    const double f0 = 0.25 + 0.37 * spacing;
    std::vector<double> h(n, 0.0);
    h[150] = 1.0;
    for (int k = 0; k < n; ++k)
        h[static_cast<size_t>(k)] += 4.0 * std::cos(2.0 * std::numbers::pi * f0 * (k - 150)) / n *
                                     (0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * k / (n - 1)));
    const std::vector<MaskBand> mask = {{BandKind::Pass, 0.0, 0.1, 1.0}, {BandKind::Stop, 0.4, 0.5, 0.0}};
    const ResponseFigures r = MeasureResponse(h, 1.0, mask, false);
    ASSERT_TRUE(r.whole.measured);
    double truePeak = 0.0, at = 0.0;
    for (int k = -2000; k <= 2000; ++k) {
        const double f = f0 + k * spacing / 1000.0;
        const double m = std::abs(FrequencyResponseAt(h, f));
        if (m > truePeak) {
            truePeak = m;
            at = f;
        }
    }
    EXPECT_NEAR(r.whole.peakDb, GainDb(truePeak) - r.bands[0].maxDb, 1e-6);
    EXPECT_NEAR(r.whole.peakHz, at, spacing / 500.0);
    EXPECT_NEAR(r.whole.passTopDb, r.bands[0].maxDb, 1e-12);
    EXPECT_GT(r.whole.peakDb, 5.0);
    EXPECT_TRUE(WholeResponseExceeds(r));

    // Without the lobe the pass band itself is the top: 0 dB, nothing exceeds.
    std::vector<double> flat(n, 0.0);
    flat[150] = 1.0;
    const ResponseFigures f = MeasureResponse(flat, 1.0, mask, false);
    EXPECT_NEAR(f.whole.peakDb, 0.0, 1e-12);
    EXPECT_FALSE(WholeResponseExceeds(f));
    // Only stop bands: nothing to measure against.
    const std::vector<MaskBand> stops = {{BandKind::Stop, 0.4, 0.5, 0.0}};
    EXPECT_FALSE(MeasureResponse(h, 1.0, stops, false).whole.measured);
}

// Every refined band extreme lies at or above a four times denser direct
// evaluation and within a hair of it (the FFT grid and the refinement give
// the figures of an exact evaluation everywhere).
TEST(ResponseMeasurement, FiguresHoldAgainstADenserDirectEvaluation)
{
    const int n = 255;
    std::vector<double> h(n);
    for (int k = 0; k < n; ++k) {
        const double x = k - 127.0, fc = 0.2;
        const double sinc = x == 0.0 ? 2.0 * fc : std::sin(2.0 * std::numbers::pi * fc * x) / (std::numbers::pi * x);
        h[static_cast<size_t>(k)] = sinc * (0.42 - 0.5 * std::cos(2.0 * std::numbers::pi * k / (n - 1)) +
                                            0.08 * std::cos(4.0 * std::numbers::pi * k / (n - 1)));
    }
    const std::vector<MaskBand> mask = {{BandKind::Pass, 0.0, 0.18, 1.0}, {BandKind::Stop, 0.2237, 0.5, 0.0}};
    const ResponseFigures r = MeasureResponse(h, 1.0, mask, false);
    ASSERT_EQ(r.status, MeasureStatus::Ok);
    const int dense = 4 * MeasurementGridIntervals(n);
    for (size_t b = 0; b < mask.size(); ++b) {
        double top = 0.0, at = 0.0;
        for (int k = 0; k <= dense; ++k) {
            const double f = 0.5 * k / dense;
            const double m = f >= mask[b].loHz && f <= mask[b].hiHz ? std::abs(FrequencyResponseAt(h, f)) : 0.0;
            if (m > top) {
                top = m;
                at = f;
            }
        }
        // The dense peak's own top, to a thousandth of the dense spacing.
        for (int k = -1000; k <= 1000; ++k) {
            const double f = std::clamp(at + k * 0.5 / dense / 1000.0, mask[b].loHz, mask[b].hiHz);
            top = std::max(top, std::abs(FrequencyResponseAt(h, f)));
        }
        EXPECT_NEAR(r.bands[b].maxDb, GainDb(top), 1e-6) << b;
    }
}
