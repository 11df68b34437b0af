#include "tags/id3v2/Id3v2Serializer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameFormatFlags.h"
#include "tags/id3v2/Id3v2Header.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/id3v2/TextEncoding.h"
#include "text/CodePage.h"

namespace velmora {

namespace {

bool CodePageHoldsAllText(const Id3v2Frame& frame, const text::CodePage& codePage) {
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        const FrameField* field = frame.FieldAt(i);
        if (field->Kind() == FieldKind::Text) {
            if (!codePage.CanEncode(static_cast<const TextField*>(field)->Text()))
                return false;
        } else if (field->Kind() == FieldKind::LaterValues) {
            for (const auto& value : static_cast<const LaterValuesField*>(field)->Values()) {
                if (!codePage.CanEncode(value))
                    return false;
            }
        }
    }
    return true;
}

void AppendBytes(std::vector<std::uint8_t>& out, const std::array<std::uint8_t, 4>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The two flag bytes and the extra header bytes, in the version's order.
struct FrameHeaderExtras {
    std::uint8_t formatFlags = 0;
    std::vector<std::uint8_t> bytes;
};

FrameHeaderExtras MakeExtras(const Id3v2Frame& frame, std::uint8_t majorVersion) {
    FrameHeaderExtras extras;
    const StoredBodyForm& form = frame.BodyForm();
    const auto& group = frame.GroupId();
    const FrameFormatFlags& bits = FormatFlagsOf(majorVersion);
    if (majorVersion == 4) {
        if (group) {
            extras.formatFlags |= bits.grouped;
            extras.bytes.push_back(*group);
        }
        if (form.compressed)
            extras.formatFlags |= bits.compressed;
        if (form.encryptionMethod) {
            extras.formatFlags |= bits.encrypted;
            extras.bytes.push_back(*form.encryptionMethod);
        }
        if (form.dataLength || form.compressed) {
            extras.formatFlags |= bits.dataLength;
            AppendBytes(extras.bytes, MakeSynchsafe32(form.dataLength.value_or(0)));
        }
    } else {
        if (form.compressed) {
            extras.formatFlags |= bits.compressed;
            AppendBytes(extras.bytes, MakeBigEndian32(form.dataLength.value_or(0)));
        }
        if (form.encryptionMethod) {
            extras.formatFlags |= bits.encrypted;
            extras.bytes.push_back(*form.encryptionMethod);
        }
        if (group) {
            extras.formatFlags |= bits.grouped;
            extras.bytes.push_back(*group);
        }
    }
    return extras;
}

// Whether the fields write exactly `body`, compared field by field: the bytes of binary fields
// (a picture) in place, the others through `scratch`.
bool FieldsWrite(const Id3v2Frame& frame, std::span<const std::uint8_t> body,
                 std::uint8_t majorVersion, const text::CodePage& codePage,
                 std::vector<std::uint8_t>& scratch) {
    FieldWriteContext context{OutputEncoding(frame, majorVersion, codePage), codePage};
    std::size_t at = 0;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        const FrameField* field = frame.FieldAt(i);
        std::span<const std::uint8_t> written = field->Bytes();
        if (field->Kind() != FieldKind::Binary && field->Kind() != FieldKind::RawBody) {
            scratch.clear();
            field->SerializeField(context, scratch);
            written = scratch;
        }
        if (written.size() > body.size() - at ||
            !std::equal(written.begin(), written.end(), body.begin() + at))
            return false;
        at += written.size();
    }
    return at == body.size();
}

}  // namespace

std::uint8_t OutputEncoding(const Id3v2Frame& frame, std::uint8_t majorVersion,
                            const text::CodePage& codePage) {
    const FrameField* field = FindField(frame, FieldKind::Encoding);
    if (!field)
        return text_encoding::kLatin1;
    std::uint8_t encoding = static_cast<const EncodingField*>(field)->Stored();
    if (majorVersion < 4 &&
        (encoding == text_encoding::kUtf16BE || encoding == text_encoding::kUtf8))
        return text_encoding::kUtf16;
    if (encoding == text_encoding::kLatin1 && !CodePageHoldsAllText(frame, codePage))
        return text_encoding::kUtf16;
    return encoding;
}

void SerializeFields(const Id3v2Frame& frame, std::uint8_t majorVersion,
                     const text::CodePage& codePage, std::vector<std::uint8_t>& out) {
    out.clear();
    FieldWriteContext context{OutputEncoding(frame, majorVersion, codePage), codePage};
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        frame.FieldAt(i)->SerializeField(context, out);
}

