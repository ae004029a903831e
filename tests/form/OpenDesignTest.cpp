#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/FileCommands.h"
#include "form/RemezMessages.h"

namespace fs = std::filesystem;

namespace {

constexpr int kKaiserDlg = 132;
constexpr int kKaiserEdit = 1036;
constexpr int kVarianceDlg = 135;
constexpr int kVarianceEdit = 1068;

std::vector<char> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A program that has designed its default lowpass, so that its plots hold
// another design than the one about to be opened.
struct Program : ViewFixture {
    Program() { Design(); }
};

class OpenDesign : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("zantro-open-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const std::string& name) const { return (dir / name).string(); }

    // A document written directly, for values no dialog would let through.
    std::string Write(const std::string& name, CFilPar par)
    {
        CZantroDoc doc;
        doc.m_FilPar = std::move(par);
        EXPECT_TRUE(doc.OnSaveDocument(In(name), nullptr));
        return In(name);
    }

    fs::path dir;
};

}  // namespace

TEST_F(OpenDesign, AKaiserDocumentShowsItsOwnDesignWithoutAskingOrModifying)
{
    Program writer;
    writer.Configure(FT_BANDPASS, DM_SINC, 5 /* Kaiser */, 51, 8000, 1000, 2000);
    writer.host.QueueDialog(kKaiserDlg, {{ScriptedHost::Action::Type, kKaiserEdit, "8.6"}});
    writer.Design();
    ASSERT_EQ(writer.view.m_bDesignValid, 1);
    ASSERT_TRUE(SaveDocument(writer.doc, writer.view, In("kaiser.fir")));

    Program reader;
    ASSERT_EQ(reader.view.m_Coeffs.m_nCount, 63);
    // Were the open to run the Kaiser dialog, this answer would cancel the design.
    reader.host.QueueDialogCancel(kKaiserDlg);
    const int repaints = reader.host.Repaints(reader.view.m_ImpulseWnd);
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, In("kaiser.fir")));

    EXPECT_EQ(reader.view.m_bDesignValid, 1);
    // The stored 8.6 (a float in the file) comes back through the dialog's
    // two decimals, so the taps are exactly those of the saved design.
    EXPECT_EQ(reader.view.m_dShapeFactor, 8.6);
    EXPECT_EQ(FormTaps(reader.view), FormTaps(writer.view));
    EXPECT_EQ(reader.view.m_ImpulseWnd.m_values.m_nCount, 51);
    EXPECT_EQ(reader.view.m_MagnitudeWnd.m_values.m_nCount, writer.view.m_MagnitudeWnd.m_values.m_nCount);
    EXPECT_EQ(reader.host.Repaints(reader.view.m_ImpulseWnd), repaints + 1);
    EXPECT_FALSE(reader.doc.IsModified());
    EXPECT_TRUE(reader.host.Messages().empty());

    // The queued answer is still there for the user's own Design.
    reader.Design();
    EXPECT_EQ(reader.view.m_bDesignValid, 0);
    EXPECT_TRUE(reader.doc.IsModified());
}

TEST_F(OpenDesign, ARemezDocumentIsDesignedWithItsBandsAndSavesBackByteForByte)
{
    Program writer;
    writer.Select(IDC_TARGET_FILTER, 6);  // multi bandpass 55, Remez
    writer.Design();
    ASSERT_EQ(writer.view.m_bDesignValid, 1);
    ASSERT_TRUE(SaveDocument(writer.doc, writer.view, In("remez.fir")));

    Program reader;
    reader.host.ClearMessages();
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, In("remez.fir")));
    EXPECT_EQ(reader.view.m_bDesignValid, 1);
    EXPECT_EQ(reader.view.m_nTaps, 55);
    EXPECT_EQ(FormTaps(reader.view), FormTaps(writer.view));
    EXPECT_EQ(reader.view.m_nRemezPasses, writer.view.m_nRemezPasses);
    // The design's own message, once, as after any Remez design.
    char passes[80];
    std::snprintf(passes, sizeof passes, kMsgRemezPasses, writer.view.m_nRemezPasses);
    ASSERT_EQ(reader.host.Messages().size(), 1u);
    EXPECT_EQ(reader.host.Messages()[0].text, passes);
    EXPECT_FALSE(reader.doc.IsModified());

    // Nothing the file held was changed by the design.
    ASSERT_TRUE(SaveDocument(reader.doc, reader.view, In("again.fir")));
    EXPECT_EQ(FileBytes(dir / "again.fir"), FileBytes(dir / "remez.fir"));
}

