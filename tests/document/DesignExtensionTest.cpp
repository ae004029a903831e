#include <gtest/gtest.h>

#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "document/DesignExtension.h"
#include "document/DocumentMessages.h"

namespace {

std::vector<RemezBand> LowpassTable()
{
    // A stop weight beyond the band dialog's 100, as a search makes it, and a
    // value single precision cannot hold.
    return {{1, 0, 1000, 1.0, 1.0}, {1, 1200, 4000, 0.1, 57501.25}};
}

struct ExtensionCase {
    const char* name;
    DesignRequest request;
    bool searched = false;
};

std::vector<ExtensionCase> Cases()
{
    std::vector<ExtensionCase> cases;
    DesignRequest q;
    q.method = LeastSquaresMethod{LowpassTable(), 20, false};
    cases.push_back({"least squares", q});
    q.method = LeastSquaresMethod{LowpassTable(), 16, true};
    cases.push_back({"least squares, minimum phase", q});
    q.method = RemezMethod{LowpassTable(), 32, RemezStart::Automatic, true, {}};
    cases.push_back({"Remez, minimum phase", q});
    q.method = RemezMethod{LowpassTable(), 16, RemezStart::Automatic, false, {ShapeKind::CicInverse, 8, 1, 4}};
    cases.push_back({"Remez, inverse CIC", q});
    q.method = RemezMethod{LowpassTable(), 16, RemezStart::Automatic, false, {ShapeKind::InverseSinc, 1, 1, 1}};
    cases.push_back({"Remez, inverse sinc", q});
    for (const PulseShape shape : {PulseShape::RaisedCosine, PulseShape::RootRaisedCosine, PulseShape::Gaussian}) {
        q.method = PulseMethod{{shape, 0.22, 0.5, 4, 6, PulseNormalisation::UnitDcGain}};
        cases.push_back({"pulse", q});
    }
    q = DesignRequest{};
    q.filterType = FilterType::Differentiator;
    q.method = SincMethod{{WindowType::Kaiser, 7.25, 40}, std::numbers::pi / 2};
    cases.push_back({"differentiator, gain pi/2", q});
    q = DesignRequest{};
    q.samplingRate = 48000;
    q.firstCorner = 2000;
    q.taps = 63;
    q.method = RemezMethod{};
    q.rateChange = RateChange{RateChangeKind::Decimate, 4, false, {}, 1.0 / 3.0};
    cases.push_back({"decimator", q});
    q.rateChange = RateChange{RateChangeKind::Interpolate, 3, true, {{BandKind::Stop, 14000.5, 18000.0, 0.0}}, 2.0};
    cases.push_back({"interpolator with stop bands", q});
    q.method = SincMethod{};
    q.rateChange = RateChange{RateChangeKind::Decimate, 2, false, {}, 1.0};
    cases.push_back({"windowed-sinc decimator", q});
    q.taps = 47;
    q.firstCorner = 10000;
    q.method = RemezMethod{};
    q.rateChange = RateChange{RateChangeKind::Halfband, 2, false, {}, 1.0};
    cases.push_back({"half-band", q});
    q = DesignRequest{};
    q.method = RemezMethod{LowpassTable(), 16, RemezStart::Automatic, false, {}};
    cases.push_back({"requirement result", q, true});
    return cases;
}

SpecRequirement Requirement()
{
    return {8000.0, {{BandKind::Pass, 0.0, 1000.0, 0.1}, {BandKind::Stop, 1200.0, 4000.0, 120.0}}};
}

// Saves a document of the form's defaults with extension after its fields.
bool SaveWith(const DesignExtension& extension, const std::filesystem::path& path)
{
    CZantroDoc doc;
    doc.m_FilPar.m_Extension = extension;
    return doc.OnSaveDocument(path, nullptr);
}

void PutWord(Bytes& b, size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        b[offset + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

using DesignExtensionFile = FormTest;

TEST(DesignExtension, OnlyWhatTheFieldsCannotHoldNeedsIt)
{
    for (const ExtensionCase& c : Cases())
        EXPECT_TRUE(NeedsExtension(c.request, c.searched)) << c.name;
    DesignRequest plain;
    EXPECT_FALSE(NeedsExtension(plain, false));
    plain.filterType = FilterType::Differentiator;
    EXPECT_FALSE(NeedsExtension(plain, false)) << "gain pi is the form's";
    plain.method = RemezMethod{LowpassTable(), 16, RemezStart::Automatic, false, {}};
    EXPECT_FALSE(NeedsExtension(plain, false));
    plain.method = DirectMethod{};
    EXPECT_FALSE(NeedsExtension(plain, false));
    EXPECT_TRUE(NeedsExtension(plain, true));
}

TEST_F(DesignExtensionFile, EveryKindComesBackExactlyAfterTheUnchangedFields)
{
    CZantroDoc plain;
    ASSERT_TRUE(plain.OnSaveDocument(Path("plain.fir"), nullptr));
    const Bytes fields = ReadBytes(Path("plain.fir"));
    for (const ExtensionCase& c : Cases()) {
        DesignExtension e{c.request, std::nullopt};
        if (c.searched)
            e.requirement = Requirement();
        ASSERT_TRUE(SaveWith(e, Path("x.fir"))) << c.name;
        const Bytes bytes = ReadBytes(Path("x.fir"));
        ASSERT_GT(bytes.size(), fields.size() + 12) << c.name;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(fields.size())), fields) << c.name;
        EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(fields.size()),
                              bytes.begin() + static_cast<long>(fields.size()) + 4),
                  "ZNTX");
        CZantroDoc reader;
        ASSERT_TRUE(reader.OnOpenDocument(Path("x.fir"), &view)) << c.name;
        ASSERT_TRUE(reader.m_FilPar.m_Extension.has_value()) << c.name;
        EXPECT_TRUE(*reader.m_FilPar.m_Extension == e) << c.name;
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DesignExtensionFile, AnUnknownRecordIsSkipped)
{
    const DesignExtension e{Cases()[0].request, Requirement()};
    ASSERT_TRUE(SaveWith(e, Path("x.fir")));
    Bytes bytes = ReadBytes(Path("x.fir"));
    CZantroDoc plain;
    ASSERT_TRUE(plain.OnSaveDocument(Path("plain.fir"), nullptr));
    const size_t block = ReadBytes(Path("plain.fir")).size();
    // A record of tag 99 with 6 bytes first, then the block's own records.
    const Bytes unknown{99, 0, 0, 0, 6, 0, 0, 0, 1, 2, 3, 4, 5, 6};
    bytes.insert(bytes.begin() + static_cast<long>(block + 12), unknown.begin(), unknown.end());
    std::uint32_t length = 0;
    std::memcpy(&length, bytes.data() + block + 8, 4);
    PutWord(bytes, block + 8, length + static_cast<std::uint32_t>(unknown.size()));
    // A newer version is read by the same records.
    PutWord(bytes, block + 4, 2);
    WriteBytes(Path("newer.fir"), bytes);
    CZantroDoc reader;
    ASSERT_TRUE(reader.OnOpenDocument(Path("newer.fir"), &view));
    ASSERT_TRUE(reader.m_FilPar.m_Extension.has_value());
    EXPECT_TRUE(*reader.m_FilPar.m_Extension == e);
}

