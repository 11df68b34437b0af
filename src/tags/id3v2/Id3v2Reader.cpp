#include "tags/id3v2/Id3v2Reader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "tags/file/BufferedFile.h"
#include "tags/file/ByteCursor.h"
#include "tags/id3v2/BoundedInflate.h"
#include "tags/id3v2/FrameBodyReaders.h"
#include "tags/id3v2/FrameFormatFlags.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/FrameWalk.h"
#include "tags/id3v2/Id3v22Frames.h"
#include "tags/id3v2/Id3v2Frame.h"
#include "tags/id3v2/Id3v2Header.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/id3v2/Unsynchronisation.h"

namespace velmora {

namespace {

// The frames behind the extended header, or nothing when it cannot be skipped.
std::span<const std::uint8_t> SkipExtendedHeader(std::uint8_t majorVersion,
                                                 std::span<const std::uint8_t> body) {
    ByteCursor cursor(body, "extended header");
    // Some writers set the flag without writing the header (the frames start at once).
    if (auto start = cursor.Peek(4);
        start && IsValidFrameId({reinterpret_cast<const char*>(start->data()), start->size()}))
        return body;
    // The ID3v2.3 size leaves out its own four bytes; the ID3v2.4 one counts them.
    auto size = majorVersion == 3 ? cursor.TakeBigEndian32() : cursor.TakeSynchsafe32();
    if (!size || (majorVersion == 4 && *size < 6))
        return {};
    if (!cursor.Take(majorVersion == 3 ? *size : *size - 4))
        return {};
    return cursor.TakeRest();
}

// What a frame's format flags put before its data.
struct HeaderExtras {
    StoredBodyForm form;
    std::optional<std::uint8_t> groupId;
};

template <typename T>
bool TakeExtra(const CursorResult<T>& taken, std::optional<T>& into) {
    if (taken)
        into = *taken;
    return static_cast<bool>(taken);
}

// The extras the flags announce, in the version's order; false when the frame is too short
// for them.
bool TakeHeaderExtras(ByteCursor& cursor, std::uint8_t majorVersion, std::uint8_t flags,
                      HeaderExtras& extras) {
    const FrameFormatFlags& bits = FormatFlagsOf(majorVersion);
    StoredBodyForm& form = extras.form;
    form.compressed = flags & bits.compressed;
    auto announced = [flags](std::uint8_t bit) { return (flags & bit) != 0; };
    if (majorVersion == 4)
        return (!announced(bits.grouped) || TakeExtra(cursor.TakeByte(), extras.groupId)) &&
               (!announced(bits.encrypted) ||
                TakeExtra(cursor.TakeByte(), form.encryptionMethod)) &&
               (!announced(bits.dataLength) ||
                TakeExtra(cursor.TakeSynchsafe32(), form.dataLength));
    return (!form.compressed || TakeExtra(cursor.TakeBigEndian32(), form.dataLength)) &&
           (!announced(bits.encrypted) || TakeExtra(cursor.TakeByte(), form.encryptionMethod)) &&
           (!announced(bits.grouped) || TakeExtra(cursor.TakeByte(), extras.groupId));
}

bool IsRawFrame(const Id3v2Frame& frame) {
    return frame.FieldCount() == 0 ||
           (frame.FieldCount() == 1 && frame.FieldAt(0)->Kind() == FieldKind::RawBody);
}

std::unique_ptr<Id3v2Frame> MakeRawFrame(const FrameId& id, std::span<const std::uint8_t> body) {
    auto frame = std::make_unique<Id3v2Frame>(id);
    ReadRawBody(*frame, body);
    return frame;
}

}  // namespace

Id3v2Reader::Id3v2Reader(const text::CodePage& codePage, EncodingPolicy policy)
    : codePage_(codePage), policy_(policy) {}

Id3v2TagOnDisk Id3v2Reader::ExamineHeader(std::span<const std::uint8_t> bytes,
                                          std::uint64_t fileSize) {
    Id3v2TagOnDisk onDisk;
    Id3v2Header header;
    if (fileSize <= Id3v2Header::kSize || !header.Accept(bytes))
        return onDisk;
    if (header.MajorVersion() < 2 || header.MajorVersion() > 4 || !header.HasSynchsafeSize())
        return onDisk;
    onDisk.present = true;
    onDisk.majorVersion = header.MajorVersion();
    onDisk.revision = header.Revision();
    onDisk.flags = header.Flags();
    onDisk.declaredSize = header.TagSize();
    onDisk.hasFooter = header.HasFooter();
    onDisk.audioOffset =
        Id3v2Header::kSize + std::uint64_t{onDisk.declaredSize} + (onDisk.hasFooter ? 10 : 0);
    onDisk.truncated = onDisk.audioOffset > fileSize;
    return onDisk;
}

Id3v2TagOnDisk Id3v2Reader::Read(BufferedFile& file, Id3v2Tag& tag, StoredBodies* leftInFile) {
    std::uint64_t fileSize = file.Size();
    if (fileSize <= Id3v2Header::kSize)
        return {};
    std::array<std::uint8_t, Id3v2Header::kSize> headerBytes{};
    file.Seek(0);
    if (file.Read(headerBytes.data(), headerBytes.size()) != headerBytes.size())
        return {};
    Id3v2TagOnDisk onDisk = ExamineHeader(headerBytes, fileSize);
    if (!onDisk.present)
        return onDisk;
    auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(onDisk.declaredSize, fileSize - Id3v2Header::kSize));
    auto body = tagBody_.Request(wanted);
    std::size_t got = file.Read(body.data(), body.size());
    leftInFile_ = leftInFile;
    inFile_ = body.first(got);
    try {
        ReadBody(onDisk, body.first(got), tag);
    } catch (...) {
        leftInFile_ = nullptr;
        inFile_ = {};
        throw;
    }
    leftInFile_ = nullptr;
    inFile_ = {};
    return onDisk;
}

