#include "tags/ops/PictureOps.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/FrameParts.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/record/EngineContext.h"
#include "text/Ascii.h"

namespace velmora {

Id3v2Frame* FindPicture(const Id3v2Tag& tag, std::uint8_t pictureType) {
    // One pass over the list: FindFrame from a frame searches for that frame first.
    for (const auto& frame : tag.Frames()) {
        // The data is the last part: a frame that has it has them all.
        if (frame->Id() == frame_ids::kApic && FindPart(*frame, PartName::Data) &&
            PictureType(*frame) == pictureType)
            return frame.get();
    }
    return nullptr;
}

std::uint8_t PictureType(const Id3v2Frame& frame) {
    const FrameField* field = FindPart(frame, PartName::PictureType);
    if (!field || field->Bytes().empty())
        return 0;
    return field->Bytes()[0];
}

std::vector<std::uint8_t> PictureData(const Id3v2Frame& frame, const StoredBodySource* source) {
    const FrameField* field = FindPart(frame, PartName::Data);
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
    return FindPart(frame, PartName::Data);
}

std::uint64_t PictureDataLength(const Id3v2Frame& frame) {
    const FrameField* field = FindPart(frame, PartName::Data);
    return field ? FieldLength(*field) : 0;
}

bool SamePictureData(const Id3v2Frame& a, const StoredBodySource& aSource, const Id3v2Frame& b,
                     const StoredBodySource& bSource) {
    if (PictureDataLength(a) != PictureDataLength(b))
        return false;
    return PictureData(a, &aSource) == PictureData(b, &bSource);
}

std::string PictureMimeSubtype(const Id3v2Frame& frame, const text::CodePage& codePage) {
    const FrameField* field = FindPart(frame, PartName::Mime);
    if (!field)
        return {};
    std::string mime = text::AsciiLower(field->GetNarrowText(codePage));
    if (mime.size() >= 6 && mime.compare(0, 6, "image/") == 0)
        mime.erase(0, 6);
    return mime;
}

std::u16string PictureDescription(const Id3v2Frame& frame, const text::CodePage& codePage) {
    const FrameField* field = FindPart(frame, PartName::Description);
    return field ? field->GetText(codePage) : std::u16string{};
}

void SetPicture(Id3v2Tag& tag, std::string_view mimeType, std::u16string_view description,
                std::uint8_t pictureType, std::span<const std::uint8_t> data,
                const EngineContext& context) {
    Id3v2Frame* found = FindPicture(tag, pictureType);
    if (!found) {
        AppendFrame(tag, BuildFrame(frame_ids::kApic, context.options.encoding,
                                    {{PartName::Mime, mimeType},
                                     {PartName::PictureType, pictureType},
                                     {PartName::Description, description},
                                     {PartName::Data, data}}));
        return;
    }
    if (data.empty()) {
        RemoveFrame(tag, found);
        return;
    }
    FindPart(*found, PartName::Mime)->SetNarrowText(mimeType, context.codePage);
    FindPart(*found, PartName::Description)->SetText(description, context.codePage);
    FindPart(*found, PartName::PictureType)
        ->SetBytes(std::span<const std::uint8_t>(&pictureType, 1));
    FindPart(*found, PartName::Data)->SetBytes(data);
}

}  // namespace velmora
