#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "export/ExportedFile.h"
#include "tags/Id3v2TestSupport.h"  // Cp1252()
#include "text/FileName.h"

namespace velmora::testing {

// A file in /music with the given name; set further fields on the result.
inline ExportedFile MakeFile(std::u16string name, std::u16string artist = {},
                             std::u16string title = {}, std::uint32_t duration = 0) {
    ExportedFile file;
    file.directory = u"/music";
    file.name = std::move(name);
    file.artist = std::move(artist);
    file.title = std::move(title);
    file.duration = duration;
    return file;
}

// A path as the program's text, converted losslessly.
inline std::u16string Text(const std::filesystem::path& path) {
    return text::FileNameToText(path.native());
}

}  // namespace velmora::testing
