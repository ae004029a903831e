#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

#include "CliRunSupport.h"
#include "ViewFixture.h"
#include "document/DocumentTestSupport.h"
#include "document/ExportProfileTraits.h"
#include "dsp/DesignKinds.h"
#include "form/CMethodDlg.h"
#include "form/CRemezDlg.h"
#include "form/ExportCommand.h"
#include "form/MoreMethodsCommand.h"

// Extras > More Methods... designs what zantro-cli designs for the same
// parameters: the form's taps equal the command line's, bit for bit.

namespace {

using Action = ScriptedHost::Action;
using D = CMethodDlg;

struct Band {
    int lo, hi;
    double value, weight;
};

struct FormCase {
    const char* name;
    int filterType;
    int taps;
    int fs;
    std::vector<Band> bands;  // empty: a pulse, no band dialog
    std::vector<Action> dialog;
    std::vector<std::string> cli;
    int designedTaps;
};

std::string Shortest(double v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    return std::string(buf, end);
}

std::vector<std::string> BandArgs(const std::vector<Band>& bands)
{
    std::vector<std::string> args;
    for (const Band& b : bands) {
        args.push_back("--band");
        args.push_back(std::to_string(b.lo) + ":" + std::to_string(b.hi) + ":" + Shortest(b.value) + ":" +
                       Shortest(b.weight));
    }
    return args;
}

const std::vector<Band> kLowpass = {{0, 6000, 1.0, 1.0}, {8000, 24000, 0.0, 10.0}};
const std::vector<Band> kBandpass = {{0, 5000, 0.0, 1.0}, {7000, 12000, 1.0, 1.0}, {14000, 24000, 0.0, 1.0}};
const std::vector<Band> kCic = {{0, 1600, 1.0, 1.0}, {2400, 4000, 0.0, 1.0}};

const FormCase kCases[] = {
    {"least squares lowpass", FT_LOWPASS, 64, 48000, kLowpass, {{Action::Select, D::IDC_MORE_METHOD, {}, 0}},
     {"--method", "ls"}, 64},
    {"least squares bandpass", FT_BANDPASS, 81, 48000, kBandpass, {{Action::Select, D::IDC_MORE_METHOD, {}, 0}},
     {"--type", "bandpass", "--method", "ls"}, 81},
    {"least squares Hilbert transformer, even length", FT_HILBERT, 64, 48000, {{1000, 23000, 1.0, 1.0}},
     {{Action::Select, D::IDC_MORE_METHOD, {}, 0}}, {"--type", "hilbert", "--method", "ls"}, 64},
    {"least squares highpass", FT_HIGHPASS, 63, 48000, {{0, 8000, 0.0, 20.0}, {10000, 24000, 1.0, 1.0}},
     {{Action::Select, D::IDC_MORE_METHOD, {}, 0}}, {"--type", "highpass", "--method", "ls"}, 63},
    {"least squares minimum phase", FT_LOWPASS, 40, 48000, kLowpass,
     {{Action::Select, D::IDC_MORE_METHOD, {}, 0}, {Action::Click, D::IDC_MORE_MIN_PHASE, {}}},
     {"--method", "ls", "--min-phase"}, 40},
    {"Remez minimum phase", FT_LOWPASS, 48, 48000, kLowpass,
     {{Action::Select, D::IDC_MORE_METHOD, {}, 1}, {Action::Click, D::IDC_MORE_MIN_PHASE, {}}},
     {"--method", "remez", "--min-phase"}, 48},
    {"Remez CIC compensation", FT_LOWPASS, 63, 8000, kCic,
     {{Action::Select, D::IDC_MORE_METHOD, {}, 1},
      {Action::Select, D::IDC_MORE_SHAPE, {}, 1},
      {Action::Type, D::IDC_MORE_CIC_R, "8"},
      {Action::Type, D::IDC_MORE_CIC_M, "1"},
      {Action::Type, D::IDC_MORE_CIC_N, "4"}},
     {"--method", "remez", "--cic-comp", "8:1:4"}, 63},
    {"Remez inverse sinc", FT_LOWPASS, 47, 8000, kCic,
     {{Action::Select, D::IDC_MORE_METHOD, {}, 1}, {Action::Select, D::IDC_MORE_SHAPE, {}, 2}},
     {"--method", "remez", "--inverse-sinc"}, 47},
    {"root raised cosine", FT_LOWPASS, 129, 48000, {},
     {{Action::Select, D::IDC_MORE_METHOD, {}, 2},
      {Action::Select, D::IDC_MORE_PULSE, {}, 1},
      {Action::Type, D::IDC_MORE_ROLLOFF, "0.25"},
      {Action::Type, D::IDC_MORE_SPS, "8"},
      {Action::Type, D::IDC_MORE_SPAN, "10"},
      {Action::Select, D::IDC_MORE_PULSE_GAIN, {}, 0}},
     {"--pulse", "rrc", "--rolloff", "0.25", "--sps", "8", "--span", "10"}, 81},
    {"raised cosine, unit DC gain chosen", FT_LOWPASS, 129, 48000, {},
     {{Action::Select, D::IDC_MORE_METHOD, {}, 2},
      {Action::Select, D::IDC_MORE_PULSE, {}, 0},
      {Action::Type, D::IDC_MORE_ROLLOFF, "0.5"},
      {Action::Type, D::IDC_MORE_SPS, "4"},
      {Action::Type, D::IDC_MORE_SPAN, "8"},
      {Action::Select, D::IDC_MORE_PULSE_GAIN, {}, 1}},
     {"--pulse", "rc", "--rolloff", "0.5", "--sps", "4", "--span", "8", "--pulse-gain", "dc"}, 33},
    {"Gaussian, unit energy by default", FT_LOWPASS, 129, 48000, {},
     {{Action::Select, D::IDC_MORE_METHOD, {}, 2},
      {Action::Select, D::IDC_MORE_PULSE, {}, 2},
      {Action::Type, D::IDC_MORE_ROLLOFF, "0.3"},
      {Action::Type, D::IDC_MORE_SPS, "4"},
      {Action::Type, D::IDC_MORE_SPAN, "4"}},
     {"--pulse", "gaussian", "--bt", "0.3", "--sps", "4", "--span", "4"}, 17},
};

// The form's design of the case through Extras > More Methods...
void DesignOnTheForm(const FormCase& c, ViewFixture& f)
{
    f.Configure(c.filterType, DM_REMEZ, WT_HAMMING, c.taps, c.fs);
    std::vector<RemezBand> rows;
    for (const Band& b : c.bands)
        rows.push_back({1, b.lo, b.hi, b.value, b.weight});
    f.SetBands(rows);
    f.host.QueueDialog(D::IDD, c.dialog);
    DesignMoreMethods(f.view);
}

// zantro-cli's arguments for the same design.
std::vector<std::string> CliArgs(const FormCase& c)
{
    std::vector<std::string> args = c.cli;
    if (!c.bands.empty()) {
        for (const std::string& a :
             {std::string("--taps"), std::to_string(c.taps), std::string("--fs"), std::to_string(c.fs)})
            args.push_back(a);
        for (const std::string& a : BandArgs(c.bands))
            args.push_back(a);
    } else {
        args.push_back("--fs");
        args.push_back(std::to_string(c.fs));
    }
    return args;
}

class FormMethodsExport : public TempDirTest {};

}  // namespace

