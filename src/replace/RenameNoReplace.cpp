#include "replace/RenameNoReplace.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "replace/ReplaceFaults.h"

namespace velmora::replace {

namespace {

// The errors of renameat2 that mean the file system lacks RENAME_NOREPLACE.
bool LacksNoReplace(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return ::lstat(first.c_str(), &a) == 0 && ::lstat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int LinkThenUnlink(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    return 0;
}

int Rename(const std::string& from, const std::string& to) {
    if (const int injected = InjectedReplaceFault(ReplaceStep::Rename)) {
        return injected;
    }
    int error = InjectedReplaceFault(ReplaceStep::KernelNoReplace);
    if (error == 0) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return 0;
        }
        error = errno;
    }
    if (LacksNoReplace(error)) {
        error = LinkThenUnlink(from, to);
    }
    if (error == EEXIST && SameFile(from, to)) {
        error = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    return error;
}

}  // namespace

std::error_code RenameNoReplace(const std::string& from, const std::string& to) {
    return {Rename(from, to), std::generic_category()};
}

}  // namespace velmora::replace
