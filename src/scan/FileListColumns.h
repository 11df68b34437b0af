#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tags/record/Mp3File.h"

namespace velmora {

namespace text {
class CodePage;
}

// The columns of the file list, in display order.
enum class Column : std::uint8_t {
    Filename,
    Track,
    Artist,
    Album,
    Title,
    Year,
    Bitrate,
    Directory,
    Genre,
    Duration,
    AlbumArtist,
    Disc,
    Composer,
    // Not a column of the list: the comment that a CSV carries beside the columns.
    Comment,
};
// The list's columns.
inline constexpr std::array<Column, 10> kColumns = {
    Column::Filename, Column::Track,   Column::Artist,    Column::Album, Column::Title,
    Column::Year,     Column::Bitrate, Column::Directory, Column::Genre, Column::Duration};
// And the window's: the list's, then columns it shows only when the user chooses them.
inline constexpr std::array<Column, 13> kAllColumns = {
    Column::Filename,    Column::Track,   Column::Artist,    Column::Album, Column::Title,
    Column::Year,        Column::Bitrate, Column::Directory, Column::Genre, Column::Duration,
    Column::AlbumArtist, Column::Disc,    Column::Composer};

// The fields of a CSV row: the window's columns, then the comment.
inline constexpr std::array<Column, 14> kCsvColumns = {
    Column::Filename,    Column::Track,   Column::Artist,    Column::Album,  Column::Title,
    Column::Year,        Column::Bitrate, Column::Directory, Column::Genre,  Column::Duration,
    Column::AlbumArtist, Column::Disc,    Column::Composer,  Column::Comment};

// Header of each column, in the order of Column.
struct ColumnInfo {
    std::u16string_view header;
    bool hiddenFirst = false;
};
inline constexpr std::array<ColumnInfo, kCsvColumns.size()> kColumnInfos = {
    {{u"Filename"},
     {u"Track"},
     {u"Artist"},
     {u"Album"},
     {u"Title"},
     {u"Year"},
     {u"Bitrate"},
     {u"Directory"},
     {u"Genre"},
     {u"Duration"},
     {u"Album Artist", true},
     {u"Disc", true},
     {u"Composer", true},
     {u"Comment", true}}};
constexpr const ColumnInfo& ColumnInfoOf(Column column) {
    return kColumnInfos[static_cast<std::size_t>(column)];
}

// The frame a column shows the text of; null for the other columns (genre included).
const FrameId* FrameOfColumn(Column column);

// What one cell shows: the (pending) name, the display texts of TRCK, TPE1, TALB, TIT2 and
// TYER, the bitrate ("%u (VBR)" for a variable bitrate), the directory, the genre with
// references resolved to names, the duration as minutes:seconds, and the texts of TPE2, TPOS
// and TCOM, and the text of the comment without a description. Where the ID3v2 tag lacks the frame
// of a field that ID3v1 holds, the ID3v1 value shows (ShownFrameText).
std::u16string CellText(const Mp3File& record, Column column, const text::CodePage& codePage);
// The cell shows the ID3v1 tag's value.
bool CellFromId3v1(const Mp3File& record, Column column, const text::CodePage& codePage);

// What Bitrate and Duration sort by: a number, so 96 comes before 128. None for the other
// columns: they sort by their cell text, which the caller collates.
// Inline: a sort asks for it at every comparison.
inline std::optional<std::uint64_t> NumericSortKey(const Mp3File& record, Column column) {
    switch (column) {
        // A variable bitrate sorts after a constant one of the same rate, as its text does.
        case Column::Bitrate:
            return std::uint64_t{record.Bitrate()} * 2 + (record.Vbr() ? 1 : 0);
        case Column::Duration:
            return std::uint64_t{record.Duration()};
        default:
            return std::nullopt;
    }
}

// "%.2u:%.2u" of minutes and seconds; minutes are not limited to two digits.
std::u16string FormatDuration(std::uint32_t seconds);

}  // namespace velmora