TEST(FormMethods, DesignsWhatTheCommandLineDesigns)
{
    for (const FormCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ViewFixture f;
        DesignOnTheForm(c, f);
        // A Remez design reports its passes, as the form's does; nothing else.
        for (const ScriptedHost::Message& m : f.host.Messages())
            EXPECT_EQ(m.text.rfind("The Remez algorithm took", 0), 0u) << m.text;
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        EXPECT_EQ(f.view.m_nTaps, c.designedTaps);
        ASSERT_TRUE((f.view.ShownMethodRequest() != nullptr));

        std::vector<std::string> args = CliArgs(c);
        args.push_back("--json");
        const CliResult r = RunCliArgs(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json j = r.Json();
        ASSERT_EQ(j["coefficients"].size(), static_cast<size_t>(c.designedTaps));
        ASSERT_EQ(f.view.m_Coeffs.m_nCount, c.designedTaps);
        for (int k = 0; k < c.designedTaps; ++k)
            EXPECT_EQ(f.view.m_Coeffs.GetValue(k, 0), j["coefficients"][static_cast<size_t>(k)].get<double>()) << k;
    }
}

// zantro-cli --export writes, byte for byte, the files File > Export...
// writes after Extras > More Methods... for the same values: every case
// through json (which holds the parameters) and two more single-rate
// profiles in turn, so that every profile meets a band-table case (the
// roots share their file name, which the files carry, in two folders).
TEST_F(FormMethodsExport, WritesTheFormsFiles)
{
    std::vector<ExportProfile> profiles;
    for (int i = 0; i < kExportProfileCount; ++i)
        if (TraitsOf(static_cast<ExportProfile>(i)).family != ExportFamily::Multirate)
            profiles.push_back(static_cast<ExportProfile>(i));
    ASSERT_EQ(profiles.size(), 14u);
    std::filesystem::create_directories(m_dir / "form");
    std::filesystem::create_directories(m_dir / "cli");
    size_t turn = 0;
    for (const FormCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ViewFixture f;
        DesignOnTheForm(c, f);
        ASSERT_EQ(f.view.m_bDesignValid, 1);
        const ExportProfile first = profiles[turn++ % profiles.size()];
        const ExportProfile second = profiles[turn++ % profiles.size()];
        for (ExportProfile p : {ExportProfile::Json, first, second}) {
            SCOPED_TRACE(ExportProfileName(p));
            ExportOptions options;
            options.profile = p;
            options.root = (m_dir / "form" / "taps").string();
            options.testbench = TakesFilterOptions(p);
            ASSERT_TRUE(ExportDesignFiles(f.view, options)) << f.LastMessage();
            std::vector<std::string> args = CliArgs(c);
            for (const std::string& a : {std::string("--export"), std::string(ExportProfileName(p)),
                                         std::string("--export-root"), (m_dir / "cli" / "taps").string()})
                args.push_back(a);
            if (options.testbench)
                args.push_back("--testbench");
            const CliResult r = RunCliArgs(args);
            ASSERT_EQ(r.status, 0) << r.err;
            const std::vector<std::string> formFiles = ExportFilePaths(options);
            options.root = (m_dir / "cli" / "taps").string();
            const std::vector<std::string> cliFiles = ExportFilePaths(options);
            ASSERT_EQ(formFiles.size(), cliFiles.size());
            for (size_t k = 0; k < formFiles.size(); ++k) {
                const Bytes form = ReadBytes(formFiles[k]);
                ASSERT_FALSE(form.empty()) << formFiles[k];
                EXPECT_TRUE(form == ReadBytes(cliFiles[k])) << cliFiles[k];
            }
        }
    }
}
