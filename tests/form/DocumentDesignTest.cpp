#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <functional>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "dsp/DesignKinds.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CMethodDlg.h"
#include "form/CRateChangeDlg.h"
#include "form/CRemezDlg.h"
#include "form/DesignAnalysis.h"
#include "form/FileCommands.h"
#include "form/MoreMethodsCommand.h"
#include "form/RateChangeCommand.h"

namespace {

using Action = ScriptedHost::Action;
using M = CMethodDlg;
using R = CRateChangeDlg;

struct ExtrasCase {
    const char* name;
    std::function<void(ViewFixture&)> design;
};

std::vector<ExtrasCase> ExtrasCases()
{
    const auto lowpassTable = [](ViewFixture& f) {
        f.Configure(FT_LOWPASS, DM_REMEZ, WT_HAMMING, 31, 48000);
        f.SetBands({{1, 0, 8000, 1.0, 1.0}, {1, 10000, 24000, 0.0, 10.0}});
    };
    // A decimator by 4 at 48 kHz passing 0 .. 1 kHz.
    const auto decimator4 = [] {
        return std::vector<Action>{{Action::Select, R::IDC_RATE_KIND, {}, 0},
                                   {Action::Type, R::IDC_RATE_FACTOR, "4"},
                                   {Action::Type, R::IDC_RATE_FS, "48000"},
                                   {Action::Type, R::IDC_RATE_PASS, "1000"}};
    };
    return {
        {"differentiator of gain pi/2",
         [](ViewFixture& f) {
             f.Configure(FT_DIFFERENTIATOR, DM_SINC, WT_HAMMING, 32);
             f.host.QueueDialog(CDifferentiatorDlg::IDD,
                                {{Action::Click, CDifferentiatorDlg::IDC_GAIN_HALF_PI, {}}});
             f.Design();
         }},
        {"least squares",
         [=](ViewFixture& f) {
             lowpassTable(f);
             f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, M::kLeastSquares}});
             DesignMoreMethods(f.view);
         }},
        {"minimum-phase Remez",
         [=](ViewFixture& f) {
             lowpassTable(f);
             f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, M::kRemez},
                                         {Action::Click, M::IDC_MORE_MIN_PHASE, {}}});
             DesignMoreMethods(f.view);
         }},
        {"raised-cosine pulse",
         [](ViewFixture& f) {
             f.Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 129, 48000);
             f.host.QueueDialog(M::IDD, {{Action::Select, M::IDC_MORE_METHOD, {}, M::kPulse},
                                         {Action::Select, M::IDC_MORE_PULSE, {}, 0},
                                         {Action::Type, M::IDC_MORE_ROLLOFF, "0.5"},
                                         {Action::Type, M::IDC_MORE_SPS, "6"},
                                         {Action::Type, M::IDC_MORE_SPAN, "12"}});
             DesignMoreMethods(f.view);
         }},
        {"decimator by 4, alias bands",
         [=](ViewFixture& f) {
             std::vector<Action> a = decimator4();
             a.push_back({Action::Type, R::IDC_RATE_TAPS, "31"});
             a.push_back({Action::Click, R::IDC_RATE_ALIAS, {}});
             f.host.QueueDialog(R::IDD, a);
             DesignRateChange(f.view);
         }},
        {"half-band",
         [](ViewFixture& f) {
             f.host.QueueDialog(R::IDD, {{Action::Select, R::IDC_RATE_KIND, {}, R::kHalfband},
                                         {Action::Type, R::IDC_RATE_FS, "48000"},
                                         {Action::Type, R::IDC_RATE_PASS, "10000"},
                                         {Action::Type, R::IDC_RATE_TAPS, "47"}});
             DesignRateChange(f.view);
         }},
        {"decimator to a requirement",
         [=](ViewFixture& f) {
             std::vector<Action> a = decimator4();
             a.insert(a.end(), {{Action::Click, R::IDC_RATE_TO_SPEC, {}},
                                {Action::Type, R::IDC_RATE_RIPPLE, "0.1"},
                                {Action::Type, R::IDC_RATE_ATTENUATION, "80"},
                                {Action::Select, R::IDC_RATE_FORMAT, {}, 2}});
             f.host.QueueDialog(R::IDD, a);
             DesignRateChange(f.view);
         }},
    };
}

std::vector<std::tuple<BandKind, double, double>> AnalysisBands(const DesignAnalysis& a)
{
    std::vector<std::tuple<BandKind, double, double>> bands;
    for (const MaskBand& b : a.bands)
        bands.emplace_back(b.kind, b.loHz, b.hiHz);
    return bands;
}

std::vector<unsigned char> SavedBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Each design of the Extras menus saved with the form and opened in another
// form: the same taps bit for bit, the analysis on the same bands and by the
// same requirement, the rate change kept; saved again, the same file. Undo
// after a later Design brings it back whole.
TEST(DocumentDesign, ExtrasDesignsSurviveSaveAndReopen)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zantro-document-design-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const ExtrasCase& c : ExtrasCases()) {
        ViewFixture first;
        c.design(first);
        ASSERT_EQ(first.view.m_bDesignValid, 1) << c.name << ": " << first.LastMessage();
        EXPECT_EQ(first.view.ShownRequirement() != nullptr, std::string(c.name) == "decimator to a requirement");
        const DesignAnalysis before = AnalyzeDesign(first.view, std::nullopt, QuantSpec{});
        ASSERT_TRUE(SaveDocument(first.doc, first.view, (dir / "a.fir").string())) << c.name;

        ViewFixture second;
        second.host.ClearMessages();
        ASSERT_TRUE(OpenDocument(second.doc, second.view, (dir / "a.fir").string())) << c.name;
        ASSERT_EQ(second.view.m_bDesignValid, 1) << c.name << ": " << second.LastMessage();
        EXPECT_EQ(second.view.m_design->taps, first.view.m_design->taps) << c.name;
        const DesignAnalysis after = AnalyzeDesign(second.view, std::nullopt, QuantSpec{});
        EXPECT_EQ(AnalysisBands(after), AnalysisBands(before)) << c.name;
        EXPECT_EQ(after.rateChange.has_value(), before.rateChange.has_value()) << c.name;
        EXPECT_EQ(second.view.ShownRequirement() != nullptr, first.view.ShownRequirement() != nullptr) << c.name;
        ASSERT_TRUE(SaveDocument(second.doc, second.view, (dir / "b.fir").string())) << c.name;
        EXPECT_EQ(SavedBytes(dir / "b.fir"), SavedBytes(dir / "a.fir")) << c.name;

        // The form's own Design, then Undo: the stored design again.
        second.host.QueueDialogOk(CRemezDlg::IDD);
        second.host.QueueDialogOk(CDifferentiatorDlg::IDD);
        second.Design();
        ASSERT_TRUE(second.view.m_history.Undo(second.view)) << c.name;
        EXPECT_EQ(second.view.m_design->taps, first.view.m_design->taps) << c.name;
        EXPECT_EQ(AnalysisBands(AnalyzeDesign(second.view, std::nullopt, QuantSpec{})), AnalysisBands(before)) << c.name;
    }
    std::filesystem::remove_all(dir);
}
