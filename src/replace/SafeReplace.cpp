#include "replace/SafeReplace.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "replace/Leftovers.h"
#include "replace/RenameNoReplace.h"
#include "replace/ReplaceFaults.h"

namespace velmora::replace {

namespace {

constexpr int kNameAttempts = 32;
constexpr mode_t kPermissionBits = 07777;
// The same bound as the kernel's for nested links (MAXSYMLINKS).
constexpr int kMaxLinkDepth = 40;

std::error_code SystemError(int error) {
    return {error, std::generic_category()};
}

// errno after the step, or the error the installed fault hook injects for it.
template <typename Call>
int Step(ReplaceStep step, Call call) {
    if (const int injected = InjectedReplaceFault(step)) {
        return injected;
    }
    int result;
    do {
        result = call();
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

void SyncFolder(const std::string& folder) {
    if (InjectedReplaceFault(ReplaceStep::SyncDirectory) != 0) {
        return;
    }
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FollowLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(current, error)) {
            break;
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            break;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.native();
}

SafeReplace::~SafeReplace() {
    Discard();
}

std::error_code SafeReplace::Begin(const std::string& target, const TemporaryPattern& pattern,
                                   const struct stat* like) {
    Discard();
    target_ = target;
    folder_ = FolderOf(target);
    RemoveLeftovers(folder_, pattern);
    if (const std::error_code error = Create(pattern)) {
        return error;
    }
    if (const std::error_code error = TakeOver(like)) {
        Discard();
        return error;
    }
    return {};
}

// Creates and locks a new file; a name some other file took meanwhile, or a file the sweep
// of another process removed between our create and lock, means trying another name.
std::error_code SafeReplace::Create(const TemporaryPattern& pattern) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = folder_ + "/" + pattern.Make(random);
        int fd = -1;
        const int error = Step(ReplaceStep::CreateTemporary, [&] {
            const SignalsHeld held;
            fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) {
                pending_.Register(name);
            }
            return fd >= 0 ? 0 : -1;
        });
        if (error == EEXIST) {
            continue;
        }
        if (error != 0) {
            return SystemError(error);
        }
        fd_ = UniqueFd(fd);
        temporary_ = name;
        if (const int locked = Step(ReplaceStep::Lock, [&] { return ::flock(fd, LOCK_EX); })) {
            Discard();
            return SystemError(locked);
        }
        struct stat status {};
        if (::fstat(fd, &status) == 0 && status.st_nlink > 0) {
            return {};
        }
        pending_.Release();
        fd_.Reset();
        temporary_.clear();
    }
    return SystemError(EEXIST);
}

// Owner and group can only be kept where the system allows it (as root, or a group the user
// belongs to); the permission bits always, and last, since a change of owner clears the
// set-user-ID and set-group-ID bits.
std::error_code SafeReplace::TakeOver(const struct stat* like) {
    if (like == nullptr) {
        return {};
    }
    if (::fchown(fd_.Get(), like->st_uid, like->st_gid) != 0) {
        [[maybe_unused]] const int ignored =
            ::fchown(fd_.Get(), static_cast<uid_t>(-1), like->st_gid);
    }
    const int fd = fd_.Get();
    return SystemError(
        Step(ReplaceStep::Chmod, [&] { return ::fchmod(fd, like->st_mode & kPermissionBits); }));
}

std::error_code SafeReplace::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (const int injected = InjectedReplaceFault(ReplaceStep::Write)) {
            return SystemError(injected);
        }
        const ssize_t written =
            ::pwrite(fd_.Get(), bytes.data(), bytes.size(), static_cast<off_t>(written_));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        written_ += static_cast<std::uint64_t>(written);
    }
    return {};
}

std::error_code SafeReplace::Commit(Mode mode) {
    const int fd = fd_.Get();
    if (const int error = Step(ReplaceStep::Sync, [&] { return ::fsync(fd); })) {
        return SystemError(error);
    }
    std::error_code error;
    if (mode == Mode::NoReplace) {
        error = RenameNoReplace(temporary_, target_);
    } else {
        error = SystemError(Step(ReplaceStep::Rename,
                                 [&] { return ::rename(temporary_.c_str(), target_.c_str()); }));
    }
    if (error) {
        return error;
    }
    pending_.Release();
    temporary_.clear();
    SyncFolder(folder_);
    // Closing releases the lock, after the rename: the sweep never sees an unlocked file.
    fd_.Reset();
    return {};
}

void SafeReplace::Discard() {
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    pending_.Release();
    fd_.Reset();
    written_ = 0;
}

}  // namespace velmora::replace
