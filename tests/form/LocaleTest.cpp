#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>

#include <unistd.h>

#include "ViewFixture.h"
#include "document/CoefficientFiles.h"
#include "dsp/DesignKinds.h"
#include "form/CKaiserShapeDlg.h"
#include "form/COutfileDlg.h"
#include "platform/TextFormat.h"
#include "plot/ReportText.h"

namespace fs = std::filesystem;

namespace {

using Act = ScriptedHost::Action;

// A comma-decimal locale as scripts/setup.sh generates it, or "" when the
// machine has none.
std::string CommaLocale()
{
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        try {
            std::locale probe(name);
            return name;
        } catch (const std::runtime_error&) {
        }
    return {};
}

// Sets the C and the C++ global locale for the life of the object.
class GlobalLocale {
public:
    explicit GlobalLocale(const std::string& name) : m_old(std::locale())
    {
        std::setlocale(LC_ALL, name.c_str());
        std::locale::global(std::locale(name));
    }
    ~GlobalLocale()
    {
        std::locale::global(m_old);
        std::setlocale(LC_ALL, "C");
    }

private:
    std::locale m_old;
};

// What the C library makes of "%.2f" in the process locale.
std::string FormatPrintf(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", value);
    return buf;
}

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Everything the engine turns into or reads from number text in one session:
// dialog fields seeded and typed, the scale field, the input-file reader,
// Make File in float and Q15, the report's band line and the Gain label.
std::string Session(const fs::path& dir)
{
    ViewFixture f;
    std::string out;
    f.Configure(FT_LOWPASS, DM_SINC, WT_KAISER, 31);
    f.Select(IDC_IR_SCALING, SC_CUSTOM);
    f.Type(IDC_IR_SCALE, "1.5");
    f.host.QueueDialog(CKaiserShapeDlg::IDD, {{Act::Type, CKaiserShapeDlg::IDC_SHAPE_EDIT, "8.6"}, {Act::Ok}});
    f.Design();
    out += "shape " + std::to_string(f.view.m_dShapeFactor == 8.6) + " scale " + f.view.m_strIRScale +
           " field " + f.host.GetDlgItemText(f.view, IDC_IR_SCALE) + "\n";
    f.host.QueueDialogOk(CKaiserShapeDlg::IDD);
    f.Design();
    out += "reseeded " + std::to_string(f.view.m_dShapeFactor == 8.6) + "\n";

    const fs::path input = dir / "points.txt";
    std::ofstream(input) << "1\n0.75\n0.5e0\n.25\n0\n";
    f.host.QueueOpenFile(input.string());
    f.host.Click(f.view, IDC_READ_FILE);
    for (int i = 0; i < f.doc.m_FilPar.m_InputData.m_nCount; ++i)
        out += FormatText("%.17g ", f.doc.m_FilPar.m_InputData[i].real());
    f.Select(IDC_DESIGN_METHOD, DM_FREQUENCY_SAMPLING);
    f.Select(IDC_WINDOW_TYPE, WT_HAMMING);
    f.Design();
    out += "\ntaps " + std::to_string(f.view.m_nTaps) + "\n";

    for (int format : {NF_FLOAT, NF_Q15}) {
        const fs::path root = dir / ("coef" + std::to_string(format));
        f.host.QueueDialog(COutfileDlg::IDD, {{Act::Type, COutfileDlg::IDC_ROOT, root.string()},
                                              {Act::Select, COutfileDlg::IDC_NUMBER_FORMAT, {}, format}});
        f.host.Click(f.view, IDC_MAKE_FILE);
        out += ReadBytes(root.string() + ".h") + ReadBytes(root.string() + ".c");
    }
    out += FormatBandLine(1, f.doc.m_FilPar.m_Bands[0]) + "\n";
    for (const auto& m : f.host.Messages())
        out += "message " + m.text + "\n";
    return out;
}

}  // namespace

TEST(Locale, CommaDecimalLocaleChangesNoNumberText)
{
    const std::string name = CommaLocale();
    if (name.empty())
        GTEST_SKIP() << "no comma-decimal locale generated (scripts/setup.sh generates de_DE.UTF-8)";
    const fs::path dir = fs::temp_directory_path() / ("zantro-locale-" + std::to_string(::getpid()));
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");

    // Make File roots are at most 32 characters: the sessions write relative to dir.
    const fs::path oldDir = fs::current_path();
    fs::current_path(dir);
    const std::string plain = Session("a");
    std::string comma;
    {
        GlobalLocale locale(name);
        EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",");
        EXPECT_EQ(FormatPrintf(1.5), "1,50");
        comma = Session("b");
    }
    fs::current_path(oldDir);
    fs::remove_all(dir);
    // The two folders have names of one length; the files name the header by its file name.
    EXPECT_NE(plain.find("shape 1 scale 1.50 field 1.50"), std::string::npos) << plain;
    EXPECT_NE(plain.find("reseeded 1"), std::string::npos) << plain;
    EXPECT_NE(plain.find("1 0.75 0.5 0.25 0 \ntaps 9"), std::string::npos) << plain;
    EXPECT_NE(plain.find("+7.500000e-01"), std::string::npos) << plain;
    EXPECT_NE(plain.find("0x6000"), std::string::npos) << plain;
    EXPECT_EQ(comma, plain);
}
