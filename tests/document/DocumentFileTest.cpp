#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>

#include "DocumentTestSupport.h"
#include "document/DocumentMessages.h"

namespace fs = std::filesystem;

namespace {

// The file written right after start: defaults, bands cleared, density 16.
Bytes StartFile()
{
    Bytes b(240, 0);
    auto put = [&](size_t offset, Bytes v) { std::copy(v.begin(), v.end(), b.begin() + static_cast<long>(offset)); };
    put(12, {0x02, 0x00, 0x00, 0x00});
    put(16, {0xe8, 0x03, 0x00, 0x00});
    put(20, {0xb8, 0x0b, 0x00, 0x00});
    put(24, {0x40, 0x1f, 0x00, 0x00});
    put(28, {0x3f, 0x00, 0x00, 0x00});
    put(40, {0x00, 0x00, 0x80, 0x3f});
    put(44, {0x28, 0x00, 0x00, 0x00});
    put(48, {0x00, 0x00, 0xa0, 0x40});
    put(52, {0x00, 0x00, 0x80, 0x3f});
    put(56, {0x07, 0x4f, 0x75, 0x74, 0x66, 0x69, 0x6c, 0x65});
    put(68, {0x01, 0x00, 0x00, 0x00});
    put(236, {0x10, 0x00, 0x00, 0x00});
    return b;
}

void PutInt(Bytes& b, size_t offset, int value)
{
    std::memcpy(b.data() + offset, &value, 4);
}

// x rounded to single precision. Through a volatile: g++ 12 -O2 vectorises an
// in-place loop of such casts over the band table wrongly.
double Single(double x)
{
    volatile float f = static_cast<float>(x);
    return f;
}

// Every field of two parameter sets, as the file holds them.
void ExpectSameParameters(const CFilPar& a, const CFilPar& b)
{
    EXPECT_EQ(a.m_nDesignMethod, b.m_nDesignMethod);
    EXPECT_EQ(a.m_nFilterType, b.m_nFilterType);
    EXPECT_EQ(a.m_nWindowType, b.m_nWindowType);
    EXPECT_EQ(a.m_nFirstCorner, b.m_nFirstCorner);
    EXPECT_EQ(a.m_nSecondCorner, b.m_nSecondCorner);
    EXPECT_EQ(a.m_nSamplingRate, b.m_nSamplingRate);
    EXPECT_EQ(a.m_nTaps, b.m_nTaps);
    EXPECT_EQ(a.m_nIRScaling, b.m_nIRScaling);
    EXPECT_EQ(a.m_bSinXComp, b.m_bSinXComp);
    EXPECT_EQ(a.m_dIRScale, b.m_dIRScale);
    EXPECT_EQ(a.m_nStopbandAtt, b.m_nStopbandAtt);
    EXPECT_EQ(a.m_dShapeFactor, b.m_dShapeFactor);
    EXPECT_EQ(a.m_dVariance, b.m_dVariance);
    EXPECT_EQ(a.m_strOutfile, b.m_strOutfile);
    EXPECT_EQ(a.m_nOutExt, b.m_nOutExt);
    EXPECT_EQ(a.m_nNumFormat, b.m_nNumFormat);
    EXPECT_EQ(a.m_bInputData, b.m_bInputData);
    ASSERT_EQ(a.m_InputData.m_nCount, b.m_InputData.m_nCount);
    for (int i = 0; i < a.m_InputData.m_nCount; ++i)
        EXPECT_EQ(a.m_InputData[i], b.m_InputData[i]) << i;
    for (int i = 0; i < kBandCount; ++i) {
        EXPECT_EQ(a.m_Bands[i].m_bUse, b.m_Bands[i].m_bUse) << i;
        EXPECT_EQ(a.m_Bands[i].m_nLowerEdge, b.m_Bands[i].m_nLowerEdge) << i;
        EXPECT_EQ(a.m_Bands[i].m_nUpperEdge, b.m_Bands[i].m_nUpperEdge) << i;
        EXPECT_EQ(a.m_Bands[i].m_dValue, b.m_Bands[i].m_dValue) << i;
        EXPECT_EQ(a.m_Bands[i].m_dWeight, b.m_Bands[i].m_dWeight) << i;
    }
    EXPECT_EQ(a.m_nGridDensity, b.m_nGridDensity);
}

// A set whose every field differs from the defaults.
void FillUnusual(CFilPar& p)
{
    p.m_nDesignMethod = 2;
    p.m_nFilterType = 5;
    p.m_nWindowType = 4;
    p.m_nFirstCorner = 123;
    p.m_nSecondCorner = 2345;
    p.m_nSamplingRate = 44100;
    p.m_nTaps = 1025;
    p.m_nIRScaling = 3;
    p.m_bSinXComp = 1;
    p.m_dIRScale = 0.1;
    p.m_nStopbandAtt = 77;
    p.m_dShapeFactor = 7.3;
    p.m_dVariance = 2.2;
    p.m_strOutfile = "coefficients/" + std::string(290, 'r');
    p.m_nOutExt = 1;
    p.m_nNumFormat = 4;
    p.m_bInputData = 1;
    p.m_InputData.SetSize(3);
    p.m_InputData[0] = Complex(1.0 / 3.0, 0.0);
    p.m_InputData[1] = Complex(-std::numbers::pi, 1e-300);
    p.m_InputData[2] = Complex(0.1, -2.5);
    p.ApplyTargetPreset(6);
    p.m_Bands[7] = {1, 3999, 4000, 0.3, 99.9};
    p.m_nGridDensity = 32;
}

}  // namespace

