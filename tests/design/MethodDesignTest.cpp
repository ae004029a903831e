#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/MethodDesign.h"
#include "dsp/LeastSquares.h"
#include "dsp/PulseShaping.h"
#include "dsp/ResponseMeasurement.h"
#include "RequestParts.h"

namespace {

DesignRequest BandRequest(DesignMethod method, int taps, std::vector<RemezBand> bands, bool minimumPhase = false)
{
    DesignRequest q;
    q.filterType = FilterType::Lowpass;
    if (method == DesignMethod::LeastSquares)
        q.method = LeastSquaresMethod{std::move(bands), 16, minimumPhase};
    else
        q.method = RemezMethod{std::move(bands), 16, RemezStart::Automatic, minimumPhase};
    q.taps = taps;
    q.samplingRate = 48000;
    q.firstCorner = 0;
    q.secondCorner = 0;
    return q;
}

const std::vector<RemezBand> kLowpass = {{1, 0, 8000, 1.0, 1.0}, {1, 10000, 24000, 0.0, 10.0}};

}  // namespace

// Design runs the numerics it names: the same taps as the dsp call, the
// figures on the band table, the method's report.
TEST(MethodDesign, LeastSquaresIsTheDspDesignMeasuredOnItsBands)
{
    std::vector<RemezBand> bands = kLowpass;
    bands[1].m_dWeight = 0.25;  // any positive weight
    const DesignOutcome out = Design(BandRequest(DesignMethod::LeastSquares, 64, bands));
    ASSERT_TRUE(out.valid);
    const std::vector<LeastSquaresBand> ls = {{0.0, 8000.0 / 48000, 1.0, 1.0}, {10000.0 / 48000, 0.5, 0.0, 0.25}};
    const LeastSquaresResult ref = DesignLeastSquares(64, 1, ls);
    ASSERT_TRUE(ref.Ok());
    EXPECT_EQ(out.Taps(), ref.taps);
    EXPECT_TRUE(out.methods.leastSquares.ran);
    EXPECT_EQ(out.methods.leastSquares.conditionEstimate, ref.conditionEstimate);
    ASSERT_EQ(out.mask.size(), 2u);
    EXPECT_EQ(out.mask[1].kind, BandKind::Stop);
    EXPECT_EQ(out.figures.status, MeasureStatus::Ok);
    EXPECT_TRUE(out.figures.linearPhase);
}

TEST(MethodDesign, MinimumPhaseCutsTheDelay)
{
    for (DesignMethod method : {DesignMethod::Remez, DesignMethod::LeastSquares}) {
        DesignRequest q = BandRequest(method, 48, kLowpass, true);
        const DesignOutcome out = Design(q);
        ASSERT_TRUE(out.valid);
        ASSERT_EQ(out.taps, 48);
        const MinimumPhaseReport& m = out.methods.minimumPhase;
        EXPECT_TRUE(m.ran);
        EXPECT_EQ(m.prototypeTaps, 95);
        EXPECT_LT(m.groupDelayDcSamples, 0.25 * m.linearPhaseDelaySamples);
        EXPECT_FALSE(out.figures.linearPhase);
    }
}

TEST(MethodDesign, PulseReportsItsIsiAndBandwidth)
{
    DesignRequest q;
    q.samplingRate = 8000;
    Pulse(q) = PulseRequest{PulseShape::RaisedCosine, 0.25, 0.3, 8, 10, PulseNormalisation::UnitDcGain};
    const DesignOutcome out = Design(q);
    ASSERT_TRUE(out.valid);
    EXPECT_EQ(out.taps, 81);
    EXPECT_EQ(out.Taps(), DesignPulse(Pulse(q)).taps);
    EXPECT_TRUE(out.methods.pulse.ran);
    EXPECT_EQ(out.methods.pulse.analysis.isiRms, 0.0);
    ASSERT_EQ(out.mask.size(), 2u);
    EXPECT_DOUBLE_EQ(out.mask[0].hiHz, 0.5 * 0.75 * 1000.0);
    EXPECT_DOUBLE_EQ(out.mask[1].loHz, 0.5 * 1.25 * 1000.0);
}

