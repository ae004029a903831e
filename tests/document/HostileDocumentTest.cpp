#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "DocumentTestSupport.h"
#include "document/DocumentMessages.h"
#include "document/InputFile.h"

namespace fs = std::filesystem;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void PutDouble(Bytes& b, size_t offset, double value)
{
    std::memcpy(b.data() + offset, &value, 8);
}

// Documents as a damaged disk or an attacker may hand them over.
class HostileDocument : public FormTest {
protected:
    // The saved document with count input points of value 0.5 (root
    // "Outfile": the point block starts at 76, its points at 84, the band
    // table at 84 + 16 count).
    Bytes WithPoints(int count)
    {
        CZantroDoc other;
        other.m_FilPar.m_InputData.SetSize(count);
        for (int i = 0; i < count; ++i)
            other.m_FilPar.m_InputData[i] = Complex(0.5, 0.0);
        other.m_FilPar.m_bInputData = 1;
        EXPECT_TRUE(other.OnSaveDocument(Path("points.fir"), nullptr));
        return ReadBytes(Path("points.fir"));
    }
    // The document as the file holds it, to compare before and after.
    Bytes Saved()
    {
        EXPECT_TRUE(doc.OnSaveDocument(Path("state.fir"), nullptr));
        return ReadBytes(Path("state.fir"));
    }
    void ExpectRefused(const Bytes& file, const std::string& message)
    {
        WriteBytes(Path("hostile.fir"), file);
        ExpectOpenRefused(Path("hostile.fir"), message);
    }
    void ExpectOpenRefused(const std::string& path, const std::string& message)
    {
        const Bytes before = Saved();
        const std::string pathBefore = doc.GetPathName();
        host.ClearMessages();
        EXPECT_FALSE(OpenDocument(doc, view, path));
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{message});
        EXPECT_EQ(doc.GetPathName(), pathBefore);
        EXPECT_EQ(Saved(), before);
    }
};

}  // namespace

TEST_F(HostileDocument, AtMost512StoredPointsOpen)
{
    // 100,000 points would make Design run for minutes; 513 is one more
    // than Read File ever stores.
    ExpectRefused(WithPoints(100000), kMsgUnexpectedFormat);
    ExpectRefused(WithPoints(kMaxInputPoints + 1), kMsgUnexpectedFormat);

    WriteBytes(Path("max.fir"), WithPoints(kMaxInputPoints));
    host.ClearMessages();
    ASSERT_TRUE(OpenDocument(doc, view, Path("max.fir")));
    EXPECT_EQ(doc.m_FilPar.m_InputData.m_nCount, kMaxInputPoints);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(HostileDocument, InfiniteOrNaNNumbersAreRefusedWhereverTheyAre)
{
    const Bytes points = WithPoints(3);
    std::vector<Bytes> hostile;
    for (double bad : {kNaN, kInf, -kInf}) {
        Bytes b = points;
        PutDouble(b, 84 + 16, bad);  // real part of point 1
        hostile.push_back(b);
        b = points;
        PutDouble(b, 84 + 16 * 2 + 8, bad);  // imaginary part of point 2
        hostile.push_back(b);
        for (size_t scalar : {40, 48, 52}) {  // scale, shape factor, variance
            b = points;
            PutFloat(b, scalar, static_cast<float>(bad));
            hostile.push_back(b);
        }
        for (size_t field : {12, 16}) {  // value and weight of band 7
            b = points;
            PutFloat(b, 84 + 16 * 3 + 20 * 7 + field, static_cast<float>(bad));
            hostile.push_back(b);
        }
    }
    for (size_t i = 0; i < hostile.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectRefused(hostile[i], kMsgUnexpectedFormat);
    }
    // The untouched file opens.
    WriteBytes(Path("fine.fir"), points);
    EXPECT_TRUE(OpenDocument(doc, view, Path("fine.fir")));
}

TEST_F(HostileDocument, OnlyRegularFilesAreOpenedAndNothingBlocks)
{
    // Without a writer, opening the FIFO for reading would wait forever;
    // /dev/zero would never end.
    ASSERT_EQ(::mkfifo(Path("pipe.fir").c_str(), 0644), 0);
    ExpectOpenRefused(Path("pipe.fir"), kMsgFailedToOpen);
    ExpectOpenRefused("/dev/zero", kMsgFailedToOpen);
    ExpectOpenRefused("/dev/null", kMsgFailedToOpen);
    fs::create_directory(Path("folder.fir"));
    ExpectOpenRefused(Path("folder.fir"), "Access to folder.fir was denied.");
    EXPECT_TRUE(fs::is_fifo(Path("pipe.fir")));
}

TEST_F(HostileDocument, ReadFileTakesRegularFilesOnlyAndEndsWithTheFile)
{
    doc.m_FilPar.m_InputData.SetSize(2);
    doc.m_FilPar.m_InputData[0] = Complex(0.25, 0.0);
    ASSERT_EQ(::mkfifo(Path("pipe.txt").c_str(), 0644), 0);
    fs::create_directory(Path("folder.txt"));
    for (const std::string& path : {Path("pipe.txt"), std::string("/dev/zero"), Path("folder.txt")}) {
        host.ClearMessages();
        EXPECT_EQ(ReadInputFile(path, doc.m_FilPar.m_InputData, view), 0);
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Cannot open file " + path});
    }
    // A megabyte of NUL bytes, or of blank lines, holds no token: the
    // reader goes through it once and keeps the points.
    WriteBytes(Path("zeros.txt"), Bytes(1 << 20, 0));
    WriteBytes(Path("blank.txt"), Bytes(1 << 20, '\n'));
    for (const char* name : {"zeros.txt", "blank.txt"}) {
        host.ClearMessages();
        EXPECT_EQ(ReadInputFile(Path(name), doc.m_FilPar.m_InputData, view), 0);
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_NE(host.Messages()[0].text.find("holds no points"), std::string::npos);
    }
    EXPECT_EQ(doc.m_FilPar.m_InputData.m_nCount, 2);
    EXPECT_EQ(doc.m_FilPar.m_InputData[0], Complex(0.25, 0.0));
}
