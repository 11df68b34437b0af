#include "replace/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace velmora::replace {

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

int RegularFileError(const struct stat& status) {
    if (S_ISREG(status.st_mode)) {
        return 0;
    }
    return S_ISDIR(status.st_mode) ? EISDIR : kNotRegularFile;
}

int OpenRegularFile(const char* path, int flags, mode_t mode, struct stat* opened) {
    int fd;
    do {
        fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return fd;
    }
    struct stat status {};
    int error = ::fstat(fd, &status) != 0 ? errno : RegularFileError(status);
    // Reads of a regular file never wait on O_NONBLOCK, so a file opened only to be read keeps
    // it: two calls fewer for each file of a folder being loaded. Writes clear it all the same.
    const bool readOnly = (flags & O_ACCMODE) == O_RDONLY;
    if (error == 0 && (flags & O_NONBLOCK) == 0 && !readOnly) {
        const int statusFlags = ::fcntl(fd, F_GETFL);
        if (statusFlags < 0 || ::fcntl(fd, F_SETFL, statusFlags & ~O_NONBLOCK) != 0) {
            error = errno;
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    if (opened != nullptr) {
        *opened = status;
    }
    return fd;
}

std::error_code CheckReplaceable(const std::string& target, struct stat& existing) {
    existing = {};
    int error = 0;
    if (target.empty()) {
        error = ENOENT;
    } else if (target.back() == '/') {
        error = EISDIR;  // a name ending in a separator names a folder
    } else if (::stat(target.c_str(), &existing) != 0) {
        error = errno == ENOENT ? 0 : errno;
        existing = {};
    } else if ((error = RegularFileError(existing)) == 0 &&
               ((existing.st_mode & kAnyWrite) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        error = EACCES;
    }
    return {error, std::generic_category()};
}

}  // namespace velmora::replace
