#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <iostream>
#include <vector>

#include "RemezTestSupport.h"
#include "dsp/RemezDesign.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/ResponseShape.h"

namespace {

// The CIC's response computed independently of the formula: its impulse
// response at the input rate is a boxcar of R M ones convolved with itself
// N times, summed directly at nu = f / R and scaled by (R M)^N.
double CicByDirectSum(int r, int m, int n, double f)
{
    std::vector<double> h(static_cast<size_t>(r * m), 1.0);
    std::vector<double> box = h;
    for (int s = 1; s < n; ++s) {
        std::vector<double> next(h.size() + box.size() - 1, 0.0);
        for (size_t i = 0; i < h.size(); ++i)
            for (size_t j = 0; j < box.size(); ++j)
                next[i + j] += h[i] * box[j];
        h = std::move(next);
    }
    std::complex<double> sum = 0.0;
    const double nu = f / r;
    for (size_t k = 0; k < h.size(); ++k)
        sum += h[k] * std::polar(1.0, -2.0 * M_PI * nu * static_cast<double>(k));
    return std::abs(sum) / std::pow(static_cast<double>(r * m), n);
}

struct ShapedCase {
    const char* name;
    int taps;
    ResponseShape shape;
    double passEdge, stopEdge;
    double stopWeight;
};

std::vector<RemezEdge> Edges(const ShapedCase& c)
{
    std::vector<RemezEdge> list = {{0.0, c.passEdge, 1.0, 1.0}, {c.stopEdge, 0.5, 0.0, c.stopWeight}};
    list[0].shape = c.shape;
    return list;
}

}  // namespace

// The cascade of the compensated response with the compensator is flat to
// the levelled error delta / w over the pass band (equiripple: it reaches
// it), checked with the CIC's response from its impulse response and the
// sinc of the hold from the standard library; the flat design's cascade
// droops far more.
TEST(ShapedRemez, CascadeIsFlatWithinTheLevelledError)
{
    const ShapedCase cases[] = {
        {"CIC R 8 M 1 N 4, 63 taps", 63, {ShapeKind::CicInverse, 8, 1, 4}, 0.2, 0.3, 1.0},
        {"CIC R 16 M 2 N 5, 48 taps", 48, {ShapeKind::CicInverse, 16, 2, 5}, 0.15, 0.3, 10.0},
        {"CIC R 5 M 1 N 3, 31 taps", 31, {ShapeKind::CicInverse, 5, 1, 3}, 0.1, 0.25, 1.0},
        {"inverse sinc, 31 taps", 31, {ShapeKind::InverseSinc, 1, 1, 1}, 0.4, 0.45, 0.1},
        {"inverse sinc, 64 taps", 64, {ShapeKind::InverseSinc, 1, 1, 1}, 0.3, 0.4, 1.0},
    };
    for (const ShapedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<RemezEdge> shaped = Edges(c);
        ASSERT_TRUE(ShapeValid(c.shape));
        ASSERT_TRUE(ShapeBounded(c.shape, 0.0, c.passEdge));
        const int firType = c.taps % 2 ? 0 : 1;
        CPoints h;
        const RemezResult r = DesignRemezEdges(c.taps, FT_LOWPASS, firType, shaped, 32, h);
        ASSERT_TRUE(r.Converged());
        std::vector<RemezEdge> flat = shaped;
        flat[0].shape = {};
        CPoints hf;
        ASSERT_TRUE(DesignRemezEdges(c.taps, FT_LOWPASS, firType, flat, 32, hf).Converged());
        std::vector<double> taps(static_cast<size_t>(c.taps)), flatTaps(static_cast<size_t>(c.taps));
        for (int k = 0; k < c.taps; ++k) {
            taps[static_cast<size_t>(k)] = h[k].real();
            flatTaps[static_cast<size_t>(k)] = hf[k].real();
        }
        double worst = 0.0;
        double flatWorst = 0.0;
        double formulaOff = 0.0;
        for (int i = 0; i <= 1000; ++i) {
            const double f = c.passEdge * i / 1000.0;
            const double compensated = c.shape.kind == ShapeKind::CicInverse
                                           ? CicByDirectSum(c.shape.decimation, c.shape.delay, c.shape.stages, f)
                                           : (f == 0.0 ? 1.0 : std::sin(M_PI * f) / (M_PI * f));
            formulaOff = std::max(formulaOff, std::fabs(compensated * ShapeGain(c.shape, f) - 1.0));
            worst = std::max(worst, std::fabs(compensated * std::abs(FrequencyResponseAt(taps, f)) - 1.0));
            flatWorst = std::max(flatWorst, std::fabs(compensated * std::abs(FrequencyResponseAt(flatTaps, f)) - 1.0));
        }
        std::cout << "  " << c.name << ": cascade pass deviation " << worst << " (levelled error " << r.dDelta
                  << "), uncompensated " << flatWorst << ", |formula x direct sum - 1| " << formulaOff << "\n";
        EXPECT_LT(formulaOff, 1e-12);
        EXPECT_NEAR(CascadeDeviation(taps, c.shape, 0.0, c.passEdge, 1.0), worst, 1e-12);
        EXPECT_LE(worst, r.dDelta * 1.02);  // between grid points of density 32
        EXPECT_GE(worst, r.dDelta * 0.99);
        EXPECT_LT(worst, 0.2 * flatWorst);
        // The stop band meets its own weight's share of the same error.
        for (int i = 0; i <= 1000; ++i) {
            const double f = c.stopEdge + (0.5 - c.stopEdge) * i / 1000.0;
            EXPECT_LE(std::abs(FrequencyResponseAt(taps, f)), r.dDelta / c.stopWeight * 1.03) << "f " << f;
        }
    }
}

// A table without shapes designs the same taps, bit for bit, whichever
// entry point takes it.
TEST(ShapedRemez, UnshapedBandsDesignTheSameTaps)
{
    for (int preset = 1; preset <= 10; ++preset) {
        const RemezCase c = PresetCase(preset);
        CPoints a, b;
        const RemezResult ra = DesignRemez(c.taps, c.filterType, c.FirType(), c.fs, c.table.bands, c.density, a);
        const RemezResult rb = DesignRemezEdges(c.taps, c.filterType, c.FirType(), BuildBandList(c.table.bands, c.fs),
                                                c.density, b);
        ASSERT_EQ(a.m_nCount, b.m_nCount);
        EXPECT_EQ(ra.nPasses, rb.nPasses);
        for (int k = 0; k < a.m_nCount; ++k)
            EXPECT_EQ(a[k].real(), b[k].real()) << "preset " << preset << " tap " << k;
    }
}

TEST(ShapedRemez, ShapeChecks)
{
    EXPECT_EQ(CicMagnitude(8, 1, 4, 0.0), 1.0);
    EXPECT_EQ(ShapeGain({ShapeKind::InverseSinc, 1, 1, 1}, 0.0), 1.0);
    EXPECT_EQ(ShapeGain({}, 0.3), 1.0);
    // M = 2 puts the CIC's first null at fs/2.
    EXPECT_FALSE(ShapeBounded({ShapeKind::CicInverse, 8, 2, 4}, 0.0, 0.5));
    EXPECT_TRUE(ShapeBounded({ShapeKind::CicInverse, 8, 2, 4}, 0.0, 0.2));
    EXPECT_FALSE(ShapeValid({ShapeKind::CicInverse, 0, 1, 4}));
    EXPECT_FALSE(ShapeValid({ShapeKind::CicInverse, 8, 9, 4}));
    EXPECT_FALSE(ShapeValid({ShapeKind::CicInverse, 8, 1, 17}));
}
