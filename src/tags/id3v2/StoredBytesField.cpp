#include "tags/id3v2/StoredBytesField.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Frame.h"

namespace velmora {

namespace {

bool IsBytesKind(FieldKind kind) {
    return kind == FieldKind::Binary || kind == FieldKind::RawBody;
}

bool LeavesFile(const Id3v2Frame& frame, const FrameField& last) {
    return IsBytesKind(last.Kind()) && !dynamic_cast<const StoredBytesField*>(&last) &&
           LeavesFileAtSize(frame.Id(), last.Bytes().size());
}

// The kept body ends with the field's bytes as read and as written: both lose them. False,
// changing nothing, when it is too short for that.
bool TrimKeptBody(Id3v2Frame& frame, std::size_t tail) {
    const BodyAsRead* kept = frame.KeptBody();
    if (!kept)
        return true;
    if (kept->asRead.size() < tail || kept->asWritten.size() < tail)
        return false;
    BodyAsRead trimmed{{kept->asRead.begin(), kept->asRead.end() - static_cast<long>(tail)},
                       {kept->asWritten.begin(), kept->asWritten.end() - static_cast<long>(tail)}};
    frame.KeepBody(std::move(trimmed));
    return true;
}

}  // namespace

StoredBytesField::StoredBytesField(FieldKind kind, std::shared_ptr<StoredBody> stored)
    : FrameField(kind), stored_(std::move(stored)) {}

std::unique_ptr<FrameField> StoredBytesField::Clone() const {
    return std::make_unique<StoredBytesField>(*this);
}

void StoredBytesField::SetBytes(std::span<const std::uint8_t> bytes) {
    if (!stored_) {
        FrameField::SetBytes(bytes);
        return;
    }
    // Not compared with the bytes in the file: that would read them.
    stored_.reset();
    FrameField::SetBytes(bytes);
    SetModified(true);
}

void StoredBytesField::SerializeField(const FieldWriteContext& context,
                                      std::vector<std::uint8_t>& out) const {
    if (stored_)
        throw std::logic_error("bytes left in the file are written by the tag serializer");
    FrameField::SerializeField(context, out);
}

bool StoredBytesField::SameOwnState(const FrameField& other) const {
    return stored_ == static_cast<const StoredBytesField&>(other).stored_;
}

const StoredBytesField* StoredTail(const Id3v2Frame& frame) {
    if (frame.FieldCount() == 0)
        return nullptr;
    const auto* field =
        dynamic_cast<const StoredBytesField*>(frame.FieldAt(frame.FieldCount() - 1));
    return field && field->Stored() ? field : nullptr;
}

std::uint64_t FieldLength(const FrameField& field) {
    if (const auto* stored = dynamic_cast<const StoredBytesField*>(&field))
        return stored->Length();
    return field.Bytes().size();
}

std::vector<std::uint8_t> ReadFieldBytes(const FrameField& field, const StoredBodySource& source) {
    if (const auto* stored = dynamic_cast<const StoredBytesField*>(&field);
        stored && stored->Stored())
        return source.ReadBody(*stored->Stored());
    return field.CopyBytes();
}

bool LeavesFileAtSize(const FrameId& id, std::size_t size) {
    return size > kLeftInFileAbove ||
           (id == frame_ids::kApic && size > InlineBytes::kInlineCapacity);
}

std::shared_ptr<StoredBody> LocateTail(std::span<const std::uint8_t> body, std::size_t tail,
                                       const StoredSpan& where) {
    auto stored = std::make_shared<StoredBody>();
    stored->length = static_cast<std::uint32_t>(tail);
    if (where.unsynchronised || where.compressed) {
        // Only the whole stored body decodes: the field is its last bytes once decoded.
        stored->offset = where.offset;
        stored->storedLength = static_cast<std::uint32_t>(where.bytes.size());
        stored->unsynchronised = where.unsynchronised;
        stored->compressed = where.compressed;
        stored->skip = static_cast<std::uint32_t>(body.size() - tail);
        return stored;
    }
    // Stored as it reads (an ID3v2.2 picture's head differs, its data does not); a body read
    // where it lies needs no comparison.
    const bool sameBytes = body.data() == where.bytes.data() && body.size() == where.bytes.size();
    if (where.bytes.size() < tail ||
        (!sameBytes && !std::equal(body.end() - static_cast<long>(tail), body.end(),
                                   where.bytes.end() - static_cast<long>(tail))))
        return nullptr;
    stored->offset = where.offset + where.bytes.size() - tail;
    stored->storedLength = stored->length;
    return stored;
}

void AttachStoredTail(Id3v2Frame& frame, FieldKind kind, std::shared_ptr<StoredBody> stored,
                      StoredBodies& bodies) {
    auto field = std::make_unique<StoredBytesField>(kind, stored);
    field->SetModified(true);  // as every field fresh from a read
    frame.PushField(std::move(field));
    bodies.push_back(std::move(stored));
}

void LeaveTailInFile(Id3v2Frame& frame, std::span<const std::uint8_t> body, const StoredSpan& where,
                     StoredBodies& bodies) {
    if (frame.FieldCount() == 0)
        return;
    const std::size_t lastIndex = frame.FieldCount() - 1;
    const FrameField& last = *frame.FieldAt(lastIndex);
    if (!LeavesFile(frame, last))
        return;
    const std::size_t tail = last.Bytes().size();
    auto stored = LocateTail(body, tail, where);
    if (!stored)
        return;
    const FieldKind kind = last.Kind();
    if (!TrimKeptBody(frame, tail))
        return;
    frame.RemoveFieldsFrom(lastIndex);
    AttachStoredTail(frame, kind, std::move(stored), bodies);
}

}  // namespace velmora