using DocumentFile = FormTest;

TEST_F(DocumentFile, SavingRightAfterStartWritesThe240ByteFile)
{
    ASSERT_TRUE(SaveDocument(doc, view, Path("start.fir")));
    EXPECT_EQ(ReadBytes(Path("start.fir")), StartFile());
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(doc.GetPathName(), Path("start.fir"));
    EXPECT_EQ(doc.GetTitle(), "start.fir");
    EXPECT_FALSE(doc.IsModified());
    // Only the document is left in the folder: the temporary file was renamed.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(DocumentFile, ARoundTripKeepsIntegersRootAndPointsAndRoundsDoublesToSingle)
{
    FillUnusual(doc.m_FilPar);
    ASSERT_TRUE(doc.OnSaveDocument(Path("full.fir"), &view));
    // 3-byte length prefix for a root of 303 characters, 8 + 16 n for the points.
    EXPECT_EQ(fs::file_size(Path("full.fir")), 233u + 2u + 303u + 8u + 48u);

    CZantroDoc other;
    ASSERT_TRUE(other.OnOpenDocument(Path("full.fir"), &view));
    CFilPar expected;
    FillUnusual(expected);
    expected.m_dIRScale = Single(0.1);
    expected.m_dShapeFactor = Single(7.3);
    expected.m_dVariance = Single(2.2);
    for (RemezBand& band : expected.m_Bands) {
        band.m_dValue = Single(band.m_dValue);
        band.m_dWeight = Single(band.m_dWeight);
    }
    ExpectSameParameters(other.m_FilPar, expected);
    EXPECT_NEAR(other.m_FilPar.m_dIRScale, 0.100000001490116, 1e-15);
    EXPECT_NE(other.m_FilPar.m_dIRScale, 0.1);

    // Saving what was read gives the same bytes again.
    ASSERT_TRUE(other.OnSaveDocument(Path("again.fir"), &view));
    EXPECT_EQ(ReadBytes(Path("again.fir")), ReadBytes(Path("full.fir")));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DocumentFile, AnInputDataFlagOtherThanOneHasNoPointBlock)
{
    Bytes b = StartFile();
    PutInt(b, 72, 2);
    PutInt(b, 76, 1);       // band 0 follows the flag directly
    PutInt(b, 84, 640);
    PutFloat(b, 88, 0.5f);
    WriteBytes(Path("flag2.fir"), b);

    doc.m_FilPar.m_InputData.SetSize(2);
    doc.m_FilPar.m_InputData[1] = Complex(6.0, 0.0);
    ASSERT_TRUE(doc.OnOpenDocument(Path("flag2.fir"), &view));
    EXPECT_EQ(doc.m_FilPar.m_bInputData, 2);
    EXPECT_EQ(doc.m_FilPar.m_Bands[0].m_bUse, 1);
    EXPECT_EQ(doc.m_FilPar.m_Bands[0].m_nUpperEdge, 640);
    EXPECT_EQ(doc.m_FilPar.m_Bands[0].m_dValue, 0.5);
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 16);
    // The points in memory are left as they were.
    ASSERT_EQ(doc.m_FilPar.m_InputData.m_nCount, 2);
    EXPECT_EQ(doc.m_FilPar.m_InputData[1], Complex(6.0, 0.0));

    ASSERT_TRUE(doc.OnSaveDocument(Path("flag2-again.fir"), &view));
    EXPECT_EQ(ReadBytes(Path("flag2-again.fir")), b);
}

