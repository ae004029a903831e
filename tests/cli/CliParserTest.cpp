#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliParser.h"
#include "document/CFilPar.h"

namespace {

struct Parsed {
    CliParser::Result result;
    CliOptions options;
};

Parsed ParseArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "zantro-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    Parsed p;
    p.result = CliParser::Parse(static_cast<int>(argv.size()), argv.data(), p.options);
    return p;
}

void ExpectUsageError(const std::vector<std::string>& args, const std::string& reason)
{
    Parsed p = ParseArgs(args);
    ASSERT_EQ(p.result.status, CliParser::Status::UsageError) << args[0];
    EXPECT_EQ(p.result.text.rfind("zantro-cli: ", 0), 0u) << p.result.text;
    EXPECT_NE(p.result.text.find(reason), std::string::npos) << p.result.text;
    EXPECT_NE(p.result.text.find("Usage: zantro-cli [OPTIONS]"), std::string::npos);
}

template <size_t N>
std::vector<std::string> Entries(const char* const (&names)[N])
{
    return std::vector<std::string>(names, names + N);
}

}  // namespace

TEST(CliParser, NoArgumentsLeavesTheFormAsStarted)
{
    Parsed p = ParseArgs({});
    ASSERT_EQ(p.result.status, CliParser::Status::Run);
    const CliOptions& o = p.options;
    EXPECT_FALSE(o.filterType || o.designMethod || o.windowType || o.irScaling);
    EXPECT_FALSE(o.taps || o.samplingRate || o.firstCorner || o.secondCorner || o.scale);
    EXPECT_FALSE(o.stopbandAtt || o.shapeFactor || o.diffGain || o.variance);
    EXPECT_FALSE(o.sinXComp || o.windowOnly || o.json);
}

// The form's four methods, then least squares (designed beside the form).
std::vector<std::string> MethodEntries()
{
    std::vector<std::string> entries = Entries(kDesignMethodNames);
    entries.push_back("Least Squares");
    return entries;
}

TEST(CliParser, EveryChoiceByNameByIndexAndByEntryText)
{
    struct Table {
        const char* option;
        std::vector<std::string> names;
        std::vector<std::string> entries;
        std::optional<int> CliOptions::*member;
    };
    const Table tables[] = {
        {"--type", kCliFilterTypes, Entries(kFilterTypeNames), &CliOptions::filterType},
        {"--method", kCliAllDesignMethods, MethodEntries(), &CliOptions::designMethod},
        {"--window", kCliWindowTypes, Entries(kWindowTypeNames), &CliOptions::windowType},
        {"--scaling", kCliScalings, Entries(kIRScalingNames), &CliOptions::irScaling},
    };
    for (const Table& t : tables) {
        ASSERT_EQ(t.names.size(), t.entries.size()) << t.option;
        for (size_t i = 0; i < t.names.size(); ++i) {
            for (const std::string& text : {t.names[i], std::to_string(i), t.entries[i]}) {
                Parsed p = ParseArgs({t.option, text});
                ASSERT_EQ(p.result.status, CliParser::Status::Run) << t.option << " " << text;
                EXPECT_EQ(p.options.*t.member, static_cast<int>(i)) << t.option << " " << text;
            }
        }
        ExpectUsageError({t.option, std::to_string(t.names.size())}, std::string(t.option) + ": '");
        ExpectUsageError({t.option, "-1"}, t.option);
        ExpectUsageError({t.option, "nonsense"}, "is not one of " + t.names[0]);
        ExpectUsageError({t.option, ""}, t.option);
    }
}

TEST(CliParser, ChoiceNamesIgnoreCaseButNotSpelling)
{
    EXPECT_EQ(CliParser::ChoiceIndex("Moving-Average", kCliFilterTypes, Entries(kFilterTypeNames)), 8);
    EXPECT_EQ(CliParser::ChoiceIndex("hilbert transformer", kCliFilterTypes, Entries(kFilterTypeNames)), 4);
    EXPECT_EQ(CliParser::ChoiceIndex("DOLPH-CHEBYSHEV", kCliWindowTypes, Entries(kWindowTypeNames)), 4);
    EXPECT_EQ(CliParser::ChoiceIndex("007", kCliFilterTypes, Entries(kFilterTypeNames)), 7);
    EXPECT_FALSE(CliParser::ChoiceIndex("low pass", kCliFilterTypes, Entries(kFilterTypeNames)));
    EXPECT_FALSE(CliParser::ChoiceIndex("4.0", kCliWindowTypes, Entries(kWindowTypeNames)));
    EXPECT_FALSE(CliParser::ChoiceIndex("+1", kCliScalings, Entries(kIRScalingNames)));
    EXPECT_FALSE(CliParser::ChoiceIndex("99999999999", kCliScalings, Entries(kIRScalingNames)));
}

TEST(CliParser, IntegerFieldsTakeWhatTheirDigitsOnlyEditsTake)
{
    // Range checks belong to the form: 2000 taps parses and is refused by Design.
    Parsed p = ParseArgs({"--taps", "2000", "--fs", "44100", "--f1", "0", "--f2", "99999999999", "--att", "101"});
    ASSERT_EQ(p.result.status, CliParser::Status::Run);
    EXPECT_EQ(p.options.taps, "2000");
    EXPECT_EQ(p.options.samplingRate, "44100");
    EXPECT_EQ(p.options.firstCorner, "0");
    EXPECT_EQ(p.options.secondCorner, "99999999999");
    EXPECT_EQ(p.options.stopbandAtt, "101");

    // An empty field is what a user leaves by deleting the text.
    EXPECT_EQ(ParseArgs({"--taps", ""}).options.taps, "");

    for (const char* option : {"--taps", "--fs", "--f1", "--f2", "--att"}) {
        ExpectUsageError({option, "-5"}, std::string(option) + ": '-5' is not a whole number");
        ExpectUsageError({option, "12a"}, "digits 0-9 only");
        ExpectUsageError({option, "1.5"}, "digits 0-9 only");
        ExpectUsageError({option, " 63"}, "digits 0-9 only");
    }
}

