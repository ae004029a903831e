#include <sstream>

#include "ExportTestSupport.h"
#include "document/ForeignTaps.h"
#include "dsp/CPoints.h"
#include "dsp/RemezDesign.h"

namespace fs = std::filesystem;

namespace {

// A 47-tap Remez lowpass whose 10-bit words, rounded, miss its
// requirement; words of 10 bits chosen for it are written by the export.
struct ChosenWordsDesign {
    std::vector<double> taps;
    ExportDesign design;

    ChosenWordsDesign()
    {
        const std::vector<SpecBand> requirement = {{BandKind::Pass, 0, 4800, 0.2}, {BandKind::Stop, 8000, 24000, 50}};
        CPoints coeffs;
        DesignRemezEdges(47, FT_LOWPASS, 0, RemezEdgesOf(WordRequirementOf({48000.0, requirement})), 16, coeffs);
        for (int i = 0; i < 47; ++i)
            taps.push_back(coeffs[i].real());
        design = ForeignExportDesign(taps, 48000.0, "remez.txt", {}, requirement);
        QuantSpec bits;
        bits.format = QuantFormat::Bits;
        bits.wordLength = 10;
        design.chosenWords = ChooseWords(taps, 48000.0, design.bands, {bits, requirement});
    }
};

}  // namespace

using ChosenWordsExport = TempDirTest;

// The chosen words meet the requirement where the same taps rounded to
// 10 bits miss it; the COE file holds them, and an impulse through either
// FPGA filter's testbench gives them back.
TEST_F(ChosenWordsExport, FpgaFilesHoldAndRunTheChosenWords)
{
    const ChosenWordsDesign c;
    const WordResult& chosen = c.design.chosenWords->result;
    ASSERT_TRUE(chosen.judgement.met);
    ASSERT_FALSE(chosen.roundedJudgement.met);
    const std::vector<long long>& words = chosen.words.taps;

    ExportOptions o;
    o.profile = ExportProfile::Coe;
    o.wordLength = 10;
    o.root = (m_dir / "lp").string();
    ASSERT_TRUE(WriteExport(c.design, o, nullptr));
    const std::string coe = ReadText(m_dir / "lp.coe");
    EXPECT_NE(coe.find("; Quantisation: optimised words, chosen to meet the requirement"), std::string::npos);
    std::vector<long long> coeWords;
    std::istringstream data(coe.substr(coe.find("coefdata=") + 9));
    for (std::string item; std::getline(data, item, ',');)
        coeWords.push_back(std::stoll(item));
    EXPECT_EQ(coeWords, words);

    // An impulse in, the chosen words expected out; the testbench counts
    // the outputs that differ.
    std::ofstream impulse(m_dir / "impulse.txt");
    std::ofstream expected(m_dir / "words.txt");
    impulse << "1\n";
    for (size_t i = 1; i < words.size(); ++i)
        impulse << "0\n";
    for (long long w : words)
        expected << w << "\n";
    impulse.close();
    expected.close();
    const struct {
        ExportProfile profile;
        const char* tool;
        const char* run;
    } filters[] = {
        {ExportProfile::VhdlFir, "ghdl",
         "ghdl -a --std=08 lp.vhd lp_tb.vhd && ghdl -e --std=08 lp_tb && ghdl -r --std=08 lp_tb "
         "-gINPUT_FILE=impulse.txt -gEXPECTED_FILE=words.txt"},
        {ExportProfile::VerilogFir, "iverilog",
         "iverilog -g2001 -Plp_tb.INPUT_FILE=\\\"impulse.txt\\\" -Plp_tb.EXPECTED_FILE=\\\"words.txt\\\" -o sim "
         "lp.v lp_tb.v && vvp -n sim"},
    };
    for (const auto& f : filters) {
        SCOPED_TRACE(ExportProfileName(f.profile));
        o.profile = f.profile;
        o.inputBits = 8;
        o.testbench = true;
        ASSERT_TRUE(WriteExport(c.design, o, nullptr));
        if (!HaveTool(f.tool))
            continue;
        std::string log;
        ASSERT_EQ(RunIn(m_dir, f.run, log), 0) << log;
        EXPECT_NE(log.find("lp_tb: 0 mismatches in 47 outputs"), std::string::npos) << log;
    }
}

// Without chosen words the same profiles round, as they always did.
TEST_F(ChosenWordsExport, WithoutChosenWordsTheProfilesRound)
{
    ChosenWordsDesign c;
    c.design.chosenWords.reset();
    ExportOptions o;
    o.profile = ExportProfile::CFixed;
    o.wordLength = 10;
    const ExportWords w = ComputeExportWords(c.design, o);
    EXPECT_FALSE(w.chosen);
    QuantSpec bits;
    bits.format = QuantFormat::Bits;
    bits.wordLength = 10;
    EXPECT_EQ(w.quant.taps, QuantizeTaps(c.taps, bits).taps);
    for (const std::string& line : ExportSummary(c.design, o, w))
        EXPECT_EQ(line.find("optimised"), std::string::npos) << line;
}
