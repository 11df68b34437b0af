#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "edit/PictureEdits.h"

namespace velmora {
class MessageSink;
}

namespace velmora::edit {

// Above this size a picture file is loaded only when the user says so.
inline constexpr unsigned kLargePictureMiB = 3;
inline constexpr std::uint64_t kLargePictureBytes = std::uint64_t{kLargePictureMiB} << 20;

// The subtype that the data's signature shows: "jpg" for JPEG, "png" for PNG; none for any
// other format. The name of a file says nothing here: a PNG named .jpg is a PNG.
std::optional<std::string> PictureSubtypeOfContent(std::span<const std::uint8_t> data);

// Why a picture file is not attached.
enum class PictureRefusal { CannotOpen, Empty, NotJpgOrPng, Large, ReadFailed };

// A picture file read, or why not.
struct PictureRead {
    std::optional<HeldPicture> picture;
    PictureRefusal refusal = PictureRefusal::ReadFailed;
};

// Reads a picture file to attach; the format comes from the content. A file above
// kLargePictureBytes is refused as Large unless `allowLarge` (the caller asks the user first).
PictureRead ReadPicture(const std::u16string& path, bool allowLarge);
// Bytes from elsewhere (the clipboard), checked as a file's are.
PictureRead PictureFromBytes(std::vector<std::uint8_t> data);

// What the user is told of a refusal, line by line ("Couldn't open file:", "File is empty!",
// "File must be a JPG or PNG image!", "Error while reading file:"); for Large, the question
// whether to go on.
std::vector<std::u16string> RefusalLines(PictureRefusal refusal, const std::u16string& path);
inline constexpr char16_t kImageIsEmpty[] = u"Image is empty!";

// ReadPicture with the picture dialog's messages (caption "Velmora 1.1"): a refusal is shown,
// a large file asked about (No: none).
std::optional<HeldPicture> ReadPictureFile(const std::u16string& path, MessageSink& messages);

// Writes the data to `path`, replacing a file there only once they are all written, so a
// failure leaves an existing file as it was. "Image is empty!" without data (nothing is
// created), "Couldn't open file:" and "Error while writing file:" on failure. True when
// written.
bool WritePictureFile(const std::u16string& path, std::span<const std::uint8_t> data,
                      MessageSink& messages);

}  // namespace velmora::edit
