#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"
#include "RequestParts.h"

namespace {

DesignRequest RemezLowpass()
{
    DesignRequest q;
    q.taps = 31;
    Remez(q).bands = {{1, 0, 1000, 1.0, 1.0}, {1, 1500, 4000, 0.0, 10.0}};
    return q;
}

struct Refusal {
    const char* what;
    std::function<void(DesignRequest&)> change;
    DesignCode code;
    const char* text;  // the form's message, as the user reads it
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(DesignValidation, GivesTheFormsRefusalWithItsText)
{
    const Refusal table[] = {
        {"first corner", [](DesignRequest& q) { q.firstCorner = -1; }, DesignCode::FirstCornerRange,
         "Please enter an integer between 0 and 10000000."},
        {"second corner", [](DesignRequest& q) { q.secondCorner = 10000001; }, DesignCode::SecondCornerRange,
         "Please enter an integer between 0 and 10000000."},
        {"taps low", [](DesignRequest& q) { q.taps = 3; }, DesignCode::TapsRange,
         "Please enter an integer between 4 and 1025."},
        {"taps high", [](DesignRequest& q) { q.taps = 1026; }, DesignCode::TapsRange,
         "Please enter an integer between 4 and 1025."},
        {"corner at fs/2", [](DesignRequest& q) { q.secondCorner = 4000; }, DesignCode::CornerFrequencies,
         "The corner frequencies must be < ((sampling rate) / 2)"},
        {"corner at odd fs/2", [](DesignRequest& q) { q.samplingRate = 6001, q.secondCorner = 3000; },
         DesignCode::CornerFrequencies, "The corner frequencies must be < ((sampling rate) / 2)"},
        {"scale high", [](DesignRequest& q) { q.scaling = IRScaling::Custom, q.scale = 20.0; },
         DesignCode::ScaleRange, "The impulse response scale must be 0.1 <= x <= 10.0"},
        {"scale low, normalized", [](DesignRequest& q) { q.scaling = IRScaling::Normalized, q.scale = 0.05; },
         DesignCode::ScaleRange, "The impulse response scale must be 0.1 <= x <= 10.0"},
        {"sinc of an allpass", [](DesignRequest& q) { q.filterType = FilterType::Allpass; },
         DesignCode::SincNotSupported, "Sync Window design not supported for this filter type"},
        {"frequency sampling of a Hilbert",
         [](DesignRequest& q) { Sampled(q), q.filterType = FilterType::Hilbert; },
         DesignCode::FreqSamplingNotSupported, "Frequency Sampling design not supported for this filter type"},
        {"Remez of a Gaussian",
         [](DesignRequest& q) { Remez(q), q.filterType = FilterType::Gaussian; },
         DesignCode::RemezNotSupported, "Remex Exchange design not supported for this filter type"},
        {"direct lowpass", [](DesignRequest& q) { Direct(q); }, DesignCode::DirectNotSupported,
         "Direct design not supported for this filter type"},
        {"no input data", [](DesignRequest& q) { Sampled(q); },
         DesignCode::NoInputData, "No input data available.\nPlease read file first."},
        {"one point",
         [](DesignRequest& q) {
             Sampled(q).points = std::vector<Complex>{{1.0, 0.0}};
         },
         DesignCode::TooFewPoints, "A frequency sampling design needs at least 2 input points.\nPlease read another file."},
        {"Chebyshev attenuation", [](DesignRequest& q) { Sinc(q).window = {WindowType::Chebyshev, 5.0, 9}; },
         DesignCode::AttenuationRange, "Please enter an integer between 10 and 100."},
        {"Kaiser beta", [](DesignRequest& q) { Sinc(q).window = {WindowType::Kaiser, 20.5}; },
         DesignCode::ShapeFactorBounds, "The shape factor is out of bounds."},
        {"Kaiser beta NaN", [](DesignRequest& q) { Sinc(q).window = {WindowType::Kaiser, kNaN}; },
         DesignCode::ShapeFactorBounds, "The shape factor is out of bounds."},
        {"corner order", [](DesignRequest& q) { q.filterType = FilterType::Bandstop, q.secondCorner = 1000; },
         DesignCode::CornerOrder, "The second corner frequency must be above the first one."},
        {"differentiator gain",
         [](DesignRequest& q) {
             q.filterType = FilterType::Differentiator, Sinc(q).differentiatorGain = 0.05;
         },
         DesignCode::DiffGainRange, "The differentiator gain range is 0.1 <= x <= 10.0"},
        {"variance",
         [](DesignRequest& q) {
             q.filterType = FilterType::Gaussian, Direct(q).gaussianVariance = 3.5;
         },
         DesignCode::VarianceRange, "The variance must be in the range\nfrom 0.1 to 3.0."},
    };
    for (const Refusal& r : table) {
        SCOPED_TRACE(r.what);
        DesignRequest q;
        r.change(q);
        const std::optional<DesignNote> note = ValidateRequest(q);
        ASSERT_TRUE(note.has_value());
        EXPECT_EQ(note->code, r.code);
        EXPECT_EQ(DesignMessage(*note), r.text);
        const DesignOutcome out = Design(q);
        EXPECT_FALSE(out.valid);
        ASSERT_EQ(out.notes.size(), 1u);
        EXPECT_EQ(out.notes[0], *note);
    }
}

TEST(DesignValidation, BandTableRefusalsNameTheRow)
{
    const Refusal table[] = {
        {"grid density", [](DesignRequest& q) { Remez(q).gridDensity = 65; }, DesignCode::GridDensityRange,
         "Please enter an integer between 8 and 64."},
        {"edge above fs/2", [](DesignRequest& q) { Remez(q).bands[1].m_nUpperEdge = 4001; }, DesignCode::EdgeAboveHalf,
         "Edge frequencies must be <= fs/2."},
        {"edges out of order", [](DesignRequest& q) { Remez(q).bands[1].m_nLowerEdge = 900; }, DesignCode::EdgeOrder,
         "Edge frequencies must be in ascending order."},
        {"equal edges", [](DesignRequest& q) { Remez(q).bands[1].m_nLowerEdge = 4000; }, DesignCode::EdgesEqual,
         "Lower and upper edge frequencies must not be equal."},
        {"value", [](DesignRequest& q) { Remez(q).bands[1].m_dValue = 1.5; }, DesignCode::ValueRange,
         "Values must be in the range from 0.00 to 1.00."},
        {"differentiator value",
         [](DesignRequest& q) { q.filterType = FilterType::Differentiator, Remez(q).bands[1].m_dValue = 0.05; },
         DesignCode::DiffValueRange, "Values must be in the range from 0.10 to 3.20."},
        {"weight", [](DesignRequest& q) { Remez(q).bands[1].m_dWeight = 0.0; }, DesignCode::WeightRange,
         "Weights must be positive finite numbers."},
        {"weight NaN", [](DesignRequest& q) { Remez(q).bands[1].m_dWeight = kNaN; }, DesignCode::WeightRange,
         "Weights must be positive finite numbers."},
        {"no band", [](DesignRequest& q) { Remez(q).bands[0].m_bUse = 0, Remez(q).bands[1].m_bUse = 0; }, DesignCode::NoBand,
         "You must specify at least one band"},
    };
    for (const Refusal& r : table) {
        SCOPED_TRACE(r.what);
        DesignRequest q = RemezLowpass();
        r.change(q);
        const std::optional<DesignNote> note = ValidateRequest(q);
        ASSERT_TRUE(note.has_value());
        EXPECT_EQ(note->code, r.code);
        EXPECT_EQ(DesignMessage(*note), r.text);
        if (r.code != DesignCode::NoBand && r.code != DesignCode::GridDensityRange) {
            EXPECT_EQ(note->value, 1);
        }
    }
}

TEST(DesignValidation, TakesAnyPositiveWeightAndRowsNotInUseAsTheyAre)
{
    // The band dialog's 1.00 .. 100.00 and its edit widths are the form's;
    // the design takes the ratio a search stored, and ignores unused rows.
    DesignRequest q = RemezLowpass();
    Remez(q).bands[1].m_dWeight = 57501.0;
    Remez(q).bands.push_back({0, -5, 123456789, 1e12, -1.0});
    EXPECT_FALSE(ValidateRequest(q).has_value());
    EXPECT_TRUE(Design(q).valid);
}

TEST(DesignValidation, ValuesEachDesignIgnoresAreNotChecked)
{
    // Corners do not bound a Remez design; window parameters only count for
    // their window; a natural scaling takes 1 whatever the scale.
    DesignRequest q = RemezLowpass();
    q.secondCorner = 5000;
    EXPECT_FALSE(ValidateRequest(q).has_value());
    DesignRequest sinc;
    Sinc(sinc).window.kaiserBeta = -1.0;
    Sinc(sinc).window.chebyshevAttenuation = 0;
    sinc.scale = 50.0;
    EXPECT_FALSE(ValidateRequest(sinc).has_value());
}

TEST(DesignValidation, WholeNumberTextsAreTheFieldExchangesOwn)
{
    for (const auto& [code, low, high] : {std::tuple{DesignCode::TapsRange, 4, 1025},
                                          std::tuple{DesignCode::AttenuationRange, 10, 100},
                                          std::tuple{DesignCode::GridDensityRange, 8, 64},
                                          std::tuple{DesignCode::FirstCornerRange, 0, 10000000}})
        EXPECT_EQ(DesignMessage({code, 0}), FillPlaceholders(kMsgIntRange, {std::to_string(low), std::to_string(high)}));
    EXPECT_EQ(DesignMessage({DesignCode::RemezPasses, 7}), FormatText(kMsgRemezPasses, 7));
    EXPECT_EQ(DesignMessage({DesignCode::RemezPasses, 7}), "The Remez algorithm took   7 iterations to converge.");
    EXPECT_EQ(DesignMessage({DesignCode::RemezPasses, 1234}), FormatText(kMsgRemezPasses, 1234));
}
