#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/BoundedInflate.h"
#include "tags/ByteCursor.h"
#include "tags/Id3v22Frames.h"
#include "tags/ScratchBuffer.h"
#include "tags/Unsynchronisation.h"

namespace velmora {
namespace {

using namespace testing;

TEST(Id3v2HeaderTest, SizesAndFlags) {
    Id3v2Header header;
    EXPECT_FALSE(header.Accept(B("TAG0000000")));
    ASSERT_TRUE(header.Accept(Bytes{'I', 'D', '3', 4, 0, 0x50, 0x00, 0x00, 0x01, 0x48}));
    EXPECT_EQ(header.TagSize(), 200u);
    EXPECT_TRUE(header.HasExtendedHeader());
    EXPECT_TRUE(header.HasFooter());
    EXPECT_TRUE(header.HasSynchsafeSize());
    header.SetTagSize(0x0FFFFFFF + 2);  // bits above 27 dropped
    EXPECT_EQ(header.TagSize(), 1u);
    EXPECT_EQ(Id3v2Header::MakeDefault(3).Bytes(),
              (std::array<std::uint8_t, 10>{'I', 'D', '3', 3}));
    ASSERT_TRUE(header.Accept(Bytes{'I', 'D', '3', 3, 0, 0x10, 0x00, 0x00, 0x80, 0x00}));
    EXPECT_FALSE(header.HasSynchsafeSize());
    EXPECT_FALSE(header.HasFooter());  // 0x10 means a footer in ID3v2.4 only
}

TEST(ByteCursorTest, TakesWithinBoundsAndSaysWhereItFailed) {
    Bytes bytes = {1, 2, 3, 4, 5};
    ByteCursor cursor(bytes, "test bytes");
    EXPECT_EQ(cursor.Take(0).data(), bytes.data());
    EXPECT_EQ(cursor.TakeByte(), 1);
    EXPECT_EQ(cursor.Consumed(), 1u);
    try {
        cursor.Take(5);
        FAIL() << "no range error";
    } catch (const CursorRangeError& error) {
        EXPECT_STREQ(error.what(), "reading test bytes: wanted 5 bytes at offset 1 of 5");
    }
    EXPECT_EQ(cursor.Left(), 4u);  // a failed take changes nothing
    EXPECT_EQ(cursor.TakeBigEndian32(), 0x02030405u);
    EXPECT_TRUE(cursor.AtEnd());
    cursor.Clear();
    EXPECT_THROW(cursor.TakeByte(), CursorRangeError);
}

TEST(ScratchBufferTest, GrowsToTwiceTheRequestAndNeverShrinks) {
    ScratchBuffer buffer;
    EXPECT_EQ(buffer.Request(10).size(), 10u);
    EXPECT_EQ(buffer.Capacity(), 20u);
    auto* memory = buffer.Request(20).data();
    EXPECT_EQ(buffer.Request(5).data(), memory);
    EXPECT_EQ(buffer.Capacity(), 20u);
    buffer.Request(21);
    EXPECT_EQ(buffer.Capacity(), 42u);
}

TEST(UnsynchronisationTest, UndoesStuffedZeros) {
    Bytes out;
    UndoUnsynchronisation(Bytes{0xFF, 0x00, 0xE0, 0xFF, 0x00, 0x00, 0xFF}, out);
    EXPECT_EQ(out, (Bytes{0xFF, 0xE0, 0xFF, 0x00, 0xFF}));
}

TEST(BoundedInflateTest, RefusesDamagedStreams) {
    EXPECT_FALSE(InflateBounded(B("not zlib at all")).has_value());
    EXPECT_FALSE(InflateBounded({}).has_value());
}

TEST(Id3v22FramesTest, IdsAndPictureFormats) {
    EXPECT_EQ(ConvertId3v22FrameId("TT2"), FrameId("TIT2"));
    EXPECT_EQ(ConvertId3v22FrameId("PIC"), FrameId("APIC"));
    EXPECT_EQ(ConvertId3v22FrameId("XYZ"), std::nullopt);
    for (const auto& mapping : kId3v22Frames)
        EXPECT_EQ(mapping.v22.size(), 3u);
    EXPECT_EQ(ConvertPicBody(Cat({{0}, B("JPG"), {3}, {0}, B("data")})),
              Cat({{0}, B("image/jpeg"), {0}, {3}, {0}, B("data")}));
    EXPECT_EQ(ConvertPicBody(Cat({{0}, B("PNG")})), std::nullopt);
}

}  // namespace
}  // namespace velmora
