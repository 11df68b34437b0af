#pragma once

#include <cstdint>
#include <string>

#include "tags/id3v1/GenreTable.h"

namespace velmora {

class Mp3File;

// What an export reads of one loaded file, taken from its record before the document is
// built, so the document builders work on plain values.
struct ExportedFile {
    // The record it was taken from, for a document that shows the list's own cells (CSV);
    // null where a test builds the values by hand.
    const Mp3File* record = nullptr;
    std::u16string directory;
    // The name after the next save: a pending rename already shows here.
    std::u16string name;

    std::uint16_t bitrate = 0;  // kbit/s, 0 when not measured
    bool vbr = false;
    std::uint32_t duration = 0;  // whole seconds, 0 when not measured

    // ID3v2 texts; empty when the frame is absent. The genre has a leading numeric
    // reference resolved to its name.
    std::u16string artist;
    std::u16string album;
    std::u16string title;
    std::u16string year;
    std::u16string track;
    std::u16string genre;

    // ID3v1 fields.
    std::u16string artist1;
    std::u16string album1;
    std::u16string title1;
    std::u16string year1;
    std::uint8_t track1 = 0;
    std::uint8_t genre1 = GenreTable::kNoGenre;
};

}  // namespace velmora
