#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

#include "document/ExportWriters.h"
#include "document/ForeignTaps.h"

namespace {

const std::vector<double> kReadable = {0.25, -0.5, 1e-3, 0.0};

// Texts of the same four taps in every shape a file may hold them.
TEST(ForeignTaps, ReadsOneALineCsvRowsAndJson)
{
    const struct {
        const char* shape;
        const char* text;
        std::optional<double> rate;
    } cases[] = {
        {"one a line", "0.25\n-0.5\n1e-3\n0\n", std::nullopt},
        {"CRLF, blanks, a plus sign", "  +0.25\r\n-0.5 \r\n\t1E-3\r\n0.0\r\n", std::nullopt},
        {"csv export with its comments", "# Zantro ...\n# Filter: ...\n0.25\n-0.5\n0.001\n0\n", std::nullopt},
        {"one CSV row", "0.25,-0.5,0.001,0", std::nullopt},
        {"CSV rows, trailing commas", "0.25, -0.5,\n0.001, 0,\n", std::nullopt},
        {"numbers and comments on a line", "0.25 -0.5 # two\n0.001 0 # two more\n", std::nullopt},
        {"JSON array", "[0.25, -0.5, 0.001, 0]", std::nullopt},
        {"json export", R"({"taps": [0.25, -0.5, 0.001, 0], "parameters": {"m_nSamplingRate": 48000.0}})", 48000.0},
        {"json export of taps from elsewhere",
         R"({"taps": [0.25, -0.5, 0.001, 0], "parameters": null, "source": {"sampling_rate_hz": 44100}})", 44100.0},
        {"zantro-cli --json", R"({"coefficients": [0.25, -0.5, 0.001, 0], "sampling_rate_hz": 8000})", 8000.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        const TapsFile f = ParseTaps(c.text);
        EXPECT_EQ(f.status, TapsFileStatus::Ok);
        EXPECT_EQ(f.taps, kReadable);
        EXPECT_EQ(f.samplingRateHz, c.rate);
    }
    // Every double reads back exactly from its shortest text.
    const double awkward[] = {0.1, 1.0 / 3.0, std::numeric_limits<double>::denorm_min(), -0.0078125, 5e-324};
    for (double v : awkward)
        EXPECT_EQ(ParseTaps(NumberText(v)).taps, std::vector<double>{v}) << NumberText(v);
    EXPECT_EQ(ParseTaps("1e-400").taps, std::vector<double>{0.0});
}

TEST(ForeignTaps, RefusalsNameTheFileLineAndField)
{
    const struct {
        const char* text;
        TapsFileStatus status;
        const char* message;
    } cases[] = {
        {"", TapsFileStatus::NoTaps, "f.txt holds no taps."},
        {"# only a comment\n\n", TapsFileStatus::NoTaps, "f.txt holds no taps."},
        {"b\n0.5\n", TapsFileStatus::NotANumber, "f.txt, line 1: 'b' is not a number."},
        {"0.5\n0,5;0.25\n", TapsFileStatus::NotANumber, "f.txt, line 2: '5;0.25' is not a number."},
        {"0.5\n0x10\n", TapsFileStatus::NotANumber, "f.txt, line 2: '0x10' is not a number."},
        {"0.5\n++1\n", TapsFileStatus::NotANumber, "f.txt, line 2: '++1' is not a number."},
        {"0.5\n\n1e999\n", TapsFileStatus::NotFinite, "f.txt, line 3: 1e999 is not a finite number."},
        {"nan\n", TapsFileStatus::NotFinite, "f.txt, line 1: nan is not a finite number."},
        {"0.5,,0.25\n", TapsFileStatus::EmptyField, "f.txt, line 1: a field between two commas is empty."},
        {",0.5\n", TapsFileStatus::EmptyField, "f.txt, line 1: a field between two commas is empty."},
        {"[0.5, \"x\"]", TapsFileStatus::BadJson,
         "f.txt is JSON but holds no array of numbers as taps, coefficients or the whole file."},
        {"{\"taps\": 3}", TapsFileStatus::BadJson,
         "f.txt is JSON but holds no array of numbers as taps, coefficients or the whole file."},
        {"[0.5,", TapsFileStatus::BadJson,
         "f.txt is JSON but holds no array of numbers as taps, coefficients or the whole file."},
        {"[]", TapsFileStatus::NoTaps, "f.txt holds no taps."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TapsFile f = ParseTaps(c.text);
        EXPECT_EQ(f.status, c.status);
        EXPECT_TRUE(f.taps.empty());
        EXPECT_EQ(TapsFileMessage(f, "f.txt"), c.message);
    }
    std::string many;
    for (int i = 0; i <= kMaxForeignTaps; ++i)
        many += "0.5\n";
    EXPECT_EQ(TapsFileMessage(ParseTaps(many), "f.txt"), "f.txt holds more than 65535 taps.");
    EXPECT_EQ(TapsFileMessage(ReadTapsFile("/no/such/file"), "/no/such/file"), "Cannot read file /no/such/file");
    EXPECT_EQ(ReadTapsFile("/").status, TapsFileStatus::CannotOpen);
}

// The header states where the taps came from and judges the requirement on
// the double taps and on the exported words: a 0.5, 0.5 pair is a lowpass
// whose gain at 1 kHz of 8 kHz is cos(pi/8).
TEST(ForeignTaps, SummaryStatesTheSourceAndJudgesTheRequirement)
{
    const std::vector<SpecBand> requirement = {{BandKind::Pass, 0, 1000, 0.8}, {BandKind::Stop, 3000, 4000, 6.0}};
    const ExportDesign d = ForeignExportDesign({0.5, 0.5}, 8000.0, "pair.txt", {}, requirement);
    ExportOptions o;
    o.profile = ExportProfile::CFloat;
    const std::vector<std::string> lines = ExportSummary(d, o, ComputeExportWords(d, o));
    auto has = [&lines](const std::string& text) {
        for (const std::string& line : lines)
            if (line == text)
                return true;
        return false;
    };
    EXPECT_TRUE(has("Filter: 2 taps designed elsewhere, read from pair.txt"));
    EXPECT_TRUE(has("Sampling rate: 8000 Hz"));
    EXPECT_TRUE(has("Requirement, double precision | as exported:"));
    // 20 log10 cos(pi/8): 0.688 dB of ripple; at 3 kHz cos(3 pi/8) is 8.01 dB below the
    // nominal pass gain, the midpoint (1 + cos(pi/8)) / 2.
    const double ripple = -20.0 * std::log10(std::cos(M_PI / 8.0));
    EXPECT_NEAR(d.figures.bands.at(0).rippleDb, ripple, 1e-9);
    EXPECT_TRUE(has("  pass 0 - 1000 Hz, ripple at most 0.8 dB: met, margin 0.1123 dB | met, margin 0.1123 dB"));
    EXPECT_TRUE(has("  stop 3000 - 4000 Hz, attenuation at least 6 dB: met, margin 2.01 dB | met, margin 2.01 dB"));
    EXPECT_TRUE(has("  Met in double precision and as exported."));
    const ExportDesign tight =
        ForeignExportDesign({0.5, 0.5}, 8000.0, "pair.txt", {}, {{BandKind::Pass, 0, 1000, 0.5}});
    const std::vector<std::string> missed = ExportSummary(tight, o, ComputeExportWords(tight, o));
    EXPECT_EQ(missed.back(), "  Missed in double precision and as exported.");

    // The json export reads back with its rate; it claims no parameters of the form.
    o.profile = ExportProfile::Json;
    const nlohmann::json j = nlohmann::json::parse(JsonExportText(d, o, ComputeExportWords(d, o)));
    EXPECT_TRUE(j["parameters"].is_null());
    EXPECT_EQ(j["source"]["file"], "pair.txt");
    const TapsFile back = ParseTaps(j.dump());
    EXPECT_EQ(back.taps, (std::vector<double>{0.5, 0.5}));
    EXPECT_EQ(back.samplingRateHz, 8000.0);
}

}  // namespace
