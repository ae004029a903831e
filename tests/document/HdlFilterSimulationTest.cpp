#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "ExportTestSupport.h"
#include "ExportedWords.h"
#include "design/Design.h"
#include "document/HdlFilterWriter.h"
#include "document/MethodExport.h"

namespace fs = std::filesystem;

namespace {

// A design made on the form (or, with taps 0, the given words) and how its
// filter is generated and driven.
struct SimCase {
    const char* name;
    int type, window, taps, f1, f2;
    int wordLength, inputBits, outputBits, gaps;
    std::vector<long long> words;  // when taps == 0
};

HdlInteger Pow2(int bits)
{
    return static_cast<HdlInteger>(1) << bits;
}

struct Filter {
    HdlFilterPlan plan;
    std::vector<std::string> summary;
};

// The c-fixed words of the case's design, planned.
Filter MakeFilter(const SimCase& c)
{
    Filter f;
    if (c.taps == 0) {
        f.plan = MakeHdlFilterPlan(c.words, c.wordLength, c.wordLength - 1, c.inputBits, c.outputBits);
        f.summary = {std::string("words given by the test: ") + c.name};
        return f;
    }
    ExportFixture form(ExportCase{c.name, c.type, DM_SINC, c.window, c.taps, 8000, c.f1, c.f2, 0});
    EXPECT_EQ(form.view.m_bDesignValid, 1);
    const ExportDesign design = ExportDesignOf(form.view);
    ExportOptions options;
    options.profile = ExportProfile::CFixed;
    options.wordLength = c.wordLength;
    const ExportWords words = ComputeExportWords(design, options);
    f.plan = MakeHdlFilterPlan(words.quant.taps, words.quant.wordLength, words.quant.fractionLength, c.inputBits,
                               c.outputBits);
    f.summary = ExportSummary(design, options, words);
    return f;
}

// The inputs that reach the largest and then the smallest y (each tap's
// sample at the end of its word's sign), a full-scale square wave, and
// uniform random samples over the whole input range.
std::vector<long long> Inputs(const HdlFilterPlan& plan, unsigned seed)
{
    const long long top = (1LL << (plan.inputBits - 1)) - 1, bottom = -(1LL << (plan.inputBits - 1));
    std::vector<long long> x;
    for (int sign : {1, -1})
        for (int k = plan.taps - 1; k >= 0; --k)
            x.push_back(plan.words[static_cast<size_t>(k)] * sign >= 0 ? top : bottom);
    for (int i = 0; i < 24; ++i)
        x.push_back(i / 3 % 2 ? bottom : top);
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<long long> sample(bottom, top);
    for (int i = 0; i < 64; ++i)
        x.push_back(sample(random));
    return x;
}

// The integer model, from the definition: y[n] = sum b[k] x[n-k], then y / 2^S
// rounded to the nearest integer (halves away from zero) and clamped to O bits.
std::vector<HdlInteger> Model(const HdlFilterPlan& plan, const std::vector<long long>& x, HdlInteger& largest,
                              HdlInteger& smallest)
{
    std::vector<HdlInteger> out;
    largest = smallest = 0;
    for (size_t n = 0; n < x.size(); ++n) {
        HdlInteger y = 0;
        for (size_t k = 0; k < plan.words.size() && k <= n; ++k)
            y += static_cast<HdlInteger>(plan.words[k]) * x[n - k];
        largest = std::max(largest, y);
        smallest = std::min(smallest, y);
        if (plan.rounded) {
            const HdlInteger magnitude = y < 0 ? -y : y;
            HdlInteger q = magnitude / Pow2(plan.shift);
            if (2 * (magnitude % Pow2(plan.shift)) >= Pow2(plan.shift))
                ++q;
            y = y < 0 ? -q : q;
            y = std::clamp(y, -Pow2(plan.outputBits - 1), Pow2(plan.outputBits - 1) - 1);
        }
        out.push_back(y);
    }
    return out;
}

std::vector<HdlInteger> ParseOutputs(const std::string& text)
{
    std::vector<HdlInteger> values;
    for (const std::string& line : Lines(text)) {
        if (line.empty())
            continue;
        HdlInteger v = 0;
        const bool negative = line[0] == '-';
        for (size_t i = negative ? 1 : 0; i < line.size(); ++i)
            v = v * 10 + (line[i] - '0');
        values.push_back(negative ? -v : v);
    }
    return values;
}

enum class Hdl { Vhdl, Verilog };

const char* Tool(Hdl hdl)
{
    return hdl == Hdl::Vhdl ? "ghdl" : "iverilog";
}

class HdlFilterSimulation : public ::testing::TestWithParam<Hdl> {
protected:
    // Writes the case's filter and testbench, simulates them on the inputs
    // and compares every output with the model.
    void Simulate(const SimCase& c)
    {
        SCOPED_TRACE(c.name);
        const Filter f = MakeFilter(c);
        const HdlFilterPlan& plan = f.plan;
        ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
        const fs::path dir = m_dir / c.name;
        fs::create_directories(dir);
        const std::string name = HdlFilterName(c.name);
        const std::vector<long long> x = Inputs(plan, static_cast<unsigned>(c.taps * 31 + c.wordLength));
        std::ofstream input(dir / (name + "_in.txt"));
        for (long long v : x)
            input << v << "\n";
        input.close();

        std::string command;
        if (GetParam() == Hdl::Vhdl) {
            std::ofstream(dir / (name + ".vhd")) << VhdlFilterText(plan, name, f.summary);
            std::ofstream(dir / (name + "_tb.vhd")) << VhdlFilterTestbenchText(plan, name);
            command = "ghdl -a --std=08 " + name + ".vhd " + name + "_tb.vhd && ghdl -e --std=08 " + name +
                      "_tb && ghdl -r --std=08 " + name + "_tb --ieee-asserts=disable-at-0 -gGAPS=" +
                      std::to_string(c.gaps);
        } else {
            std::ofstream(dir / (name + ".v")) << VerilogFilterText(plan, name, f.summary);
            std::ofstream(dir / (name + "_tb.v")) << VerilogFilterTestbenchText(plan, name);
            command = "iverilog -g2001 -Wall -P" + name + "_tb.GAPS=" + std::to_string(c.gaps) + " -o sim " + name +
                      ".v " + name + "_tb.v && vvp -n sim";
        }
        std::string log;
        ASSERT_EQ(RunIn(dir, command, log), 0) << log;
        EXPECT_EQ(log.find("warning"), std::string::npos) << log;

        HdlInteger largest = 0, smallest = 0;
        const std::vector<HdlInteger> expected = Model(plan, x, largest, smallest);
        // The worst-case inputs reach the bound the accumulator is sized for.
        EXPECT_TRUE(largest == plan.outputMax && smallest == plan.outputMin);
        const std::vector<HdlInteger> got = ParseOutputs(ReadText(dir / (name + "_out.txt")));
        ASSERT_EQ(got.size(), expected.size());
        int wrong = 0;
        for (size_t n = 0; n < got.size(); ++n)
            if (got[n] != expected[n] && ++wrong <= 5)
                ADD_FAILURE() << "sample " << n << ": " << HdlIntegerText(got[n]) << ", model "
                              << HdlIntegerText(expected[n]);
        EXPECT_EQ(wrong, 0);
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

}  // namespace

// Lowpass and bandpass (symmetric), Hilbert transformers of odd and even
// length and a differentiator (antisymmetric), 15 to 255 taps, words of 8
// to 24 bits, full precision and rounded, with and without idle clocks.
TEST_P(HdlFilterSimulation, LinearPhaseFiltersEqualTheIntegerModel)
{
    const bool vhdl = GetParam() == Hdl::Vhdl;
    const std::vector<SimCase> cases = {
        {"lowpass", FT_LOWPASS, WT_HAMMING, vhdl ? 255 : 15, 1000, 3000, vhdl ? 10 : 8, vhdl ? 12 : 24, 0, 0, {}},
        {"bandpass", FT_BANDPASS, WT_BLACKMAN, vhdl ? 64 : 127, 1000, 2000, vhdl ? 24 : 20, vhdl ? 16 : 14,
         vhdl ? 16 : 18, 1, {}},
        {"hilbert_odd", FT_HILBERT, WT_HAMMING, vhdl ? 31 : 63, 300, 3700, vhdl ? 8 : 24, vhdl ? 8 : 16,
         vhdl ? 10 : 16, vhdl ? 2 : 0, {}},
        {"hilbert_even", FT_HILBERT, WT_HANNING, vhdl ? 32 : 16, 300, 3700, vhdl ? 16 : 12, 16, 0, 0, {}},
        {"differentiator", FT_DIFFERENTIATOR, WT_HANNING, vhdl ? 15 : 254, 1000, 3000, vhdl ? 20 : 16,
         vhdl ? 10 : 16, vhdl ? 12 : 20, 0, {}},
    };
    for (const SimCase& c : cases)
        Simulate(c);
}

// Words that are no linear-phase set, with zeros at both ends and the most
// negative word; a shift of one bit, where every odd y is a half to round
// away from zero and the largest y rounds past the output's limit; 32-bit
// words and inputs, whose outputs pass 64 bits.
TEST_P(HdlFilterSimulation, ArbitraryWordsEqualTheIntegerModel)
{
    const std::vector<long long> plain = {0, 0, -512, 300, -7, 0, 511, 1, -1, 0};
    const std::vector<long long> wide = {-2147483648LL, 2147483647LL, 5, -3};
    const std::vector<SimCase> cases = {
        {"plain", 0, 0, 0, 0, 0, 10, 12, 0, 0, plain},
        {"plain_rounded", 0, 0, 0, 0, 0, 10, 12, 22, 1, plain},
        {"saturating", 0, 0, 0, 0, 0, 4, 8, 8, 0, {0, 1, 0, -1, 0}},
        {"wide", 0, 0, 0, 0, 0, 32, 32, 0, 0, wide},
        {"wide_rounded", 0, 0, 0, 0, 0, 32, 32, 40, 0, wide},
    };
    for (const SimCase& c : cases)
        Simulate(c);
}

// A minimum-phase Remez lowpass as every front end exports it: its c-fixed
// words are neither symmetric nor antisymmetric, so the filter gives each
// nonzero word its own multiplier and still equals the integer model.
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
    const auto nonzero = std::count_if(plan.words.begin(), plan.words.end(), [](long long w) { return w != 0; });
    EXPECT_EQ(static_cast<long>(plan.multipliers.size()), nonzero);
    Simulate({"min_phase", 0, 0, 0, 0, 0, 16, 16, 0, 0, words.quant.taps});
}

INSTANTIATE_TEST_SUITE_P(Hdl, HdlFilterSimulation, ::testing::Values(Hdl::Vhdl, Hdl::Verilog),
                         [](const ::testing::TestParamInfo<Hdl>& param) {
                             return std::string(param.param == Hdl::Vhdl ? "Ghdl" : "Icarus");
                         });

// A 15-tap symmetric lowpass synthesised: no latch, no problem for the
// tool's checks, one multiplier per pair of taps.
class HdlFilterSynthesis : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        m_filter = MakeFilter({"lowpass15", FT_LOWPASS, WT_HAMMING, 15, 1100, 3000, 12, 12, 14, 0, {}});
        ASSERT_EQ(m_filter.plan.status, HdlPlanStatus::Ok);
        ASSERT_EQ(m_filter.plan.multipliers.size(), 8u);
        ASSERT_EQ(m_filter.plan.shiftMultipliers, 0);
    }
    Filter m_filter;
};

