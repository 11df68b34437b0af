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

// Reads a picture file to attach, with the picture dialog's messages (caption "Velmora 1.1"):
// "Couldn't open file:", "File is empty!", "File must be a JPG or PNG image!", the question
// for a file above kLargePictureBytes (No: none), "Error while reading file:". None after
// any of them.
std::optional<HeldPicture> ReadPictureFile(const std::u16string& path, MessageSink& messages);

// Writes the data to `path`, replacing a file there only once they are all written, so a
// failure leaves an existing file as it was. "Image is empty!" without data (nothing is
// created), "Couldn't open file:" and "Error while writing file:" on failure. True when
// written.
bool WritePictureFile(const std::u16string& path, std::span<const std::uint8_t> data,
                      MessageSink& messages);

}  // namespace velmora::edit
