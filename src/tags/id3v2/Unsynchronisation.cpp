#include "tags/id3v2/Unsynchronisation.h"

namespace velmora {

void UndoUnsynchronisation(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out.push_back(in[i]);
        if (in[i] == 0xFF && i + 1 < in.size() && in[i + 1] == 0x00)
            ++i;
    }
}

}  // namespace velmora
