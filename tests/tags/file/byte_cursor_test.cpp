#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tags/file/ByteCursor.h"

namespace velmora {
namespace {

// A synchsafe number ignores the high bits; a read past the end fails as a value that says
// what and where, and leaves the cursor where it was, so a reader may try another reading of
// the same bytes. (The other number forms: the tag and frame sizes every reader case reads.)
TEST(ByteCursor, ReadsInRangeAndFailsAsAValueSayingWhereOutside) {
    const std::vector<std::uint8_t> bytes = {0xAA, 0xBB, 0x01, 0x02, 0x83, 0x04};
    ByteCursor synchsafe(bytes, "test bytes");
    ASSERT_TRUE(synchsafe.Take(2));
    EXPECT_EQ(synchsafe.TakeSynchsafe32().AsOptional(), (1u << 21) | (2u << 14) | (3u << 7) | 4u);
    ByteCursor cursor(bytes, "test bytes");
    ASSERT_TRUE(cursor.Take(3));
    auto tooFar = cursor.TakeBigEndian32();
    ASSERT_FALSE(tooFar);
    EXPECT_EQ(tooFar.Failure().Describe(), "reading test bytes: wanted 4 bytes at offset 3 of 6");
    EXPECT_EQ(cursor.Consumed(), 3u);
    EXPECT_FALSE(cursor.TakeMatching("\x02\x83\x05"));
    EXPECT_TRUE(cursor.TakeMatching("\x02\x83"));
    EXPECT_EQ(cursor.Left(), 1u);
    EXPECT_FALSE(cursor.Peek(2));
    EXPECT_EQ(cursor.TakeRest().size(), 1u);
    EXPECT_TRUE(cursor.AtEnd());
    EXPECT_FALSE(cursor.TakeByte());
}

}  // namespace
}  // namespace velmora
