#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameId.h"
#include "tags/id3v2/StoredBody.h"

namespace velmora {

class Id3v2Frame;

// A binary or raw field whose bytes the load left in the file: it holds where they lie, not
// the bytes, until new bytes are set, which it then holds as any field does. Bytes() is empty
// while the bytes lie in the file; Length() and ReadFieldBytes give the real ones. A save
// writes the bytes from the file (Id3v2Serializer), never through SerializeField.
class StoredBytesField : public FrameField {
  public:
    StoredBytesField(FieldKind kind, std::shared_ptr<StoredBody> stored);
    std::unique_ptr<FrameField> Clone() const override;

    // Null once new bytes were set.
    const std::shared_ptr<StoredBody>& Stored() const { return stored_; }
    std::uint64_t Length() const { return stored_ ? stored_->length : Bytes().size(); }

    void SetBytes(std::span<const std::uint8_t> bytes) override;
    // Throws std::logic_error while the bytes lie in the file.
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;

  protected:
    bool SameOwnState(const FrameField& other) const override;

  private:
    std::shared_ptr<StoredBody> stored_;
};

// The frame's last field when its bytes lie in the file, or null.
const StoredBytesField* StoredTail(const Id3v2Frame& frame);

// The length of the field's bytes, wherever they lie.
std::uint64_t FieldLength(const FrameField& field);
// The field's bytes: its own, or those left in the file, read through `source`. Throws
// CFileExceptionEx when they cannot be read.
std::vector<std::uint8_t> ReadFieldBytes(const FrameField& field, const StoredBodySource& source);

// How a frame body lies in the file being loaded: its stored bytes and how they are decoded.
struct StoredSpan {
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> bytes;
    bool unsynchronised = false;
    bool compressed = false;
};

// Whether binary or raw bytes of this length, ending a frame of this ID, stay in the file.
bool LeavesFileAtSize(const FrameId& id, std::size_t size);

// Where the last `tail` bytes of the decoded `body`, stored as `where`, lie in the file; null
// when they cannot be read back from there.
std::shared_ptr<StoredBody> LocateTail(std::span<const std::uint8_t> body, std::size_t tail,
                                       const StoredSpan& where);
// Ends the frame with a field of `kind` whose bytes lie where `stored` says, registered in
// `bodies`.
void AttachStoredTail(Id3v2Frame& frame, FieldKind kind, std::shared_ptr<StoredBody> stored,
                      StoredBodies& bodies);

// Called by the reader after a frame was read from the decoded `body`, stored as `where`:
// leaves the frame's last field in the file when it is picture data, or binary or raw bytes
// over kLeftInFileAbove that nothing shows, and registers it in `bodies`. A body kept as read
// keeps only the part in front of that field.
void LeaveTailInFile(Id3v2Frame& frame, std::span<const std::uint8_t> body, const StoredSpan& where,
                     StoredBodies& bodies);

// Binary and raw bytes up to this length stay in memory (picture data any longer than what
// a field holds inline leaves).
inline constexpr std::size_t kLeftInFileAbove = 4096;

}  // namespace velmora
