#include "tags/id3v2/EncodingPolicy.h"

namespace velmora {

std::uint8_t EncodingPolicy::StoredFor(std::uint8_t source) const {
    if (!use24)
        return source;
    switch (encoding) {
        case 1:
            return 2;
        case 2:
            return 1;
        case 3:
            return 3;
        default:
            return source;
    }
}

}  // namespace velmora
