#include "replace/Leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "replace/UniqueFd.h"

namespace velmora::replace {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool RemoveIfLeftover(const std::string& folder, const std::string& name,
                      const TemporaryPattern& pattern) {
    if (!pattern.Matches(name)) {
        return false;
    }
    const std::string path = folder + "/" + name;
    // Non-blocking and without following links: a FIFO or a link of that name is not ours.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (!fd.Valid() || ::fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    // Renamed into place (or replaced) since it was opened: that name is no longer the file.
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || named.st_dev != opened.st_dev ||
        named.st_ino != opened.st_ino) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

void RemoveLeftovers(const std::string& folder, const TemporaryPattern& pattern) {
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        RemoveIfLeftover(folder, entry->d_name, pattern);
    }
}

}  // namespace velmora::replace
