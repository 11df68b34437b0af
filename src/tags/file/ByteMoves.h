#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

class BufferedFile;

// Bytes are copied in chunks of this size.
inline constexpr std::size_t kMoveChunk = 131072;

// Appends `count` bytes of `from`, starting at `offset`, to `to` at its current position.
// A source that ends early throws CFileExceptionEx (end of file).
void CopyRange(BufferedFile& from, std::uint64_t offset, std::uint64_t count, BufferedFile& to);

}  // namespace velmora
