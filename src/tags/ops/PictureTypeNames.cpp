#include "tags/ops/PictureTypeNames.h"

namespace velmora {

std::uint8_t PictureTypeIndex(std::u16string_view name) {
    for (std::size_t i = 0; i < kPictureTypeNames.size(); ++i) {
        if (kPictureTypeNames[i] == name)
            return static_cast<std::uint8_t>(i);
    }
    return 0;
}

}  // namespace velmora