TEST_F(DocumentFile, ANonZeroVersionOpensAndIsSavedAsZero)
{
    Bytes b = StartFile();
    PutInt(b, 0, 7);
    PutInt(b, 28, 24);
    WriteBytes(Path("v7.fir"), b);
    ASSERT_TRUE(doc.OnOpenDocument(Path("v7.fir"), &view));
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 24);
    ASSERT_TRUE(doc.OnSaveDocument(Path("v0.fir"), &view));
    PutInt(b, 0, 0);
    EXPECT_EQ(ReadBytes(Path("v0.fir")), b);
}

TEST_F(DocumentFile, AnEmptyRootIsOneZeroByte)
{
    doc.m_FilPar.m_strOutfile.clear();
    ASSERT_TRUE(doc.OnSaveDocument(Path("empty-root.fir"), &view));
    Bytes b = ReadBytes(Path("empty-root.fir"));
    ASSERT_EQ(b.size(), 233u);
    EXPECT_EQ(b[56], 0x00);
    EXPECT_EQ(b[61], 0x01);  // m_nNumFormat right after it
}

TEST_F(DocumentFile, AZeroLengthFileOpensWithoutReadingAnything)
{
    FillUnusual(doc.m_FilPar);
    doc.SetModifiedFlag(true);
    WriteBytes(Path("empty.fir"), {});
    ASSERT_TRUE(OpenDocument(doc, view, Path("empty.fir")));
    CFilPar expected;
    FillUnusual(expected);
    ExpectSameParameters(doc.m_FilPar, expected);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "empty.fir");
    EXPECT_EQ(view.m_nTaps, 55);  // the form was reloaded from the unchanged set
    EXPECT_EQ(view.m_nSamplingRate, 44100);
    // No file message; the design run on the opened set refuses its band table.
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"Edge frequencies must be in ascending order."});
}

TEST_F(DocumentFile, ATruncatedFileIsRefusedAndChangesNothing)
{
    CFilPar source;
    FillUnusual(source);
    source.m_strOutfile = "lp";
    CZantroDoc writer;
    writer.m_FilPar = std::move(source);
    ASSERT_TRUE(writer.OnSaveDocument(Path("whole.fir"), nullptr));
    const Bytes whole = ReadBytes(Path("whole.fir"));
    ASSERT_EQ(whole.size(), 241u + 2u + 48u);

    ASSERT_TRUE(doc.OnSaveDocument(Path("before.fir"), nullptr));
    doc.SetModifiedFlag(true);
    const Bytes before = ReadBytes(Path("before.fir"));
    for (size_t length = 1; length < whole.size(); ++length) {
        WriteBytes(Path("cut.fir"), Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        host.ClearMessages();
        EXPECT_FALSE(doc.OnOpenDocument(Path("cut.fir"), &view)) << length;
        ASSERT_EQ(MessageTexts(host), std::vector<std::string>{kMsgUnexpectedFormat}) << length;
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(doc.GetPathName(), Path("before.fir"));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(Path("after.fir"), nullptr));
    EXPECT_EQ(ReadBytes(Path("after.fir")), before);
}

TEST_F(DocumentFile, HostileCountsAndLengthsAreRefusedBeforeAllocating)
{
    Bytes withPoints = StartFile();
    PutInt(withPoints, 72, 1);
    withPoints.insert(withPoints.begin() + 76, 8, 0);  // point block header, count 0
    WriteBytes(Path("ok.fir"), withPoints);
    ASSERT_TRUE(doc.OnOpenDocument(Path("ok.fir"), &view));
    EXPECT_EQ(doc.m_FilPar.m_InputData.m_nCount, 0);

    Bytes huge = withPoints;
    PutInt(huge, 80, 0x7fffffff);
    Bytes negative = withPoints;
    PutInt(negative, 80, -1);
    Bytes oneTooMany = withPoints;
    PutInt(oneTooMany, 80, 10);  // 160 bytes remain, 10 points need 160 plus the bands
    Bytes longRoot = StartFile();
    longRoot.erase(longRoot.begin() + 56, longRoot.begin() + 64);
    const Bytes prefix = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f, 0x00, 0x00, 0x00};
    longRoot.insert(longRoot.begin() + 56, prefix.begin(), prefix.end());

    for (const Bytes* b : {&huge, &negative, &oneTooMany, &longRoot}) {
        WriteBytes(Path("bad.fir"), *b);
        host.ClearMessages();
        EXPECT_FALSE(doc.OnOpenDocument(Path("bad.fir"), &view));
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgUnexpectedFormat});
    }
    EXPECT_EQ(doc.GetPathName(), Path("ok.fir"));
}

