#include "tags/id3v2/StoredBody.h"

#include <algorithm>
#include <cerrno>

#include "tags/file/BufferedFile.h"
#include "tags/file/FileException.h"
#include "tags/id3v2/BoundedInflate.h"
#include "tags/id3v2/Unsynchronisation.h"

namespace velmora {

namespace {

// The file holds other bytes than the load found: never hand them on as the body.
[[noreturn]] void NotAsLoaded() {
    throw CFileExceptionEx(CFileExceptionEx::Cause::EndOfFile, EIO, u"");
}

}  // namespace

std::vector<std::uint8_t> ReadStoredBody(BufferedFile& file, const StoredBody& body) {
    if (body.held)
        return *body.held;
    std::vector<std::uint8_t> stored(body.storedLength);
    file.Seek(body.offset);
    if (file.Read(stored.data(), stored.size()) != stored.size())
        NotAsLoaded();
    if (body.unsynchronised) {
        std::vector<std::uint8_t> plain;
        UndoUnsynchronisation(stored, plain);
        stored.swap(plain);
    }
    if (body.compressed) {
        auto inflated = InflateBounded(stored);
        if (!inflated)
            NotAsLoaded();
        stored.swap(*inflated);
    }
    if (stored.size() != std::uint64_t{body.skip} + body.length)
        NotAsLoaded();
    if (body.skip == 0 && stored.size() == body.length)
        return stored;
    return {stored.begin() + body.skip, stored.begin() + body.skip + body.length};
}

void ReadStoredBodyInto(BufferedFile& file, const StoredBody& body, std::span<std::uint8_t> out) {
    if (out.size() != body.length)
        NotAsLoaded();
    const bool plain = !body.held && !body.unsynchronised && !body.compressed && body.skip == 0 &&
                       body.storedLength == body.length;
    if (!plain) {
        const std::vector<std::uint8_t> bytes = ReadStoredBody(file, body);
        std::copy(bytes.begin(), bytes.end(), out.begin());
        return;
    }
    file.Seek(body.offset);
    if (file.Read(out.data(), out.size()) != out.size())
        NotAsLoaded();
}

}  // namespace velmora
