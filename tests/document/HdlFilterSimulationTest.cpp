#include <algorithm>

#include "HdlTestSupport.h"
#include "design/Design.h"

namespace fs = std::filesystem;

namespace {

using A = HdlArchitecture;

const char* Tool(Hdl hdl)
{
    return hdl == Hdl::Vhdl ? "ghdl" : "iverilog";
}

class HdlFilterSimulation : public ::testing::TestWithParam<Hdl> {
protected:
    // Writes the case's files as the export does, checks the expected
    // outputs against the model written here, runs the testbench by the
    // command its comment gives and lints the Verilog with Verilator.
    void Simulate(const HdlCase& c)
    {
        SCOPED_TRACE(c.name);
        const HdlFilter f = MakeHdlFilter(c);
        ASSERT_EQ(f.plan.status, HdlPlanStatus::Ok);
        const fs::path dir = m_dir / c.name;
        fs::create_directories(dir);
        const std::string name = HdlFilterName(c.name);
        const std::string run = WriteHdlFiles(dir, c, f, GetParam());
        ASSERT_FALSE(run.empty());

        HdlInteger largest = 0, smallest = 0;
        const auto expected = HdlReferenceOutputs(f.plan, ReadText(dir / (name + "_in.txt")), largest, smallest);
        // The worst-case inputs reach the bound the accumulator is sized for.
        EXPECT_TRUE(largest == f.plan.outputMax && smallest == f.plan.outputMin);
        ASSERT_EQ(HdlExpectedValues(ReadText(dir / (name + "_expected.txt"))), expected);

        std::string log;
        ASSERT_EQ(RunIn(dir, run, log), 0) << run << "\n" << log;
        EXPECT_EQ(log.find("warning"), std::string::npos) << log;
        EXPECT_NE(log.find(name + "_tb: 0 mismatches in "), std::string::npos) << log;
        // Only the outputs in flight at the reset are not compared.
        size_t total = 0;
        for (const auto& segment : expected)
            total += segment.size();
        const size_t outputs = std::stoul(log.substr(log.find(" mismatches in ") + 15));
        EXPECT_LE(outputs, total);
        EXPECT_GE(outputs + f.plan.latency + 2, total);

        if (GetParam() == Hdl::Verilog && HaveTool("verilator")) {
            const std::string top = c.stream ? name + "_axis" : name;
            const std::string files = name + ".v" + (c.stream ? " " + name + "_axis.v" : std::string());
            ASSERT_EQ(RunIn(dir, "verilator --lint-only -Wall --top-module " + top + " " + files, log), 0) << log;
            EXPECT_EQ(log, "");
        }
    }

