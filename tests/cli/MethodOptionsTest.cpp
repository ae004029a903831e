#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliParser.h"
#include "cli/MethodOptions.h"

namespace {

CliParser::Result ParseMethodArgs(std::vector<std::string> args, CliOptions& options)
{
    args.insert(args.begin(), "zantro-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    return CliParser::Parse(static_cast<int>(argv.size()), argv.data(), options);
}

}  // namespace

TEST(MethodOptions, ParsesTheNewMethodsAndTheirParameters)
{
    CliOptions o;
    ASSERT_EQ(ParseMethodArgs({"--pulse", "rrc", "--rolloff", "0.25", "--sps", "4", "--span", "10", "--pulse-gain", "dc"}, o)
                  .status,
              CliParser::Status::Run);
    EXPECT_EQ(o.pulse, PulseShape::RootRaisedCosine);
    EXPECT_EQ(o.rolloff, 0.25);
    EXPECT_EQ(o.sps, 4);
    EXPECT_EQ(o.span, 10);
    EXPECT_EQ(o.pulseGain, PulseNormalisation::UnitDcGain);
    EXPECT_TRUE(UsesNewMethods(o));

    CliOptions c;
    ASSERT_EQ(ParseMethodArgs({"--method", "remez", "--cic-comp", "16:2:5", "--min-phase"}, c).status,
              CliParser::Status::Run);
    ASSERT_TRUE(c.remezShape.has_value());
    EXPECT_EQ(c.remezShape->kind, ShapeKind::CicInverse);
    EXPECT_EQ(c.remezShape->decimation, 16);
    EXPECT_EQ(c.remezShape->delay, 2);
    EXPECT_EQ(c.remezShape->stages, 5);
    EXPECT_TRUE(c.minPhase);

    CliOptions l;
    ASSERT_EQ(ParseMethodArgs({"--method", "ls", "--band", "0:1000:1:0.5"}, l).status, CliParser::Status::Run);
    EXPECT_EQ(l.designMethod, kCliLeastSquares);

    CliOptions plain;
    ASSERT_EQ(ParseMethodArgs({"--method", "remez"}, plain).status, CliParser::Status::Run);
    EXPECT_FALSE(UsesNewMethods(plain));
}

TEST(MethodOptions, ConflictsAreUsageErrors)
{
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } rows[] = {
        {{"--rolloff", "0.3"}, "go with --pulse"},
        {{"--pulse", "rc", "--bt", "0.3"}, "--bt is the Gaussian's"},
        {{"--pulse", "gaussian", "--rolloff", "0.3"}, "--rolloff is the raised cosine's"},
        {{"--pulse", "rc", "--taps", "33"}, "--pulse designs its own taps"},
        {{"--pulse", "rc", "--sps", "3", "--span", "5"}, "span x sps must be even"},
        {{"--pulse", "rc", "--sps", "64", "--span", "65"}, "--span"},
        {{"--pulse", "square"}, "--pulse"},
        {{"--pulse", "rc", "--rolloff", "1.5"}, "--rolloff"},
        {{"--cic-comp", "8:1:4"}, "give --method remez"},
        {{"--method", "remez", "--cic-comp", "8:1"}, "is not R:M:N"},
        {{"--method", "remez", "--cic-comp", "8:9:4"}, "is not R:M:N"},
        {{"--method", "remez", "--cic-comp", "8:1:4", "--inverse-sinc"}, "excludes"},
        {{"--min-phase"}, "give --method remez or ls"},
        {{"--method", "sinc", "--min-phase"}, "give --method remez or ls"},
        {{"--method", "ls", "--make", "out"}, "--make works with the form's four methods"},
        {{"--method", "ls", "--to-spec", "--pass-band", "0:1000:1", "--stop-band", "1500:4000:40"}, "--to-spec works"},
    };
    for (const auto& row : rows) {
        CliOptions o;
        const CliParser::Result r = ParseMethodArgs(row.args, o);
        EXPECT_EQ(r.status, CliParser::Status::UsageError) << row.args[0];
        EXPECT_NE(r.text.find(row.reason), std::string::npos) << r.text.substr(0, 200);
    }
}
