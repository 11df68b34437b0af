#include <gtest/gtest.h>

#include <string>

#include "tags/id3v2/FieldList.h"

namespace velmora {
namespace {

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
