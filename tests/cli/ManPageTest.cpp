#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "TestPaths.h"
#include "CliRunSupport.h"
#include "cli/CliManPage.h"
#include "cli/CliParser.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> LongOptions(const std::string& text, const std::string& dash)
{
    std::set<std::string> options;
    const std::regex option(dash + dash + "([a-z0-9][a-z0-9" + dash + "]*)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        // The manual page writes each hyphen as "\-".
        name = std::regex_replace(name, std::regex(R"(\\-)"), "-");
        options.insert("--" + name);
    }
    return options;
}

// The options of the option table in docs/cli.md: its first column.
std::set<std::string> CliDocTableOptions()
{
    std::set<std::string> options;
    std::istringstream page(ReadFile(TestSourceDir() + "/docs/cli.md"));
    for (std::string line; std::getline(page, line);)
        if (line.rfind("| `--", 0) == 0) {
            const std::string first = line.substr(0, line.find(" | ", 1));
            for (const std::string& o : LongOptions(first, "-"))
                options.insert(o);
        }
    return options;
}

}  // namespace

TEST(ManPage, NamesEveryOptionOfTheDocumentedTableAndOfHelp)
{
    const std::string page = CliParser::ManPage(ReadFile(TestSourceDir() + "/packaging/zantro-cli.1.in"));
    ASSERT_FALSE(page.empty());
    const std::set<std::string> documented = LongOptions(page, R"(\\-)");

    const std::set<std::string> table = CliDocTableOptions();
    EXPECT_EQ(table.size(), 61u);
    for (const std::string& o : table)
        EXPECT_TRUE(documented.count(o)) << o << " is in the table of docs/cli.md but not in zantro-cli(1)";

    const CliResult help = RunCliArgs({"--help"});
    ASSERT_EQ(help.status, 0);
    const std::set<std::string> offered = LongOptions(help.out, "-");
    EXPECT_GE(offered.size(), table.size());
    for (const std::string& o : offered)
        EXPECT_TRUE(documented.count(o)) << o << " is offered by --help but not in zantro-cli(1)";
    for (const std::string& o : documented)
        EXPECT_TRUE(offered.count(o)) << o << " is in zantro-cli(1) but zantro-cli does not take it";
}

TEST(ManPage, TheDesktopProgramsPageNamesItsSwitches)
{
    const std::string page = ReadFile(TestSourceDir() + "/packaging/zantro.1");
    for (const char* text : {".TH ZANTRO 1", ".BI /p ", ".BI /pt ", "zantro\\-cli (1)", "QT_QPA_PLATFORM=offscreen"})
        EXPECT_NE(page.find(text), std::string::npos) << text;
}

// Each option's paragraph names it in bold, its value in italics without the
// ranges CLI11 appends for --help, and holds its --help text escaped.
TEST(ManPage, OptionParagraphsAreHelpsTextsInGroff)
{
    const std::string page = CliParser::ManPage(ReadFile(TestSourceDir() + "/packaging/zantro-cli.1.in"));
    EXPECT_EQ(page.find("@OPTIONS@"), std::string::npos);
    for (const char* paragraph : {
             ".TP\n.BI \"\\-\\-taps \" \"N\"\nNumber of taps (4..1025)\n",
             ".TP\n.BI \"\\-\\-word\\-length \" \"BITS\"\nWord length of c\\-fixed,",
             ".TP\n.BI \"\\-\\-band \" \"LO:HI:VALUE:WEIGHT\"\nRemez band",
             ".TP\n.B \\-\\-sinx\nTurn sin(x)/x compensation on\n",
             ".TP\n.B \\-h, \\-\\-help\nPrint this help message and exit\n",
             ".SH EXPORTS\n",
         })
        EXPECT_NE(page.find(paragraph), std::string::npos) << paragraph;
    EXPECT_THROW(CliParser::ManPage(".TH X 1\n"), std::runtime_error);
}

TEST(ManPage, GroffTextEscapesWhatGroffWouldRead)
{
    const struct {
        const char* text;
        const char* groff;
    } cases[] = {
        {"--taps 4..1025", "\\-\\-taps 4..1025"},
        {".fir is added", "\\&.fir is added"},
        {"'quoted'", "\\&'quoted'"},
        {"a\\b", "a\\eb"},
        {"\"Wrote ...\"", "\\(dqWrote ...\\(dq"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GroffText(c.text), c.groff) << c.text;
}

