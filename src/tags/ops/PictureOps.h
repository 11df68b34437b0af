#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tags/ops/TagOpsFwd.h"

namespace velmora {

class FrameField;
class StoredBodySource;

// Operations on attached pictures: APIC frames whose fields follow the picture layout
// (kFrameLayouts). APIC frames kept as raw bytes are never found, so they are never changed.

// The first picture frame, in list order, of the type.
Id3v2Frame* FindPicture(const Id3v2Tag& tag, std::uint8_t pictureType);
// The type byte, 0 when missing.
std::uint8_t PictureType(const Id3v2Frame& frame);
// A copy of the picture data, empty when missing. Data the load left in the file is
// read through `source` (the record); it throws CFileExceptionEx when that fails, and
// std::logic_error without a source.
std::vector<std::uint8_t> PictureData(const Id3v2Frame& frame,
                                      const StoredBodySource* source = nullptr);
// The data field, or null; its bytes may lie in the file.
const FrameField* PictureDataField(const Id3v2Frame& frame);
// The length of the picture data, read from nowhere.
std::uint64_t PictureDataLength(const Id3v2Frame& frame);
// Whether two pictures hold the same data: lengths first, so bytes are read (each through its
// record) only when they agree. Throws as PictureData.
bool SamePictureData(const Id3v2Frame& a, const StoredBodySource& aSource, const Id3v2Frame& b,
                     const StoredBodySource& bSource);
// The MIME type in lower case without a leading "image/" (image/JPEG gives jpeg).
std::string PictureMimeSubtype(const Id3v2Frame& frame, const text::CodePage& codePage);
std::u16string PictureDescription(const Id3v2Frame& frame, const text::CodePage& codePage);

// Adds the picture of the type, replaces its MIME type, description and data, or (with no
// data) removes it.
void SetPicture(Id3v2Tag& tag, std::string_view mimeType, std::u16string_view description,
                std::uint8_t pictureType, std::span<const std::uint8_t> data,
                const EngineContext& context);

}  // namespace velmora