TEST_F(HdlFilterSynthesis, GhdlSynthesisesTheVhdlWithOneMultiplierPerPairOfTaps)
{
    if (!HaveTool("ghdl"))
        GTEST_SKIP() << "ghdl is not installed";
    std::ofstream(m_dir / "lowpass15.vhd") << VhdlFilterText(m_filter.plan, "lowpass15", m_filter.summary);
    std::string log;
    ASSERT_EQ(RunIn(m_dir, "ghdl --synth --std=08 lowpass15.vhd -e lowpass15 > netlist.vhd", log), 0) << log;
    EXPECT_EQ(log, "");
    const std::string netlist = ReadText(m_dir / "netlist.vhd");
    size_t products = 0;
    for (size_t at = netlist.find(" * "); at != std::string::npos; at = netlist.find(" * ", at + 1))
        ++products;
    EXPECT_EQ(products, 8u) << netlist;
    EXPECT_EQ(netlist.find("latch"), std::string::npos);
}

TEST_F(HdlFilterSynthesis, YosysFindsNoLatchAndOneMultiplierPerPairOfTaps)
{
    if (!HaveTool("yosys"))
        GTEST_SKIP() << "yosys is not installed";
    const Filter& f = m_filter;
    std::ofstream(m_dir / "lowpass15.v") << VerilogFilterText(f.plan, "lowpass15", f.summary);
    std::string log;
    ASSERT_EQ(RunIn(m_dir,
                    "yosys -p 'read_verilog lowpass15.v; synth -top lowpass15 -noalumacc -run begin:fine; "
                    "check -assert; stat'",
                    log),
              0)
        << log;
    const size_t stats = log.find("Printing statistics");
    ASSERT_NE(stats, std::string::npos) << log;
    std::map<std::string, int> cells;
    std::istringstream in(log.substr(stats));
    for (std::string cell, count; in >> cell;)
        if (cell.size() > 1 && cell[0] == '$' && in >> count)
            cells[cell] = std::atoi(count.c_str());
    // Yosys turns a word of a power of two into a shift and shares one
    // multiplier among words whose magnitudes differ by a power of two
    // (-24 x is -3 x shifted).
    std::set<long long> oddParts;
    for (const HdlMultiplier& m : f.plan.multipliers) {
        long long odd = m.word < 0 ? -m.word : m.word;
        while (odd % 2 == 0)
            odd /= 2;
        if (odd != 1)
            oddParts.insert(odd);
    }
    EXPECT_EQ(cells["$mul"], static_cast<int>(oddParts.size()))
        << ::testing::PrintToString(f.plan.words) << log.substr(stats);
    for (const auto& [cell, count] : cells)
        EXPECT_EQ(cell.find("latch"), std::string::npos) << cell;
    EXPECT_EQ(log.find("Latch inferred"), std::string::npos);
}

