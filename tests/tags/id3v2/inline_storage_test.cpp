#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "tags/id3v2/FieldList.h"
#include "tags/id3v2/InlineBytes.h"

namespace velmora {
namespace {

std::vector<std::uint8_t> Counting(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

void ExpectHolds(const InlineBytes& bytes, const std::vector<std::uint8_t>& expected) {
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.Span().begin(), bytes.Span().end()), expected);
}

// Sizes on both sides of the inline capacity, each reassigned to each: the storage changes
// between the object and the heap without losing or leaking bytes.
TEST(InlineBytes, KeepsBytesAcrossEveryChangeOfStorage) {
    const std::size_t sizes[] = {0, 1, InlineBytes::kInlineCapacity,
                                 InlineBytes::kInlineCapacity + 1, 1000};
    for (std::size_t from : sizes) {
        for (std::size_t to : sizes) {
            InlineBytes bytes(Counting(from));
            ExpectHolds(bytes, Counting(from));
            bytes.Assign(Counting(to));
            ExpectHolds(bytes, Counting(to));
        }
    }
}

TEST(InlineBytes, TakesAPartOfItsOwnBytes) {
    for (std::size_t size : {InlineBytes::kInlineCapacity, std::size_t{100}}) {
        InlineBytes bytes(Counting(size));
        bytes.Assign(bytes.Span().subspan(1, 3));
        ExpectHolds(bytes, {2, 3, 4});
    }
    InlineBytes large(Counting(100));
    large.Assign(large.Span().subspan(10, 40));
    const auto counted = Counting(50);
    ExpectHolds(large, std::vector<std::uint8_t>(counted.begin() + 10, counted.end()));
}

TEST(FieldList, KeepsOrderPastTheInlineFieldsAndRemovesFromAnyPlace) {
    for (std::size_t removeAt = 0; removeAt <= 7; ++removeAt) {
        FieldList list;
        std::vector<FrameField*> pushed;
        for (std::uint8_t i = 0; i < 6; ++i) {
            auto field = std::make_unique<FrameField>(FieldKind::Binary,
                                                      std::span<const std::uint8_t>(&i, 1));
            pushed.push_back(field.get());
            list.Push(std::move(field));
        }
        ASSERT_EQ(list.Size(), 6u);
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(list.At(i), pushed[i]);
        EXPECT_EQ(list.At(6), nullptr);
        list.RemoveFrom(removeAt);
        const std::size_t left = std::min<std::size_t>(removeAt, 6);
        ASSERT_EQ(list.Size(), left) << removeAt;
        EXPECT_EQ(list.At(left), nullptr);
        for (std::size_t i = 0; i < left; ++i)
            EXPECT_EQ(list.At(i)->Bytes()[0], i);
        // The list grows again after a removal.
        std::uint8_t more = 9;
        list.Push(std::make_unique<FrameField>(FieldKind::Binary,
                                               std::span<const std::uint8_t>(&more, 1)));
        EXPECT_EQ(list.At(left)->Bytes()[0], 9);
    }
}

}  // namespace
}  // namespace velmora
