#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentTestSupport.h"
#include "form/COutfileDlg.h"
#include "document/CoefficientFiles.h"
#include "document/DocumentMessages.h"
#include "platform/DialogTemplate.h"

namespace fs = std::filesystem;

namespace {

CPoints Points(std::initializer_list<double> values)
{
    CPoints p(static_cast<int>(values.size()));
    int i = 0;
    for (double v : values)
        p[i++] = Complex(v, 0.0);
    return p;
}

const char* const kLpHeader =
    "\n"
    "#define LP_NUMOF_TAPS ((int)   3)\n"
    "\n"
    "extern const unsigned short int lp_coefficients[LP_NUMOF_TAPS];\n";
const char* const kLpSource =
    "\n"
    "#include  \"lp.h\"\n"
    "\n"
    "const unsigned short int lp_coefficients[LP_NUMOF_TAPS] =\n"
    "{\n"
    "  0x2000, 0x4000, 0x2000\n"
    "};\n";

// The form holding a finished design of the given taps, Make File answered
// with root as typed.
class MakeFile : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        m_oldDir = fs::current_path();
        fs::current_path(m_dir);
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        FormTest::TearDown();
    }
    void HoldDesign(std::initializer_list<double> taps)
    {
        view.m_Coeffs = Points(taps);
        view.m_nTaps = view.m_Coeffs.m_nCount;
        view.m_bDesignValid = 1;
        view.m_design.emplace();
        view.m_design->taps = taps;
    }
    void RunMakeFile(const std::string& root, int format, int extension = 0)
    {
        view.m_nNumFormat = format;
        view.m_nOutExt = extension;
        host.QueueDialog(COutfileDlg::IDD, {{ScriptedHost::Action::Type, COutfileDlg::IDC_ROOT, root}});
        view.OnMakeFile();
    }
    size_t FilesInFolder() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_oldDir;
};

}  // namespace

TEST_F(MakeFile, TheLpExampleIsWrittenByteForByte)
{
    CPoints taps = Points({0.25, 0.5, 0.25});
    EXPECT_TRUE(WriteCoefficientFiles("lp", 0, NF_Q15, 3, taps, &view));
    EXPECT_EQ(ReadText("lp.h"), kLpHeader);
    EXPECT_EQ(ReadText("lp.c"), kLpSource);
    EXPECT_EQ(FilesInFolder(), 2u);
    EXPECT_TRUE(WriteCoefficientFiles("lp", 1, NF_Q15, 3, taps, &view));
    EXPECT_EQ(ReadText("lp.cpp"), kLpSource);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(FilesInFolder(), 3u);
}

TEST_F(MakeFile, TheCommandWritesTheFormsDesignUnderTheRootTyped)
{
    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("lpf", NF_Q15, 1);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(view.m_strOutfile, "lpf");
    EXPECT_EQ(view.m_nOutExt, 1);
    EXPECT_EQ(ReadText("lpf.cpp"),
              "\n#include  \"lpf.h\"\n\nconst unsigned short int lpf_coefficients[LPF_NUMOF_TAPS] =\n{\n"
              "  0x2000, 0x4000, 0x2000\n};\n");
    EXPECT_EQ(FilesInFolder(), 2u);
    EXPECT_FALSE(doc.IsModified());
}

