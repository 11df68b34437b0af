#include "tags/file/SafeRename.h"

#include <sys/stat.h>

#include <cerrno>

#include "common/Messages.h"
#include "replace/RenameNoReplace.h"
#include "text/FileName.h"

namespace velmora {

namespace {

std::string PathOf(const std::u16string& directory, const std::u16string& name) {
    return text::TextToFileName(directory + u"/" + name);
}

}  // namespace

bool RenameNoReplace(const std::u16string& directory, const std::u16string& oldName,
                     const std::u16string& newName, int* error) {
    const std::error_code result =
        replace::RenameNoReplace(PathOf(directory, oldName), PathOf(directory, newName));
    if (error != nullptr) {
        *error = result.value();
    }
    return !result;
}

int ForeseenRenameError(const std::u16string& directory, const std::u16string& oldName,
                        const std::u16string& newName) {
    const std::string to = PathOf(directory, newName);
    struct stat info {};
    if (::lstat(to.c_str(), &info) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    // A name that differs only in case names the file itself on a case-folding file system.
    struct stat from {};
    const bool same = ::lstat(PathOf(directory, oldName).c_str(), &from) == 0 &&
                      from.st_dev == info.st_dev && from.st_ino == info.st_ino;
    return same ? 0 : EEXIST;
}

bool RenameFileOrReport(const std::u16string& directory, const std::u16string& oldName,
                        const std::u16string& newName, MessageSink& messages) {
    int error = 0;
    if (RenameNoReplace(directory, oldName, newName, &error)) {
        return true;
    }
    ShowError(messages, MessageKind::RenameFailed, {oldName, newName}, SystemError(error));
    return false;
}

}  // namespace velmora
