#include "tags/file/ByteMoves.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "tags/file/BufferedFile.h"

namespace velmora {

namespace {

std::size_t ChunkBelow(std::uint64_t left) {
    return static_cast<std::size_t>(std::min<std::uint64_t>(left, kMoveChunk));
}

// Reads exactly `count` bytes at `offset`; a file that ends early is an error here, since
// the sizes were measured before.
void ReadExactly(BufferedFile& file, std::uint64_t offset, std::uint8_t* buffer,
                 std::size_t count) {
    file.Seek(offset);
    if (file.Read(buffer, count) != count) {
        throw CFileExceptionEx(CFileExceptionEx::Cause::EndOfFile, EIO, u"");
    }
}

}  // namespace

void CopyRange(BufferedFile& from, std::uint64_t offset, std::uint64_t count, BufferedFile& to) {
    std::vector<std::uint8_t> chunk(ChunkBelow(count));
    while (count > 0) {
        const std::size_t length = ChunkBelow(count);
        ReadExactly(from, offset, chunk.data(), length);
        to.Write(chunk.data(), length);
        offset += length;
        count -= length;
    }
}

}  // namespace velmora
