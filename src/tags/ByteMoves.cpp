#include "tags/ByteMoves.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "tags/BufferedFile.h"

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

void MoveTail(BufferedFile& file, std::uint64_t start, std::uint64_t distance) {
    std::vector<std::uint8_t> chunk(kMoveChunk);
    std::uint64_t position = file.Size();
    while (position > start) {
        const std::size_t count = ChunkBelow(position - start);
        position -= count;
        ReadExactly(file, position, chunk.data(), count);
        file.Seek(position + distance);
        file.Write(chunk.data(), count);
    }
}

void DropHead(BufferedFile& file, std::uint64_t count) {
    std::vector<std::uint8_t> chunk(kMoveChunk);
    const std::uint64_t size = file.Size();
    for (std::uint64_t position = count; position < size;) {
        const std::size_t length = ChunkBelow(size - position);
        ReadExactly(file, position, chunk.data(), length);
        file.Seek(position - count);
        file.Write(chunk.data(), length);
        position += length;
    }
    file.Truncate(size - std::min(size, count));
}

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
