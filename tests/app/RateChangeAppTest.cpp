#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "ModalFields.h"
#include "TestPaths.h"
#include "app/AnalysisChartView.h"
#include "app/AnalysisWindow.h"
#include "app/CommandIds.h"
#include "form/CRateChangeDlg.h"
#include "form/ExportCommand.h"

namespace {

using D = CRateChangeDlg;

// What the built zantro-cli prints on stdout for these arguments (stderr dropped).
std::string RunCli(const std::string& args)
{
    const std::string command = std::string("'") + TestCliPath() + "' " + args + " </dev/null 2>/dev/null";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

// The taps zantro-cli prints one per line ("%.17g", which reads back exactly).
std::vector<double> CliTaps(const std::string& args)
{
    std::vector<double> taps;
    std::istringstream lines(RunCli(args));
    for (std::string line; std::getline(lines, line);) {
        double v = 0.0;
        std::from_chars(line.data(), line.data() + line.size(), v);
        taps.push_back(v);
    }
    return taps;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<double> FormTaps(const CZantroView& view)
{
    std::vector<double> taps;
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
        taps.push_back(view.m_Coeffs.GetValue(i, 0));
    return taps;
}

// The dialog's fields: kind, factor, high rate, pass edge, taps.
void Fill(QWidget* modal, int kind, const QString& factor, const QString& fs, const QString& pass, const QString& taps)
{
    Field<QComboBox>(modal, D::IDC_RATE_KIND)->setCurrentIndex(kind);
    SetText(modal, D::IDC_RATE_FACTOR, factor);
    SetText(modal, D::IDC_RATE_FS, fs);
    SetText(modal, D::IDC_RATE_PASS, pass);
    SetText(modal, D::IDC_RATE_TAPS, taps);
}

QList<QAreaSeries*> AliasBands(AnalysisWindow* w)
{
    return SeriesNamed<QAreaSeries>(w, QStringLiteral("alias bands"));
}

}  // namespace

using RateChangeApp = AppFixture;

// Extras > Rate Change... designs the half-band filter zantro-cli --halfband
// designs for the same values, bit for bit; the Analysis window shades its
// alias band fs/2 - f1 .. fs/2 and names it in its title.
TEST_F(RateChangeApp, HalfbandEqualsTheCommandLine)
{
    Start();
    script->Expect([](QWidget* modal) {
        Fill(modal, D::kHalfband, QStringLiteral("4"), QStringLiteral("48000"), QStringLiteral("10000"),
             QStringLiteral("47"));
        ClickButton(modal, IDOK);
    });
    script->ExpectMessage();  // the pass count
    frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    const std::vector<double> cli = CliTaps("--halfband --fs 48000 --f1 10000 --taps 47");
    ASSERT_EQ(cli.size(), 47u);
    EXPECT_EQ(FormTaps(app->m_view), cli);
    EXPECT_EQ(cli[23], 0.5);

    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    ASSERT_NE(w, nullptr);
    const QList<QAreaSeries*> bands = AliasBands(w);
    ASSERT_EQ(bands.size(), 1);
    const QList<QPointF> upper = bands[0]->upperSeries()->points();
    ASSERT_EQ(upper.size(), 2);
    EXPECT_DOUBLE_EQ(upper[0].x(), 14000.0);
    EXPECT_DOUBLE_EQ(upper[1].x(), 24000.0);
    const QString title = w->MagnitudeView()->chart()->title();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Magnitude (dB); half-band by 2: alias attenuation 69.4"))) << title.toStdString();
}

// 45 taps is no half-band's: the dialog says so with the engine's message,
// naming the nearest, and stays open; nothing is designed.
TEST_F(RateChangeApp, HalfbandRefusesFortyFiveTaps)
{
    Start();
    const int shown = app->m_view.DesignsShown();
    script->Expect([](QWidget* modal) {
        Fill(modal, D::kHalfband, QStringLiteral("4"), QStringLiteral("48000"), QStringLiteral("10000"),
             QStringLiteral("45"));
        ClickButton(modal, IDOK);
        EXPECT_TRUE(modal->isVisible());
        ClickButton(modal, IDCANCEL);
    });
    script->ExpectMessage();
    frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
    ASSERT_FALSE(script->Seen().isEmpty());
    EXPECT_TRUE(script->Seen().contains(
        QStringLiteral("A half-band filter has 4k + 3 taps (7 .. 1023); 45 is not one. The nearest is 47.")))
        << script->Seen().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(app->m_view.DesignsShown(), shown);
}

// Design to requirement from the dialog finds the N and the taps zantro-cli
// --to-spec finds for the same requirement, and says what it says: a
// decimator by 4 at 48 kHz (pass band 0 .. 1 kHz, 0.1 dB, 80 dB down in
// Q15) with fewer taps when only the alias bands are stopped, and a
// half-band filter (pass band 0 .. 10 kHz, 0.1 dB, 70 dB down).
TEST_F(RateChangeApp, RequirementEqualsTheCommandLine)
{
    struct Case {
        int kind;
        bool alias;
        QString pass, attenuation;
        std::string cli;
    };
    const Case cases[] = {
        {D::kDecimation, false, QStringLiteral("1000"), QStringLiteral("80"),
         "--decimate 4 --fs 48000 --to-spec --pass-band 0:1000:0.1 --stop-band alias:80 --quantize q15 --json"},
        {D::kDecimation, true, QStringLiteral("1000"), QStringLiteral("80"),
         "--decimate 4 --fs 48000 --to-spec --pass-band 0:1000:0.1 --stop-band alias:80 --alias-bands --quantize "
         "q15 --json"},
        {D::kHalfband, false, QStringLiteral("10000"), QStringLiteral("70"),
         "--halfband --fs 48000 --to-spec --pass-band 0:10000:0.1 --stop-band alias:70 --quantize q15 --json"},
    };
    Start();
    size_t found[3] = {0, 0, 0};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.cli);
        script->Expect([&c](QWidget* modal) {
            Fill(modal, c.kind, QStringLiteral("4"), QStringLiteral("48000"), c.pass, QStringLiteral("63"));
            Field<QCheckBox>(modal, D::IDC_RATE_ALIAS)->setChecked(c.alias);
            Field<QCheckBox>(modal, D::IDC_RATE_TO_SPEC)->setChecked(true);
            SetText(modal, D::IDC_RATE_RIPPLE, QStringLiteral("0.1"));
            SetText(modal, D::IDC_RATE_ATTENUATION, c.attenuation);
            Field<QComboBox>(modal, D::IDC_RATE_FORMAT)->setCurrentIndex(2);
            ClickButton(modal, IDOK);
        });
        script->ExpectMessage();  // the pass count
        script->ExpectMessage();  // the search's
        frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
        ASSERT_EQ(app->m_view.m_bDesignValid, 1);
        const nlohmann::json cli = nlohmann::json::parse(RunCli(c.cli));
        ASSERT_TRUE(cli["design_valid"].get<bool>());
        const std::vector<double> taps = cli["coefficients"].get<std::vector<double>>();
        EXPECT_EQ(app->m_view.m_nTaps, static_cast<int>(taps.size()));
        EXPECT_EQ(FormTaps(app->m_view), taps);
        ASSERT_FALSE(script->Seen().isEmpty());
        EXPECT_EQ(script->Seen().back().toStdString(), cli["messages"][0].get<std::string>());
        found[i] = taps.size();
    }
    EXPECT_LT(found[1], found[0]);
    EXPECT_EQ(found[2] % 4, 3u);
}

