#include "tags/ops/ShownFields.h"

#include <optional>

#include "tags/id3v1/GenreTable.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

// The ID3v1 value that stands for the frame; empty when there is none.
std::u16string V1Value(const Id3v1Tag& v1, const FrameId& id) {
    if (id == frame_ids::kTit2)
        return v1.Text(Id3v1Tag::kTitle);
    if (id == frame_ids::kTpe1)
        return v1.Text(Id3v1Tag::kArtist);
    if (id == frame_ids::kTalb)
        return v1.Text(Id3v1Tag::kAlbum);
    if (id == frame_ids::kTyer)
        return v1.Text(Id3v1Tag::kYear);
    if (id == frame_ids::kTrck && v1.Track() != 0)
        return text::FromUtf8(std::to_string(v1.Track()));
    if (id == frame_ids::kTcon)
        return std::u16string(GenreTable::GenreName(v1.Genre()));
    return {};
}

ShownText Shown(const ShownTags& tags, const FrameId& id, std::optional<std::u16string> v2Text) {
    if (v2Text || !tags.v1)
        return {std::move(v2Text).value_or(std::u16string()), false};
    std::u16string v1Text = V1Value(*tags.v1, id);
    const bool fromV1 = !v1Text.empty();
    return {std::move(v1Text), fromV1};
}

}  // namespace

ShownTags ShownTagsOf(const Mp3File& record) {
    return {record.V2(), record.RemoveV1Pending() ? nullptr : &record.V1()};
}

ShownText ShownFrameText(const ShownTags& tags, const FrameId& id, const text::CodePage& codePage) {
    return Shown(tags, id, GetFrameText(tags.v2, id, FieldKind::Text, codePage));
}

ShownText ShownGenre(const ShownTags& tags, const text::CodePage& codePage) {
    if (auto text = GetFrameText(tags.v2, frame_ids::kTcon, FieldKind::Text, codePage))
        return {GenreDisplayFor(*text), false};
    return Shown(tags, frame_ids::kTcon, std::nullopt);
}

}  // namespace velmora
