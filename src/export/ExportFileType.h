#pragma once

#include <string>
#include <vector>

namespace velmora {

// One entry of a Save dialog's filter list.
struct FileFilter {
    std::u16string name;     // "M3U Files"
    std::u16string pattern;  // "*.m3u"
    bool operator==(const FileFilter&) const = default;
};

// What the Save dialog of an export offers.
struct ExportFileType {
    // Appended (after a dot) when the user types a name without an extension.
    std::u16string defaultExtension;
    std::vector<FileFilter> filters;
    bool operator==(const ExportFileType&) const = default;
};

}  // namespace velmora
