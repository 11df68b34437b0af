#include "tags/FrameIdTable.h"

namespace velmora {

std::optional<std::uint8_t> LookUpFrameId(std::string_view id) {
    if (id.size() != 4)
        return std::nullopt;
    for (std::size_t i = 0; i < kFrameIdTable.size(); ++i) {
        if (kFrameIdTable[i].View() == id)
            return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

}  // namespace velmora
