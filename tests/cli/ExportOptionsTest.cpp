#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliRunSupport.h"
#include "document/DocumentMessages.h"

namespace {

namespace fs = std::filesystem;

// The integers of "coefdata=" in a COE file.
std::vector<long long> CoeWords(const std::string& text)
{
    std::vector<long long> words;
    std::istringstream in(text.substr(text.find("coefdata=\n") + 10));
    for (std::string item; std::getline(in, item, ',');)
        words.push_back(std::stoll(item));
    return words;
}

struct ExportOptionsTest : ::testing::Test {
    // Short: the Make File dialog takes a root of at most 32 characters.
    fs::path dir = fs::temp_directory_path() / ("zx-export-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace

TEST_F(ExportOptionsTest, UsageErrorsNameTheOption)
{
    const struct {
        std::vector<std::string> args;
        const char* text;
    } cases[] = {
        {{"--export", "cmsis-q16", "--export-root", "x"}, "'cmsis-q16' is not one of cmsis-f32, cmsis-q31"},
        {{"--export", "csv"}, "--export requires --export-root"},
        {{"--export-root", "x"}, "--export-root requires --export"},
        {{"--export", "c-fixed", "--export-root", "x", "--word-length", "33"}, "--word-length"},
        {{"--export", "cmsis-q15", "--export-root", "x", "--block", "0"}, "--block"},
        {{"--export", "cmsis-q15", "--export-root", "x", "--rounding", "up"}, "'up' is not nearest or truncate"},
        {{"--export", "vhdl-fir", "--export-root", "x", "--input-bits", "1"}, "--input-bits"},
        {{"--export", "vhdl-fir", "--export-root", "x", "--input-bits", "33"}, "--input-bits"},
        {{"--export", "verilog-fir", "--export-root", "x", "--output-bits", "1"}, "--output-bits"},
        {{"--export", "verilog-fir", "--export-root", "x", "--output-bits", "129"}, "--output-bits"},
        // Options the profile does not take are refused, not ignored.
        {{"--export", "cmsis-q15", "--export-root", "x", "--word-length", "12"},
         "--word-length does not apply to --export cmsis-q15 (only to c-fixed, json, coe, vhdl, verilog"},
        {{"--export", "c-fixed", "--export-root", "x", "--helium"},
         "--helium does not apply to --export c-fixed (only to cmsis-f32, cmsis-q31, cmsis-q15, cmsis-q7)"},
        {{"--export", "csv", "--export-root", "x", "--block", "64"}, "--block does not apply to --export csv"},
        {{"--export", "coe", "--export-root", "x", "--input-bits", "12"},
         "--input-bits does not apply to --export coe (only to vhdl-fir, verilog-fir)"},
        {{"--export", "vhdl", "--export-root", "x", "--output-bits", "18"},
         "--output-bits does not apply to --export vhdl (only to vhdl-fir, verilog-fir)"},
        {{"--export", "csv", "--export-root", "x", "--testbench"},
         "--testbench does not apply to --export csv (only to vhdl-fir, verilog-fir)"},
        {{"--export", "vhdl-fir", "--export-root", "x", "--architecture", "systolic"},
         "'systolic' is not parallel, folded or multiplierless"},
        {{"--export", "vhdl-fir", "--export-root", "x", "--architecture", "folded", "--clocks-per-sample", "0"},
         "--clocks-per-sample"},
        {{"--export", "coe", "--export-root", "x", "--stream"},
         "--stream does not apply to --export coe (only to vhdl-fir, verilog-fir)"},
        {{"--export", "vhdl-fir", "--export-root", "x", "--clocks-per-sample", "4"},
         "--clocks-per-sample does not apply to --architecture parallel (only to folded)"},
        {{"--export", "verilog-fir", "--export-root", "x", "--architecture", "Folded", "--pipeline"},
         "--pipeline does not apply to --architecture folded (only to parallel, multiplierless)"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCliArgs(c.args);
        EXPECT_EQ(r.status, 2) << c.args[0];
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
}

TEST_F(ExportOptionsTest, ExportRunsAfterTheDesignAndMakeFile)
{
    const CliResult r = RunCliArgs({"--type", "hilbert", "--taps", "31", "--fs", "8000", "--f1", "300", "--f2",
                                    "3700", "--make", In("made"), "--export", "CMSIS-Q15", "--export-root",
                                    In("h"), "--block", "64", "--helium"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(In("made.h")));
    const std::string h = Slurp(In("h.h"));
    EXPECT_NE(h.find("#define H_NUM_TAPS 32\n"), std::string::npos) << h;
    EXPECT_NE(h.find("#define H_ARRAY_LEN 32\n"), std::string::npos);
    EXPECT_NE(h.find("#define H_BLOCK_SIZE 64\n"), std::string::npos);
    EXPECT_NE(Slurp(In("h.c")).find("const q15_t h_coefficients[H_ARRAY_LEN] = {\n"), std::string::npos);
}

TEST_F(ExportOptionsTest, WordLengthAndRoundingReachTheWords)
{
    const std::vector<std::string> design = {"--taps", "31", "--export", "coe", "--word-length", "10"};
    auto args = design;
    args.insert(args.end(), {"--export-root", In("near")});
    ASSERT_EQ(RunCliArgs(args).status, 0);
    args = design;
    args.insert(args.end(), {"--export-root", In("trunc"), "--rounding", "truncate", "--json"});
    const CliResult r = RunCliArgs(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<double> taps = r.Json()["coefficients"].get<std::vector<double>>();
    const std::vector<long long> nearest = CoeWords(Slurp(In("near.coe")));
    const std::vector<long long> truncated = CoeWords(Slurp(In("trunc.coe")));
    ASSERT_EQ(nearest.size(), taps.size());
    ASSERT_EQ(truncated.size(), taps.size());
    const std::string text = Slurp(In("trunc.coe"));
    EXPECT_NE(text.find("; Number format: 10-bit two's complement words, "), std::string::npos) << text;
    EXPECT_NE(text.find("truncated toward zero"), std::string::npos);
    int differ = 0;
    for (size_t i = 0; i < taps.size(); ++i) {
        EXPECT_LE(std::abs(truncated[i]), std::abs(nearest[i])) << i;
        EXPECT_LE(std::abs(nearest[i]), 511) << i;
        differ += truncated[i] != nearest[i];
    }
    EXPECT_GT(differ, 0);
}

TEST_F(ExportOptionsTest, AFailedExportIsExitStatusOne)
{
    const CliResult none = RunCliArgs({"--no-design", "--export", "csv", "--export-root", In("x")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, std::string(kMsgNoDesign) + "\n");
    const CliResult missing = RunCliArgs({"--export", "csv", "--export-root", In("no/x")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Cannot open file " + In("no/x.csv") + "\n");
    EXPECT_FALSE(fs::exists(In("x.csv")));
}

TEST_F(ExportOptionsTest, FilterBitsAndTestbenchReachTheFpgaFilter)
{
    const CliResult r = RunCliArgs({"--taps", "31", "--export", "verilog-fir", "--export-root", In("lp"),
                                    "--input-bits", "12", "--output-bits", "14", "--testbench"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string filter = Slurp(In("lp.v"));
    EXPECT_NE(filter.find("    input  wire signed [11:0] in_data,\n"), std::string::npos) << filter;
    EXPECT_NE(filter.find("    output wire signed [13:0] out_data\n"), std::string::npos);
    EXPECT_NE(filter.find("// Latency: 4 clocks"), std::string::npos);
    EXPECT_NE(Slurp(In("lp_tb.v")).find("module lp_tb;"), std::string::npos);

    ASSERT_EQ(RunCliArgs({"--taps", "31", "--export", "vhdl-fir", "--export-root", In("ex")}).status, 0);
    EXPECT_NE(Slurp(In("ex.vhd")).find("-- Latency: 3 clocks"), std::string::npos);
    EXPECT_FALSE(fs::exists(In("ex_tb.vhd")));
}

TEST_F(ExportOptionsTest, ArchitectureStreamAndTestbenchReachTheFpgaFilter)
{
    const CliResult r = RunCliArgs({"--taps", "31", "--export", "verilog-fir", "--export-root", In("lp"),
                                    "--architecture", "folded", "--clocks-per-sample", "3", "--stream", "--testbench"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(Slurp(In("lp.v")).find(", 3 clocks a sample\n"), std::string::npos) << Slurp(In("lp.v"));
    EXPECT_NE(Slurp(In("lp_axis.v")).find("module lp_axis ("), std::string::npos);
    EXPECT_NE(Slurp(In("lp_tb.v")).find("iverilog -g2001 -o lp_tb lp.v lp_axis.v lp_tb.v && vvp -n lp_tb"),
              std::string::npos);
    EXPECT_EQ(Slurp(In("lp_in.txt")).rfind("# ", 0), 0u);
    EXPECT_NE(Slurp(In("lp_expected.txt")).find("\nreset\n"), std::string::npos);

    ASSERT_EQ(RunCliArgs({"--taps", "31", "--export", "vhdl-fir", "--export-root", In("ml"), "--architecture",
                          "multiplierless", "--pipeline"})
                  .status,
              0);
    const std::string text = Slurp(In("ml.vhd"));
    EXPECT_NE(text.find("-- Resources: 0 multipliers, "), std::string::npos) << text;
    EXPECT_NE(text.find("; a register after every level of the graph\n"), std::string::npos);
}

TEST_F(ExportOptionsTest, ASuccessfulExportSaysWhatItWrote)
{
    const CliResult c = RunCliArgs({"--taps", "31", "--export", "cmsis-q31", "--export-root", In("q")});
    ASSERT_EQ(c.status, 0) << c.err;
    // On the message stream, as Make File's.
    EXPECT_NE(c.err.find("Wrote " + In("q.h") + " and " + In("q.c") + "\n"), std::string::npos) << c.err;
    const CliResult v = RunCliArgs({"--taps", "31", "--export", "vhdl", "--export-root", In("v"), "--word-length", "12"});
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_NE(v.err.find("Wrote " + In("v.vhd") + "\n"), std::string::npos) << v.err;
}
