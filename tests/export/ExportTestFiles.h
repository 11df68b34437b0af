#pragma once

#include <cstdint>
#include <string>

#include "export/ExportedFile.h"
#include "tags/FileTestHelpers.h"   // TextPath()
#include "tags/Id3v2TestSupport.h"  // Cp1252()

namespace velmora::testing {

// A file in /music with the given name; set further fields on the result.
inline ExportedFile MakeFile(std::u16string name, std::u16string artist = {},
                             std::u16string title = {}, std::uint32_t duration = 0,
                             std::uint16_t bitrate = 0) {
    ExportedFile file;
    file.directory = u"/music";
    file.name = std::move(name);
    file.artist = std::move(artist);
    file.title = std::move(title);
    file.duration = duration;
    file.bitrate = bitrate;
    return file;
}

}  // namespace velmora::testing
