#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "tags/id3v1/Id3v1Tag.h"

namespace velmora {

namespace text {
class CodePage;
}

// The 128-byte ID3v1 record at the end of a file, in the ID3v1.1 layout other programs read:
// byte 125 zero means byte 126 is the track; otherwise the comment runs to byte 126.
using Id3v1Record = Id3v1Tag::RecordBytes;
inline constexpr std::size_t kId3v1Size = std::tuple_size_v<Id3v1Record>;
inline constexpr std::string_view kId3v1Magic = "TAG";

// The widths of the text fields, in bytes. The comment holds 28 beside a track (ID3v1.1);
// written without one it takes 29, so byte 125 stays zero and readers find no track there.
namespace id3v1_width {
inline constexpr std::size_t kName = 30;  // title, artist, album
inline constexpr std::size_t kYear = 4;
inline constexpr std::size_t kCommentWithTrack = 28;
inline constexpr std::size_t kCommentWithoutTrack = 29;
}  // namespace id3v1_width

// True when the bytes start with "TAG".
bool HasId3v1Magic(std::span<const std::uint8_t> bytes);

// Stores the record's fields into `tag` through its setters (texts, then genre, then track).
void DecodeId3v1(const Id3v1Record& record, const text::CodePage& codePage, Id3v1Tag& tag);

// The record for `tag`: texts cut to their fields (at a character boundary), zero-filled.
// Fields whose value is still the one read from the tag's loaded record keep that record's
// bytes, so text the code page cannot hold comes back unchanged.
Id3v1Record EncodeId3v1(const Id3v1Tag& tag, const text::CodePage& codePage);

// What the text field `index` of an ID3v1 tag holds after `text` is written into it and read
// back: cut to the field, through the code page, trailing white space removed.
std::u16string Id3v1FieldImage(std::u16string_view text, std::size_t index,
                               const text::CodePage& codePage);

}  // namespace velmora
