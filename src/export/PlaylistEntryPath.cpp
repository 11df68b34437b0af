#include "export/PlaylistEntryPath.h"

#include <filesystem>
#include <system_error>

#include "export/FileUri.h"
#include "text/FileName.h"

namespace velmora {

namespace {

namespace fs = std::filesystem;

fs::path ToPath(std::u16string_view text) {
    return fs::path(text::TextToFileName(text));
}

std::u16string ToText(const fs::path& path) {
    return text::FileNameToText(path.native());
}

// Absolute, normal, symbolic links followed as far as the folder exists. An empty folder (the
// parent of a bare name) is the working folder.
fs::path ResolvedFolder(const fs::path& folder) {
    std::error_code error;
    fs::path absolute = fs::absolute(folder.empty() ? fs::path(".") : folder, error);
    if (error) {
        absolute = folder;
    }
    fs::path resolved = fs::weakly_canonical(absolute, error);
    if (error) {
        resolved = absolute.lexically_normal();
    }
    if (!resolved.has_filename() && resolved.has_relative_path()) {
        resolved = resolved.parent_path();  // drop a trailing separator
    }
    return resolved;
}

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

// A playlist reader takes a line that starts with "#" for a comment and drops the blanks
// that start a line or a value.
bool NeedsDotSlash(std::u16string_view entry) {
    return !entry.empty() && (entry[0] == u'#' || entry[0] == u' ' || entry[0] == u'\t');
}

}  // namespace

std::u16string RelativeEntry(std::u16string_view fileFolder, std::u16string_view name,
                             std::u16string_view playlistFolder) {
    const fs::path folder = ToPath(fileFolder);
    const fs::path relative = folder.lexically_relative(ToPath(playlistFolder));
    if (relative.empty()) {
        return ToText(folder / ToPath(name));
    }
    if (relative == ".") {
        return std::u16string(name);
    }
    return ToText(relative / ToPath(name));
}

std::u16string PlaylistEntryPath(std::u16string_view fileFolder, std::u16string_view name,
                                 std::u16string_view playlistPath, bool utf8Playlist) {
    const fs::path folder = ResolvedFolder(ToPath(fileFolder));
    const fs::path playlistFolder = ResolvedFolder(ToPath(playlistPath).parent_path());
    const std::u16string entry = RelativeEntry(ToText(folder), name, ToText(playlistFolder));
    if (HasLineBreak(entry) || (utf8Playlist && text::HoldsEscapedBytes(entry))) {
        return FileUri(ToText(folder / ToPath(name)));
    }
    return NeedsDotSlash(entry) ? u"./" + entry : entry;
}

}  // namespace velmora