TEST_F(OpenDesign, AGaussianDocumentAnswersTheVarianceDialogWithItsValue)
{
    Program writer;
    writer.Configure(FT_GAUSSIAN, DM_DIRECT, 0, 32);
    writer.host.QueueDialog(kVarianceDlg, {{ScriptedHost::Action::Type, kVarianceEdit, "2.5"}});
    writer.Design();
    ASSERT_EQ(writer.view.m_bDesignValid, 1);
    ASSERT_TRUE(SaveDocument(writer.doc, writer.view, In("gauss.fir")));

    Program reader;
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, In("gauss.fir")));
    EXPECT_EQ(reader.view.m_dVariance, 2.5);
    EXPECT_EQ(FormTaps(reader.view), FormTaps(writer.view));
    EXPECT_FALSE(reader.doc.IsModified());
}

TEST_F(OpenDesign, AStoredValueTheDialogRefusesShowsItsMessageAndDesignsNothing)
{
    CFilPar par;
    par.m_nWindowType = 5;  // Kaiser
    par.m_dShapeFactor = 25.0;
    const std::string path = Write("beta25.fir", std::move(par));

    Program reader;
    reader.host.ClearMessages();
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, path));
    ASSERT_EQ(reader.host.Messages().size(), 1u);
    EXPECT_EQ(reader.host.Messages()[0].text, "The shape factor is out of bounds.");
    EXPECT_EQ(reader.host.RefusedDialogs(), 0);  // nothing was shown to refuse
    EXPECT_EQ(reader.view.m_bDesignValid, 0);
    EXPECT_EQ(reader.view.m_dShapeFactor, 25.0);
    EXPECT_FALSE(reader.doc.IsModified());
    EXPECT_EQ(reader.doc.m_FilPar.m_dShapeFactor, 25.0);
}

TEST_F(OpenDesign, ADesignThatEndsWithAMessageShowsIt)
{
    CFilPar corners;
    corners.m_nFirstCorner = 4000;  // not below fs/2
    Program reader;
    reader.host.ClearMessages();
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, Write("corners.fir", std::move(corners))));
    ASSERT_EQ(reader.host.Messages().size(), 1u);
    EXPECT_EQ(reader.host.Messages()[0].text, "The corner frequencies must be < ((sampling rate) / 2)");
    EXPECT_FALSE(reader.doc.IsModified());

    CFilPar sampling;
    sampling.m_nDesignMethod = DM_FREQUENCY_SAMPLING;
    reader.host.ClearMessages();
    ASSERT_TRUE(OpenDocument(reader.doc, reader.view, Write("fsamp.fir", std::move(sampling))));
    ASSERT_EQ(reader.host.Messages().size(), 1u);
    EXPECT_EQ(reader.host.Messages()[0].text, kMsgNoInputData);
    EXPECT_FALSE(reader.doc.IsModified());
}

TEST_F(OpenDesign, AFailedOpenDesignsNothing)
{
    Program reader;
    const std::vector<double> before = FormTaps(reader.view);
    reader.host.ClearMessages();
    EXPECT_FALSE(OpenDocument(reader.doc, reader.view, In("missing.fir")));
    EXPECT_EQ(FormTaps(reader.view), before);
    EXPECT_EQ(reader.host.Messages().size(), 1u);
}
