#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tags/Id3v1Tag.h"

namespace velmora {

namespace text {
class CodePage;
}

// The 128-byte ID3v1 record at the end of a file, in the ID3v1.1 layout other programs read:
// byte 125 zero means byte 126 is the track; otherwise the comment runs to byte 126.
inline constexpr std::size_t kId3v1Size = 128;
using Id3v1Record = std::array<std::uint8_t, kId3v1Size>;

// True when the record starts with "TAG".
bool HasId3v1Magic(const Id3v1Record& record);

// Stores the record's fields into `tag` through its setters (texts, then genre, then track).
void DecodeId3v1(const Id3v1Record& record, const text::CodePage& codePage, Id3v1Tag& tag);

// The record for `tag`: texts cut to their fields (at a character boundary), zero-filled.
Id3v1Record EncodeId3v1(const Id3v1Tag& tag, const text::CodePage& codePage);

}  // namespace velmora
