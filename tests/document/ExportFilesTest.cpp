#include <nlohmann/json.hpp>

#include <cmath>

#include "ExportTestSupport.h"
#include "document/DocumentMessages.h"
#include "document/ExportProfileTraits.h"

namespace fs = std::filesystem;

namespace {

// The integer literals of a C array definition, "(-2147483647 - 1)" included.
std::vector<long long> ArrayIntegers(const std::string& source)
{
    const size_t open = source.find("= {");
    const size_t close = source.find("};", open);
    std::string body = source.substr(open + 3, close - open - 3);
    std::vector<long long> values;
    std::istringstream in(body);
    for (std::string item; std::getline(in, item, ',');) {
        if (item.find("(-2147483647 - 1)") != std::string::npos)
            values.push_back(-2147483648LL);
        else
            values.push_back(std::stoll(item));
    }
    return values;
}

// COE: ";" comment lines, "radix=10;", "coefdata=", decimal words separated
// by "," and ended by ";". Empty on any other shape.
std::vector<long long> ParseCoe(const std::string& text)
{
    std::vector<long long> values;
    bool radix = false, data = false, ended = false;
    for (const std::string& line : Lines(text)) {
        if (line.empty() || line[0] == ';')
            continue;
        if (ended)
            return {};
        if (!radix) {
            if (line != "radix=10;")
                return {};
            radix = true;
        } else if (!data) {
            if (line != "coefdata=")
                return {};
            data = true;
        } else {
            const char end = line.back();
            if (end != ',' && end != ';')
                return {};
            size_t used = 0;
            const std::string number = line.substr(0, line.size() - 1);
            values.push_back(std::stoll(number, &used));
            if (used != number.size())
                return {};
            ended = end == ';';
        }
    }
    return ended ? values : std::vector<long long>{};
}

std::vector<long long> Integers(const std::string& output)
{
    std::vector<long long> values;
    for (const std::string& line : Lines(output))
        if (!line.empty())
            values.push_back(std::stoll(line));
    return values;
}

class ExportFiles : public TempDirTest {
protected:
    ExportOptions Options(ExportProfile p, const std::string& root, int wordLength = 16) const
    {
        ExportOptions o;
        o.profile = p;
        o.root = (m_dir / root).string();
        o.wordLength = wordLength;
        return o;
    }
};

}  // namespace

