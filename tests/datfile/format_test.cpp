#include "datfile/format.h"

#include <gtest/gtest.h>

using namespace plv::dat;

namespace {

std::string prefixOf(std::uint32_t n) {
    ByteWriter w;
    w.PutCount(n);
    return w.data();
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

} // namespace

TEST(Format, LengthPrefixesTakeTheShortestWidthAndReadBack) {
    EXPECT_EQ(prefixOf(254), bytes({254}));
    EXPECT_EQ(prefixOf(255), bytes({255, 255, 0}));
    EXPECT_EQ(prefixOf(65533), bytes({255, 253, 255}));
    EXPECT_EQ(prefixOf(65534), bytes({255, 255, 255, 254, 255, 0, 0}));
    EXPECT_EQ(prefixOf(65535), bytes({255, 255, 255, 255, 255, 0, 0}));
    for (std::uint32_t n : {0u, 1u, 254u, 255u, 256u, 65533u, 65534u, 65535u, 70000u}) {
        ByteWriter w;
        w.PutCountedString(std::string(n, 'x'));
        ByteReader r(w.data(), 1);
        EXPECT_EQ(r.countedString().size(), n);
        EXPECT_TRUE(r.atEnd()) << n;
        EXPECT_EQ(countPrefixSize(n), w.size() - n);
    }
    // The reader also takes the three-byte form of 65534.
    std::string image = bytes({255, 254, 255}) + std::string(65534, 'a');
    EXPECT_EQ(ByteReader(image, 1).countedString().size(), 65534u);
}

TEST(Format, ReadsThatLeaveTheFileThrowInsteadOfReading) {
    // Each image outlives its reader: the reader only views the bytes.
    const std::string shortImage = bytes({5, 'a', 'b'});
    ByteReader shortString(shortImage, 1);
    EXPECT_THROW(shortString.countedString(), FormatError);
    const std::string cutPrefixImage = bytes({255, 3});
    ByteReader cutPrefix(cutPrefixImage, 1);
    EXPECT_THROW(cutPrefix.countedString(), FormatError);
    const std::string hugeImage = bytes({255, 255, 255, 0, 0, 0, 0x80});
    ByteReader huge(hugeImage, 1);
    EXPECT_THROW(huge.countedString(), FormatError);
    const std::string cutLongImage = bytes({1, 2, 3});
    ByteReader cutLong(cutLongImage, 1);
    EXPECT_THROW(cutLong.longValue(), FormatError);
    ByteReader empty("", 1);
    EXPECT_THROW(empty.byte(), FormatError);
    const std::string countImage = bytes({0, 0, 0});
    ByteReader count(countImage, 1);
    EXPECT_THROW(count.checkCount(4, 1), FormatError);
    EXPECT_NO_THROW(count.checkCount(3, 1));
}

TEST(Format, WriteSwitchSilencesEveryPrimitive) {
    ByteWriter w;
    w.writeSwitch = false;
    w.PutCount(300);
    w.PutCountedString("abc");
    w.PutLong(7);
    w.PutByte(1);
    EXPECT_EQ(w.size(), 0u);
    w.writeSwitch = true;
    w.PutLong(0x01020304);
    EXPECT_EQ(w.data(), bytes({4, 3, 2, 1}));
}

TEST(Format, HeaderTemplateAndVersionTables) {
    std::string h = headerTemplate(Layout::V89, 7, 300);
    EXPECT_EQ(h, bytes({'L', 'H', 'S', 'P', 6, 2, 135, 0, 0, 0, 0, 0, 0, 0, 0, 7, 4, 44, 1, 0, 0}));
    EXPECT_EQ(versionName(Layout::V7), "7.x");
    EXPECT_EQ(formatVersionString(Layout::V7), "7.0");
    EXPECT_EQ(layoutFromCode(2), std::nullopt);
    EXPECT_EQ(layoutFromVersionName("10/11"), Layout::V1011);
    EXPECT_EQ(languageName(19), "Dutch");
    EXPECT_EQ(languageName(8), "Unknown");
}
