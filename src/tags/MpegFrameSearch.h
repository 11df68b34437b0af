#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tags/MpegByteSource.h"
#include "tags/MpegHeader.h"

namespace velmora {

inline constexpr std::size_t kMpegSearchChunk = 32768;

struct MpegFirstFrame {
    std::uint64_t offset = 0;  // from the start of the region
    MpegHeader header;
    std::vector<std::uint8_t> bytes;  // the frame, header first, as far as the region holds it
};

// Finds the first header that passes the header test and is confirmed by a header of the same
// stream at its frame length, or whose frame ends exactly where the region ends. Reads the
// source once, in chunks of kMpegSearchChunk bytes; the bytes a candidate near a chunk's end
// still needs (one frame and a header) are kept for the next round, never read again.
std::optional<MpegFirstFrame> FindFirstMpegFrame(MpegByteSource& source);

}  // namespace velmora