// Undo back to a rate change's design brings its alias bands back into the
// Analysis window; Undo to the single-rate design before it clears them.
TEST_F(RateChangeApp, UndoRestoresTheAliasBands)
{
    Start();
    Press(IDC_DESIGN);
    script->Expect([](QWidget* modal) {
        Fill(modal, D::kDecimation, QStringLiteral("4"), QStringLiteral("48000"), QStringLiteral("2000"),
             QStringLiteral("41"));
        Field<QCheckBox>(modal, D::IDC_RATE_ALIAS)->setChecked(true);
        ClickButton(modal, IDOK);
    });
    script->ExpectMessage();  // the pass count
    frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(AliasBands(w).size(), 2);

    Select(IDC_FILTER_TYPE, FT_HIGHPASS);
    script->Expect([](QWidget* modal) { ClickButton(modal, IDOK); });  // the Remez band dialog
    script->ExpectMessage();
    Press(IDC_DESIGN);
    ASSERT_EQ(app->m_view.m_nFilterType, FT_HIGHPASS);
    QApplication::processEvents();
    EXPECT_EQ(AliasBands(w).size(), 0);

    frame()->Action(ID_EDIT_UNDO)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(AliasBands(w).size(), 2);
    EXPECT_TRUE(w->MagnitudeView()->chart()->title().contains(QStringLiteral("decimation by 4")));

    frame()->Action(ID_EDIT_UNDO)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(AliasBands(w).size(), 0);
    EXPECT_EQ(w->MagnitudeView()->chart()->title(), QStringLiteral("Magnitude (dB)"));

    frame()->Action(ID_EDIT_REDO)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(AliasBands(w).size(), 2);
}

// File > Export... of the desktop's half-band writes what zantro-cli
// --halfband --export writes for the same values, byte for byte: the
// CMSIS-DSP decimator in Q15 and the plain-C polyphase arrays.
TEST_F(RateChangeApp, HalfbandExportEqualsTheCommandLine)
{
    Start();
    script->Expect([](QWidget* modal) {
        Fill(modal, D::kHalfband, QStringLiteral("4"), QStringLiteral("48000"), QStringLiteral("10000"),
             QStringLiteral("47"));
        ClickButton(modal, IDOK);
    });
    script->ExpectMessage();  // the pass count
    frame()->Action(ID_EXTRAS_RATE_CHANGE)->trigger();
    ASSERT_EQ(app->m_view.m_bDesignValid, 1);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string desk = dir.filePath(QStringLiteral("desk")).toStdString();
    const std::string cli = dir.filePath(QStringLiteral("cli")).toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(desk)) && QDir().mkpath(QString::fromStdString(cli)));
    for (const char* profile : {"cmsis-decimate-q15", "c-polyphase"}) {
        SCOPED_TRACE(profile);
        ExportOptions options;
        options.profile = *ParseExportProfile(profile);
        options.root = desk + "/halfband";
        ASSERT_TRUE(ExportDesignFiles(app->m_view, options));
        RunCli(std::string("--halfband --fs 48000 --f1 10000 --taps 47 --export ") + profile + " --export-root '" +
               cli + "/halfband'");
        for (const char* ext : {".h", ".c"}) {
            const std::string written = ReadAll(desk + "/halfband" + ext);
            EXPECT_FALSE(written.empty()) << ext;
            EXPECT_EQ(written, ReadAll(cli + "/halfband" + ext)) << ext;
        }
    }
}
