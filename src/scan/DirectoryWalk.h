#pragma once

#include <functional>
#include <stop_token>
#include <string>

namespace velmora {

// Called for each MP3 file the walk meets: the directory (no trailing separator) and the
// file's name.
using Mp3FileVisitor =
    std::function<void(const std::u16string& directory, const std::u16string& name)>;

// True when the name ends in ".mp3", compared without regard to case (a name of four
// characters or fewer is compared whole).
bool HasMp3Extension(std::u16string_view name);

// Walks `directory` in the order the file system returns its entries, calling `visit` for
// each MP3 file (regular files only: a FIFO or a device named like one is skipped, never
// opened); with `recurse`, each subdirectory is walked at once, depth first, where it
// is met. A directory that cannot be read is skipped silently. A directory already entered
// (same device and inode, for instance through a symbolic link back up the tree) is not
// entered again. Unlocked leftovers of interrupted saves (".velmora-save-*.tmp") met on the
// way are removed. A stop request ends the walk before the next entry.
void WalkDirectory(const std::u16string& directory, bool recurse, const Mp3FileVisitor& visit,
                   std::stop_token stop = {});

}  // namespace velmora
