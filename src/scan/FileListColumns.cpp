#include "scan/FileListColumns.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/ShownFields.h"
#include "tags/record/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

// The columns that show the text of one frame.
constexpr std::pair<Column, FrameId> kFrameColumns[] = {
    {Column::Track, frame_ids::kTrck}, {Column::Artist, frame_ids::kTpe1},
    {Column::Album, frame_ids::kTalb}, {Column::Title, frame_ids::kTit2},
    {Column::Year, frame_ids::kTyer},  {Column::AlbumArtist, frame_ids::kTpe2},
    {Column::Disc, frame_ids::kTpos},  {Column::Composer, frame_ids::kTcom}};

}  // namespace

const FrameId* FrameOfColumn(Column column) {
    for (const auto& [frameColumn, id] : kFrameColumns) {
        if (frameColumn == column)
            return &id;
    }
    return nullptr;
}

namespace {

std::u16string FormatBitrate(const Mp3File& record) {
    std::u16string digits = text::FromUtf8(std::to_string(record.Bitrate()));
    return record.Vbr() ? digits + u" (VBR)" : digits;
}

// The field a tag column shows; none for the other columns.
std::optional<ShownText> ShownField(const Mp3File& record, Column column,
                                    const text::CodePage& codePage) {
    if (column == Column::Genre)
        return ShownGenre(ShownTagsOf(record), codePage);
    if (const FrameId* id = FrameOfColumn(column))
        return ShownFrameText(ShownTagsOf(record), *id, codePage);
    return std::nullopt;
}

}  // namespace

std::u16string FormatDuration(std::uint32_t seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2u:%.2u", static_cast<unsigned>(seconds / 60),
                  static_cast<unsigned>(seconds % 60));
    return text::FromUtf8(buffer);
}

std::u16string CellText(const Mp3File& record, Column column, const text::CodePage& codePage) {
    if (auto field = ShownField(record, column, codePage))
        return std::move(field->text);
    switch (column) {
        case Column::Filename:
            return record.Name();
        case Column::Bitrate:
            return FormatBitrate(record);
        case Column::Directory:
            return record.Directory();
        case Column::Duration:
            return FormatDuration(record.Duration());
        case Column::Comment:
            return GetComment(record.V2(), u"", codePage).text;
        default:  // a frame's, above
            return {};
    }
}

bool CellFromId3v1(const Mp3File& record, Column column, const text::CodePage& codePage) {
    const auto field = ShownField(record, column, codePage);
    return field && field->fromV1;
}

}  // namespace velmora
