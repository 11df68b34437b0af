#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "replace/RegularFile.h"
#include "replace/RenameNoReplace.h"
#include "replace/SafeReplace.h"

namespace velmora::settings {
namespace {

namespace fs = std::filesystem;

// Far above any settings file the program writes; a file that large is not one.
constexpr std::size_t kMaxSettingsBytes = 1024 * 1024;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// EFBIG as soon as the file turns out larger than a settings file can be.
std::error_code ReadWhole(int fd, std::string& out) {
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
        if (TooLargeForSettings(out.size())) {
            return std::make_error_code(std::errc::file_too_large);
        }
    }
}

std::string BrokenSuffix(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, ".broken-%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

bool TooLargeForSettings(std::uint64_t size) {
    return size > kMaxSettingsBytes;
}

fs::path LockPathFor(const fs::path& file) {
    fs::path lock = file;
    lock += ".lock";
    return lock;
}

std::error_code LockExclusive(const fs::path& lockFile, UniqueFd& held) {
    UniqueFd fd(replace::OpenRegularFile(lockFile.c_str(), O_RDWR | O_CREAT));
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
    const UniqueFd fd(replace::OpenRegularFile(file.c_str(), O_RDONLY));
    if (!fd.Valid()) {
        return errno == ENOENT ? std::error_code{} : LastError();
    }
    std::string bytes;
    if (const std::error_code error = ReadWhole(fd.Get(), bytes)) {
        return error;
    }
    text = std::move(bytes);
    return {};
}

std::error_code CreateFileIfAbsent(const fs::path& file) {
    const UniqueFd fd(replace::OpenRegularFile(file.c_str(), O_WRONLY | O_CREAT));
    return fd.Valid() ? std::error_code{} : LastError();
}

std::error_code ReplaceFile(const fs::path& file, std::string_view bytes) {
    struct stat existing {};
    const bool exists = ::stat(file.c_str(), &existing) == 0;
    if (exists && replace::RegularFileError(existing) != 0) {
        return {replace::RegularFileError(existing), std::generic_category()};
    }
    replace::SafeReplace replacement;
    std::error_code error = replacement.Begin(file.native(), replace::TemporaryPattern::Save(),
                                              exists ? &existing : nullptr);
    if (!error) {
        error = replacement.Write(bytes);
    }
    return error ? error : replacement.Commit();
}

std::error_code MoveAside(const fs::path& file, std::time_t when, fs::path& movedTo) {
    const std::string suffix = BrokenSuffix(when);
    for (int copy = 1; copy < 1000; ++copy) {
        movedTo = file;
        movedTo += suffix;
        if (copy > 1) {
            movedTo += "-";
            movedTo += std::to_string(copy);
        }
        const std::error_code error = replace::RenameNoReplace(file.native(), movedTo.native());
        if (error != std::errc::file_exists) {
            return error;
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

}  // namespace velmora::settings
