#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "document/DocumentMessages.h"

namespace {

struct Band {
    int lower, upper;
    double value, weight;
};
struct Expected {
    int method, type, taps;
    std::vector<Band> bands;
};

// The target filter table, entry by entry.
const Expected kTable[] = {
    {0, 0, -1, {}},
    {0, 0, 63, {{0, 1000, 1.0, 1.0}, {1200, 4000, 0.0, 10.0}}},
    {2, 0, 24, {{0, 640, 1.0, 1.0}, {1280, 4000, 0.0, 1.0}}},
    {2, 0, 63, {{0, 1000, 1.0, 1.0}, {1200, 4000, 0.0, 10.0}}},
    {2, 2, 32, {{0, 800, 0.0, 10.0}, {1600, 2800, 1.0, 1.0}, {3400, 4000, 0.0, 10.0}}},
    {2, 2, 50, {{0, 1200, 0.0, 10.0}, {1600, 2400, 1.0, 1.0}, {2800, 4000, 0.0, 100.0}}},
    {2, 2, 55,
     {{0, 400, 0.0, 10.0}, {800, 1200, 1.0, 1.0}, {1440, 2000, 0.0, 3.0}, {2400, 2880, 1.0, 1.0},
      {3280, 4000, 0.0, 20.0}}},
    {2, 5, 32, {{0, 4000, 1.0, 1.0}}},
    {2, 5, 33, {{0, 3500, 1.0, 1.0}}},
    {2, 4, 20, {{400, 4000, 1.0, 1.0}}},
    {2, 1, 32, {{0, 2800, 0.0, 40.0}, {3000, 3800, 1.0, 1.0}}},
};

// A set with every field away from the defaults and a full band table.
void Scramble(CFilPar& p)
{
    p.m_nDesignMethod = 3;
    p.m_nFilterType = 8;
    p.m_nWindowType = 5;
    p.m_nFirstCorner = 111;
    p.m_nSecondCorner = 222;
    p.m_nSamplingRate = 48000;
    p.m_nTaps = 77;
    p.m_nIRScaling = 2;
    p.m_bSinXComp = 1;
    p.m_dIRScale = 3.5;
    p.m_nStopbandAtt = 60;
    p.m_dShapeFactor = 8.0;
    p.m_dVariance = 2.0;
    p.m_strOutfile = "keep";
    p.m_nOutExt = 1;
    p.m_nNumFormat = 4;
    p.m_bInputData = 1;
    p.m_InputData.SetSize(2);
    for (RemezBand& b : p.m_Bands)
        b = {1, 5, 6, 0.7, 7.0};
    p.m_nGridDensity = 64;
}

void ExpectBands(const CFilPar& p, const std::vector<Band>& bands, int index)
{
    for (int i = 0; i < kBandCount; ++i) {
        const RemezBand& b = p.m_Bands[i];
        if (i < static_cast<int>(bands.size())) {
            EXPECT_EQ(b.m_bUse, 1) << index << "/" << i;
            EXPECT_EQ(b.m_nLowerEdge, bands[i].lower) << index << "/" << i;
            EXPECT_EQ(b.m_nUpperEdge, bands[i].upper) << index << "/" << i;
            EXPECT_EQ(b.m_dValue, bands[i].value) << index << "/" << i;
            EXPECT_EQ(b.m_dWeight, bands[i].weight) << index << "/" << i;
        } else {
            EXPECT_EQ(b.m_bUse, 0) << index << "/" << i;
            EXPECT_EQ(b.m_nLowerEdge, 0) << index << "/" << i;
            EXPECT_EQ(b.m_nUpperEdge, 0) << index << "/" << i;
            EXPECT_EQ(b.m_dValue, 0.0) << index << "/" << i;
            EXPECT_EQ(b.m_dWeight, 0.0) << index << "/" << i;
        }
    }
}

}  // namespace

