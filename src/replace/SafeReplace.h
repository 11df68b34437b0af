#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "replace/InterruptCleanup.h"
#include "replace/TemporaryPattern.h"
#include "replace/UniqueFd.h"

namespace velmora::replace {

// Replaces a file so that at every moment its name leads to the whole old file or the whole
// new one: the new content goes to a temporary file beside the target, which is put on disk
// (fsync), renamed over the target, and the folder is put on disk too. Until the rename the
// target is untouched; whatever fails, or when the object goes away uncommitted, the
// temporary file is removed, and an interrupt (SIGINT, SIGTERM, SIGHUP) removes it as well.
// The temporary file stays locked (flock) until the rename, which marks it as in use for
// the sweep of leftovers that Begin does first. Every failure is the system's errno.
class SafeReplace {
  public:
    enum class Mode { Replace, NoReplace };

    SafeReplace() = default;
    ~SafeReplace();
    SafeReplace(const SafeReplace&) = delete;
    SafeReplace& operator=(const SafeReplace&) = delete;

    // Creates the temporary file for `target` (links already followed by the caller), named
    // after `pattern`. With `like`, the new file takes its permission bits, and its owner
    // and group where the system allows, before any byte is written; else it gets the
    // permissions of any new file.
    std::error_code Begin(const std::string& target, const TemporaryPattern& pattern,
                          const struct stat* like);

    // Appends to the temporary file.
    std::error_code Write(std::string_view bytes);

    // fsync, rename (NoReplace: EEXIST when the target exists by then), fsync of the folder.
    // A failing folder fsync is not reported: the new file is in place either way.
    std::error_code Commit(Mode mode = Mode::Replace);

    const std::string& TemporaryPath() const { return temporary_; }
    const std::string& Folder() const { return folder_; }
    int Descriptor() const { return fd_.Get(); }

  private:
    std::error_code Create(const TemporaryPattern& pattern);
    std::error_code TakeOver(const struct stat* like);
    void Discard();

    std::string target_;
    std::string folder_;
    std::string temporary_;
    UniqueFd fd_;
    PendingRemoval pending_;
    std::uint64_t written_ = 0;
};

// The folder of a path: "." for a bare name, "/" for a file in the root.
std::string FolderOf(const std::string& path);

// Follows symbolic links to the file they name (which need not exist), so that replacing
// it keeps the links, for example into a dotfiles repository, in place.
std::string FollowLinks(const std::string& path);

}  // namespace velmora::replace
