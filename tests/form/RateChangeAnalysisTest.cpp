#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <set>
#include <vector>

#include "ViewFixture.h"
#include "form/AnalysisTable.h"
#include "form/CRateChangeDlg.h"
#include "form/DesignAnalysis.h"
#include "form/RateChangeAnalysis.h"
#include "form/RateChangeCommand.h"

namespace {

using Action = ScriptedHost::Action;
using R = CRateChangeDlg;

// |H(f)|^2 by the defining sum, f in Hz.
double PowerAt(const std::vector<double>& taps, double f, double fs)
{
    std::complex<double> h = 0.0;
    for (size_t n = 0; n < taps.size(); ++n)
        h += taps[n] * std::polar(1.0, -2.0 * std::numbers::pi * f * static_cast<double>(n) / fs);
    return std::norm(h);
}

void RunRateChange(ViewFixture& f, int kind, const char* factor, const char* fs, const char* pass, const char* taps)
{
    f.host.QueueDialog(R::IDD, {{Action::Select, R::IDC_RATE_KIND, {}, kind},
                                {Action::Type, R::IDC_RATE_FACTOR, factor},
                                {Action::Type, R::IDC_RATE_FS, fs},
                                {Action::Type, R::IDC_RATE_PASS, pass},
                                {Action::Type, R::IDC_RATE_TAPS, taps},
                                {Action::Click, R::IDC_RATE_ALIAS, {}}});
    DesignRateChange(f.view);
}

}  // namespace

// The folded response against the definition: at each output frequency f
// the power of |H| summed over the distinct input frequencies k fs/M -+ f,
// k >= 1, in 0 .. fs/2.
TEST(RateChangeAnalysis, FoldedResponseIsTheAliasedPower)
{
    const std::vector<double> taps = {0.02, -0.05, 0.1, 0.3, 0.45, 0.3, 0.1, -0.05, 0.02, 0.01, -0.003};
    for (int factor : {2, 3, 5}) {
        SCOPED_TRACE(factor);
        const double fs = 48000.0, fo = fs / factor;
        const int count = 7;
        const ResponseCurve c = FoldedResponseDb(taps, factor, fs, count);
        ASSERT_EQ(c.hz.size(), static_cast<size_t>(count));
        for (int j = 0; j < count; ++j) {
            const double f = fo / 2.0 * j / (count - 1);
            EXPECT_NEAR(c.hz[static_cast<size_t>(j)], f, 1e-9);
            std::set<long long> seen;  // the folding frequencies in millihertz
            double power = 0.0;
            for (int k = 1; k <= factor; ++k)
                for (double nu : {k * fo - f, k * fo + f}) {
                    if (nu > fs / 2.0 + 1e-6 || !seen.insert(std::llround(nu * 1000.0)).second)
                        continue;
                    power += PowerAt(taps, nu, fs);
                }
            EXPECT_NEAR(c.values[static_cast<size_t>(j)], 10.0 * std::log10(power), 1e-9) << j;
        }
    }
}

// Extras > Rate Change...: the analysis shows the alias bands k fs/M -+ f1
// (clipped to fs/2), their weakest attenuation for the double and the
// quantised taps, and a row for each in the figures; the form's own Design
// makes a lowpass without a rate change.
TEST(RateChangeAnalysis, AliasBandsAndAttenuationFollowTheForm)
{
    ViewFixture f;
    RunRateChange(f, 0, "4", "48000", "2000", "41");
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    QuantSpec q15;
    q15.format = QuantFormat::Q15;
    q15.wordLength = 16;
    DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, q15);
    ASSERT_TRUE(a.rateChange.has_value());
    const RateChangeFigures& r = *a.rateChange;
    EXPECT_EQ(r.design.kind, MultirateKind::Decimate);
    EXPECT_EQ(r.design.factor, 4);
    const double expected[][2] = {{10000, 14000}, {22000, 24000}};
    ASSERT_EQ(r.aliasBands.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(r.aliasBands[i].loHz, expected[i][0]);
        EXPECT_DOUBLE_EQ(r.aliasBands[i].hiHz, expected[i][1]);
    }
    EXPECT_DOUBLE_EQ(r.aliasAttenuationDb, AliasAttenuationDb(a.taps, 4, 48000, 2000));
    EXPECT_GT(r.aliasAttenuationDb, 40.0);
    EXPECT_DOUBLE_EQ(r.quantAliasAttenuationDb, AliasAttenuationDb(a.quantized.values, 4, 48000, 2000));
    const std::vector<FigureRow> rows = FigureRows(a, DefaultBandLimits(a.figures));
    bool found = false;
    for (const FigureRow& row : rows)
        if (row.label == "Alias attenuation dB") {
            found = true;
            EXPECT_EQ(row.doubleText, FixedText(r.aliasAttenuationDb, 2));
            EXPECT_EQ(row.quantText, FixedText(r.quantAliasAttenuationDb, 2));
        }
    EXPECT_TRUE(found);

    f.Type(IDC_TAPS, "61");
    f.Design();
    EXPECT_FALSE(AnalyzeDesign(f.view, std::nullopt, q15).rateChange.has_value());
    // Undo brings the rate change's design back, alias bands and all.
    ASSERT_TRUE(f.view.m_history.Undo(f.view));
    EXPECT_TRUE(AnalyzeDesign(f.view, std::nullopt, q15).rateChange.has_value());
}

TEST(RateChangeAnalysis, InterpolatorKeepsItsKind)
{
    ViewFixture f;
    RunRateChange(f, 1, "3", "48000", "4000", "47");
    const DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, QuantSpec{});
    ASSERT_TRUE(a.rateChange.has_value());
    EXPECT_EQ(a.rateChange->design.kind, MultirateKind::Interpolate);
    EXPECT_EQ(a.rateChange->aliasBands.size(), 1u);  // 16000 -+ 4000
}
