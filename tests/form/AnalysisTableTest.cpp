#include <gtest/gtest.h>

#include <cmath>

#include "ViewFixture.h"
#include "form/AnalysisTable.h"

namespace {

const FigureRow* Row(const std::vector<FigureRow>& rows, const std::string& start)
{
    for (const FigureRow& r : rows)
        if (r.label.rfind(start, 0) == 0)
            return &r;
    return nullptr;
}

}  // namespace

// The default 63-tap Hamming lowpass, in Q7: limits from the double design,
// so only the quantised figures can miss them.
TEST(AnalysisTable, QuantisedMissesAreMarkedAgainstTheLimits)
{
    ViewFixture f;
    f.Design();
    QuantSpec q7;
    q7.format = QuantFormat::Q7;
    const DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, q7);
    ASSERT_TRUE(a.valid);
    ASSERT_EQ(a.bands.size(), 2u);
    const std::vector<double> limits = DefaultBandLimits(a.figures);
    ASSERT_EQ(limits.size(), 2u);
    EXPECT_EQ(limits[1], std::floor(a.figures.bands[1].attenuationDb));
    EXPECT_GE(limits[0], a.figures.bands[0].rippleDb);
    EXPECT_LE(limits[0], a.figures.bands[0].rippleDb + 0.01);

    const std::vector<FigureRow> rows = FigureRows(a, limits);
    const FigureRow* att = Row(rows, "Band 2 (stop 1258-4000 Hz) attenuation dB");
    ASSERT_NE(att, nullptr);
    EXPECT_EQ(att->doubleText, FixedText(a.figures.bands[1].attenuationDb, 2));
    EXPECT_FALSE(att->doubleMisses);
    EXPECT_TRUE(att->quantMisses);  // Q7 loses the Hamming stop band
    const FigureRow* shift = Row(rows, "Shift");
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->quantText, "0");
    EXPECT_EQ(Row(rows, "Word / fraction length")->quantText, "8 / 7");
    EXPECT_EQ(Row(rows, "Group delay samples")->doubleText, "31.000");
    EXPECT_NE(Row(rows, "-3 dB Hz"), nullptr);

    // A limit the quantised taps keep: no red.
    std::vector<double> loose = {10.0, 20.0};
    const std::vector<FigureRow> looseRows = FigureRows(a, loose);
    const FigureRow* ok = Row(looseRows, "Band 2");
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->quantMisses);
}

TEST(AnalysisTable, NoDesignAndLocaleFreeNumbers)
{
    ViewFixture f;
    const DesignAnalysis a = AnalyzeDesign(f.view, std::nullopt, QuantSpec());
    EXPECT_FALSE(a.valid);
    EXPECT_TRUE(a.taps.empty());
    EXPECT_EQ(FixedText(-72.19924, 2), "-72.20");
    EXPECT_EQ(FixedText(0.5, 0), "0");
    EXPECT_EQ(FixedText(std::nan(""), 2), "-");
}