TEST(CoefficientFormat, TheWorkedConversionsHoldInAllThreeFixedPointFormats)
{
    struct Row {
        double x;
        const char* q7;
        const char* q15;
        const char* q31;
    };
    const Row rows[] = {
        {0.5, "0x40", "0x4000", "0x40000000"},     {-0.25, "0xe0", "0xe000", "0xe0000000"},
        {0.1, "0x0c", "0x0ccd", "0x0ccccccc"},     {-0.1, "0xf4", "0xf333", "0xf3333334"},
        {1.0, "0x7f", "0x7fff", "0x7fffffff"},     {-1.0, "0x80", "0x8000", "0x80000000"},
        {0.999, "0x7f", "0x7fdf", "0x7fdf3b64"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FormatCoefficient(r.x, NF_Q7), r.q7) << r.x;
        EXPECT_EQ(FormatCoefficient(r.x, NF_Q15), r.q15) << r.x;
        EXPECT_EQ(FormatCoefficient(r.x, NF_Q31), r.q31) << r.x;
    }
    // Q15 rounds halves upward; Q7 and Q31 truncate toward zero.
    EXPECT_EQ(FormatCoefficient(0.5 / 32768.0, NF_Q15), "0x0001");
    EXPECT_EQ(FormatCoefficient(-0.5 / 32768.0, NF_Q15), "0x0000");
    EXPECT_EQ(FormatCoefficient(-0.999 / 128.0, NF_Q7), "0x00");
}

TEST(CoefficientFormat, FloatAndDoubleUseExponentNotation)
{
    EXPECT_EQ(FormatCoefficient(0.1, NF_FLOAT), "+1.000000e-01");
    EXPECT_EQ(FormatCoefficient(-0.25, NF_FLOAT), "-2.500000e-01");
    EXPECT_EQ(FormatCoefficient(1e39, NF_FLOAT), "+3.400000e+38");
    EXPECT_EQ(FormatCoefficient(-1e300, NF_FLOAT), "-3.400000e+38");
    // float keeps the single-precision value: 1/3 is 0.3333333432674408.
    EXPECT_EQ(FormatCoefficient(1.0 / 3.0, NF_FLOAT), "+3.333333e-01");
    EXPECT_EQ(FormatCoefficient(0.1, NF_DOUBLE), "+1.00000000000000e-01");
    EXPECT_EQ(FormatCoefficient(-1.0 / 3.0, NF_DOUBLE), "-3.33333333333333e-01");
    EXPECT_EQ(FormatCoefficient(0.0, NF_DOUBLE), "+0.00000000000000e+00");
    EXPECT_EQ(FormatCoefficient(0.5, 5), "");
}

TEST(CoefficientFormat, TheTapCountIsRightAlignedInFourColumns)
{
    CPoints none;
    EXPECT_EQ(CoefficientHeaderText("f", NF_Q15, 3).substr(0, 33), "\n#define F_NUMOF_TAPS ((int)   3)");
    EXPECT_NE(CoefficientHeaderText("f", NF_Q15, 129).find("((int) 129)\n"), std::string::npos);
    EXPECT_NE(CoefficientHeaderText("f", NF_Q15, 1024).find("((int)1024)\n"), std::string::npos);
    EXPECT_NE(CoefficientHeaderText("f", NF_Q15, 12345).find("((int)12345)\n"), std::string::npos);
    EXPECT_EQ(CoefficientHeaderText("Outfile", NF_Q31, 63),
              "\n#define OUTFILE_NUMOF_TAPS ((int)  63)\n\n"
              "extern const unsigned long int Outfile_coefficients[OUTFILE_NUMOF_TAPS];\n");
    EXPECT_NE(CoefficientHeaderText("x1", NF_Q7, 4).find("extern const unsigned char x1_"), std::string::npos);
    EXPECT_NE(CoefficientHeaderText("x1", NF_FLOAT, 4).find("extern const float x1_"), std::string::npos);
    EXPECT_NE(CoefficientHeaderText("x1", NF_DOUBLE, 4).find("extern const double x1_"), std::string::npos);
}

