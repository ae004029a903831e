#include <map>

#include "ExportedWords.h"
#include "HdlTestSupport.h"

namespace fs = std::filesystem;

namespace {

using A = HdlArchitecture;

// The cell counts of Yosys's last "Printing statistics".
std::map<std::string, int> YosysCells(const std::string& log)
{
    std::map<std::string, int> cells;
    const size_t stats = log.rfind("Printing statistics");
    if (stats == std::string::npos)
        return cells;
    std::istringstream in(log.substr(stats));
    for (std::string cell, count; in >> cell;)
        if (cell.size() > 1 && cell[0] == '$' && in >> count)
            cells[cell] = std::atoi(count.c_str());
    return cells;
}

}  // namespace

using HdlFilterSynthesis = TempDirTest;

// A 15-tap symmetric lowpass synthesised by GHDL: no latch, one
// multiplier per distinct odd factor of the words (at most one a pair of taps).
TEST_F(HdlFilterSynthesis, GhdlSynthesisesTheVhdlWithTheMultipliersPlanned)
{
    if (!HaveTool("ghdl"))
        GTEST_SKIP() << "ghdl is not installed";
    const HdlFilter f = MakeHdlFilter({"lowpass15", FT_LOWPASS, WT_HAMMING, 15, 1100, 3000, 12, 12, 14, {}, false, {}});
    ASSERT_EQ(f.plan.status, HdlPlanStatus::Ok);
    ASSERT_LE(f.plan.multipliers, 8);
    std::ofstream(m_dir / "lowpass15.vhd") << VhdlFilterText(f.plan, "lowpass15", f.summary);
    std::string log;
    ASSERT_EQ(RunIn(m_dir, "ghdl --synth --std=08 lowpass15.vhd -e lowpass15 > netlist.vhd", log), 0) << log;
    EXPECT_EQ(log, "");
    const std::string netlist = ReadText(m_dir / "netlist.vhd");
    size_t products = 0;
    for (size_t at = netlist.find(" * "); at != std::string::npos; at = netlist.find(" * ", at + 1))
        ++products;
    EXPECT_EQ(products, static_cast<size_t>(f.plan.multipliers)) << netlist;
    EXPECT_EQ(netlist.find("latch"), std::string::npos);
}

