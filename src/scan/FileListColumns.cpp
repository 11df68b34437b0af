#include "scan/FileListColumns.h"

#include <cstdio>

#include "tags/FrameIdTable.h"
#include "tags/FrameTextOps.h"
#include "tags/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

std::u16string FrameText(const Mp3File& record, const FrameId& id, const text::CodePage& codePage) {
    return GetFrameText(record.V2(), id, FieldKind::Text, codePage).value_or(std::u16string());
}

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
    switch (column) {
        case Column::Filename:
            return record.Name();
        case Column::Track:
            return FrameText(record, frame_ids::kTrck, codePage);
        case Column::Artist:
            return FrameText(record, frame_ids::kTpe1, codePage);
        case Column::Album:
            return FrameText(record, frame_ids::kTalb, codePage);
        case Column::Title:
            return FrameText(record, frame_ids::kTit2, codePage);
        case Column::Year:
            return FrameText(record, frame_ids::kTyer, codePage);
        case Column::Bitrate:
            return FormatBitrate(record);
        case Column::Directory:
            return record.Directory();
        case Column::Genre:
            return GenreDisplayText(record.V2(), codePage);
        case Column::Duration:
            return FormatDuration(record.Duration());
        case Column::AlbumArtist:
            return FrameText(record, frame_ids::kTpe2, codePage);
        case Column::Disc:
            return FrameText(record, frame_ids::kTpos, codePage);
        case Column::Composer:
            return FrameText(record, frame_ids::kTcom, codePage);
    }
    return {};
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