using HdlFilterProfiles = TempDirTest;

// Through the export command: the filter files and testbenches the two
// profiles write, driven by an impulse, give back the c-fixed words.
TEST_F(HdlFilterProfiles, AnImpulseThroughEitherProfilesTestbenchGivesTheCFixedWords)
{
    ExportFixture f(ExportCases()[2]);  // a 31-tap Hilbert transformer
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    ExportOptions o;
    o.wordLength = 12;
    o.inputBits = 8;
    o.testbench = true;
    o.profile = ExportProfile::CFixed;
    o.root = (m_dir / "words").string();
    ASSERT_TRUE(ExportDesignFiles(f.view, o));
    const std::vector<long long> words = CFixedWords(ReadText(m_dir / "words.c"));
    ASSERT_EQ(words.size(), 31u);
    std::ofstream impulse(m_dir / "hb_in.txt");
    impulse << "1\n";
    for (int i = 1; i < 31; ++i)
        impulse << "0\n";
    impulse.close();

    const struct {
        ExportProfile profile;
        const char* tool;
        const char *filter, *testbench, *marker, *run;
    } profiles[] = {
        {ExportProfile::VhdlFir, "ghdl", "hb.vhd", "hb_tb.vhd", "-- ",
         "ghdl -a --std=08 hb.vhd hb_tb.vhd && ghdl -e --std=08 hb_tb && ghdl -r --std=08 hb_tb "
         "--ieee-asserts=disable-at-0"},
        {ExportProfile::VerilogFir, "iverilog", "hb.v", "hb_tb.v", "// ",
         "iverilog -g2001 -o sim hb.v hb_tb.v && vvp -n sim"},
    };
    for (const auto& p : profiles) {
        SCOPED_TRACE(p.filter);
        o.profile = p.profile;
        o.root = (m_dir / "hb").string();
        ASSERT_TRUE(ExportDesignFiles(f.view, o));
        EXPECT_EQ(f.host.StatusTexts().back(), "Wrote " + (m_dir / p.filter).string() + " and " +
                                                     (m_dir / p.testbench).string());
        const std::string text = ReadText(m_dir / p.filter);
        for (const std::string& line :
             {std::string("Zantro "), std::string("Number format: 12-bit two's complement words"),
              std::string("Latency: 3 clocks"), std::string("Accumulator: ")})
            EXPECT_NE(text.find(p.marker + line), std::string::npos) << line;
        if (!HaveTool(p.tool))
            continue;
        std::string log;
        ASSERT_EQ(RunIn(m_dir, p.run, log), 0) << log;
        std::vector<long long> got;
        for (HdlInteger v : ParseOutputs(ReadText(m_dir / "hb_out.txt")))
            got.push_back(static_cast<long long>(v));
        EXPECT_EQ(got, words);
    }
}

TEST_F(HdlFilterProfiles, BitsOutOfRangeAreRefusedAndWriteNothing)
{
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const struct {
        int inputBits, outputBits;
        const char* message;
    } cases[] = {{1, 0, kMsgExportWordLength}, {33, 0, kMsgExportWordLength}, {16, 1, kMsgExportOutputBits},
                 {16, 129, kMsgExportOutputBits}};
    for (const auto& c : cases) {
        ExportOptions o;
        o.profile = ExportProfile::VerilogFir;
        o.root = (m_dir / "x").string();
        o.inputBits = c.inputBits;
        o.outputBits = c.outputBits;
        EXPECT_FALSE(ExportDesignFiles(f.view, o));
        EXPECT_EQ(f.LastMessage(), c.message);
    }
    EXPECT_TRUE(fs::is_empty(m_dir));
}
