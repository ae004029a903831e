#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DocumentTestSupport.h"
#include "form/COutfileDlg.h"
#include "document/CoefficientFiles.h"

namespace fs = std::filesystem;

namespace {

bool HaveCompiler(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A client that prints the tap count and every coefficient, one a line.
std::string ClientProgram(int format)
{
    const bool fixed = IsFixedPointFormat(format);
    std::ostringstream s;
    s << "#include <stdio.h>\n"
      << "#include \"out/lowpass-63.h\"\n"
      << "int main(void)\n{\n"
      << "    int i;\n"
      << "    printf(\"%d\\n\", LOWPASS_63_NUMOF_TAPS);\n"
      << "    for (i = 0; i < LOWPASS_63_NUMOF_TAPS; i++)\n"
      << (fixed ? "        printf(\"%lu\\n\", (unsigned long)lowpass_63_coefficients[i]);\n"
                : "        printf(\"%.17g\\n\", (double)lowpass_63_coefficients[i]);\n")
      << "    return 0;\n}\n";
    return s.str();
}

// The word a fixed-point coefficient must become, as a signed value.
long long ExpectedWord(double x, int format)
{
    switch (format) {
    case NF_Q7:
        return std::min<long long>(static_cast<long long>(std::trunc(x * 128.0)), 127);
    case NF_Q15:
        return std::min<long long>(static_cast<long long>(std::floor(x * 32768.0 + 0.5)), 32767);
    default:
        return std::min<long long>(static_cast<long long>(std::trunc(x * 2147483648.0)), 2147483647);
    }
}

class GeneratedCode : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        m_oldDir = fs::current_path();
        fs::current_path(m_dir);
        fs::create_directory("out");
        host.Click(view, IDC_DESIGN);
        ASSERT_EQ(view.m_bDesignValid, 1);
        ASSERT_EQ(view.m_Coeffs.m_nCount, 63);
        ASSERT_LE(view.m_Coeffs.GetMaxMagnitude(), 1.0);
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        FormTest::TearDown();
    }

    // Make File through the form, then build and run a client; its output lines.
    std::vector<std::string> BuildAndRun(int format, int extension)
    {
        view.m_nNumFormat = format;
        view.m_nOutExt = extension;
        host.QueueDialog(COutfileDlg::IDD,
                         {{ScriptedHost::Action::Type, COutfileDlg::IDC_ROOT, "out/lowpass-63"}});
        view.OnMakeFile();
        EXPECT_TRUE(host.Messages().empty());

        const bool cpp = extension == 1;
        const std::string client = cpp ? "client.cpp" : "client.c";
        std::ofstream(client) << ClientProgram(format);
        const std::string compiler = cpp ? "c++ -std=c++17" : "cc -std=c99 -pedantic";
        const std::string source = cpp ? "out/lowpass-63.cpp" : "out/lowpass-63.c";
        const std::string command = compiler + " -Wall -Wextra -Werror -o client " + client + " " + source +
                                    " > build.log 2>&1 && ./client > run.log";
        int status = std::system(command.c_str());
        EXPECT_EQ(status, 0) << ReadText("build.log");
        std::vector<std::string> lines;
        std::istringstream in(ReadText("run.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    void CheckValues(int format, const std::vector<std::string>& lines)
    {
        ASSERT_EQ(lines.size(), 64u) << kNumberFormatNames[format];
        EXPECT_EQ(lines[0], "63");
        for (int i = 0; i < 63; ++i) {
            const double x = view.m_Coeffs.GetValue(i, 0);
            const std::string& text = lines[static_cast<size_t>(i) + 1];
            if (IsFixedPointFormat(format)) {
                const int bits = format == NF_Q7 ? 8 : format == NF_Q15 ? 16 : 32;
                long long word = std::stoll(text);
                long long value = word >= (1LL << (bits - 1)) ? word - (1LL << bits) : word;
                EXPECT_EQ(value, ExpectedWord(x, format)) << kNumberFormatNames[format] << " tap " << i;
                EXPECT_NEAR(static_cast<double>(value) / static_cast<double>(1LL << (bits - 1)), x,
                            1.0 / static_cast<double>(1LL << (bits - 1)));
            } else if (format == NF_FLOAT) {
                // Seven significant digits, then single precision.
                EXPECT_NEAR(std::stod(text), x, 1e-6 * std::fabs(x) + 1e-30) << "tap " << i;
            } else {
                // "%+1.14e" keeps 15 significant digits.
                EXPECT_NEAR(std::stod(text), x, 1e-14 * std::max(std::fabs(x), 1e-300) + 1e-300) << "tap " << i;
            }
        }
    }

    fs::path m_oldDir;
};

}  // namespace

TEST_F(GeneratedCode, EveryFormatCompilesAsCAndGivesTheDesign)
{
    if (!HaveCompiler("cc"))
        GTEST_SKIP() << "no C compiler";
    for (int format = 0; format < kNumberFormatCount; ++format)
        CheckValues(format, BuildAndRun(format, 0));
}

TEST_F(GeneratedCode, EveryFormatCompilesAsCppAndGivesTheDesign)
{
    if (!HaveCompiler("c++"))
        GTEST_SKIP() << "no C++ compiler";
    for (int format = 0; format < kNumberFormatCount; ++format)
        CheckValues(format, BuildAndRun(format, 1));
}
