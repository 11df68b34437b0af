#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace velmora {

class BufferedFile;

// A frame's last field that the load left in the file (picture data, a large binary or
// unknown body): where its bytes lie and how they are stored there. Shared by every copy of
// the field (the edit journal's), so that a save that moves the bytes moves them for all.
struct StoredBody {
    std::uint64_t offset = 0;        // of the first stored byte in the file
    std::uint32_t storedLength = 0;  // bytes the file holds
    bool unsynchronised = false;     // ID3v2.4 unsynchronisation to undo first
    bool compressed = false;         // then a zlib stream to inflate
    std::uint32_t skip = 0;          // decoded bytes in front of the field's own
    std::uint32_t length = 0;        // the field's bytes
    // Set when the file stopped holding the bytes (a save that did not write them): they
    // were read before that and are kept here.
    std::unique_ptr<std::vector<std::uint8_t>> held;

    // After a save that wrote the bytes plainly at `at`.
    void MoveTo(std::uint64_t at) {
        offset = at;
        storedLength = length;
        unsynchronised = false;
        compressed = false;
        skip = 0;
    }
};

// The bytes of the body from the open file (or those it holds): decoded, exactly `length` of
// them. Throws CFileExceptionEx when the file does not hold them as the load found them.
std::vector<std::uint8_t> ReadStoredBody(BufferedFile& file, const StoredBody& body);
// The same bytes into `out` (exactly `length` of them): a body stored plainly is read
// straight there, so a save does not hold a cover twice. Throws as ReadStoredBody.
void ReadStoredBodyInto(BufferedFile& file, const StoredBody& body, std::span<std::uint8_t> out);

// Reads bodies left in a file: a record, through its file as loaded.
class StoredBodySource {
  public:
    virtual ~StoredBodySource() = default;
    // Throws CFileExceptionEx when the bytes cannot be had.
    virtual std::vector<std::uint8_t> ReadBody(const StoredBody& body) const = 0;
};

// Where a body left in the file goes in serialised frames.
struct StoredSplice {
    std::size_t at = 0;
    std::shared_ptr<StoredBody> body;
};

// The bodies a record's load left in its file, as the record's fields and their copies hold
// them; a save keeps in memory those the new file will not hold.
using StoredBodies = std::vector<std::weak_ptr<StoredBody>>;

}  // namespace velmora
