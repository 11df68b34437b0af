#include "scan/FileListColumns.h"

#include <cstdio>

#include "tags/FrameTextOps.h"
#include "tags/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

std::u16string FrameText(const Mp3File& record, const FrameId& id, const text::CodePage& codePage) {
    return GetFrameText(record, id, FieldKind::Text, codePage).value_or(std::u16string());
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

std::array<std::u16string, kFileListColumnCount> FileListCells(const Mp3File& record,
                                                               const text::CodePage& codePage) {
    return {record.Name(),
            FrameText(record, "TRCK", codePage),
            FrameText(record, "TPE1", codePage),
            FrameText(record, "TALB", codePage),
            FrameText(record, "TIT2", codePage),
            FrameText(record, "TYER", codePage),
            FormatBitrate(record),
            record.Directory(),
            GenreDisplayText(record, codePage),
            FormatDuration(record.Duration())};
}

}  // namespace velmora
