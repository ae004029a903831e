#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "dsp/TapQuantization.h"

namespace {

QuantSpec Bits(int word, QuantRounding rounding = QuantRounding::Nearest)
{
    QuantSpec s;
    s.format = QuantFormat::Bits;
    s.wordLength = word;
    s.rounding = rounding;
    return s;
}

QuantSpec Fixed(QuantFormat format)
{
    QuantSpec s;
    s.format = format;
    return s;
}

// A symmetric and an antisymmetric set of random taps, peak below 1.
std::vector<double> RandomTaps(int n, int symmetry, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-0.9, 0.9);
    std::vector<double> h(n);
    for (int i = 0; i < n / 2; ++i) {
        h[i] = u(gen);
        h[n - 1 - i] = symmetry * h[i];
    }
    if (n % 2)
        h[n / 2] = symmetry > 0 ? u(gen) : 0.0;
    return h;
}

}  // namespace

// The words of the three Make File formats for the values of its own table
// of worked conversions (written as two's-complement hex words there).
TEST(TapQuantization, MakeFileFormatsGiveTheWordsMakeFileWrites)
{
    struct Row {
        double x;
        long long q7, q15, q31;
    };
    const Row rows[] = {
        {0.5, 0x40, 0x4000, 0x40000000},
        {-0.25, -0x20, -0x2000, -0x20000000},
        {0.1, 0x0c, 0x0ccd, 0x0ccccccc},
        {-0.1, -0x0c, -0x0ccd, -0x0ccccccc},
        {1.0, 0x7f, 0x7fff, 0x7fffffff},
        {-1.0, -0x80, -0x8000, -0x80000000LL},
        {0.999, 0x7f, 0x7fdf, 0x7fdf3b64},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.x);
        EXPECT_EQ(QuantizeValue(r.x, Fixed(QuantFormat::Q7), 7), r.q7);
        EXPECT_EQ(QuantizeValue(r.x, Fixed(QuantFormat::Q15), 15), r.q15);
        EXPECT_EQ(QuantizeValue(r.x, Fixed(QuantFormat::Q31), 31), r.q31);
    }
    // Q15 rounds halves up, the others truncate toward zero.
    EXPECT_EQ(QuantizeValue(-1.5 / 32768, Fixed(QuantFormat::Q15), 15), -1);
    EXPECT_EQ(QuantizeValue(-0.9 / 128, Fixed(QuantFormat::Q7), 7), 0);

    const std::vector<double> taps = {0.25, 0.5, 0.25};
    const QuantResult q = QuantizeTaps(taps, Fixed(QuantFormat::Q15));
    EXPECT_EQ(q.status, QuantStatus::Ok);
    EXPECT_EQ(q.wordLength, 16);
    EXPECT_EQ(q.fractionLength, 15);
    EXPECT_EQ(q.shift, 0);
    EXPECT_EQ(q.taps, (std::vector<long long>{0x2000, 0x4000, 0x2000}));
}

TEST(TapQuantization, RoundingErrorSaturationAndSymmetry)
{
    for (int symmetry : {1, -1}) {
        for (int n : {31, 32, 101}) {
            const std::vector<double> h = RandomTaps(n, symmetry, static_cast<unsigned>(n * 7 + symmetry));
            for (int word : {2, 3, 8, 12, 16, 24, 32}) {
                SCOPED_TRACE(::testing::Message() << "n " << n << " sym " << symmetry << " word " << word);
                const QuantResult q = QuantizeTaps(h, Bits(word));
                ASSERT_EQ(q.status, QuantStatus::Ok);
                EXPECT_LE(q.maxErrorLsb, 0.5);
                EXPECT_EQ(q.saturated, 0);
                EXPECT_EQ(q.symmetryBefore, symmetry);
                EXPECT_EQ(q.symmetryAfter, symmetry);
                const long long hi = (1LL << (word - 1)) - 1, lo = -(1LL << (word - 1));
                for (size_t i = 0; i < h.size(); ++i) {
                    EXPECT_GE(q.taps[i], lo);
                    EXPECT_LE(q.taps[i], hi);
                    // no wrap: each word keeps the sign of its tap
                    EXPECT_GE(static_cast<double>(q.taps[i]) * h[i], 0.0);
                }
                // The fraction length is the largest without overflow.
                QuantSpec finer = Bits(word);
                finer.fractionLength = q.fractionLength + 1;
                EXPECT_GT(QuantizeTaps(h, finer).saturated, 0);

                const QuantResult t = QuantizeTaps(h, Bits(word, QuantRounding::Truncate));
                EXPECT_LT(t.maxErrorLsb, 1.0);
                EXPECT_EQ(t.symmetryAfter, symmetry);
                for (size_t i = 0; i < h.size(); ++i)
                    EXPECT_LE(std::abs(t.values[i]), std::abs(h[i]));  // toward zero
            }
        }
    }
}

