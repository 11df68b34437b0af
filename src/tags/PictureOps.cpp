#include "tags/PictureOps.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "tags/EncodingPolicy.h"
#include "tags/EngineContext.h"
#include "tags/FrameFieldTypes.h"
#include "tags/FrameIdTable.h"
#include "tags/Id3v2Tag.h"
#include "tags/StoredBytesField.h"
#include "text/Ascii.h"

namespace velmora {

namespace {
constexpr std::size_t kMimeField = 1;
constexpr std::size_t kTypeField = 3;
constexpr std::size_t kDescriptionField = 4;
constexpr std::size_t kDataField = 6;

bool HasPictureLayout(const Id3v2Frame& frame) {
    const FrameField* type = frame.FieldAt(kTypeField);
    return type && type->Kind() == FieldKind::Binary;
}
}  // namespace

Id3v2Frame* FindPicture(const Id3v2Tag& tag, std::uint8_t pictureType) {
    // One pass over the list: FindFrame from a frame searches for that frame first.
    for (const auto& frame : tag.Frames()) {
        if (frame->Id() == frame_ids::kApic && HasPictureLayout(*frame) &&
            PictureType(*frame) == pictureType)
            return frame.get();
    }
    return nullptr;
}

std::uint8_t PictureType(const Id3v2Frame& frame) {
    const FrameField* field = frame.FieldAt(kTypeField);
    if (!field || field->Bytes().empty())
        return 0;
    return field->Bytes()[0];
}

std::vector<std::uint8_t> PictureData(const Id3v2Frame& frame, const StoredBodySource* source) {
    const FrameField* field = frame.FieldAt(kDataField);
    if (!field)
        return {};
    if (const auto* stored = dynamic_cast<const StoredBytesField*>(field);
        stored && stored->Stored()) {
        if (source == nullptr)
            throw std::logic_error("picture data left in the file is read without its file");
        return source->ReadBody(*stored->Stored());
    }
    return field->CopyBytes();
}

const FrameField* PictureDataField(const Id3v2Frame& frame) {
    return frame.FieldAt(kDataField);
}

std::uint64_t PictureDataLength(const Id3v2Frame& frame) {
    const FrameField* field = frame.FieldAt(kDataField);
    return field ? FieldLength(*field) : 0;
}

bool SamePictureData(const Id3v2Frame& a, const StoredBodySource& aSource, const Id3v2Frame& b,
                     const StoredBodySource& bSource) {
    if (PictureDataLength(a) != PictureDataLength(b))
        return false;
    return PictureData(a, &aSource) == PictureData(b, &bSource);
}

std::string PictureMimeSubtype(const Id3v2Frame& frame, const text::CodePage& codePage) {
    const FrameField* field = frame.FieldAt(kMimeField);
    if (!field)
        return {};
    std::string mime = text::AsciiLower(field->GetNarrowText(codePage));
    if (mime.size() >= 6 && mime.compare(0, 6, "image/") == 0)
        mime.erase(0, 6);
    return mime;
}

std::u16string PictureDescription(const Id3v2Frame& frame, const text::CodePage& codePage) {
    const FrameField* field = frame.FieldAt(kDescriptionField);
    return field ? field->GetText(codePage) : std::u16string{};
}

void SetPicture(Id3v2Tag& tag, std::string_view mimeType, std::u16string_view description,
                std::uint8_t pictureType, std::span<const std::uint8_t> data,
                const EngineContext& context) {
    Id3v2Frame* found = FindPicture(tag, pictureType);
    if (!found) {
        auto frame = std::make_unique<Id3v2Frame>(frame_ids::kApic);
        frame->PushField(std::make_unique<EncodingField>(0, context.options.encoding));
        frame->PushField(std::make_unique<NarrowStringField>(mimeType));
        frame->PushField(std::make_unique<TerminatorField>(false));
        frame->PushField(std::make_unique<FrameField>(
            FieldKind::Binary, std::span<const std::uint8_t>(&pictureType, 1)));
        frame->PushField(std::make_unique<TextField>(std::u16string(description)));
        frame->PushField(std::make_unique<TerminatorField>(true));
        frame->PushField(std::make_unique<FrameField>(FieldKind::Binary, data));
        AppendFrame(tag, std::move(frame));
        return;
    }
    if (data.empty()) {
        RemoveFrame(tag, found);
        return;
    }
    found->FieldAt(kMimeField)->SetNarrowText(mimeType, context.codePage);
    if (FrameField* field = found->FieldAt(kDescriptionField))
        field->SetText(description, context.codePage);
    found->FieldAt(kTypeField)->SetBytes(std::span<const std::uint8_t>(&pictureType, 1));
    if (FrameField* field = found->FieldAt(kDataField))
        field->SetBytes(data);
}

}  // namespace velmora
