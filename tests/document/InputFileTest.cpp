#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ViewFixture.h"
#include "document/InputFile.h"

namespace {

// A text file in the test's own temporary directory.
struct InputFiles : ::testing::Test, ViewFixture {
    std::filesystem::path dir;

    InputFiles()
    {
        std::string name = "zantro-input-";
        name += std::to_string(::testing::UnitTest::GetInstance()->random_seed());
        name += '-';
        name += ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(dir);
    }
    ~InputFiles() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    int Read(const std::string& path, CPoints& points) { return ReadInputFile(path, points, view); }
    // Read File with the user choosing path.
    void ReadFile(const std::string& path)
    {
        host.QueueOpenFile(path);
        host.Click(view, IDC_READ_FILE);
    }
};

std::string Numbers(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + "\n";
    return text;
}

}  // namespace

TEST_F(InputFiles, FirstTokenOfEachLine)
{
    CPoints p;
    EXPECT_EQ(Read(Write("a.txt", "1.0\n0.5 other words\n\n0\n"), p), 3);
    ASSERT_EQ(p.m_nCount, 3);
    EXPECT_EQ(p[0], Complex(1.0, 0.0));
    EXPECT_EQ(p[1], Complex(0.5, 0.0));
    EXPECT_EQ(p[2], Complex(0.0, 0.0));

    // A word reads as 0 and still counts; blanks, tabs and CR delimit; only the first token counts.
    EXPECT_EQ(Read(Write("b.txt", "Magnitude\r\n \t 0.25\t0.75\r\n-1e-1 2 3\n  \n\t\r\n"), p), 3);
    EXPECT_EQ(p[0].real(), 0.0);
    EXPECT_EQ(p[1].real(), 0.25);
    EXPECT_EQ(p[2].real(), -0.1);
    EXPECT_EQ(MessageCount(), 0u);
}

TEST_F(InputFiles, LongLinesAreReadIn63CharacterPieces)
{
    // Lines built by appending: GCC 12 at -O3 warns wrongly about the bounds
    // of a concatenated temporary (-Warray-bounds).
    std::string digits(63, '1');
    digits += "2345678";  // 70 digits
    CPoints p;
    EXPECT_EQ(Read(Write("long.txt", digits + "\n5\n"), p), 3);
    EXPECT_DOUBLE_EQ(p[0].real(), std::stod(std::string(63, '1')));
    EXPECT_EQ(p[1].real(), 2345678.0);
    EXPECT_EQ(p[2].real(), 5.0);
    // A line of exactly 63 characters leaves its line feed as an empty piece.
    std::string exact(62, '0');
    exact += "1\n7\n";
    EXPECT_EQ(Read(Write("exact.txt", exact), p), 2);
    EXPECT_EQ(p[1].real(), 7.0);
}

TEST_F(InputFiles, AtMost512Points)
{
    CPoints p;
    EXPECT_EQ(Read(Write("512.txt", Numbers(512)), p), 512);
    EXPECT_EQ(p.m_nCount, 512);
    EXPECT_EQ(p[511].real(), 511.0);
    EXPECT_EQ(Read(Write("513.txt", Numbers(513)), p), 0);
    EXPECT_EQ(LastMessage(), "The maximum number of points is  512.\nPlease modify your input file.");
    EXPECT_EQ(p.m_nCount, 512);  // the points read before stay
    EXPECT_EQ(p[100].real(), 100.0);
    // 513 lines of which one is empty hold 512 points.
    EXPECT_EQ(Read(Write("gap.txt", std::string("\n").append(Numbers(512))), p), 512);
}

