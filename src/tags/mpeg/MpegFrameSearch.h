#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "tags/file/ScratchBuffer.h"
#include "tags/mpeg/MpegByteSource.h"
#include "tags/mpeg/MpegHeader.h"

namespace velmora {

inline constexpr std::size_t kMpegSearchChunk = 32768;
// Nearly every stream starts right after the tag, so the first read covers only this many
// candidate offsets (plus one frame and a header to confirm them); a search that has to go
// further reads whole chunks from then on.
inline constexpr std::size_t kMpegFirstRead = 8192;

// A stream starts within this many bytes of the region or not at all: peers give up there too
// (mutagen after 1 MiB), and a large file of something else (gigabytes of zeros named .mp3) is
// refused at once instead of read whole.
inline constexpr std::uint64_t kMpegSearchLimit = std::uint64_t{1} << 20;

struct MpegFirstFrame {
    std::uint64_t offset = 0;  // from the start of the region
    MpegHeader header;
    // The frame, header first, as far as the region holds it; it lies in the search window
    // and is valid until that is used again.
    std::span<const std::uint8_t> bytes;
};

// Finds the first header that passes the header test and is confirmed by a header of the same
// stream at its frame length, or whose frame ends exactly where the region ends, at an offset
// below kMpegSearchLimit. Reads the
// source once: a first small read (kMpegFirstRead), then chunks of
// kMpegSearchChunk bytes; the bytes a candidate near a chunk's end
// still needs (one frame and a header) are kept for the next round, never read again.
// `window` is the search memory; a loader passes the same one for every file.
std::optional<MpegFirstFrame> FindFirstMpegFrame(MpegByteSource& source, ScratchBuffer& window);

}  // namespace velmora
