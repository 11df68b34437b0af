#include "tags/file/ByteCursor.h"

#include <algorithm>

namespace velmora {

std::string ShortRead::Describe() const {
    return std::string("reading ") + what + ": wanted " + std::to_string(wanted) +
           " bytes at offset " + std::to_string(offset) + " of " + std::to_string(size);
}

bool ByteCursor::TakeMatching(std::string_view text) {
    auto bytes = Peek(text.size());
    if (!bytes || !std::equal(text.begin(), text.end(), bytes->begin(), [](char c, std::uint8_t b) {
            return static_cast<std::uint8_t>(c) == b;
        }))
        return false;
    position_ += text.size();
    return true;
}

}  // namespace velmora