TEST_F(ExportFiles, FpgaFilesParseAndCarryTheIntegersOfCFixed)
{
    const bool ghdl = HaveTool("ghdl"), iverilog = HaveTool("iverilog");
    const int lengths[] = {12, 16, 32, 9};
    for (size_t ci = 0; ci < ExportCases().size(); ++ci) {
        const ExportCase& c = ExportCases()[ci];
        SCOPED_TRACE(c.name);
        ExportFixture f(c);
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        const int bits = lengths[ci];
        const fs::path dir = m_dir / c.name;
        fs::create_directories(dir);
        for (ExportProfile p : {ExportProfile::CFixed, ExportProfile::Coe, ExportProfile::Vhdl, ExportProfile::Verilog})
            ASSERT_TRUE(ExportDesignFiles(f.view, Options(p, std::string(c.name) + "/" + c.name, bits)));
        const std::vector<long long> words = ArrayIntegers(ReadText(dir / (std::string(c.name) + ".c")));
        ASSERT_EQ(words.size(), static_cast<size_t>(c.taps));

        EXPECT_EQ(ParseCoe(ReadText(dir / (std::string(c.name) + ".coe"))), words);

        const std::string name = VhdlName(c.name);
        std::string upper = name;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (ghdl) {
            std::ofstream(dir / "tb.vhd") << "use std.textio.all;\nuse work." << name
                                          << "_pkg.all;\nentity tb is end entity;\narchitecture a of tb is\nbegin\n"
                                             "  process\n    variable l : line;\n  begin\n    for i in "
                                          << upper << "_COEFFICIENTS'range loop\n      write(l, " << upper
                                          << "_COEFFICIENTS(i));\n      writeline(output, l);\n    end loop;\n"
                                             "    wait;\n  end process;\nend architecture;\n";
            for (const char* std : {"93c", "08"}) {
                std::string output;
                const std::string s = std::string(" --std=") + std;
                ASSERT_EQ(RunIn(dir, "rm -f *.cf && ghdl -a" + s + " " + c.name + ".vhd tb.vhd && ghdl -e" + s +
                                         " tb && ghdl -r" + s + " tb",
                                output),
                          0)
                    << output;
                EXPECT_EQ(Integers(output), words) << std;
            }
        } else {
            const std::string vhdl = ReadText(dir / (std::string(c.name) + ".vhd"));
            EXPECT_NE(vhdl.find("package " + name + "_pkg is"), std::string::npos);
            EXPECT_NE(vhdl.find("end package " + name + "_pkg;"), std::string::npos);
        }
        if (iverilog) {
            const std::string macro = ExportMacroName(c.name);
            std::ofstream(dir / "tb.v") << "module tb;\n`include \"" << c.name << ".vh\"\ninteger k;\ninitial begin\n"
                                        << "  for (k = 0; k < " << macro << "_NUM_TAPS; k = k + 1)\n"
                                        << "    $display(\"%0d\", $signed(" << macro << "_COEFFICIENTS[k*" << macro
                                        << "_WIDTH +: " << macro << "_WIDTH]));\nend\nendmodule\n";
            std::string output;
            ASSERT_EQ(RunIn(dir, "iverilog -g2001 -Wall -o tb tb.v && vvp -n tb", output), 0) << output;
            EXPECT_EQ(Integers(output), words);
        }
    }
    if (!ghdl || !iverilog)
        GTEST_SKIP() << "ghdl or iverilog missing: VHDL and Verilog only checked for shape";
}

TEST_F(ExportFiles, CsvAndJsonHoldTheExactTapsAndTheAnalysis)
{
    ExportFixture f(ExportCases()[2]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const std::vector<double> taps = f.Taps();
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::Csv, "h")));
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::Json, "h", 12)));
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CFixed, "h", 12)));

    std::vector<std::string> csv = Lines(ReadText(m_dir / "h.csv"));
    // The design's description first, as "#" comment lines, then one tap a line.
    ASSERT_FALSE(csv.empty());
    EXPECT_EQ(csv[0].rfind("# Zantro ", 0), 0u) << csv[0];
    while (!csv.empty() && csv.front().rfind("#", 0) == 0)
        csv.erase(csv.begin());
    ASSERT_EQ(csv.size(), taps.size());
    for (size_t i = 0; i < taps.size(); ++i)
        EXPECT_EQ(std::strtod(csv[i].c_str(), nullptr), taps[i]) << i;

    const auto j = nlohmann::json::parse(ReadText(m_dir / "h.json"));
    EXPECT_EQ(j["profile"], "json");
    EXPECT_EQ(j["taps"].get<std::vector<double>>(), taps);
    EXPECT_EQ(j["parameters"]["m_nFilterType"], FT_HILBERT);
    EXPECT_EQ(j["parameters"]["m_nTaps"], 31);
    EXPECT_EQ(j["parameters"]["m_nSamplingRate"], 8000);
    EXPECT_TRUE(j["analysis"]["measured"].get<bool>());
    ASSERT_FALSE(j["analysis"]["bands"].empty());
    EXPECT_EQ(j["analysis"]["bands"][0]["kind"], "pass");
    EXPECT_EQ(j["analysis"]["group_delay_samples"], 15.0);
    EXPECT_EQ(j["analysis"]["quantized"]["word_length"], 12);
    EXPECT_EQ(j["analysis"]["quantized"]["taps"].get<std::vector<long long>>(), ArrayIntegers(ReadText(m_dir / "h.c")));
    EXPECT_EQ(j["summary"][0].get<std::string>().rfind("Zantro ", 0), 0u);
}