TEST_F(InputFiles, FailuresLeaveThePointsAsTheyWere)
{
    CPoints p;
    ASSERT_EQ(Read(Write("good.txt", "1\n1\n0\n"), p), 3);

    const std::string missing = (dir / "missing.txt").string();
    EXPECT_EQ(Read(missing, p), 0);
    EXPECT_EQ(LastMessage(), std::string("Cannot open file ").append(missing));
    EXPECT_EQ(p.m_nCount, 3);

    // No token at all: the read fails instead of emptying the points.
    for (const char* text : {"", "\n\n", " \t\r\n  \n"}) {
        const std::string empty = Write("empty.txt", text);
        host.ClearMessages();
        EXPECT_EQ(Read(empty, p), 0);
        EXPECT_EQ(LastMessage(),
                  std::string("The file ").append(empty).append(" holds no points.\nThe points read before are kept."));
        EXPECT_EQ(p.m_nCount, 3);
        EXPECT_EQ(p[1].real(), 1.0);
    }

    // A directory opens but does not read.
    host.ClearMessages();
    EXPECT_EQ(Read(dir.string(), p), 0);
    EXPECT_EQ(p.m_nCount, 3);
    EXPECT_EQ(MessageCount(), 1u);
}

TEST_F(InputFiles, ReadFileCommand)
{
    ReadFile(Write("first.txt", "1\n2\n3\n4\n"));
    ASSERT_EQ(host.FileDialogs().size(), 1u);
    const FileDialogRequest& req = host.FileDialogs()[0];
    EXPECT_EQ(req.title, "Select a file");
    EXPECT_EQ(req.defaultExt, "txt");
    EXPECT_EQ(req.fileName, "");
    EXPECT_EQ(req.filter, ".txt files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(req.flags, 0x100Cu);
    EXPECT_EQ(doc.m_FilPar.m_bInputData, 1);
    EXPECT_EQ(doc.m_FilPar.m_InputData.m_nCount, 4);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(MessageCount(), 0u);

    // A second file replaces the points completely.
    ReadFile(Write("second.txt", "0.5\n0.25\n"));
    ASSERT_EQ(doc.m_FilPar.m_InputData.m_nCount, 2);
    EXPECT_EQ(doc.m_FilPar.m_InputData[1].real(), 0.25);

    // Cancel, and a file without points, change nothing.
    host.QueueOpenFileCancel();
    host.Click(view, IDC_READ_FILE);
    ReadFile(Write("none.txt", "\n"));
    EXPECT_EQ(doc.m_FilPar.m_bInputData, 1);
    EXPECT_EQ(doc.m_FilPar.m_InputData.m_nCount, 2);
    EXPECT_EQ(host.FileDialogs().size(), 4u);

    // A failed read does not set the flag.
    ViewFixture fresh;
    fresh.host.QueueOpenFile(Write("513.txt", Numbers(513)));
    fresh.host.Click(fresh.view, IDC_READ_FILE);
    EXPECT_EQ(fresh.doc.m_FilPar.m_bInputData, 0);
    EXPECT_EQ(fresh.doc.m_FilPar.m_InputData.m_nCount, 0);
}

TEST(LeadingDecimal, TakesTheLongestDecimalPrefixOnly)
{
    EXPECT_EQ(LeadingDecimal("1.5"), 1.5);
    EXPECT_EQ(LeadingDecimal("  -2.5e2xyz"), -250.0);
    EXPECT_EQ(LeadingDecimal("+7"), 7.0);
    EXPECT_EQ(LeadingDecimal(".5"), 0.5);
    EXPECT_EQ(LeadingDecimal("5."), 5.0);
    EXPECT_EQ(LeadingDecimal("1e"), 1.0);
    EXPECT_EQ(LeadingDecimal("1e+"), 1.0);
    EXPECT_EQ(LeadingDecimal("2E-1"), 0.2);
    EXPECT_EQ(LeadingDecimal("3,5"), 3.0);
    for (const char* word : {"", ".", "-", "e5", "abc", "inf", "Infinity", "nan", "NaN(1)", "0x10"})
        EXPECT_EQ(LeadingDecimal(word), 0.0) << word;
    EXPECT_EQ(LeadingDecimal("1e999"), DBL_MAX);
    EXPECT_EQ(LeadingDecimal("-1e999"), -DBL_MAX);
    EXPECT_EQ(LeadingDecimal(std::string(1, '1').append(400, '0').c_str()), DBL_MAX);
    EXPECT_EQ(LeadingDecimal("1e-999"), 0.0);
    EXPECT_EQ(LeadingDecimal("0.000001e-400"), 0.0);
}
