#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

class BufferedFile;

// Bytes are moved and copied in chunks of this size.
inline constexpr std::size_t kMoveChunk = 131072;

// Moves the bytes from `start` to the end of the file back by `distance`, working from the
// end towards `start`; the gap [start, start + distance) is left for the caller to fill.
// Works in the file itself, so an interruption leaves it inconsistent: only for when no
// replacement file can be made.
void MoveTail(BufferedFile& file, std::uint64_t start, std::uint64_t distance);

// Moves the bytes from `count` to the end to the front and cuts the file `count` bytes
// shorter. In place, like MoveTail.
void DropHead(BufferedFile& file, std::uint64_t count);

// Appends `count` bytes of `from`, starting at `offset`, to `to` at its current position.
// A source that ends early throws CFileExceptionEx (end of file).
void CopyRange(BufferedFile& from, std::uint64_t offset, std::uint64_t count, BufferedFile& to);

}  // namespace velmora
