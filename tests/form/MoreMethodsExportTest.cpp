#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "document/DocumentTestSupport.h"
#include "document/MethodExport.h"
#include "document/MultirateExport.h"
#include "dsp/DesignKinds.h"
#include "form/CMethodDlg.h"
#include "form/CRateChangeDlg.h"
#include "form/ExportCommand.h"
#include "form/MoreMethodsCommand.h"
#include "form/RateChangeCommand.h"

namespace {

using Action = ScriptedHost::Action;
using M = CMethodDlg;

bool HasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

class MoreMethodsExport : public TempDirTest {
protected:
    ExportOptions Options(ExportProfile p, const std::string& root) const
    {
        ExportOptions o;
        o.profile = p;
        o.root = Path(root);
        return o;
    }
};

}  // namespace

// An export names the method the taps came from, not the form's list entry:
// least squares with its band table and no window, a pulse with its
// parameters and neither window nor corner.
TEST_F(MoreMethodsExport, TheCommentNamesTheMethod)
{
    ViewFixture f;
    f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 64, 48000);
    f.SetBands({{1, 0, 6000, 1.0, 1.0}, {1, 8000, 24000, 0.0, 10.0}});
    f.host.QueueDialog(M::IDD,
                       {{Action::Select, M::IDC_MORE_METHOD, {}, 0}, {Action::Click, M::IDC_MORE_MIN_PHASE, {}}});
    DesignMoreMethods(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    std::vector<std::string> lines = ExportDesignLines(ExportDesignOf(f.view));
    EXPECT_EQ(lines.front(), "Filter: Lowpass, 64 taps, Least Squares, minimum phase");
    EXPECT_TRUE(HasLine(lines, "  8000 - 24000 Hz, value 0.00, weight 10.00"));
    EXPECT_FALSE(HasLineStarting(lines, "Window:"));

    f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, 2},
                                {Action::Select, M::IDC_MORE_PULSE, {}, 0},
                                {Action::Type, M::IDC_MORE_ROLLOFF, "0.5"},
                                {Action::Type, M::IDC_MORE_SPS, "4"},
                                {Action::Type, M::IDC_MORE_SPAN, "8"}});
    DesignMoreMethods(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
    lines = ExportDesignLines(ExportDesignOf(f.view));
    EXPECT_EQ(lines.front(), "Filter: Lowpass, 33 taps, Pulse Shaping: raised cosine, roll-off 0.5, 4 samples per "
                             "symbol, 8 symbols, unit energy");
    EXPECT_FALSE(HasLineStarting(lines, "Window:"));
    EXPECT_FALSE(HasLineStarting(lines, "Corner"));
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisF32, "pulse")));
    EXPECT_TRUE(std::filesystem::exists(Path("pulse.h")));

    // The form's own Design names its list entry again.
    f.Design();
    EXPECT_TRUE(ExportDesignLines(ExportDesignOf(f.view)).front().ends_with(", Sync + Window"));
}

TEST(MoreMethodsName, ShapedRemez)
{
    DesignRequest q;
    RemezMethod& remez = q.method.emplace<RemezMethod>();
    remez.shape = {ShapeKind::CicInverse, 8, 1, 4};
    EXPECT_EQ(MethodName(q), "Remez Exchange, CIC compensation R 8, M 1, N 4");
    std::get<RemezMethod>(q.method).shape = {ShapeKind::InverseSinc, 1, 1, 1};
    EXPECT_EQ(MethodName(q), "Remez Exchange, inverse sinc");
}

// File > Export... of the lowpass of Extras > Rate Change...: the multirate
// profiles take its factor; an ordinary lowpass is refused with their message.
TEST_F(MoreMethodsExport, RateChangeReachesTheMultirateProfiles)
{
    ViewFixture f;
    f.host.QueueDialog(CRateChangeDlg::IDD, {{Action::Type, CRateChangeDlg::IDC_RATE_FACTOR, "4"},
                                             {Action::Type, CRateChangeDlg::IDC_RATE_FS, "48000"},
                                             {Action::Type, CRateChangeDlg::IDC_RATE_PASS, "2000"},
                                             {Action::Type, CRateChangeDlg::IDC_RATE_TAPS, "40"}});
    DesignRateChange(f.view);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    const ExportDesign d = ExportDesignOf(f.view);
    ASSERT_TRUE(d.multirate.has_value());
    EXPECT_EQ(d.multirate->factor, 4);
    EXPECT_EQ(d.multirate->kind, MultirateKind::Decimate);
    ASSERT_TRUE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisDecimateF32, "dec"))) << f.LastMessage();
    EXPECT_TRUE(std::filesystem::exists(Path("dec.c")));

    // Another pass edge: no longer the lowpass of that rate change.
    f.Type(IDC_FIRST_CORNER, "1500");
    f.Design();
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    EXPECT_FALSE(ExportDesignFiles(f.view, Options(ExportProfile::CmsisDecimateF32, "plain")));
    EXPECT_EQ(f.LastMessage(), kMsgMultirateNoRate);
}
