#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

class Mp3File;
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

// Header and width of each column, in the order of Column.
struct ColumnInfo {
    std::u16string_view header;
    int width;  // pixels
    bool hiddenFirst = false;
};
inline constexpr std::array<ColumnInfo, kAllColumns.size()> kColumnInfos = {
    {{u"Filename", 300},
     {u"Track", 50},
     {u"Artist", 150},
     {u"Album", 200},
     {u"Title", 200},
     {u"Year", 50},
     {u"Bitrate", 100},
     {u"Directory", 100},
     {u"Genre", 100},
     {u"Duration", 100},
     {u"Album Artist", 150, true},
     {u"Disc", 50, true},
     {u"Composer", 150, true}}};
constexpr const ColumnInfo& ColumnInfoOf(Column column) {
    return kColumnInfos[static_cast<std::size_t>(column)];
}

// What one cell shows: the (pending) name, the display texts of TRCK, TPE1, TALB, TIT2 and
// TYER, the bitrate ("%u (VBR)" for a variable bitrate), the directory, the genre with
// references resolved to names, the duration as minutes:seconds, and the texts of TPE2, TPOS
// and TCOM. Where the ID3v2 tag lacks the frame of a field that ID3v1 holds, the ID3v1 value
// shows (ShownFrameText).
std::u16string CellText(const Mp3File& record, Column column, const text::CodePage& codePage);
// The cell shows the ID3v1 tag's value.
bool CellFromId3v1(const Mp3File& record, Column column, const text::CodePage& codePage);

// What a column sorts by: a number for Bitrate and Duration (so 96 comes before 128), the
// cell text for the others (the caller collates it).
using ColumnSortKey = std::variant<std::uint64_t, std::u16string>;
ColumnSortKey SortKey(const Mp3File& record, Column column, const text::CodePage& codePage);

// "%.2u:%.2u" of minutes and seconds; minutes are not limited to two digits.
std::u16string FormatDuration(std::uint32_t seconds);

}  // namespace velmora
