#include "tags/file/AtomicReplace.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "text/FileName.h"

namespace velmora {

namespace {

// Errors of creating a file that mean the folder takes no new files at all.
bool FolderRefusesFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

std::string ResolvedPath(const std::u16string& path) {
    const std::string name = text::TextToFileName(path);
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        throw CFileExceptionEx(errno, path);
    }
    return resolved.get();
}

}  // namespace

std::unique_ptr<FileReplacement> FileReplacement::Begin(const std::u16string& path,
                                                        BufferedFile& original) {
    const std::string target = ResolvedPath(path);
    struct stat opened {};
    struct stat named {};
    if (::fstat(original.Descriptor(), &opened) != 0 || ::stat(target.c_str(), &named) != 0) {
        throw CFileExceptionEx(errno, path);
    }
    // The name must still lead to the file that was read, or the rename would replace another.
    if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
        throw CFileExceptionEx(CFileExceptionEx::Cause::Busy, EBUSY, path);
    }
    std::unique_ptr<FileReplacement> replacement(new FileReplacement(path));
    const std::error_code error =
        replacement->replace_.Begin(target, replace::TemporaryPattern::Save(), &opened);
    if (FolderRefusesFiles(error.value())) {
        return nullptr;
    }
    if (error) {
        throw CFileExceptionEx(error.value(), path);
    }
    CFileExceptionEx openError;
    if (!replacement->file_.Open(text::FileNameToText(replacement->replace_.TemporaryPath()),
                                 BufferedFile::kReadWrite | BufferedFile::kOpenExisting,
                                 openError)) {
        throw CFileExceptionEx(openError.ErrorNumber(), path);
    }
    return replacement;
}

void FileReplacement::Commit() {
    file_.Sync();
    file_.Close();
    if (const std::error_code error = replace_.Commit()) {
        throw CFileExceptionEx(error.value(), path_);
    }
}

}  // namespace velmora
