#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "export/ExportedFile.h"
#include "text/CodePage.h"

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

inline const text::CodePage& Cp1252() {
    static const std::unique_ptr<text::CodePage> codePage = text::CodePage::Create("CP1252");
    return *codePage;
}

}  // namespace velmora::testing