    void SetUp() override
    {
        if (!HaveTool(Tool(GetParam())))
            GTEST_SKIP() << Tool(GetParam()) << " is not installed";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string test = info->name();
        std::replace(test.begin(), test.end(), '/', '-');
        m_dir = fs::temp_directory_path() / ("zantro-hdl-" + test + "-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        if (!m_dir.empty())
            fs::remove_all(m_dir, ec);
    }

    fs::path m_dir;
};

const std::vector<long long> kPlain = {0, 0, -512, 300, -7, 0, 511, 1, -1, 0};
const std::vector<long long> kWide = {-2147483648LL, 2147483647LL, 5, -3};

}  // namespace

// Lowpass and bandpass (symmetric), Hilbert transformers and a
// differentiator (antisymmetric), words that are no linear-phase set with
// zeros at both ends, 5 to 127 taps, words of 4 to 32 bits, full precision
// and rounded (a shift of one bit, where every odd y is a half to round
// away from zero, and saturation), with idle clocks and a reset mid-stream.
TEST_P(HdlFilterSimulation, ParallelFiltersEqualTheIntegerModel)
{
    const bool vhdl = GetParam() == Hdl::Vhdl;
    const HdlFilterOptions plain = HdlOptions(A::Parallel), piped = HdlOptions(A::Parallel, 1, true);
    const std::vector<HdlCase> cases = {
        {"lowpass", FT_LOWPASS, WT_HAMMING, vhdl ? 127 : 15, 1000, 3000, vhdl ? 10 : 8, vhdl ? 12 : 24, 0, plain, false, {}},
        {"bandpass", FT_BANDPASS, WT_BLACKMAN, vhdl ? 64 : 127, 1000, 2000, vhdl ? 24 : 20, vhdl ? 16 : 14,
         vhdl ? 16 : 18, piped, false, {}},
        {"hilbert_even", FT_HILBERT, WT_HANNING, vhdl ? 32 : 16, 300, 3700, vhdl ? 16 : 12, 16, 0, plain, false, {}},
        {"plain_rounded", 0, 0, 0, 0, 0, 10, 12, 22, vhdl ? plain : piped, false, kPlain},
        {"saturating", 0, 0, 0, 0, 0, 4, 8, 8, plain, false, {0, 1, 0, -1, 0}},
        {"wide", 0, 0, 0, 0, 0, 32, 32, vhdl ? 0 : 40, plain, false, kWide},
    };
    for (const HdlCase& c : cases)
        Simulate(c);
}

TEST_P(HdlFilterSimulation, MultiplierlessFiltersEqualTheIntegerModel)
{
    const bool vhdl = GetParam() == Hdl::Vhdl;
    const HdlFilterOptions plain = HdlOptions(A::Multiplierless), piped = HdlOptions(A::Multiplierless, 1, true);
    const std::vector<HdlCase> cases = {
        {"hilbert_odd", FT_HILBERT, WT_HAMMING, vhdl ? 31 : 63, 300, 3700, vhdl ? 8 : 24, vhdl ? 8 : 16,
         vhdl ? 10 : 16, plain, false, {}},
        {"differentiator", FT_DIFFERENTIATOR, WT_HANNING, vhdl ? 15 : 32, 1000, 3000, 16, vhdl ? 10 : 16,
         vhdl ? 12 : 0, piped, false, {}},
        {"plain", 0, 0, 0, 0, 0, 10, 12, 0, vhdl ? piped : plain, false, kPlain},
        {"wide_rounded", 0, 0, 0, 0, 0, 32, 32, 40, piped, false, kWide},
    };
    for (const HdlCase& c : cases)
        Simulate(c);
}

// F clocks a sample: the testbench waits for in_ready between samples.
TEST_P(HdlFilterSimulation, FoldedFiltersEqualTheIntegerModel)
{
    const bool vhdl = GetParam() == Hdl::Vhdl;
    const std::vector<HdlCase> cases = {
        {"lowpass", FT_LOWPASS, WT_HAMMING, vhdl ? 31 : 45, 1000, 3000, 12, 12, 14, HdlOptions(A::Folded, 4), false, {}},
        {"hilbert", FT_HILBERT, WT_HANNING, vhdl ? 32 : 31, 300, 3700, 16, 16, 0, HdlOptions(A::Folded, vhdl ? 3 : 5),
         false, {}},
        {"plain", 0, 0, 0, 0, 0, 10, 12, vhdl ? 0 : 22, HdlOptions(A::Folded, 1), false, kPlain},
        {"wide", 0, 0, 0, 0, 0, 32, 32, vhdl ? 40 : 0, HdlOptions(A::Folded, 2), false, kWide},
    };
    for (const HdlCase& c : cases)
        Simulate(c);
}

// The AXI4-Stream wrapper around each architecture, m_axis_tready low about
// half the clocks: every result arrives, in order, none twice.
TEST_P(HdlFilterSimulation, StreamWrappersHonourBackpressure)
{
    const bool vhdl = GetParam() == Hdl::Vhdl;
    const std::vector<HdlCase> cases = {
        {"lowpass", FT_LOWPASS, WT_HAMMING, 21, 1000, 3000, 10, vhdl ? 12 : 9, 0, HdlOptions(A::Parallel), true, {}},
        {"bandpass", FT_BANDPASS, WT_BLACKMAN, 24, 1000, 2000, 16, 16, 18, HdlOptions(A::Folded, vhdl ? 2 : 3), true, {}},
        {"hilbert", FT_HILBERT, WT_HAMMING, 19, 300, 3700, 12, 8, 0, HdlOptions(A::Multiplierless, 1, true), true, {}},
    };
    for (const HdlCase& c : cases)
        Simulate(c);
}

// A minimum-phase Remez lowpass as every front end exports it: its c-fixed
// words are neither symmetric nor antisymmetric, so the filter gives each
// nonzero word's odd factor its own multiplier and still equals the model.
TEST_P(HdlFilterSimulation, MinimumPhaseWordsEqualTheIntegerModel)
{
    DesignRequest q;
    q.method = RemezMethod{{{1, 0, 6000, 1.0, 1.0}, {1, 8000, 24000, 0.0, 10.0}}, 16, RemezStart::Automatic, true};
    q.taps = 40;
    q.samplingRate = 48000;
    const DesignOutcome outcome = Design(q);
    ASSERT_TRUE(outcome.valid);
    ExportOptions options;
    options.profile = ExportProfile::CFixed;
    options.wordLength = 16;
    const ExportWords words = ComputeExportWords(MethodExportDesign(q, outcome.Taps(), outcome.gain), options);
    const HdlFilterPlan plan =
        MakeHdlFilterPlan(words.quant.taps, words.quant.wordLength, words.quant.fractionLength, 16, 0);
    EXPECT_EQ(plan.symmetry, HdlSymmetry::None);
    Simulate({"min_phase", 0, 0, 0, 0, 0, 16, 16, 0, HdlOptions(A::Parallel), false, words.quant.taps});
}

// One word off by 1 LSB in the filter, the testbench and the expected
// outputs as exported: the testbench reports mismatches and fails; without
// its stimulus it fails too.
TEST_P(HdlFilterSimulation, TheTestbenchFailsOnACorruptedWordOrAMissingFile)
{
    for (const A a : {A::Parallel, A::Folded, A::Multiplierless}) {
        SCOPED_TRACE(HdlArchitectureName(a));
        const HdlCase c{"corrupt", 0, 0, 0, 0, 0, 10, 12, 0, HdlOptions(a, 2), a == A::Folded, {3, -20, 117, -20, 3}};
        const fs::path dir = m_dir / HdlArchitectureName(a);
        fs::create_directories(dir);
        const std::string run = WriteHdlFiles(dir, c, MakeHdlFilter(c), GetParam());
        HdlCase corrupt = c;
        corrupt.words[2] = 118;
        const HdlFilter bad = MakeHdlFilter(corrupt);
        const bool vhdl = GetParam() == Hdl::Vhdl;
        std::ofstream(dir / (vhdl ? "corrupt.vhd" : "corrupt.v"))
            << (vhdl ? VhdlFilterText(bad.plan, "corrupt", bad.summary)
                     : VerilogFilterText(bad.plan, "corrupt", bad.summary));
        std::string log;
        EXPECT_NE(RunIn(dir, run, log), 0) << log;
        EXPECT_NE(log.find("corrupt_tb: output "), std::string::npos) << log;
        EXPECT_EQ(log.find("corrupt_tb: 0 mismatches"), std::string::npos) << log;
        EXPECT_NE(log.find("corrupt_tb: FAILED"), std::string::npos) << log;

        fs::remove(dir / "corrupt_in.txt");
        EXPECT_NE(RunIn(dir, run, log), 0) << log;
        EXPECT_NE(log.find("corrupt_tb: cannot open corrupt_in.txt"), std::string::npos) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Hdl, HdlFilterSimulation, ::testing::Values(Hdl::Vhdl, Hdl::Verilog),
                         [](const ::testing::TestParamInfo<Hdl>& param) {
                             return std::string(param.param == Hdl::Vhdl ? "Ghdl" : "Icarus");
                         });
