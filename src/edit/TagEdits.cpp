#include "edit/TagEdits.h"

#include <algorithm>

#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/Mp3File.h"

namespace velmora::edit {
namespace {

constexpr std::array<FrameId, kV2FieldCount> kFrames = {
    frame_ids::kTalb, frame_ids::kTpe1, frame_ids::kTyer, frame_ids::kTit2,
    frame_ids::kTrck, frame_ids::kTpe2, frame_ids::kTpos, frame_ids::kTcom};

constexpr unsigned kMaxTrackByte = 255;

}  // namespace

FrameId FrameOf(V2Field field) {
    return kFrames[static_cast<std::size_t>(field)];
}

std::u16string V2FieldText(const Mp3File& record, V2Field field, const text::CodePage& codePage) {
    return GetFrameText(record.V2(), FrameOf(field), FieldKind::Text, codePage)
        .value_or(std::u16string());
}

std::u16string V2ShownText(const Mp3File& record, std::size_t index,
                           const text::CodePage& codePage) {
    return index < kV2FieldCount ? V2FieldText(record, V2Field(index), codePage)
                                 : GenreDisplayText(record.V2(), codePage);
}

bool V2Edits::Any() const {
    return genre || std::any_of(fields.begin(), fields.end(),
                                [](const auto& field) { return field.has_value(); });
}

void ApplyV2Edits(Mp3File& record, const V2Edits& edits, const EngineContext& context) {
    for (std::size_t index = 0; index < kV2FieldCount; ++index) {
        if (edits.fields[index])
            SetFrameText(record.V2(), kFrames[index], *edits.fields[index], context);
    }
    if (edits.genre)
        SetFrameText(record.V2(), frame_ids::kTcon, *edits.genre, context);
}

bool V1Edits::Any() const {
    return track || genre || std::any_of(texts.begin(), texts.end(), [](const auto& text) {
               return text.has_value();
           });
}

void ApplyV1Edits(Id3v1Tag& tag, const V1Edits& edits) {
    for (std::size_t index = 0; index < Id3v1Tag::kTextCount; ++index) {
        if (edits.texts[index])
            tag.SetText(index, *edits.texts[index]);
    }
    if (edits.track) {
        if (const auto byte = V1TrackByte(*edits.track))
            tag.SetTrack(*byte);
    }
    if (edits.genre)
        tag.SetGenre(*edits.genre);
}

std::optional<std::uint8_t> V1TrackByte(std::u16string_view digits) {
    unsigned value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + unsigned(c - u'0');
        if (value > kMaxTrackByte)
            return std::nullopt;
    }
    return std::uint8_t(value);
}

}  // namespace velmora::edit
