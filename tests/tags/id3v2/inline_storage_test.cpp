#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "tags/id3v2/FieldList.h"
#include "tags/id3v2/InlineBytes.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// `n` bytes counting up from `first`.
Bytes Counting(std::size_t n, std::uint8_t first = 1) {
    Bytes bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

Bytes Held(const InlineBytes& bytes) {
    return Bytes(bytes.Span().begin(), bytes.Span().end());
}

// Sizes on both sides of the inline capacity, each reassigned to each and to a part of its own
// bytes: the storage changes between the object and the heap without losing or leaking bytes.
TEST(InlineBytes, KeepsBytesAcrossEveryChangeOfStorage) {
    const std::size_t sizes[] = {
        0, 1, InlineBytes::kInlineCapacity, InlineBytes::kInlineCapacity + 1, 100, 1000};
    for (std::size_t from : sizes) {
        for (std::size_t to : sizes) {
            InlineBytes bytes(Counting(from));
            EXPECT_EQ(Held(bytes), Counting(from));
            bytes.Assign(Counting(to));
            EXPECT_EQ(Held(bytes), Counting(to));
        }
        InlineBytes bytes(Counting(from));
        const std::size_t part = std::min<std::size_t>(from / 2, 40);
        bytes.Assign(bytes.Span().subspan(from - part - (from > 0), part));
        EXPECT_EQ(Held(bytes), Counting(part, std::uint8_t(from - part))) << from;
    }
}

TEST(FieldList, KeepsOrderPastTheInlineFieldsAndRemovesFromAnyPlace) {
    auto field = [](std::uint8_t byte) {
        return std::make_unique<FrameField>(FieldKind::Binary, std::span(&byte, 1));
    };
    auto bytes = [](const FieldList& list) {
        std::string out;
        for (std::size_t i = 0; list.At(i); ++i)
            out += char('0' + list.At(i)->Bytes()[0]);
        return out + "/" + std::to_string(list.Size());
    };
    for (std::size_t removeAt = 0; removeAt <= 7; ++removeAt) {
        FieldList list;
        for (std::uint8_t i = 0; i < 6; ++i)
            list.Push(field(i));
        EXPECT_EQ(bytes(list), "012345/6");
        list.RemoveFrom(removeAt);
        list.Push(field(9));  // the list grows again after a removal
        const std::size_t left = std::min<std::size_t>(removeAt, 6);
        EXPECT_EQ(bytes(list),
                  std::string("012345").substr(0, left) + "9/" + std::to_string(left + 1));
    }
}

}  // namespace
}  // namespace velmora
