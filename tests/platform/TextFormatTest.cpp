#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/TextFormat.h"

namespace {

// The C library's printf of one value, in the "C" locale the tests run in.
template <typename T>
std::string Printf(const char* format, T value)
{
    char buf[1024];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::vector<double> SampleDoubles()
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {0.0, -0.0, 1.0, -1.0, 0.5, 0.125, 2.5, 3.5, 0.0625, 1e-5, 5e-7, 123456.789,
                             -98765.4321, 1e21, 1e-300, 1.7976931348623157e308, 4.9e-324, 0.995, 9.995,
                             99.9995, 3.14159265358979, -0.0004999, inf, -inf,
                             std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (int i = 0; i < 400; ++i)
        v.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    return v;
}

}  // namespace

TEST(TextFormat, DoublesMatchTheCLibrary)
{
    const char* formats[] = {"%f",    "%1.5f", "%2.2f",  "%4.3f",  "%4.2f",  "%3.3f",   "%2.3f",  "%4.1f",
                             "%5.1f", "%1.2f", "%.0f",   "%e",     "%+1.6e", "%+1.14e", "%.6g",   "%.17g",
                             "%g",    "%.0g",  "%10.3f", "%-10.3f|", "%010.3f", "%+.3f", "% .2f", "%E",
                             "%G",    "%F",    "%12.4e", "%-8g|",  "%08.2e"};
    for (const char* format : formats)
        for (double v : SampleDoubles())
            ASSERT_EQ(FormatText(format, v), Printf(format, v)) << format << " of " << v;
}

TEST(TextFormat, IntegersStringsAndTextMatchTheCLibrary)
{
    const char* formats[] = {"%d", "%1d", "%4d", "%3d", "%6d", "%2d", "%-5d|", "%05d", "%+d", "% d", "%.3d",
                             "%x", "%02x", "%04x", "%08x", "%X", "%#x", "%o", "%u", "Grid Size:  %2d"};
    for (const char* format : formats)
        for (int v : {0, 1, -1, 7, 42, -42, 129, 255, 1025, 65535, -65536, 2147483647, -2147483647 - 1})
            ASSERT_EQ(FormatText(format, v), Printf(format, v)) << format << " of " << v;
    for (const char* format : {"%s", "%10s|", "%-10s|", "%.3s", "\n#include  \"%s\"\n\n"})
        EXPECT_EQ(FormatText(format, "coef.h"), Printf(format, "coef.h")) << format;
    EXPECT_EQ(FormatText("100%% of %s", std::string("it")), "100% of it");
    EXPECT_EQ(FormatText("  %1d     %1d      %4d        %4d          %2.3f     %3.3f", 1, 1, 0, 1000, 1.0, 1.0),
              "  1     1         0        1000          1.000     1.000");
    // Missing or mismatched values print nothing, never garbage.
    EXPECT_EQ(FormatText("a%db%sc"), "abc");
    EXPECT_EQ(FormatText("%s|%d", 5, "x"), "|");
    EXPECT_EQ(FormatText("%d %.2f", 2.75, 3), "2 3.00");
    EXPECT_EQ(FormatText("%"), "%");
}

TEST(TextFormat, TextToDoubleReadsAsTheCLibraryDoes)
{
    const char* texts[] = {"",      "-",     ".",    "1-3",    "  2.5x", ".5",     "-0.25",  "+3.",    "1.-2",
                           "8.6",   "5,00",  "1e3",  "1e",     "1e+",    "-1e-3x", "  \t+7", "--5",    "+-5",
                           "0x1p3", "0x.8",  "0x",   "0xg",    "-0x10",  "inf",    "-Infinity", "nan", "1e400",
                           "-1e400", "1e-400", "0.000000000000000000000000000000000000000000000000001e-300",
                           "123456789012345678901234567890", "0", "-0", "00012.50", "3.14159"};
    for (const char* text : texts) {
        const double expected = std::strtod(text, nullptr);
        const double actual = TextToDouble(text);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(actual)) << text;
        } else {
            EXPECT_EQ(actual, expected) << text;
            EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
        }
    }
}