// Yosys, coarse cells: as many multipliers as planned in each architecture
// (none multiplierless, one a unit folded), no latch, no problem for its
// checks; the stream wrapper's buffer is a memory.
TEST_F(HdlFilterSynthesis, YosysFindsTheMultipliersPlannedInEachArchitecture)
{
    if (!HaveTool("yosys"))
        GTEST_SKIP() << "yosys is not installed";
    const struct {
        HdlFilterOptions options;
        bool stream;
    } cases[] = {{HdlOptions(A::Parallel), false},
                 {HdlOptions(A::Parallel, 1, true), true},
                 {HdlOptions(A::Folded, 3), true},
                 {HdlOptions(A::Multiplierless, 1, true), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(HdlArchitectureName(c.options.architecture));
        const HdlFilter f =
            MakeHdlFilter({"lowpass15", FT_LOWPASS, WT_HAMMING, 15, 1100, 3000, 12, 12, 14, c.options, c.stream, {}});
        ASSERT_EQ(f.plan.status, HdlPlanStatus::Ok);
        std::ofstream(m_dir / "lowpass15.v") << VerilogFilterText(f.plan, "lowpass15", f.summary);
        std::ofstream(m_dir / "lowpass15_axis.v") << VerilogStreamText(f.plan, "lowpass15");
        const std::string top = c.stream ? "lowpass15_axis" : "lowpass15";
        std::string log;
        ASSERT_EQ(RunIn(m_dir,
                        "yosys -p 'read_verilog lowpass15.v lowpass15_axis.v; synth -top " + top +
                            " -noalumacc -run begin:fine; check -assert; stat'",
                        log),
                  0)
            << log;
        std::map<std::string, int> cells = YosysCells(log);
        EXPECT_EQ(cells["$mul"], f.plan.multipliers) << log.substr(log.rfind("Printing statistics"));
        for (const auto& [cell, count] : cells)
            EXPECT_EQ(cell.find("latch"), std::string::npos) << cell;
        EXPECT_EQ(log.find("Latch inferred"), std::string::npos);
        EXPECT_EQ(cells.count("$mem_v2") + cells.count("$mem"), c.stream ? 1u : 0u);
    }
    EXPECT_EQ(MakeHdlFilter({"lp", FT_LOWPASS, WT_HAMMING, 15, 1100, 3000, 12, 12, 14, HdlOptions(A::Folded, 3), false, {}})
                  .plan.multipliers,
              3);
}

using HdlFilterProfiles = TempDirTest;

// Through the export command: the files both profiles write, their
// testbenches passing as written, then driven by an impulse through the
// generics with the c-fixed words as the expected outputs.
TEST_F(HdlFilterProfiles, EitherProfilesTestbenchPassesAndAnImpulseGivesTheCFixedWords)
{
    // A 31-tap Hilbert transformer: 8 nonzero pairs, 4 units at 2 clocks a sample, 2 tree levels.
    ExportFixture f(ExportCases()[2]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    ExportOptions o;
    o.wordLength = 12;
    o.inputBits = 8;
    o.profile = ExportProfile::CFixed;
    o.root = (m_dir / "words").string();
    ASSERT_TRUE(ExportDesignFiles(f.view, o));
    const std::vector<long long> words = CFixedWords(ReadText(m_dir / "words.c"));
    ASSERT_EQ(words.size(), 31u);
    std::ofstream impulse(m_dir / "impulse.txt");
    std::ofstream expected(m_dir / "words.txt");
    impulse << "# one\n1\n\n";
    for (size_t i = 0; i < words.size(); ++i)
        expected << words[i] << "\n" << (i == 0 ? "# the words\n" : "");
    for (int i = 1; i < 31; ++i)
        impulse << "0\n";
    impulse.close();
    expected.close();

    const struct {
        ExportProfile profile;
        const char* tool;
        const char *filter, *marker, *ext, *run;
    } profiles[] = {
        {ExportProfile::VhdlFir, "ghdl", "hb.vhd", "-- ", ".vhd",
         "ghdl -a --std=08 hb.vhd hb_axis.vhd hb_tb.vhd && ghdl -e --std=08 hb_tb && ghdl -r --std=08 hb_tb"},
        {ExportProfile::VerilogFir, "iverilog", "hb.v", "// ", ".v",
         "iverilog -g2001 -o hb_tb hb.v hb_axis.v hb_tb.v && vvp -n hb_tb"},
    };
    for (const auto& p : profiles) {
        SCOPED_TRACE(p.filter);
        o.profile = p.profile;
        o.root = (m_dir / "hb").string();
        o.filter = HdlOptions(A::Folded, 2);
        o.stream = true;
        o.testbench = true;
        ASSERT_TRUE(ExportDesignFiles(f.view, o));
        const std::string hb = (m_dir / "hb").string();
        EXPECT_EQ(f.host.StatusTexts().back(), "Wrote " + hb + p.ext + ", " + hb + "_axis" + p.ext + ", " + hb + "_tb" +
                                                     p.ext + ", " + hb + "_in.txt and " + hb + "_expected.txt");
        const std::string text = ReadText(m_dir / p.filter);
        for (const std::string& line :
             {std::string("Zantro "), std::string("Number format: 12-bit two's complement words"),
              std::string("Latency: 7 clocks"), std::string("Accumulator: ")})
            EXPECT_NE(text.find(p.marker + line), std::string::npos) << line;
        EXPECT_NE(ReadText(m_dir / ("hb_tb" + std::string(p.ext))).find(p.run), std::string::npos);
        if (!HaveTool(p.tool))
            continue;
        std::string log;
        ASSERT_EQ(RunIn(m_dir, p.run, log), 0) << log;
        EXPECT_NE(log.find("hb_tb: 0 mismatches in "), std::string::npos) << log;
        const std::string generics =
            p.profile == ExportProfile::VhdlFir
                ? std::string(" -gINPUT_FILE=impulse.txt -gEXPECTED_FILE=words.txt -gBACKPRESSURE=0")
                : std::string(" -Phb_tb.INPUT_FILE=\\\"impulse.txt\\\" -Phb_tb.EXPECTED_FILE=\\\"words.txt\\\"");
        const std::string run = p.profile == ExportProfile::VhdlFir
                                    ? std::string(p.run) + generics
                                    : "iverilog -g2001" + generics + " -o hb_tb hb.v hb_axis.v hb_tb.v && vvp -n hb_tb";
        ASSERT_EQ(RunIn(m_dir, run, log), 0) << log;
        EXPECT_NE(log.find("hb_tb: 0 mismatches in 31 outputs"), std::string::npos) << log;
    }
}

TEST_F(HdlFilterProfiles, OptionsOutOfRangeAreRefusedAndWriteNothing)
{
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const struct {
        int inputBits, outputBits, clocks;
        const char* message;
    } cases[] = {{1, 0, 4, kMsgExportWordLength},   {33, 0, 4, kMsgExportWordLength}, {16, 1, 4, kMsgExportOutputBits},
                 {16, 129, 4, kMsgExportOutputBits}, {16, 0, 0, kMsgExportClocks},     {16, 0, 1025, kMsgExportClocks}};
    for (const auto& c : cases) {
        ExportOptions o;
        o.profile = ExportProfile::VerilogFir;
        o.root = (m_dir / "x").string();
        o.inputBits = c.inputBits;
        o.outputBits = c.outputBits;
        o.filter = HdlOptions(A::Folded, c.clocks);
        EXPECT_FALSE(ExportDesignFiles(f.view, o));
        EXPECT_EQ(f.LastMessage(), c.message);
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}