TEST_F(ExportFiles, CmsisQ15HeaderOfAHilbertTransformerStatesWhatAReviewerNeeds)
{
    ExportFixture f(ExportCases()[2]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ15, "hilbert")));
    const std::string h = ReadText(m_dir / "hilbert.h");
    const std::string c = ReadText(m_dir / "hilbert.c");
    for (const char* expected :
         {"/*\n * Zantro ", "export profile cmsis-q15: CMSIS-DSP arm_fir_q15",
          "\n * Filter: Hilbert Transformer, 31 taps, Sync + Window\n", "\n * Window: Hamming\n",
          "\n * Sampling rate: 8000 Hz\n", "\n * Corners: 300 Hz, 3700 Hz\n",
          "coefficients[k] = b[32-1-k]\n * Padding: b[31] = 0, after the last tap (first in the array)",
          "16-bit two's complement words, 15 fraction bits", "rounded to nearest (halves away from zero)",
          "\n * Measured on 8192 intervals from 0 to fs/2, double precision | as exported:\n",
          "\n *   pass 833.3 - 3166.7 Hz: ripple 0.0663 dB | 0.0673 dB\n", "arm_fir_init_q15(&fir, HILBERT_NUM_TAPS, hilbert_coefficients, state, "
                                 "HILBERT_BLOCK_SIZE);",
          "#include \"arm_math.h\"\n", "#define HILBERT_NUM_TAPS 32\n", "#define HILBERT_ARRAY_LEN 32\n",
          "#define HILBERT_BLOCK_SIZE 32\n",
          "#define HILBERT_STATE_LEN(block_size) (HILBERT_NUM_TAPS + 8 * (((block_size) + 3) / 4) + 7)\n",
          "\n * Headroom: sum|b| = ", " x full scale (", "arm_fir_q15 saturates on overflow (clips at full scale)\n",
          "#if (defined(ARM_MATH_MVEI) || defined(ARM_MATH_MVEF)) && !defined(ARM_MATH_AUTOVECTORIZE)\n#error ",
          "extern const q15_t hilbert_coefficients[HILBERT_ARRAY_LEN];\n"})
        EXPECT_NE(h.find(expected), std::string::npos) << expected << "\n" << h;
    EXPECT_NE(c.find("#include \"hilbert.h\"\n\nconst q15_t hilbert_coefficients[HILBERT_ARRAY_LEN] = {\n    0, "),
              std::string::npos)
        << c;
    // The reversed array of a type III filter is its negation: b[30] = -b[0].
    const std::vector<long long> words = ArrayIntegers(c);
    ASSERT_EQ(words.size(), 32u);
    EXPECT_EQ(words[0], 0);
    for (size_t k = 1; k < 32; ++k)
        EXPECT_EQ(words[k], -words[32 - k]) << k;
}

TEST_F(ExportFiles, PaddingKeepsQ15EvenAndHeliumArraysWhole)
{
    EXPECT_EQ(CmsisNumTaps(ExportProfile::CmsisQ15, 31), 32);
    EXPECT_EQ(CmsisNumTaps(ExportProfile::CmsisQ15, 32), 32);
    EXPECT_EQ(CmsisNumTaps(ExportProfile::CmsisQ15, 3), 4);
    EXPECT_EQ(CmsisNumTaps(ExportProfile::CmsisQ15, 1025), 1026);
    EXPECT_EQ(CmsisNumTaps(ExportProfile::CmsisQ31, 31), 31);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ15, 31, false), 32);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ15, 31, true), 32);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ15, 33, true), 40);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisF32, 31, true), 32);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ31, 29, true), 32);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ7, 31, true), 32);
    EXPECT_EQ(CmsisArrayLength(ExportProfile::CmsisQ7, 33, true), 48);
    EXPECT_EQ(ExportName("out/2nd stage-lp"), "fir_2nd_stage_lp");
    EXPECT_EQ(ExportMacroName("out/2nd stage-lp"), "FIR_2ND_STAGE_LP");
    EXPECT_EQ(VhdlName("__a__b_"), "a_b");
    for (int i = 0; i < kExportProfileCount; ++i)
        EXPECT_EQ(ParseExportProfile(ExportProfileName(static_cast<ExportProfile>(i))), static_cast<ExportProfile>(i));
    EXPECT_EQ(ParseExportProfile("CMSIS-Q15"), ExportProfile::CmsisQ15);
    EXPECT_FALSE(ParseExportProfile("cmsis-q16"));
}