TEST(CliParser, FloatFieldsTakeWhatTheirKeyFilterPasses)
{
    Parsed p = ParseArgs({"--scale", "-0.5", "--beta", "+20.000001", "--sigma", "1.234", "--gain", "1-.2"});
    ASSERT_EQ(p.result.status, CliParser::Status::Run);
    EXPECT_EQ(p.options.scale, "-0.5");
    EXPECT_EQ(p.options.shapeFactor, "+20.000001");
    EXPECT_EQ(p.options.variance, "1.234");
    EXPECT_EQ(p.options.diffGain, "1-.2");

    for (const char* option : {"--scale", "--beta", "--sigma", "--gain"}) {
        ExpectUsageError({option, "1e-3"}, "cannot be typed");
        ExpectUsageError({option, "1,5"}, "cannot be typed");
        ExpectUsageError({option, "1 "}, "cannot be typed");
    }
    // The edits' text limits: 8 characters for the scale and the gain, 5 for sigma.
    EXPECT_EQ(ParseArgs({"--scale", "12345678"}).options.scale, "12345678");
    ExpectUsageError({"--scale", "123456789"}, "longer than the field's 8 characters");
    EXPECT_EQ(ParseArgs({"--gain", "1.234567"}).options.diffGain, "1.234567");
    ExpectUsageError({"--gain", "1.2345678"}, "longer than the field's 8 characters");
    EXPECT_EQ(ParseArgs({"--sigma", "2.999"}).options.variance, "2.999");
    ExpectUsageError({"--sigma", "2.9999"}, "longer than the field's 5 characters");
}

TEST(CliParser, GainNamesTheRadioButtonsOrAnOtherValue)
{
    for (const char* gain : {"pi", "PI", "pi/2", "Pi/2", "1", "1.0", "10.01", "0.09"}) {
        Parsed p = ParseArgs({"--gain", gain});
        ASSERT_EQ(p.result.status, CliParser::Status::Run) << gain;
        EXPECT_EQ(p.options.diffGain, gain);
    }
    ExpectUsageError({"--gain", "pi/3"}, "cannot be typed");
    ExpectUsageError({"--gain", "2pi"}, "cannot be typed");
}

TEST(CliParser, FlagsAndTheLastOfRepeatedOptions)
{
    Parsed p = ParseArgs({"--sinx", "--window-only", "--json", "--taps", "5", "--taps", "7", "--type", "highpass",
                          "--type", "bandstop"});
    ASSERT_EQ(p.result.status, CliParser::Status::Run);
    EXPECT_TRUE(p.options.sinXComp);
    EXPECT_TRUE(p.options.windowOnly);
    EXPECT_TRUE(p.options.json);
    EXPECT_EQ(p.options.taps, "7");
    EXPECT_EQ(p.options.filterType, 3);

    Parsed eq = ParseArgs({"--taps=64", "--type=hilbert"});
    EXPECT_EQ(eq.options.taps, "64");
    EXPECT_EQ(eq.options.filterType, 4);
}

TEST(CliParser, HelpListsEveryOption)
{
    for (const char* flag : {"--help", "-h"}) {
        Parsed p = ParseArgs({"--taps", "2000", flag});
        ASSERT_EQ(p.result.status, CliParser::Status::Help) << flag;
        EXPECT_EQ(p.result.text, CliParser::Usage());
    }
    const std::string usage = CliParser::Usage();
    for (const char* option : {"--type", "--method", "--window ", "--taps", "--fs", "--f1", "--f2", "--scaling",
                               "--scale ", "--sinx", "--att", "--beta", "--gain", "--sigma", "--window-only",
                               "--json", "Exit status"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    for (const std::string& name : kCliFilterTypes)
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}

TEST(CliParser, MalformedCommandLines)
{
    ExpectUsageError({"--frobnicate"}, "--frobnicate");
    ExpectUsageError({"lowpass"}, "lowpass");
    ExpectUsageError({"--taps"}, "--taps");
    ExpectUsageError({"--json=maybe"}, "--json");
    ExpectUsageError({"--make", std::string(33, 'r')}, "longer than the field's 32 characters");
    EXPECT_EQ(ParseArgs({"--make", std::string(32, 'r')}).result.status, CliParser::Status::Run);
    std::vector<std::string> bands;
    for (int i = 0; i < 9; ++i)
        bands.insert(bands.end(), {"--band", "0:100:1:1"});
    ExpectUsageError(bands, "9 bands given, the band dialog holds at most 8");
    bands.resize(16);
    EXPECT_EQ(ParseArgs(bands).result.status, CliParser::Status::Run);
}

TEST(CliParser, AFailedParseLeavesTheOptionsAlone)
{
    CliOptions options;
    options.taps = "33";
    const char* argv[] = {"zantro-cli", "--type", "lowpass", "--taps", "x"};
    EXPECT_EQ(CliParser::Parse(5, argv, options).status, CliParser::Status::UsageError);
    EXPECT_EQ(options.taps, "33");
    EXPECT_FALSE(options.filterType);
}
