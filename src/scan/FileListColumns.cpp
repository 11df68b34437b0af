#include "scan/FileListColumns.h"

#include <cstdio>
#include <utility>

#include "tags/FrameIdTable.h"
#include "tags/FrameTextOps.h"
#include "tags/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

// The columns that show the text of one frame.
constexpr std::pair<Column, FrameId> kFrameColumns[] = {
    {Column::Track, frame_ids::kTrck}, {Column::Artist, frame_ids::kTpe1},
    {Column::Album, frame_ids::kTalb}, {Column::Title, frame_ids::kTit2},
    {Column::Year, frame_ids::kTyer},  {Column::AlbumArtist, frame_ids::kTpe2},
    {Column::Disc, frame_ids::kTpos},  {Column::Composer, frame_ids::kTcom}};

std::u16string FormatBitrate(const Mp3File& record) {
    std::u16string digits = text::FromUtf8(std::to_string(record.Bitrate()));
    return record.Vbr() ? digits + u" (VBR)" : digits;
}

}  // namespace

std::u16string FormatDuration(std::uint32_t seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2u:%.2u", static_cast<unsigned>(seconds / 60),
                  static_cast<unsigned>(seconds % 60));
    return text::FromUtf8(buffer);
}

std::u16string CellText(const Mp3File& record, Column column, const text::CodePage& codePage) {
    for (const auto& [frameColumn, id] : kFrameColumns) {
        if (frameColumn == column)
            return GetFrameText(record.V2(), id, FieldKind::Text, codePage)
                .value_or(std::u16string());
    }
    switch (column) {
        case Column::Filename:
            return record.Name();
        case Column::Bitrate:
            return FormatBitrate(record);
        case Column::Directory:
            return record.Directory();
        case Column::Genre:
            return GenreDisplayText(record.V2(), codePage);
        case Column::Duration:
            return FormatDuration(record.Duration());
        default:  // a frame's, above
            return {};
    }
}

ColumnSortKey SortKey(const Mp3File& record, Column column, const text::CodePage& codePage) {
    switch (column) {
        // A variable bitrate sorts after a constant one of the same rate, as its text does.
        case Column::Bitrate:
            return std::uint64_t{record.Bitrate()} * 2 + (record.Vbr() ? 1 : 0);
        case Column::Duration:
            return std::uint64_t{record.Duration()};
        default:
            return CellText(record, column, codePage);
    }
}

}  // namespace velmora