TEST(CoefficientFormat, ValueLinesHoldEightOrFourValues)
{
    auto body = [](int format, int taps, const CPoints& c) {
        std::string s = CoefficientSourceText("r", format, taps, c);
        return s.substr(s.find("{\n") + 2);
    };
    CPoints ten = Points({0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, -1.0, 1.0});
    EXPECT_EQ(body(NF_Q7, 10, ten),
              "  0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40,\n"
              "  0x80, 0x7f\n};\n");
    CPoints eight = Points({0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, -0.25});
    EXPECT_EQ(body(NF_Q15, 8, eight),
              "  0x4000, 0x4000, 0x4000, 0x4000, 0x4000, 0x4000, 0x4000, 0xe000\n};\n");
    CPoints five = Points({0.5, 0.5, 0.5, 0.5, -0.25});
    EXPECT_EQ(body(NF_FLOAT, 5, five),
              "  +5.000000e-01, +5.000000e-01, +5.000000e-01, +5.000000e-01,\n"
              "  -2.500000e-01\n};\n");
    EXPECT_EQ(body(NF_Q31, 4, five),
              "  0x40000000, 0x40000000, 0x40000000, 0x40000000\n};\n");
    EXPECT_EQ(body(NF_DOUBLE, 1, five), "  +5.00000000000000e-01\n};\n");
    EXPECT_EQ(body(NF_Q15, 0, five), "};\n");
    EXPECT_EQ(body(NF_Q15, -3, five), "};\n");
    // Never beyond the points held: a larger count writes what there is.
    EXPECT_EQ(body(NF_Q15, 9, Points({0.5, 0.25})), "  0x4000, 0x2000\n};\n");
}

TEST(CoefficientFormat, IdentifiersComeFromTheFileNameMadeValid)
{
    EXPECT_EQ(CoefficientIdentifier("Outfile"), "Outfile");
    EXPECT_EQ(CoefficientIdentifier("out/lp"), "lp");
    EXPECT_EQ(CoefficientIdentifier("../a b/my-filter.v2"), "my_filter_v2");
    EXPECT_EQ(CoefficientIdentifier("2band"), "fir_2band");
    EXPECT_EQ(CoefficientIdentifier("caf\xc3\xa9"), "caf__");
    EXPECT_EQ(CoefficientIdentifier("dir/"), "fir");

    CPoints one = Points({0.5});
    EXPECT_EQ(CoefficientHeaderText("out/lp", NF_Q15, 1),
              "\n#define LP_NUMOF_TAPS ((int)   1)\n\nextern const unsigned short int lp_coefficients[LP_NUMOF_TAPS];\n");
    EXPECT_EQ(CoefficientSourceText("out/my-lp", NF_Q15, 1, one),
              "\n#include  \"my-lp.h\"\n\n"
              "const unsigned short int my_lp_coefficients[MY_LP_NUMOF_TAPS] =\n{\n  0x4000\n};\n");
}

TEST_F(MakeFile, ARootWithAFolderWritesIntoThatFolder)
{
    fs::create_directory("out");
    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("out/lp", NF_Q15);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(ReadText("out/lp.h"), kLpHeader);
    EXPECT_EQ(ReadText("out/lp.c"), kLpSource);
}

