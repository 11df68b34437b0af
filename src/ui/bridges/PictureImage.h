#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::ui {

// Decoding asks for no more than this for one picture, so a hostile one (a small file that
// claims a huge image) cannot exhaust memory.
inline constexpr int kDecodeLimitMiB = 128;

// The picture decoded by the format its subtype names ("jpg" or "jpeg": JPEG, "png": PNG)
// with Qt's image readers, never by guessing; a null image for any other subtype, for data
// that do not decode, or for an image above the limit.
QImage DecodePicture(std::span<const std::uint8_t> data, std::string_view subtype);

}  // namespace velmora::ui