TEST_F(DocumentFile, AFailedOpenLeavesTheFormAsItWas)
{
    host.TypeText(view, IDC_TAPS, "99");
    view.m_nSamplingRate = 16000;
    Bytes b = StartFile();
    PutInt(b, 28, 24);
    b.resize(150);
    WriteBytes(Path("cut.fir"), b);
    EXPECT_FALSE(OpenDocument(doc, view, Path("cut.fir")));
    EXPECT_EQ(view.m_nSamplingRate, 16000);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "99");
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 63);
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(host.Messages().back().ownerTemplate, 101);
}

TEST_F(DocumentFile, FileErrorsNameTheFile)
{
    EXPECT_FALSE(OpenDocument(doc, view, Path("missing.fir")));
    fs::create_directory(m_dir / "folder.fir");
    EXPECT_FALSE(OpenDocument(doc, view, Path("folder.fir")));
    EXPECT_FALSE(SaveDocument(doc, view, Path("no-such-folder/a.fir")));
    EXPECT_FALSE(SaveDocument(doc, view, Path("folder.fir")));
    EXPECT_FALSE(SaveDocument(doc, view, ""));
    EXPECT_FALSE(OpenDocument(doc, view, ""));
    EXPECT_EQ(MessageTexts(host), (std::vector<std::string>{
                                      "missing.fir was not found.", "Access to folder.fir was denied.",
                                      "a.fir was not found.", "Access to folder.fir was denied.",
                                      kMsgFailedToSave, kMsgFailedToOpen}));
    EXPECT_EQ(doc.GetPathName(), "");

    // A name without a folder is saved in the current one.
    const fs::path old = fs::current_path();
    fs::current_path(m_dir);
    EXPECT_TRUE(SaveDocument(doc, view, "relative.fir"));
    fs::current_path(old);
    EXPECT_EQ(ReadBytes(Path("relative.fir")), StartFile());
}

