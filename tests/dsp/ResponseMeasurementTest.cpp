#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/MaskDerivation.h"
#include "dsp/ResponseMeasurement.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

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
    const double edge = std::cos(kPi * 100.0 / fs);
    EXPECT_NEAR(r.bands[0].maxDb, 0.0, 1e-12);
    EXPECT_NEAR(r.bands[0].minDb, 20.0 * std::log10(edge), 1e-12);
    EXPECT_NEAR(r.bands[0].rippleDb, -20.0 * std::log10(edge), 1e-12);
    EXPECT_NEAR(r.bands[0].maxDeviation, 1.0 - edge, 1e-12);
    const double nominal = 0.5 * (1.0 + edge);
    EXPECT_NEAR(r.nominalPassGain, nominal, 1e-12);
    EXPECT_NEAR(r.bands[1].maxDb, 20.0 * std::log10(std::cos(kPi * 0.4)), 1e-12);
    EXPECT_NEAR(r.bands[1].attenuationDb, 20.0 * std::log10(nominal / std::cos(kPi * 0.4)), 1e-12);
    ASSERT_EQ(r.minus3dbHz.size(), 1u);
    ASSERT_EQ(r.minus6dbHz.size(), 1u);
    EXPECT_NEAR(r.minus3dbHz[0], fs / kPi * std::acos(nominal * std::pow(10.0, -3.0 / 20.0)), 1e-6);
    EXPECT_NEAR(r.minus6dbHz[0], fs / kPi * std::acos(nominal * std::pow(10.0, -6.0 / 20.0)), 1e-6);
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
        const double c = std::cos(2.0 * kPi * f);
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
    const std::vector<MaskBand> slope = {{BandKind::Slope, 0.0, 400.0, kPi}};
    const ResponseFigures r = MeasureResponse(h, 8000.0, slope, false);
    ASSERT_EQ(r.status, MeasureStatus::Ok);
    const double w = 2.0 * kPi * 400.0 / 8000.0;
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
    EXPECT_EQ(MeasurementGridIntervals(1025), 16400);
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
