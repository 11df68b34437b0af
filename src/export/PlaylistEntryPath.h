#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The entry of a playlist line for the file `name` in `fileFolder`, seen from a playlist
// in `playlistFolder`; both folders absolute and normal (no "." or ".." parts, no trailing
// separator). Only the name when both folders are one, a relative path otherwise, the
// absolute path when there is no relative one.
std::u16string RelativeEntry(std::u16string_view fileFolder, std::u16string_view name,
                             std::u16string_view playlistFolder);

// The entry for the playlist `playlistPath`: resolves both folders first (made absolute,
// symbolic links among them followed, so the entry leads where the kernel goes; the file's
// own name is kept). A path holding a line break cannot stand on a playlist line, nor can one
// that is not UTF-8 text in a UTF-8 playlist: such a path becomes a file URI with those
// bytes percent-encoded. A relative entry that starts with "#" or a blank starts with "./".
std::u16string PlaylistEntryPath(std::u16string_view fileFolder, std::u16string_view name,
                                 std::u16string_view playlistPath, bool utf8Playlist);

}  // namespace velmora