Id3v2TagOnDisk Id3v2Reader::ReadFromMemory(std::span<const std::uint8_t> fileStart,
                                           std::uint64_t fileSize, Id3v2Tag& tag) {
    if (fileStart.size() < Id3v2Header::kSize)
        return {};
    Id3v2TagOnDisk onDisk = ExamineHeader(fileStart.first(Id3v2Header::kSize), fileSize);
    if (!onDisk.present)
        return onDisk;
    auto rest = fileStart.subspan(Id3v2Header::kSize);
    ReadBody(onDisk, rest.first(std::min<std::size_t>(rest.size(), onDisk.declaredSize)), tag);
    return onDisk;
}

void Id3v2Reader::ReadBody(const Id3v2TagOnDisk& onDisk, std::span<const std::uint8_t> body,
                           Id3v2Tag& tag) {
    const bool tagUnsynchronised = (onDisk.flags & Id3v2Header::kUnsynchronisation) != 0;
    std::vector<std::uint8_t> resynchronisedTag;
    if (tagUnsynchronised && onDisk.majorVersion < 4) {
        UndoUnsynchronisation(body, resynchronisedTag);
        body = resynchronisedTag;
        inFile_ = {};  // the frames' bytes no longer lie as in the file
    }
    if (onDisk.flags & Id3v2Header::kExtendedHeader) {
        // In ID3v2.2 the bit means the whole tag is compressed, by no defined method.
        if (onDisk.majorVersion == 2)
            return;
        body = SkipExtendedHeader(onDisk.majorVersion, body);
    }
    ReadFrames(onDisk.majorVersion, body, onDisk.majorVersion == 4 && tagUnsynchronised, tag);
}

void Id3v2Reader::ReadFrames(std::uint8_t majorVersion, std::span<const std::uint8_t> area,
                             bool unsynchronisedFrames, Id3v2Tag& tag) {
    BodyReadContext context{codePage_, policy_};
    const FrameHeaderFormat format = majorVersion == 4
                                         ? ChooseV4FrameSizes(area)
                                         : FrameHeaderFormat::ForVersion(majorVersion, false);
    if (majorVersion == 2) {
        WalkFrames(area, format, [&](const RawFrame& raw) { ReadV2Frame(raw, context, 0, tag); });
        return;
    }
    // Every frame found in these versions becomes one entry, so the walk comes first and the
    // list is sized once.
    rawFrames_.clear();
    WalkFrames(area, format, [&](const RawFrame& raw) { rawFrames_.push_back(raw); });
    auto& frames = tag.MutableFrames();
    frames.reserve(frames.size() + rawFrames_.size());
    for (const RawFrame& raw : rawFrames_)
        ReadV3V4Frame(majorVersion, raw, unsynchronisedFrames, context, tag);
}