namespace {

// The body without a last field left in the file: the fields in front of it, or what the
// file held in front of it when they still write what they wrote at load (a kept body of
// such a frame holds only that part).
std::vector<std::uint8_t> SerializeHead(const Id3v2Frame& frame, std::uint8_t majorVersion,
                                        const text::CodePage& codePage) {
    std::vector<std::uint8_t> body;
    FieldWriteContext context{OutputEncoding(frame, majorVersion, codePage), codePage};
    const std::size_t count = frame.FieldCount() - (StoredTail(frame) ? 1 : 0);
    for (std::size_t i = 0; i < count; ++i)
        frame.FieldAt(i)->SerializeField(context, body);
    if (const BodyAsRead* kept = frame.KeptBody(); kept && body == kept->asWritten)
        return kept->asRead;
    return body;
}

}  // namespace

std::vector<std::uint8_t> SerializeFrameBody(const Id3v2Frame& frame, std::uint8_t majorVersion,
                                             const text::CodePage& codePage,
                                             const StoredBodySource* source) {
    std::vector<std::uint8_t> body = SerializeHead(frame, majorVersion, codePage);
    if (const StoredBytesField* tail = StoredTail(frame)) {
        if (source == nullptr)
            throw std::logic_error("a body left in the file is serialised without its file");
        const std::vector<std::uint8_t> bytes = source->ReadBody(*tail->Stored());
        body.insert(body.end(), bytes.begin(), bytes.end());
    }
    return body;
}

void KeepBodyIfRewriteDiffers(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                              std::uint8_t majorVersion, const text::CodePage& codePage,
                              std::vector<std::uint8_t>& scratch) {
    if (FieldsWrite(frame, body, majorVersion, codePage, scratch))
        return;
    SerializeFields(frame, majorVersion, codePage, scratch);
    // A frame whose encoding the save changes anyway (the encoding setting) is not kept.
    const FrameField* encoding = FindField(frame, FieldKind::Encoding);
    if (encoding && (scratch.empty() ||
                     static_cast<const EncodingField*>(encoding)->Source() != scratch.front()))
        return;
    frame.KeepBody({std::vector<std::uint8_t>(body.begin(), body.end()), scratch});
}

namespace {

// Writes the frames into `out`: bodies left in the file are read through `source`, or, with
// `splices`, left out and noted there (at their place in the frames that hold them).
void SerializeFrames(const Id3v2Tag& tag, std::uint8_t majorVersion, const text::CodePage& codePage,
                     const StoredBodySource* source, std::vector<StoredSplice>* splices,
                     std::vector<std::uint8_t>& out) {
    out.reserve(16384);
    std::size_t leftOut = 0;
    for (const auto& frame : tag.Frames()) {
        const StoredBytesField* tail = splices ? StoredTail(*frame) : nullptr;
        std::vector<std::uint8_t> body =
            tail ? SerializeHead(*frame, majorVersion, codePage)
                 : SerializeFrameBody(*frame, majorVersion, codePage, source);
        const std::uint64_t tailSize = tail ? tail->Length() : 0;
        FrameHeaderExtras extras = MakeExtras(*frame, majorVersion);
        std::uint64_t size = std::uint64_t{body.size()} + tailSize + extras.bytes.size();
        // The standard forbids empty frames, and some readers stop at the first one.
        if (size == 0)
            continue;
        if (size > (majorVersion == 4 ? 0x0FFFFFFFu : 0xFFFFFFFFu))
            throw FrameTooLargeError("frame " + frame->Id().ToString() + " of " +
                                     std::to_string(size) + " bytes is too large");
        auto id = frame->Id().View();
        out.insert(out.end(), id.begin(), id.end());
        auto size32 = static_cast<std::uint32_t>(size);
        AppendBytes(out, majorVersion == 4 ? MakeSynchsafe32(size32) : MakeBigEndian32(size32));
        out.push_back(0);
        out.push_back(extras.formatFlags);
        out.insert(out.end(), extras.bytes.begin(), extras.bytes.end());
        out.insert(out.end(), body.begin(), body.end());
        if (tail) {
            splices->push_back({out.size() + leftOut, tail->Stored()});
            leftOut += static_cast<std::size_t>(tailSize);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> SerializeTag(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                       const text::CodePage& codePage,
                                       const StoredBodySource* source) {
    std::vector<std::uint8_t> out;
    SerializeFrames(tag, majorVersion, codePage, source, nullptr, out);
    return out;
}

SerializedFrames SerializeTagLeavingStored(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                           const text::CodePage& codePage) {
    SerializedFrames frames;
    SerializeFrames(tag, majorVersion, codePage, nullptr, &frames.splices, frames.bytes);
    return frames;
}

}  // namespace velmora
