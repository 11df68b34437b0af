#include "tags/AtomicReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <random>

#include "tags/ReplaceFaults.h"
#include "text/FileName.h"

namespace velmora {

namespace {

constexpr int kNameAttempts = 16;
constexpr mode_t kPermissionBits = 07777;

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

std::string TemporaryName(const std::string& directory) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device entropy;
    std::string name = directory + "/.velmora-save-";
    for (int i = 0; i < 12; ++i) {
        name += kHex[entropy() % 16];
    }
    return name + ".tmp";
}

// Makes the rename itself durable; the new file is complete whether or not this succeeds.
void SyncDirectory(const std::string& directory) {
    if (InjectedReplaceFault(ReplaceStep::SyncDirectory) != 0) {
        return;
    }
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

FileReplacement::FileReplacement(std::u16string path, std::string target, std::string directory)
    : path_(std::move(path)), target_(std::move(target)), directory_(std::move(directory)) {}

std::unique_ptr<FileReplacement> FileReplacement::Begin(const std::u16string& path,
                                                        BufferedFile& original) {
    std::string target = ResolvedPath(path);
    struct stat opened {};
    struct stat named {};
    if (::fstat(original.Descriptor(), &opened) != 0 || ::stat(target.c_str(), &named) != 0) {
        throw CFileExceptionEx(errno, path);
    }
    // The name must still lead to the file that was read, or the rename would replace another.
    if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
        throw CFileExceptionEx(CFileExceptionEx::Cause::SharingViolation, EBUSY, path);
    }
    // realpath gives an absolute path, so there is a slash; a file in the root keeps it.
    const std::size_t slash = target.find_last_of('/');
    std::string directory = target.substr(0, slash == 0 ? 1 : slash);
    std::unique_ptr<FileReplacement> replacement(
        new FileReplacement(path, std::move(target), std::move(directory)));
    replacement->mode_ = opened.st_mode & kPermissionBits;
    replacement->owner_ = opened.st_uid;
    replacement->group_ = opened.st_gid;
    if (!replacement->CreateTemporary()) {
        return nullptr;
    }
    return replacement;
}

bool FileReplacement::CreateTemporary() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = TemporaryName(directory_);
        CFileExceptionEx error;
        int injected = InjectedReplaceFault(ReplaceStep::CreateTemporary);
        if (injected == 0 &&
            file_.Open(text::FileNameToText(name),
                       BufferedFile::kReadWrite | BufferedFile::kCreateNew, error)) {
            temporary_ = std::move(name);
            created_ = true;
            // Before any content is written, so the audio is never readable by more people
            // than the original allowed.
            CopyOwnershipAndMode(file_.Descriptor());
            return true;
        }
        const int cause = injected != 0 ? injected : error.ErrorNumber();
        if (FolderRefusesFiles(cause)) {
            return false;
        }
        if (cause != EEXIST) {
            throw CFileExceptionEx(cause, path_);
        }
    }
    throw CFileExceptionEx(EEXIST, path_);
}

// Owner and group can only be kept where the system allows it (as root, or a group the user
// belongs to); the permission bits always, and last, since a change of owner clears the
// set-user-ID and set-group-ID bits.
void FileReplacement::CopyOwnershipAndMode(int descriptor) const {
    if (::fchown(descriptor, owner_, group_) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(descriptor, static_cast<uid_t>(-1), group_);
    }
    if (::fchmod(descriptor, mode_) != 0) {
        throw CFileExceptionEx(errno, path_);
    }
}

void FileReplacement::Commit() {
    file_.Sync();
    file_.Close();
    int error = InjectedReplaceFault(ReplaceStep::Rename);
    if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        throw CFileExceptionEx(error, path_);
    }
    committed_ = true;
    SyncDirectory(directory_);
}

FileReplacement::~FileReplacement() {
    if (created_ && !committed_) {
        try {
            file_.Close();
        } catch (const CFileExceptionEx&) {
            // The file is removed anyway.
        }
        ::unlink(temporary_.c_str());
    }
}

}  // namespace velmora