TEST(TapQuantization, FractionLengthFollowsThePeakTap)
{
    // 0.25 at 16 bits: fraction 17 would make 0.25 the word 32768.
    const std::vector<double> quarter = {0.1, 0.25, 0.1};
    QuantResult q = QuantizeTaps(quarter, Bits(16));
    EXPECT_EQ(q.fractionLength, 16);
    EXPECT_EQ(q.shift, 1);
    EXPECT_EQ(q.taps[1], 16384);
    // A negative power of two fills the word's most negative value.
    const std::vector<double> negative = {0.1, -0.25, 0.1};
    q = QuantizeTaps(negative, Bits(16));
    EXPECT_EQ(q.fractionLength, 17);
    EXPECT_EQ(q.taps[1], -32768);
    // Taps above 1 get a negative shift; tiny taps a large fraction.
    const std::vector<double> big = {3.0, -5.5};
    q = QuantizeTaps(big, Bits(8));
    EXPECT_EQ(q.fractionLength, 4);
    EXPECT_EQ(q.shift, -3);
    EXPECT_EQ(q.taps, (std::vector<long long>{48, -88}));
    const std::vector<double> tiny = {1e-3, -2e-3};
    EXPECT_EQ(QuantizeTaps(tiny, Bits(16)).fractionLength, 23);
}

TEST(TapQuantization, GivenFractionSaturatesWithoutWrapping)
{
    QuantSpec s = Bits(8);
    s.fractionLength = 7;
    const std::vector<double> h = {1.5, -1.5, 0.99, -1.0};
    const QuantResult q = QuantizeTaps(h, s);
    EXPECT_EQ(q.taps, (std::vector<long long>{127, -128, 127, -128}));
    EXPECT_EQ(q.saturated, 2);
    EXPECT_NEAR(q.maxErrorLsb, 1.5 * 128 - 127, 1e-12);
    // Make File's Q15 saturates both ends the same way.
    const QuantResult q15 = QuantizeTaps(h, Fixed(QuantFormat::Q15));
    EXPECT_EQ(q15.taps, (std::vector<long long>{32767, -32768, 32440, -32768}));
}

TEST(TapQuantization, RefusesWhatItCannotQuantise)
{
    const std::vector<double> h = {0.5, 0.25};
    EXPECT_EQ(QuantizeTaps(h, Bits(1)).status, QuantStatus::BadWordLength);
    EXPECT_EQ(QuantizeTaps(h, Bits(33)).status, QuantStatus::BadWordLength);
    const std::vector<double> nan = {0.5, std::nan("")};
    EXPECT_EQ(QuantizeTaps(nan, Bits(16)).status, QuantStatus::NonFinite);
    EXPECT_EQ(QuantizeTaps(std::vector<double>{}, Bits(16)).status, QuantStatus::NoTaps);
    const std::vector<double> zeros = {0.0, 0.0};
    const QuantResult z = QuantizeTaps(zeros, Bits(12));
    EXPECT_EQ(z.status, QuantStatus::Ok);
    EXPECT_EQ(z.fractionLength, 11);
}

TEST(TapQuantization, ParsesFormatNames)
{
    EXPECT_EQ(ParseQuantFormat("Q7")->format, QuantFormat::Q7);
    EXPECT_EQ(ParseQuantFormat("q31")->wordLength, 32);
    EXPECT_EQ(ParseQuantFormat("12")->format, QuantFormat::Bits);
    EXPECT_EQ(ParseQuantFormat("12")->wordLength, 12);
    EXPECT_FALSE(ParseQuantFormat("1"));
    EXPECT_FALSE(ParseQuantFormat("33"));
    EXPECT_FALSE(ParseQuantFormat("q16"));
    EXPECT_FALSE(ParseQuantFormat("12b"));
    EXPECT_EQ(QuantFormatName(*ParseQuantFormat("q15")), "Q15");
    EXPECT_EQ(QuantFormatName(*ParseQuantFormat("20")), "20 bits");
}

// The quantised figures are those of the integer taps scaled back.
TEST(TapQuantization, MeasuresTheQuantisedTaps)
{
    const std::vector<double> h = RandomTaps(21, 1, 5);
    const std::vector<MaskBand> bands = {{BandKind::Pass, 0.0, 1000.0, 1.0}, {BandKind::Stop, 2000.0, 4000.0, 0.0}};
    const QuantResult q = QuantizeAndMeasure(h, Bits(6), 8000.0, bands, true);
    ASSERT_EQ(q.figures.status, MeasureStatus::Ok);
    std::vector<double> back;
    for (long long t : q.taps)
        back.push_back(std::ldexp(static_cast<double>(t), -q.fractionLength));
    const ResponseFigures direct = MeasureResponse(back, 8000.0, bands, true);
    ASSERT_EQ(direct.bands.size(), 2u);
    EXPECT_EQ(q.figures.bands[0].maxDb, direct.bands[0].maxDb);
    EXPECT_EQ(q.figures.bands[1].attenuationDb, direct.bands[1].attenuationDb);
    EXPECT_EQ(q.figures.dcGainDb, direct.dcGainDb);
}
