#include "export/ReplacingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "text/FileName.h"

namespace velmora {

namespace {

namespace fs = std::filesystem;

// Room for the dot, the random part and ".tmp" within a 255-byte file name.
constexpr std::size_t kMaxStemBytes = 200;
constexpr int kNameAttempts = 32;

// The file a symbolic link leads to, else the path itself.
std::string Resolved(const std::string& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) {
        return target;
    }
    const fs::path resolved = fs::weakly_canonical(target, error);
    return error ? target : resolved.native();
}

// 0 when the target may be replaced: absent, or a regular file the caller may write.
int CheckTarget(const std::string& target, struct stat& status) {
    if (target.empty()) {
        return ENOENT;
    }
    if (fs::path(target).filename().empty()) {
        return EISDIR;  // a name ending in a separator names a folder
    }
    if (::stat(target.c_str(), &status) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(status.st_mode)) {
        return EINVAL;
    }
    return ::access(target.c_str(), W_OK) == 0 ? 0 : errno;
}

std::string TemporaryName(const std::string& target, std::mt19937& random) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const fs::path path(target);
    std::string name = "." + path.filename().native().substr(0, kMaxStemBytes) + ".";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[random() % (sizeof kLetters - 1)];
    }
    return (path.parent_path() / (name + ".tmp")).native();
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    if (!committed_) {
        RemoveTemporary();
    }
}

bool ReplacingFile::Open(const std::u16string& target, CFileExceptionEx& error) {
    const std::string resolved = Resolved(text::TextToFileName(target));
    struct stat status {};
    if (const int cause = CheckTarget(resolved, status); cause != 0) {
        error = CFileExceptionEx(cause, target);
        return false;
    }
    if (!CreateTemporary(resolved, error)) {
        return false;
    }
    target_ = text::FileNameToText(resolved);
    if (status.st_mode != 0) {
        // The replacement keeps the permissions of the file it replaces.
        ::fchmod(file_.Descriptor(), status.st_mode & 07777);
    }
    return true;
}

bool ReplacingFile::CreateTemporary(const std::string& target, CFileExceptionEx& error) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::u16string name = text::FileNameToText(TemporaryName(target, random));
        if (file_.Open(name, BufferedFile::kWrite | BufferedFile::kCreateNew, error)) {
            temporary_ = name;
            return true;
        }
        if (error.ErrorNumber() != EEXIST) {
            return false;
        }
    }
    return false;
}

void ReplacingFile::Write(std::string_view bytes) {
    file_.Write(bytes.data(), bytes.size());
}

void ReplacingFile::Commit() {
    file_.Flush();
    file_.Sync();
    file_.Close();
    const std::string from = text::TextToFileName(temporary_);
    const std::string to = text::TextToFileName(target_);
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        throw CFileExceptionEx(errno, target_);
    }
    committed_ = true;
}

void ReplacingFile::RemoveTemporary() {
    if (temporary_.empty()) {
        return;
    }
    try {
        file_.Close();
    } catch (const CFileExceptionEx&) {
        // Nothing of the temporary file is kept, so its close errors do not matter.
    }
    ::unlink(text::TextToFileName(temporary_).c_str());
}

}  // namespace velmora
