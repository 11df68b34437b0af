#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace velmora {

class Mp3File;
namespace text {
class CodePage;
}

// The columns of the file list, in display order.
inline constexpr std::size_t kFileListColumnCount = 10;
inline constexpr std::array<const char16_t*, kFileListColumnCount> kFileListHeaders = {
    u"Filename", u"Track",   u"Artist",    u"Album", u"Title",
    u"Year",     u"Bitrate", u"Directory", u"Genre", u"Duration"};

// The cell texts of one record's row: the (pending) name, the display texts of TRCK, TPE1,
// TALB, TIT2 and TYER, the bitrate ("%u (VBR)" for a variable bitrate), the directory, the
// genre with references resolved to names, and the duration as minutes:seconds.
std::array<std::u16string, kFileListColumnCount> FileListCells(const Mp3File& record,
                                                               const text::CodePage& codePage);

// "%.2u:%.2u" of minutes and seconds; minutes are not limited to two digits.
std::u16string FormatDuration(std::uint32_t seconds);

}  // namespace velmora
