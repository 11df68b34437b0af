#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/BoundedInflate.h"
#include "tags/ByteCursor.h"
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
    header.SetTagSize(0x0FFFFFFF + 2);  // bits above 27 dropped
    EXPECT_EQ(header.TagSize(), 1u);
    ASSERT_TRUE(header.Accept(Bytes{'I', 'D', '3', 3, 0, 0x10, 0x00, 0x00, 0x80, 0x00}));
    EXPECT_FALSE(header.HasFooter());  // 0x10 means a footer in ID3v2.4 only
}

TEST(ByteCursorTest, TakesWithinBoundsAndSaysWhereItFailed) {
    Bytes bytes = {1, 2, 3, 4, 5};
    ByteCursor cursor(bytes, "test bytes");
    EXPECT_EQ(cursor.TakeByte(), 1);
    try {
        cursor.Take(5);
        FAIL() << "no range error";
    } catch (const CursorRangeError& error) {
        EXPECT_STREQ(error.what(), "reading test bytes: wanted 5 bytes at offset 1 of 5");
    }
    EXPECT_EQ(cursor.TakeBigEndian32(), 0x02030405u);  // a failed take changes nothing
    EXPECT_THROW(cursor.TakeByte(), CursorRangeError);
}

TEST(FrameDecodingTest, UndoesStuffedZerosAndRefusesDamagedZlib) {
    Bytes out;
    UndoUnsynchronisation(Bytes{0xFF, 0x00, 0xE0, 0xFF, 0x00, 0x00, 0xFF}, out);
    EXPECT_EQ(out, (Bytes{0xFF, 0xE0, 0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(InflateBounded(B("not zlib at all")).has_value());
}

}  // namespace
}  // namespace velmora