TEST(TargetPreset, EachPresetLoadsItsTableAndNothingElse)
{
    for (int index = 0; index < 11; ++index) {
        CFilPar p;
        Scramble(p);
        p.ApplyTargetPreset(index);
        const Expected& e = kTable[index];
        EXPECT_EQ(p.m_nDesignMethod, e.method) << index;
        EXPECT_EQ(p.m_nFilterType, e.type) << index;
        EXPECT_EQ(p.m_nTaps, e.taps < 0 ? 77 : e.taps) << index;
        ExpectBands(p, e.bands, index);
        EXPECT_EQ(p.m_nGridDensity, 16) << index;

        CFilPar untouched;
        Scramble(untouched);
        EXPECT_EQ(p.m_nWindowType, untouched.m_nWindowType);
        EXPECT_EQ(p.m_nFirstCorner, untouched.m_nFirstCorner);
        EXPECT_EQ(p.m_nSecondCorner, untouched.m_nSecondCorner);
        EXPECT_EQ(p.m_nSamplingRate, untouched.m_nSamplingRate);
        EXPECT_EQ(p.m_nIRScaling, untouched.m_nIRScaling);
        EXPECT_EQ(p.m_bSinXComp, untouched.m_bSinXComp);
        EXPECT_EQ(p.m_dIRScale, untouched.m_dIRScale);
        EXPECT_EQ(p.m_nStopbandAtt, untouched.m_nStopbandAtt);
        EXPECT_EQ(p.m_dShapeFactor, untouched.m_dShapeFactor);
        EXPECT_EQ(p.m_dVariance, untouched.m_dVariance);
        EXPECT_EQ(p.m_strOutfile, untouched.m_strOutfile);
        EXPECT_EQ(p.m_nOutExt, untouched.m_nOutExt);
        EXPECT_EQ(p.m_nNumFormat, untouched.m_nNumFormat);
        EXPECT_EQ(p.m_bInputData, 1);
        EXPECT_EQ(p.m_InputData.m_nCount, 2);
    }
}

TEST(TargetPreset, ALaterPresetClearsTheBandsOfAnEarlierOne)
{
    CFilPar p;
    p.ApplyTargetPreset(6);
    ExpectBands(p, kTable[6].bands, 6);
    p.ApplyTargetPreset(9);
    ExpectBands(p, kTable[9].bands, 9);
}

TEST(TargetPreset, AnUnknownIndexShowsItsMessageClearsTheBandsAndSetsTheDensity)
{
    ScriptedHost host;
    CWnd owner;
    owner.SetHost(&host);
    for (int index : {11, -1, 255, -2147483647 - 1}) {
        CFilPar p;
        Scramble(p);
        p.ApplyTargetPreset(index, &owner);
        EXPECT_EQ(p.m_nDesignMethod, 3);
        EXPECT_EQ(p.m_nFilterType, 8);
        EXPECT_EQ(p.m_nTaps, 77);
        ExpectBands(p, {}, index);
        EXPECT_EQ(p.m_nGridDensity, 16);
    }
    EXPECT_EQ(MessageTexts(host), (std::vector<std::string>{"Target 11 not supported !", "Target -1 not supported !",
                                                            "Target 255 not supported !",
                                                            "Target -2147483648 not supported !"}));
    EXPECT_EQ(host.Messages()[0].type, MB_OK);

    CFilPar quiet;
    quiet.ApplyTargetPreset(12);
    EXPECT_EQ(quiet.m_nGridDensity, 16);
}

using TargetCombo = FormTest;