TEST_F(DocumentFile, AFailedSaveKeepsThePreviousFile)
{
    ASSERT_TRUE(SaveDocument(doc, view, Path("keep.fir")));
    const Bytes old = ReadBytes(Path("keep.fir"));
    doc.m_FilPar.m_nTaps = 24;
    // Permissions bind only without the superuser's privileges; the child
    // runs as nobody when the tests run as root.
    const uid_t user = ::geteuid() == 0 ? kNobody : ::geteuid();
    ASSERT_EQ(::chown(m_dir.c_str(), user, -1), 0);
    ASSERT_EQ(::chown(Path("keep.fir").c_str(), user, -1), 0);
    const int result = WithoutPrivileges([&]() {
        // The folder refuses the temporary file.
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        const bool savedInReadOnlyFolder = SaveDocument(doc, view, Path("keep.fir"));
        fs::permissions(m_dir, fs::perms::owner_all);
        // A read-only file is not replaced behind its back.
        fs::permissions(Path("keep.fir"), fs::perms::owner_read);
        const bool savedOverReadOnlyFile = SaveDocument(doc, view, Path("keep.fir"));
        if (savedInReadOnlyFolder || savedOverReadOnlyFile)
            return 1;
        return MessageTexts(host) == std::vector<std::string>{"Access to keep.fir was denied.",
                                                               "Access to keep.fir was denied."}
                   ? 0
                   : 2;
    });
    ASSERT_NE(result, 100) << "could not run without privileges";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(DocumentFile, AWriteFailingHalfwayKeepsThePreviousFile)
{
    ASSERT_TRUE(SaveDocument(doc, view, Path("keep.fir")));
    const Bytes old = ReadBytes(Path("keep.fir"));
    doc.m_FilPar.m_nTaps = 24;
    doc.SetModifiedFlag(true);
    {
        FileSizeLimit limit(100);  // the new file cannot grow past 100 bytes
        EXPECT_FALSE(SaveDocument(doc, view, Path("keep.fir")));
    }
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgFailedToSave});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(DocumentFile, SavingOverAFileKeepsItsPermissionsAndFollowsLinks)
{
    ASSERT_TRUE(SaveDocument(doc, view, Path("perm.fir")));
    fs::permissions(Path("perm.fir"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    doc.m_FilPar.m_nTaps = 24;
    ASSERT_TRUE(SaveDocument(doc, view, Path("perm.fir")));
    EXPECT_EQ(fs::status(Path("perm.fir")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadBytes(Path("perm.fir"))[28], 24);

    fs::create_symlink(m_dir / "perm.fir", m_dir / "link.fir");
    doc.m_FilPar.m_nTaps = 32;
    ASSERT_TRUE(SaveDocument(doc, view, Path("link.fir")));
    EXPECT_TRUE(fs::is_symlink(Path("link.fir")));
    EXPECT_EQ(ReadBytes(Path("perm.fir"))[28], 32);
}

TEST_F(DocumentFile, OpenReloadsTheFormWithoutApplyingThePreset)
{
    CZantroDoc writer;
    writer.m_FilPar.ApplyTargetPreset(6);
    writer.m_FilPar.m_nSamplingRate = 16000;
    writer.m_FilPar.m_nIRScaling = 3;  // custom, so the design keeps the scale
    writer.m_FilPar.m_dIRScale = 2.5;
    writer.m_FilPar.m_nGridDensity = 40;
    ASSERT_TRUE(writer.OnSaveDocument(Path("multi.fir"), nullptr));

    view.m_nTargetFilter = 9;
    view.m_dDiffGain = 1.5;
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(OpenDocument(doc, view, Path("multi.fir")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 40);
    EXPECT_EQ(doc.m_FilPar.m_Bands[4].m_nLowerEdge, 3280);
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 55);
    EXPECT_EQ(view.m_nTaps, 55);
    EXPECT_EQ(view.m_nDesignMethod, 2);
    EXPECT_EQ(view.m_nSamplingRate, 16000);
    EXPECT_EQ(view.m_strIRScale, "2.50");
    EXPECT_EQ(view.m_nTargetFilter, 9);
    EXPECT_EQ(view.m_dDiffGain, 1.5);
    EXPECT_EQ(host.GetDlgItemText(view, IDC_TAPS), "55");
    EXPECT_EQ(host.GetDlgItemText(view, IDC_SAMPLING_RATE), "16000");
    EXPECT_EQ(host.GetCurSel(view, IDC_TARGET_FILTER), 9);
    // The opened Remez design ran at once; its bands, made for 8000 Hz, do
    // not converge at 16000 Hz, and it says so as any Design would.
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{"The Remez algorithm did not converge."});
    EXPECT_EQ(view.m_bDesignValid, 1);
    EXPECT_EQ(view.m_Coeffs.m_nCount, 55);

    // File > New keeps the set read and applies the selected preset to it.
    NewDocument(doc, view);
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(doc.m_FilPar.m_nSamplingRate, 16000);
    EXPECT_EQ(doc.m_FilPar.m_nFilterType, FT_HILBERT);
    EXPECT_EQ(doc.m_FilPar.m_nTaps, 20);
    EXPECT_EQ(doc.m_FilPar.m_nGridDensity, 16);
    EXPECT_EQ(view.m_nTaps, 55);  // the form took its values before the preset
}

TEST_F(DocumentFile, TheModifiedFlagFollowsDesignSaveOpenAndNew)
{
    EXPECT_FALSE(doc.IsModified());
    host.SelectEntry(view, IDC_TARGET_FILTER, 3);
    EXPECT_FALSE(doc.IsModified());
    host.Click(view, IDC_DESIGN);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(SaveDocument(doc, view, Path("m.fir")));
    EXPECT_FALSE(doc.IsModified());
    host.Click(view, IDC_DESIGN);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(OpenDocument(doc, view, Path("m.fir")));
    EXPECT_FALSE(doc.IsModified());
    host.Click(view, IDC_DESIGN);
    NewDocument(doc, view);
    EXPECT_FALSE(doc.IsModified());
}

TEST(DocumentNames, TheDefaultExtensionIsAddedOnlyWithoutOne)
{
    EXPECT_EQ(CZantroDoc::WithDefaultExtension("design"), "design.fir");
    EXPECT_EQ(CZantroDoc::WithDefaultExtension("dir.v2/design"), "dir.v2/design.fir");
    EXPECT_EQ(CZantroDoc::WithDefaultExtension("design.fir"), "design.fir");
    EXPECT_EQ(CZantroDoc::WithDefaultExtension("design.txt"), "design.txt");
}
