#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tags/file/ByteCursor.h"

namespace velmora {
namespace {

// Numbers in each form from the middle of a buffer; then a read past the end fails as a value
// that says what and where, and leaves the cursor where it was, so a reader may try another
// reading of the same bytes.
TEST(ByteCursor, ReadsInRangeAndFailsAsAValueSayingWhereOutside) {
    const std::vector<std::uint8_t> bytes = {0xAA, 0xBB, 0x01, 0x02, 0x83, 0x04};
    struct Row {
        const char* name;
        CursorResult<std::uint32_t> (ByteCursor::*read)();
        std::uint32_t value;
    };
    const Row rows[] = {
        {"big-endian 24 bits", &ByteCursor::TakeBigEndian24, 0x010283},
        {"big-endian 32 bits", &ByteCursor::TakeBigEndian32, 0x01028304},
        {"little-endian 32 bits", &ByteCursor::TakeLittleEndian32, 0x04830201},
        {"synchsafe ignores high bits", &ByteCursor::TakeSynchsafe32,
         (1u << 21) | (2u << 14) | (3u << 7) | 4u},
    };
    for (const Row& row : rows) {
        ByteCursor cursor(bytes, "test bytes");
        ASSERT_TRUE(cursor.Take(2));
        auto value = (cursor.*row.read)();
        ASSERT_TRUE(value) << row.name;
        EXPECT_EQ(*value, row.value) << row.name;
    }
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
