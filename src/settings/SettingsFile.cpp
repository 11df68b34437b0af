#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace velmora::settings {
namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

UniqueFd OpenFile(const fs::path& file, int flags, mode_t mode = 0666) {
    int fd;
    do {
        fd = ::open(file.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return UniqueFd(fd);
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code ReadAll(int fd, std::string& out) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        if (got == 0) {
            return {};
        }
        out.append(buffer, static_cast<std::size_t>(got));
    }
}

// A name no other writer uses at the same time: the process id and a per-process count,
// created exclusively in case a crashed process with the same id left one behind.
std::error_code CreateTemporary(const fs::path& file, UniqueFd& fd, fs::path& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = file;
        name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = OpenFile(name, O_WRONLY | O_CREAT | O_EXCL);
        if (fd.Valid() || errno != EEXIST) {
            return fd.Valid() ? std::error_code{} : LastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

void FlushFolder(const fs::path& folder) {
    const UniqueFd fd = OpenFile(folder.empty() ? fs::path(".") : folder, O_RDONLY | O_DIRECTORY);
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

std::error_code WriteTemporary(int fd, const fs::path& file, std::string_view bytes) {
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0 && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        return LastError();
    }
    if (const std::error_code error = WriteAll(fd, bytes)) {
        return error;
    }
    return ::fsync(fd) == 0 ? std::error_code{} : LastError();
}

// Renames without replacing an existing target; file systems that cannot do that in one
// step get a check first (callers hold the writers' lock, so nobody races the check).
std::error_code RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return LastError();
    }
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code{} : LastError();
}

std::string BrokenSuffix(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, ".broken-%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

fs::path LockPathFor(const fs::path& file) {
    fs::path lock = file;
    lock += ".lock";
    return lock;
}

std::error_code LockExclusive(const fs::path& lockFile, UniqueFd& held) {
    UniqueFd fd = OpenFile(lockFile, O_RDWR | O_CREAT);
    if (!fd.Valid()) {
        return LastError();
    }
    int result;
    do {
        result = ::flock(fd.Get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        return LastError();
    }
    held = std::move(fd);
    return {};
}

std::error_code ReadFileIfPresent(const fs::path& file, std::optional<std::string>& text) {
    text.reset();
    const UniqueFd fd = OpenFile(file, O_RDONLY);
    if (!fd.Valid()) {
        return errno == ENOENT ? std::error_code{} : LastError();
    }
    std::string bytes;
    if (const std::error_code error = ReadAll(fd.Get(), bytes)) {
        return error;
    }
    text = std::move(bytes);
    return {};
}

std::error_code CreateFileIfAbsent(const fs::path& file) {
    const UniqueFd fd = OpenFile(file, O_WRONLY | O_CREAT);
    return fd.Valid() ? std::error_code{} : LastError();
}

std::error_code ReplaceFile(const fs::path& file, std::string_view bytes) {
    UniqueFd fd;
    fs::path temporary;
    if (const std::error_code error = CreateTemporary(file, fd, temporary)) {
        return error;
    }
    std::error_code error = WriteTemporary(fd.Get(), file, bytes);
    fd.Reset();
    if (!error && ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    FlushFolder(file.parent_path());
    return {};
}

std::error_code MoveAside(const fs::path& file, std::time_t when, fs::path& movedTo) {
    const std::string suffix = BrokenSuffix(when);
    for (int copy = 1; copy < 1000; ++copy) {
        movedTo = file;
        movedTo += suffix;
        if (copy > 1) {
            movedTo += "-" + std::to_string(copy);
        }
        const std::error_code error = RenameNoReplace(file, movedTo);
        if (error != std::errc::file_exists) {
            return error;
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

fs::path FollowLinks(const fs::path& file) {
    fs::path current = file;
    // The same bound as the kernel's for nested links (MAXSYMLINKS).
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(current, error)) {
            return current;
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            return current;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current;
}

}  // namespace velmora::settings
