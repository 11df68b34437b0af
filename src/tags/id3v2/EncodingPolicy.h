#pragma once

#include <cstdint>

namespace velmora {

// The choice of a new frame's stored encoding byte from the options Use2.4 and Encoding.
struct EncodingPolicy {
    bool use24 = false;
    std::uint32_t encoding = 0;

    // With Use2.4: 1 "Save as Unicode" gives 2, 2 "Save as Unicode (with BOM)" gives 1,
    // 3 "Save as UTF-8" gives 3; otherwise, and without Use2.4, the source byte stays.
    std::uint8_t StoredFor(std::uint8_t source) const;
};

}  // namespace velmora