TEST_F(MakeFile, NoDesignShowsItsMessageAndNoDialog)
{
    view.m_bDesignValid = 0;
    view.OnMakeFile();
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgNoDesign});
    EXPECT_EQ(host.Messages()[0].ownerTemplate, 101);
    EXPECT_EQ(view.m_strOutfile, "Outfile");
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(MakeFile, TheDialogOpensOnTheRootAndNeedsThreeToThirtyTwoCharacters)
{
    COutfileDlg dlg(&view);
    EXPECT_EQ(dlg.m_strOutfile, "");
    EXPECT_EQ(dlg.m_nOutExt, -1);
    EXPECT_EQ(dlg.m_nNumFormat, -1);
    dlg.m_strOutfile = "Outfile";
    dlg.m_nOutExt = 1;
    dlg.m_nNumFormat = 4;
    host.CreateControls(dlg);
    dlg.OnInitDialog();
    EXPECT_EQ(host.FocusedControl(dlg), COutfileDlg::IDC_ROOT);
    EXPECT_EQ(host.TextLimit(dlg, COutfileDlg::IDC_ROOT), 32);
    EXPECT_EQ(host.GetDlgItemText(dlg, COutfileDlg::IDC_ROOT), "Outfile");
    EXPECT_EQ(host.GetDlgItemText(dlg, COutfileDlg::IDC_EXTENSION), ".cpp");
    EXPECT_EQ(host.GetDlgItemText(dlg, COutfileDlg::IDC_NUMBER_FORMAT), "double");
    EXPECT_EQ(host.Entries(dlg, COutfileDlg::IDC_NUMBER_FORMAT),
              (std::vector<std::string>{"Q7", "Q15", "Q31", "float", "double"}));
    EXPECT_EQ(dlg.GetTemplate()->caption, "Make File");
    host.DestroyControls(dlg);

    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("ab", NF_Q15);
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"The file name root must be\nat least 3 characters"});
    EXPECT_EQ(host.Messages()[0].ownerTemplate, 136);
    EXPECT_EQ(host.RefusedDialogs(), 1);
    EXPECT_EQ(view.m_strOutfile, "Outfile");
    EXPECT_EQ(FilesInFolder(), 0u);

    // A longer root in the member (from a document) is refused on OK.
    host.ClearMessages();
    view.m_strOutfile = std::string(33, 'a');
    host.QueueDialogOk(COutfileDlg::IDD);
    view.OnMakeFile();
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Please enter no more than 32 characters."});
    EXPECT_EQ(FilesInFolder(), 0u);

    // Typing stops at 32 characters; 3 are enough.
    host.ClearMessages();
    RunMakeFile(std::string(40, 'b'), NF_Q7);
    EXPECT_EQ(view.m_strOutfile, std::string(32, 'b'));
    RunMakeFile("abc", NF_Q7);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(fs::exists("abc.h") && fs::exists("abc.c"));
}

TEST_F(MakeFile, CancelKeepsTheSettingsAndARefusalRemembersThem)
{
    HoldDesign({0.5, 1.5, 0.5});
    view.m_nNumFormat = NF_DOUBLE;
    host.QueueDialog(COutfileDlg::IDD, {{ScriptedHost::Action::Type, COutfileDlg::IDC_ROOT, "other"},
                                        {ScriptedHost::Action::Cancel, 0, {}}});
    view.OnMakeFile();
    EXPECT_EQ(view.m_strOutfile, "Outfile");
    EXPECT_TRUE(host.Messages().empty());

    for (int format : {NF_Q7, NF_Q15, NF_Q31}) {
        host.ClearMessages();
        RunMakeFile("big", format);
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgValuesAboveOne});
        EXPECT_EQ(view.m_strOutfile, "big");
        EXPECT_EQ(view.m_nNumFormat, format);
        EXPECT_EQ(FilesInFolder(), 0u);
    }
    host.ClearMessages();
    RunMakeFile("big", NF_FLOAT);
    RunMakeFile("big2", NF_DOUBLE);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_NE(ReadText("big.c").find("+1.500000e+00"), std::string::npos);
    EXPECT_NE(ReadText("big2.c").find("+1.50000000000000e+00"), std::string::npos);

    // Exactly 1.0 in magnitude is accepted.
    HoldDesign({-1.0, 1.0});
    RunMakeFile("one", NF_Q31);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_NE(ReadText("one.c").find("  0x80000000, 0x7fffffff\n};"), std::string::npos);
    EXPECT_FALSE(doc.IsModified());
}

// A preset since the design changed the tap count in the fields: Make File
// writes the design the plots show and says which it is.
TEST_F(MakeFile, WritesTheDesignThePlotsShowWhenTheFieldsChanged)
{
    host.Click(view, IDC_DESIGN);
    ASSERT_EQ(view.m_Coeffs.m_nCount, 63);
    host.SelectEntry(view, IDC_TARGET_FILTER, 2);  // "lowpass even 24"
    ASSERT_EQ(view.m_nTaps, 24);
    host.ClearMessages();
    RunMakeFile("lp63", NF_DOUBLE);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_NE(ReadText("lp63.h").find("((int)  63)"), std::string::npos);
    ASSERT_FALSE(host.StatusTexts().empty());
    EXPECT_NE(host.StatusTexts().back().find("(the design on the plots: Lowpass, 63 taps"), std::string::npos)
        << host.StatusTexts().back();
}