TEST(MethodDesign, CicCompensatorLevelsTheCascade)
{
    DesignRequest q = BandRequest(DesignMethod::Remez, 63, {{1, 0, 1600, 1.0, 1.0}, {1, 2400, 4000, 0.0, 1.0}});
    q.samplingRate = 8000;
    Remez(q).shape = ResponseShape{ShapeKind::CicInverse, 8, 1, 4};
    const DesignOutcome out = Design(q);
    ASSERT_TRUE(out.valid);
    EXPECT_TRUE(out.remez.ran);
    EXPECT_TRUE(out.Has(DesignCode::RemezPasses));
    EXPECT_TRUE(out.methods.shape.ran);
    // The cascade is flat to about the stop band's level (equal weights).
    double stop = 0.0;
    for (int i = 0; i <= 400; ++i)
        stop = std::max(stop, std::abs(FrequencyResponseAt(out.Taps(), 0.3 + 0.2 * i / 400.0)));
    EXPECT_LT(out.methods.shape.cascadeDeviation, 1.05 * stop);
    EXPECT_GT(out.methods.shape.cascadeDeviation, 0.9 * stop);
}

TEST(MethodDesign, RefusalsNameTheirCode)
{
    struct Row {
        const char* name;
        DesignRequest q;
        DesignCode code;
    };
    std::vector<Row> rows;
    {
        DesignRequest q = BandRequest(DesignMethod::LeastSquares, 64, kLowpass);
        q.filterType = FilterType::Differentiator;
        rows.push_back({"ls differentiator", q, DesignCode::LeastSquaresNotSupported});
    }
    {
        DesignRequest q = BandRequest(DesignMethod::LeastSquares, 64, kLowpass, true);
        q.filterType = FilterType::Highpass;
        rows.push_back({"min phase of a highpass", q, DesignCode::MinimumPhaseNotSupported});
    }
    {
        DesignRequest q = BandRequest(DesignMethod::Remez, 64, kLowpass, true);
        Remez(q).shape = ResponseShape{ShapeKind::InverseSinc, 1, 1, 1};
        rows.push_back({"shape with minimum phase", q, DesignCode::ShapeNotSupported});
    }
    {
        DesignRequest q = BandRequest(DesignMethod::Remez, 64, kLowpass);
        q.filterType = FilterType::Highpass;
        Remez(q).shape = ResponseShape{ShapeKind::InverseSinc, 1, 1, 1};
        rows.push_back({"shaped highpass", q, DesignCode::ShapeNotSupported});
    }
    {
        DesignRequest q = BandRequest(DesignMethod::Remez, 64, {{1, 0, 24000, 1.0, 1.0}});
        Remez(q).shape = ResponseShape{ShapeKind::CicInverse, 8, 2, 4};
        rows.push_back({"pass band over the CIC's null", q, DesignCode::ShapeRange});
    }
    {
        DesignRequest q;
        Pulse(q).sps = 1;
        rows.push_back({"one sample per symbol", q, DesignCode::PulseRange});
    }
    {
        DesignRequest q = BandRequest(DesignMethod::LeastSquares, 64, {{1, 0, 8000, 1.0, -1.0}});
        rows.push_back({"negative weight", q, DesignCode::WeightRange});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignOutcome out = Design(row.q);
        EXPECT_FALSE(out.valid);
        ASSERT_TRUE(out.Refusal().has_value());
        EXPECT_EQ(out.Refusal()->code, row.code);
        EXPECT_FALSE(DesignMessage(*out.Refusal()).empty());
    }
}

// A pulse's normalisation is the gain it gets: the scaling and x/sin(x)
// around the other methods leave its taps alone.
TEST(MethodDesign, APulseKeepsItsOwnGain)
{
    for (PulseNormalisation gain : {PulseNormalisation::UnitDcGain, PulseNormalisation::UnitEnergy}) {
        DesignRequest q;
        Pulse(q) = PulseRequest{PulseShape::RootRaisedCosine, 0.35, 0.3, 8, 8, gain};
        const std::vector<double> own = Design(q).Taps();
        q.scaling = IRScaling::Custom;
        q.scale = 2.0;
        q.sinXCompensation = true;
        const DesignOutcome out = Design(q);
        ASSERT_TRUE(out.valid);
        EXPECT_EQ(out.gain, 1.0);
        EXPECT_FALSE(out.sinXApplied);
        EXPECT_EQ(out.Taps(), own);
        EXPECT_EQ(out.Taps(), DesignPulse(Pulse(q)).taps);
    }
}
