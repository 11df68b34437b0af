#pragma once

#include <cstdint>

#include "tags/id3v2/EncodingPolicy.h"

namespace velmora {

// The user's choices the tag engine follows, handed in by value: the caller reads them from
// wherever it keeps them, so the engine depends on no settings store.
struct TagOptions {
    // Tags are written as ID3v2.4 (else ID3v2.3), and new frames take their encoding from it.
    EncodingPolicy encoding;
    // An ID3v1 tag written empty is removed from the file instead.
    bool autoDeleteV1 = false;

    std::uint8_t Id3v2Version() const { return encoding.use24 ? 4 : 3; }
};

}  // namespace velmora