TEST_F(ExportFiles, RefusalsAreMessagesAndWriteNothing)
{
    ViewFixture f;
    EXPECT_FALSE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ15, "none")));
    EXPECT_EQ(f.LastMessage(), kMsgNoDesign);

    f.Select(IDC_IR_SCALING, SC_CUSTOM);
    f.Type(IDC_IR_SCALE, "8.0");
    f.Design();
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    ASSERT_GT(f.view.m_Coeffs.GetMaxMagnitude(), 1.0);
    for (ExportProfile p : {ExportProfile::CmsisQ31, ExportProfile::CmsisQ15, ExportProfile::CmsisQ7}) {
        EXPECT_FALSE(ExportDesignFiles(f.view, Options(p, "big")));
        EXPECT_EQ(f.LastMessage(), kMsgValuesAboveOne);
    }
    EXPECT_FALSE(fs::exists(m_dir / "big.h"));
    // Float and the word lengths with their own fraction take any gain.
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisF32, "f")));
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CFixed, "big", 16)));
    EXPECT_NE(ReadText(m_dir / "big.h").find("#define BIG_FRAC_BITS 13\n"), std::string::npos)
        << ReadText(m_dir / "big.h");

    const size_t before = f.MessageCount();
    ExportOptions o = Options(ExportProfile::CFixed, "w", 33);
    EXPECT_FALSE(ExportDesignFiles(f.view, o));
    EXPECT_EQ(f.LastMessage(), kMsgExportWordLength);
    o = Options(ExportProfile::CmsisF32, "b");
    o.blockSize = 0;
    EXPECT_FALSE(ExportDesignFiles(f.view, o));
    EXPECT_EQ(f.LastMessage(), kMsgExportBlockSize);
    o = Options(ExportProfile::Csv, "");
    o.root.clear();
    EXPECT_FALSE(ExportDesignFiles(f.view, o));
    EXPECT_EQ(f.LastMessage(), kMsgExportNoRoot);
    EXPECT_EQ(f.MessageCount(), before + 3);
    EXPECT_FALSE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisF32, "missing/f")));
    EXPECT_EQ(f.LastMessage(), "Cannot open file " + (m_dir / "missing/f.h").string());
}

TEST_F(ExportFiles, AFailedWriteLeavesTheOldFilesAndNoTemporaries)
{
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    std::ofstream(m_dir / "lp.h") << "old header\n";
    std::ofstream(m_dir / "lp.c") << "old source\n";
    {
        FileSizeLimit limit(600);  // the header's comment alone is longer
        EXPECT_FALSE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ15, "lp")));
    }
    EXPECT_EQ(f.LastMessage(), "Cannot write file " + (m_dir / "lp.h").string());
    EXPECT_EQ(ReadText(m_dir / "lp.h"), "old header\n");
    EXPECT_EQ(ReadText(m_dir / "lp.c"), "old source\n");
    // The source failing after a complete header keeps the old header too.
    fs::remove(m_dir / "lp.c");
    fs::create_directory(m_dir / "lp.c");
    EXPECT_FALSE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ15, "lp")));
    EXPECT_EQ(ReadText(m_dir / "lp.h"), "old header\n");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(m_dir))
        ++entries;
    EXPECT_EQ(entries, 2u);  // lp.h and the folder lp.c, no temporaries
    fs::remove(m_dir / "lp.c");
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ15, "lp")));
    EXPECT_NE(ReadText(m_dir / "lp.h").find("#define LP_NUM_TAPS 64\n"), std::string::npos);
    EXPECT_EQ(fs::status(m_dir / "lp.c").permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

TEST_F(ExportFiles, EveryProfileWritesTheFilesItNamesWithItsOwnComments)
{
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const ExportDesign d = ExportDesignOf(f.view);
    for (const ExportProfileTraits& t : AllExportProfileTraits()) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(&TraitsOf(t.profile), &t);
        const ExportOptions o = Options(t.profile, "p");
        const std::vector<ExportFile> files = BuildExportFiles(d, o, ComputeExportWords(d, o));
        std::vector<std::string> paths;
        for (const ExportFile& file : files)
            paths.push_back(file.path);
        EXPECT_EQ(paths, ExportFilePaths(o));
        ASSERT_FALSE(files.empty());
        // The summary's first line, behind the profile's own comment marker.
        const std::string first = std::string(t.commentMarker) + "Zantro ";
        const std::string opening = IsCProfile(t.profile) ? "/*\n * Zantro " : first;
        if (IsCProfile(t.profile) || *t.commentMarker) {
            EXPECT_EQ(files[0].text.rfind(opening, 0), 0u) << files[0].text.substr(0, 80);
        }
    }
}