void Id3v2Reader::ReadV3V4Frame(std::uint8_t majorVersion, const RawFrame& raw, bool unsynchronised,
                                const BodyReadContext& context, Id3v2Tag& tag) {
    FrameId id = FrameId::FromChars(raw.id.data());
    const bool v4 = majorVersion == 4;
    const std::uint8_t flags = raw.formatFlags;
    ByteCursor cursor(raw.body, "frame header extras");
    HeaderExtras extras;
    if (!TakeHeaderExtras(cursor, majorVersion, flags, extras)) {
        // Too short for what its flags announce: kept byte for byte, as plain data.
        auto frame = MakeRawFrame(id, raw.body);
        LeaveInFile(*frame, raw.body, raw.body, false, false);
        tag.MutableFrames().push_back(std::move(frame));
        return;
    }
    const StoredBodyForm& form = extras.form;
    std::span<const std::uint8_t> data = cursor.TakeRest();
    const std::span<const std::uint8_t> stored = data;
    std::vector<std::uint8_t> resynchronised;
    const bool frameUnsynchronised =
        v4 && (unsynchronised || (flags & kV4FormatFlags.unsynchronised));
    if (frameUnsynchronised) {
        UndoUnsynchronisation(data, resynchronised);
        data = resynchronised;
    }
    auto frame = std::make_unique<Id3v2Frame>(id);
    frame->SetGroupId(extras.groupId);
    std::optional<std::vector<std::uint8_t>> inflated;
    if (form.compressed && !form.encryptionMethod)
        inflated = InflateBounded(data);
    if (form.IsPlain() || inflated) {
        const std::span<const std::uint8_t> body = inflated ? *inflated : data;
        ReadPlainBody(*frame, body, WhereInFile(stored, frameUnsynchronised, inflated.has_value()),
                      context, majorVersion);
    } else {
        frame->SetBodyForm(form);
        ReadRawBody(*frame, data);
        LeaveInFile(*frame, data, stored, frameUnsynchronised, false);
    }
    tag.MutableFrames().push_back(std::move(frame));
}

void Id3v2Reader::ReadV2Frame(const RawFrame& raw, const BodyReadContext& context, int depth,
                              Id3v2Tag& tag) {
    // The compressed data meta-frame of ID3v2.2.1: method 'z', the inflated size, then zlib
    // data holding more ID3v2.2 frames.
    if (raw.id == "CDM") {
        if (depth > 0 || raw.body.size() < 5 || raw.body[0] != 'z')
            return;
        auto inflated = InflateBounded(raw.body.subspan(5));
        if (!inflated)
            return;
        WalkFrames(*inflated, FrameHeaderFormat::ForVersion(2, false),
                   [&](const RawFrame& inner) { ReadV2Frame(inner, context, depth + 1, tag); });
        return;
    }
    auto id = ConvertId3v22FrameId(raw.id);
    if (!id)
        return;  // no ID3v2.3 counterpart: cannot be written into a 2.3 or 2.4 tag
    auto frame = std::make_unique<Id3v2Frame>(*id);
    if (*id == frame_ids::kApic) {
        auto apic = ConvertPicBody(raw.body);
        if (!apic)
            return;
        ReadPlainBody(*frame, *apic, WhereInFile(raw.body, false, false), context, std::nullopt);
    } else {
        ReadPlainBody(*frame, raw.body, WhereInFile(raw.body, false, false), context, std::nullopt);
    }
    tag.MutableFrames().push_back(std::move(frame));
}

std::optional<StoredSpan> Id3v2Reader::WhereInFile(std::span<const std::uint8_t> stored,
                                                   bool unsynchronised, bool compressed) const {
    // Addresses, not pointers: `stored` may lie in another buffer (an inflated one).
    const auto start = reinterpret_cast<std::uintptr_t>(stored.data());
    const auto fileStart = reinterpret_cast<std::uintptr_t>(inFile_.data());
    if (leftInFile_ == nullptr || stored.empty() || stored.size() > inFile_.size() ||
        start < fileStart || start - fileStart > inFile_.size() - stored.size())
        return std::nullopt;
    const std::uint64_t offset = Id3v2Header::kSize + (start - fileStart);
    return StoredSpan{offset, stored, unsynchronised, compressed};
}

void Id3v2Reader::LeaveInFile(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                              std::span<const std::uint8_t> stored, bool unsynchronised,
                              bool compressed) {
    if (auto where = WhereInFile(stored, unsynchronised, compressed))
        LeaveTailInFile(frame, body, *where, *leftInFile_);
}

void Id3v2Reader::ReadPlainBody(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                                const std::optional<StoredSpan>& where,
                                const BodyReadContext& context,
                                std::optional<std::uint8_t> keepVersion) {
    // A tail that stays in the file is never copied: a cover would be copied, compared and
    // dropped for every file of a folder.
    DeferredTail tail;
    ReadFrameBody(frame, body, {context.codePage, context.policy, where ? &tail : nullptr});
    std::shared_ptr<StoredBody> left;
    if (!tail.bytes.empty()) {
        left = LocateTail(body, tail.bytes.size(), *where);
        if (!left) {
            frame.PushField(std::make_unique<FrameField>(tail.kind, tail.bytes));
            tail = {};
        }
    }
    if (keepVersion && !IsRawFrame(frame))
        KeepBodyIfRewriteDiffers(frame, body.first(body.size() - tail.bytes.size()), *keepVersion,
                                 codePage_, rewritten_);
    if (left)
        AttachStoredTail(frame, tail.kind, std::move(left), *leftInFile_);
}

}  // namespace velmora
