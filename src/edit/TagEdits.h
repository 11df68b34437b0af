#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/FrameId.h"
#include "tags/ops/TagOpsFwd.h"

namespace velmora::edit {

// The text fields of the ID3v2 editor, in the order in which an edit writes them.
enum class V2Field : std::uint8_t {
    Album,
    LeadArtist,
    Year,
    Title,
    Track,
    AlbumArtist,
    Disc,
    Composer
};
inline constexpr std::size_t kV2FieldCount = static_cast<std::size_t>(V2Field::Composer) + 1;

FrameId FrameOf(V2Field field);
// What the field shows for the record: the text of the first frame with its ID (for Year,
// TYER's text or else the year of TDRC); empty without the frame.
std::u16string V2FieldText(const Mp3File& record, V2Field field, const text::CodePage& codePage);

// The texts the ID3v2 editor shows, by index: the fields in V2Field order, then the genre.
inline constexpr std::size_t kV2ShownCount = kV2FieldCount + 1;
std::u16string V2ShownText(const Mp3File& record, std::size_t index,
                           const text::CodePage& codePage);

// The fields a user changed on the ID3v2 editor; the others are left alone.
struct V2Edits {
    std::array<std::optional<std::u16string>, kV2FieldCount> fields;
    // The genre box's text; a genre name is written as its numeric reference.
    std::optional<std::u16string> genre;

    bool Any() const;
};
// Writes the changed fields in field order, then the genre; only what really changes is
// marked modified.
void ApplyV2Edits(Mp3File& record, const V2Edits& edits, const EngineContext& context);

// The fields a user changed on the ID3v1 editor.
struct V1Edits {
    std::array<std::optional<std::u16string>, Id3v1Tag::kTextCount> texts;
    // Decimal digits; empty means no track.
    std::optional<std::u16string> track;
    std::optional<std::uint8_t> genre;

    bool Any() const;
};
void ApplyV1Edits(Id3v1Tag& tag, const V1Edits& edits);

// The track byte of decimal digits: empty gives 0; anything else that is not 0 to 255 gives
// none (the byte is left as it is).
std::optional<std::uint8_t> V1TrackByte(std::u16string_view digits);

}  // namespace velmora::edit