// numpy's loadtxt, a reader nobody here wrote, skips the description and
// reads back exactly the design's taps.
TEST_F(ExportFiles, CsvDescriptionIsSkippedByNumpy)
{
    if (!HaveTool("/usr/bin/python3") || std::system("/usr/bin/python3 -c 'import numpy' 2>/dev/null") != 0)
        GTEST_SKIP() << "no numpy";
    ExportFixture f(ExportCases()[3]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::Csv, "d")));
    const std::string text = ReadText(m_dir / "d.csv");
    EXPECT_NE(text.find("\n# Filter: Differentiator, 32 taps"), std::string::npos) << text;
    EXPECT_NE(text.find("\n# Headroom: sum|b| = "), std::string::npos);
    std::string output;
    ASSERT_EQ(RunIn(m_dir, "/usr/bin/python3 -c \"import numpy; print(*(x.hex() for x in numpy.loadtxt('d.csv')))\"",
                    output),
              0)
        << output;
    std::istringstream in(output);
    std::vector<double> read;
    for (std::string hex; in >> hex;)
        read.push_back(std::strtod(hex.c_str(), nullptr));
    EXPECT_EQ(read, f.Taps());
}

// Roots the old temporaries did not fit, a root that names a folder, and a
// link that is written through as Make File writes through it.
TEST_F(ExportFiles, LongRootsFoldersAndLinks)
{
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    for (size_t length : {249u, 253u, 255u}) {
        SCOPED_TRACE(length);
        // cmsis-q7 writes <root>.h and <root>.c, json <root>.json: file names of length bytes.
        ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisQ7, std::string(length - 2, 'a'))))
            << f.LastMessage();
        EXPECT_TRUE(fs::exists(m_dir / (std::string(length - 2, 'a') + ".c")));
        ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::Json, std::string(length - 5, 'j'))))
            << f.LastMessage();
    }
    for (const char* root : {"sub/", "sub/.", ".."}) {
        SCOPED_TRACE(root);
        fs::create_directories(m_dir / "sub");
        const ExportOptions o = Options(ExportProfile::CmsisQ15, root);
        EXPECT_FALSE(ExportDesignFiles(f.view, o));
        EXPECT_EQ(f.LastMessage(), "The file name root " + o.root + " names a folder: please add a file name.");
    }
    EXPECT_TRUE(fs::is_empty(m_dir / "sub"));

    fs::create_directories(m_dir / "real");
    std::ofstream(m_dir / "real" / "lp.h") << "old\n";
    fs::create_symlink(m_dir / "real" / "lp.h", m_dir / "lp.h");
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CFloat, "lp")));
    EXPECT_TRUE(fs::is_symlink(m_dir / "lp.h"));
    EXPECT_EQ(ReadText(m_dir / "real" / "lp.h").rfind("/*\n * Zantro ", 0), 0u);
}
