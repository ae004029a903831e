#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/CArchive.h"

// As the document tests' support names them.
using Bytes = std::vector<unsigned char>;

namespace {

Bytes Store(const std::function<void(CArchive&)>& write)
{
    std::FILE* f = std::tmpfile();
    {
        CArchive ar(CArchive::store, f);
        write(ar);
        EXPECT_FALSE(ar.IsFailed());
    }
    std::fflush(f);
    long size = std::ftell(f);
    std::rewind(f);
    Bytes bytes(static_cast<size_t>(size));
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
    return bytes;
}

// Runs read over an archive loading bytes; returns the archive's state.
struct LoadResult {
    bool failed;
    bool formatError;
};
LoadResult Load(const Bytes& bytes, const std::function<void(CArchive&)>& read)
{
    std::FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    CArchive ar(CArchive::load, f, bytes.size());
    read(ar);
    LoadResult r{ar.IsFailed(), ar.IsFormatError()};
    std::fclose(f);
    return r;
}

}  // namespace

TEST(Archive, StringLengthPrefixesGrowAtTheirThresholds)
{
    struct Case {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {7, {0x07}},
        {254, {0xfe}},
        {255, {0xff, 0xff, 0x00}},
        {65533, {0xff, 0xfd, 0xff}},
        {65534, {0xff, 0xff, 0xff, 0xfe, 0xff, 0x00, 0x00}},
        {70000, {0xff, 0xff, 0xff, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        Bytes b = Store([&](CArchive& ar) { ar.WriteString(text); });
        ASSERT_EQ(b.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<long>(c.prefix.size())), c.prefix) << c.length;
        std::string back;
        LoadResult r = Load(b, [&](CArchive& ar) { back = ar.ReadString(); });
        EXPECT_FALSE(r.failed);
        EXPECT_EQ(back, text);
    }
}

TEST(Archive, WideStringTagIsReadAsUtf16AndConverted)
{
    // 0xff 0xfffe, then "Fé€" as three UTF-16 units.
    Bytes wide = {0xff, 0xfe, 0xff, 0x03, 'F', 0x00, 0xe9, 0x00, 0xac, 0x20, 0x05, 0x00, 0x00, 0x00};
    std::string text;
    int after = 0;
    LoadResult r = Load(wide, [&](CArchive& ar) {
        text = ar.ReadString();
        after = ar.ReadInt32();
    });
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(text, "F\xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(after, 5);

    // The second prefix of a wide string uses the same scheme: 0xff, then 16 bits.
    Bytes longWide = {0xff, 0xfe, 0xff, 0xff, 0x2c, 0x01};
    for (int i = 0; i < 300; ++i) {
        longWide.push_back('a');
        longWide.push_back(0);
    }
    r = Load(longWide, [&](CArchive& ar) { text = ar.ReadString(); });
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(text, std::string(300, 'a'));

    // A surrogate pair is one character; a lone surrogate has no narrow form.
    Bytes pairs = {0xff, 0xfe, 0xff, 0x03, 0x3d, 0xd8, 0x00, 0xde, 0x00, 0xd8};
    r = Load(pairs, [&](CArchive& ar) { text = ar.ReadString(); });
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(text, "\xf0\x9f\x98\x80?");
}

TEST(Archive, LengthsBeyondTheFileFailWithoutReading)
{
    // Every one of these claims more characters than the file holds.
    const Bytes hostile[] = {
        {0x05, 'a', 'b'},
        {0xff, 0x00, 0x10, 'a'},
        {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f},
        {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x3f},
        {0xff, 0xfe, 0xff, 0x02, 'a', 0x00, 'b'},
        {0xff, 0xfe, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f},
        {0xff, 0xff},
    };
    for (const Bytes& b : hostile) {
        std::string text = "untouched";
        LoadResult r = Load(b, [&](CArchive& ar) { text = ar.ReadString(); });
        EXPECT_TRUE(r.failed);
        EXPECT_TRUE(r.formatError);
        EXPECT_EQ(text, "");
    }
}