TEST_F(MakeFile, AnUnselectedNumberFormatIsRefused)
{
    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("lpf", -1);
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgNoNumberFormat});
    EXPECT_EQ(view.m_strOutfile, "lpf");
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(MakeFile, FilesThatCannotBeWrittenAreNamed)
{
    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("nodir/lp", NF_Q15);
    fs::create_directory("lpf.c");  // the header could be written, the source cannot
    RunMakeFile("lpf", NF_Q15);
    EXPECT_EQ(MessageTexts(host),
              (std::vector<std::string>{"Cannot open file nodir/lp.h", "Cannot open file lpf.c"}));
    // Neither is written when one cannot be.
    EXPECT_FALSE(fs::exists("lpf.h"));

    host.ClearMessages();
    {
        FileSizeLimit limit(20);
        RunMakeFile("full", NF_Q15);
    }
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Cannot write file full.h"});
    EXPECT_FALSE(fs::exists("full.c"));
}

TEST_F(MakeFile, AFullDiskLeavesThePreviousPairByteForByte)
{
    HoldDesign({0.25, 0.5, 0.25});
    RunMakeFile("lpf", NF_Q15);
    const Bytes header = ReadBytes("lpf.h");
    const Bytes source = ReadBytes("lpf.c");
    ASSERT_EQ(header.size(), 103u);

    // The new header fits, the new source (1025 doubles) does not: the old
    // header must not announce 1025 taps beside the old source.
    HoldDesign({});
    view.m_design->taps.assign(1025, 0.0);
    {
        FileSizeLimit limit(4096);
        RunMakeFile("lpf", NF_DOUBLE);
    }
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Cannot write file lpf.c"});
    EXPECT_EQ(ReadBytes("lpf.h"), header);
    EXPECT_EQ(ReadBytes("lpf.c"), source);
    EXPECT_EQ(FilesInFolder(), 2u);

    // Neither fits.
    host.ClearMessages();
    {
        FileSizeLimit limit(10);
        RunMakeFile("lpf", NF_DOUBLE);
    }
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Cannot write file lpf.h"});
    EXPECT_EQ(ReadBytes("lpf.h"), header);
    EXPECT_EQ(ReadBytes("lpf.c"), source);
    EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(MakeFile, ADocumentsExtensionIndexOutsideTheListWritesNothing)
{
    // A document carrying extension index 5, then Make File with the root of
    // a file that must survive: without an extension the source would be
    // written over it.
    doc.m_FilPar.m_nOutExt = 5;
    ASSERT_TRUE(SaveDocument(doc, view, "ext5.fir"));
    ASSERT_TRUE(OpenDocument(doc, view, "ext5.fir"));
    EXPECT_EQ(view.m_nOutExt, 5);
    host.Click(view, IDC_DESIGN);
    ASSERT_EQ(view.m_bDesignValid, 1);
    WriteBytes("notes", {'k', 'e', 'e', 'p', '\n'});
    host.ClearMessages();

    host.QueueDialog(COutfileDlg::IDD, {{ScriptedHost::Action::Type, COutfileDlg::IDC_ROOT, "notes"}});
    host.Click(view, IDC_MAKE_FILE);
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgNoExtension});
    EXPECT_EQ(ReadBytes("notes"), (Bytes{'k', 'e', 'e', 'p', '\n'}));
    EXPECT_FALSE(fs::exists("notes.h"));
    EXPECT_EQ(FilesInFolder(), 2u);  // ext5.fir and notes

    CPoints taps = Points({0.25, 0.5, 0.25});
    for (int extension : {-1, 2, 5}) {
        host.ClearMessages();
        EXPECT_FALSE(WriteCoefficientFiles("notes", extension, NF_Q15, 3, taps, &view));
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgNoExtension});
    }
    EXPECT_EQ(FilesInFolder(), 2u);
}