TEST_F(TargetCombo, TheInitialUpdateLoadsTheDocumentThenAppliesThePreset)
{
    // The parameter set's defaults, not the form's 129 taps.
    EXPECT_EQ(view.m_nTaps, 63);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "63");
    EXPECT_EQ(view.m_strIRScale, "1.00");
    EXPECT_EQ(host.GetCurSel(view, IDC_TARGET_FILTER), 0);
    EXPECT_EQ(host.TextLimit(view, IDC_IR_SCALE), 8);
    ExpectBands(doc.m_FilPar, {}, 0);
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 16);
    EXPECT_FALSE(doc.IsModified());

    // The keystroke filter sits on the scale edit.
    host.TypeText(view, IDC_IR_SCALE, "1x.5");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_IR_SCALE), "1.5");
    EXPECT_EQ(host.Beeps(), 1);

    // The preset reaches the document, the form keeps what it loaded first.
    view.m_nTargetFilter = 8;
    NewDocument(doc, view);
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 33);
    EXPECT_EQ(doc.m_FilPar.m_nFilterType, FT_DIFFERENTIATOR);
    ExpectBands(doc.m_FilPar, kTable[8].bands, 8);
    EXPECT_EQ(view.m_nTaps, 63);
    EXPECT_EQ(view.m_nFilterType, FT_LOWPASS);
    EXPECT_EQ(host.GetCurSel(view, IDC_TARGET_FILTER), 8);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(TargetCombo, ChoosingAnEntryLoadsItIntoDocumentAndForm)
{
    host.TypeText(view, IDC_SAMPLING_RATE, "16000");
    host.TypeText(view, IDC_FIRST_CORNER, "1500");
    host.SelectEntry(view, IDC_TARGET_FILTER, 6);
    EXPECT_TRUE(host.Messages().empty());
    ExpectBands(doc.m_FilPar, kTable[6].bands, 6);
    EXPECT_EQ(view.m_nTargetFilter, 6);
    EXPECT_EQ(view.m_nTaps, 55);
    EXPECT_EQ(view.m_nDesignMethod, DM_REMEZ);
    EXPECT_EQ(view.m_nFilterType, FT_BANDPASS);
    // Form edits since the last design give way to the document's values.
    EXPECT_EQ(view.m_nSamplingRate, 8000);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_SAMPLING_RATE), "8000");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_FIRST_CORNER), "1000");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "55");
    EXPECT_EQ(host.GetCurSel(view, IDC_DESIGN_METHOD), DM_REMEZ);
    EXPECT_FALSE(doc.IsModified());

    // "user specified" keeps the taps.
    host.SelectEntry(view, IDC_TARGET_FILTER, 0);
    EXPECT_EQ(view.m_nTaps, 55);
    EXPECT_EQ(view.m_nDesignMethod, DM_SINC);
    EXPECT_EQ(view.m_nFilterType, FT_LOWPASS);
    ExpectBands(doc.m_FilPar, {}, 0);
}

TEST_F(TargetCombo, TypedTextSelectsNothingAndThePresetIndexIsMinusOne)
{
    host.SelectEntry(view, IDC_TARGET_FILTER, 9);
    doc.m_FilPar.m_nGridDensity = 32;
    host.TypeText(view, IDC_TARGET_FILTER, "my own");
    view.OnSelChange(IDC_TARGET_FILTER);
    EXPECT_EQ(MessageTexts(host), (std::vector<std::string>{"Please enter an integer between 0 and 255.",
                                                            "Target -1 not supported !"}));
    EXPECT_EQ(view.m_nTargetFilter, -1);
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 20);
    EXPECT_EQ(doc.m_FilPar.m_nFilterType, FT_HILBERT);
    ExpectBands(doc.m_FilPar, {}, -1);
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 16);
    EXPECT_EQ(view.m_nTaps, 20);
}

TEST_F(TargetCombo, ARefusedControlShowsItsMessageAndTheSequenceGoesOn)
{
    host.SelectEntry(view, IDC_TARGET_FILTER, 2);
    host.TypeText(view, IDC_TAPS, "2000");
    doc.m_FilPar.m_nGridDensity = 32;
    host.SelectEntry(view, IDC_TARGET_FILTER, 4);
    // The exchange stops at the taps, before it reads the combo: the preset
    // held so far is applied again and the form is refilled from the document.
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Please enter an integer between 4 and 1025."});
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 16);
    EXPECT_EQ(view.m_nTaps, 24);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "24");
    EXPECT_EQ(host.GetCurSel(view, IDC_TARGET_FILTER), 2);
}