TEST_F(DesignExtensionFile, ADamagedBlockIsAnUnexpectedFormat)
{
    const DesignExtension e{Cases()[1].request, Requirement()};
    ASSERT_TRUE(SaveWith(e, Path("x.fir")));
    const Bytes whole = ReadBytes(Path("x.fir"));
    CZantroDoc plain;
    ASSERT_TRUE(plain.OnSaveDocument(Path("plain.fir"), nullptr));
    const size_t block = ReadBytes(Path("plain.fir")).size();

    std::vector<Bytes> damaged;
    // Cut anywhere after the magic word.
    for (size_t length = block + 4; length < whole.size(); ++length)
        damaged.emplace_back(whole.begin(), whole.begin() + static_cast<long>(length));
    // A record longer than the block, and a method index outside the list.
    Bytes longRecord = whole;
    PutWord(longRecord, block + 16, 100000);
    damaged.push_back(longRecord);
    Bytes badMethod = whole;
    PutWord(badMethod, block + 12 + 8 + 5 * 4 + 4 + 8 + 4, 9);
    damaged.push_back(badMethod);
    for (size_t i = 0; i < damaged.size(); ++i) {
        WriteBytes(Path("bad.fir"), damaged[i]);
        host.ClearMessages();
        CZantroDoc reader;
        EXPECT_FALSE(reader.OnOpenDocument(Path("bad.fir"), &view)) << i;
        EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgUnexpectedFormat}) << i;
    }
    // Bytes after the fields that are not the block are not read, as before it.
    Bytes other(whole.begin(), whole.begin() + static_cast<long>(block));
    for (const unsigned char c : std::string("other bytes"))
        other.push_back(c);
    WriteBytes(Path("other.fir"), other);
    CZantroDoc reader;
    host.ClearMessages();
    EXPECT_TRUE(reader.OnOpenDocument(Path("other.fir"), &view));
    EXPECT_FALSE(reader.m_FilPar.m_Extension.has_value());
    EXPECT_TRUE(host.Messages().empty());
}
