#include "tags/file/SaveGuard.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>

#include "tags/file/BufferedFile.h"
#include "tags/file/FileException.h"

namespace velmora {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

void LockExclusive(int descriptor, const std::u16string& path) {
    while (::flock(descriptor, LOCK_EX) != 0) {
        // A file system without locks still gets the comparison of states.
        if (errno == ENOLCK || errno == EOPNOTSUPP)
            return;
        if (errno != EINTR)
            throw CFileExceptionEx(CFileExceptionEx::Cause::LockViolation, errno, path);
    }
}

FileIdentity IdentityOrThrow(BufferedFile& file, const std::u16string& path) {
    auto identity = IdentityOfOpenFile(file.Descriptor());
    if (!identity)
        throw CFileExceptionEx(errno, path);
    return *identity;
}

}  // namespace

std::optional<FileIdentity> LockUnchanged(BufferedFile& file, const std::u16string& path,
                                          const std::optional<FileIdentity>& expected) {
    LockExclusive(file.Descriptor(), path);
    const FileIdentity locked = IdentityOrThrow(file, path);
    // A save that replaced the file while this one waited leaves the lock on a file that no
    // name leads to any more.
    const auto named = IdentityOfPath(path);
    if (!named || !SameFile(*named, locked))
        return std::nullopt;
    if (expected && *expected != locked)
        return std::nullopt;
    return locked;
}

FileIdentity IdentityAfterWrite(BufferedFile& file, const std::u16string& path,
                                const FileIdentity& before) {
    file.Flush();
    FileIdentity after = IdentityOrThrow(file, path);
    if (after != before)
        return after;
    std::int64_t seconds = before.modifiedSeconds;
    std::int64_t nanoseconds = before.modifiedNanoseconds + 1;
    if (nanoseconds == kNanosecondsPerSecond) {
        ++seconds;
        nanoseconds = 0;
    }
    const struct timespec times[2] = {
        {0, UTIME_OMIT}, {static_cast<time_t>(seconds), static_cast<long>(nanoseconds)}};
    // Only the owner may set a time; for anyone else the change stays unseen in this rare case.
    if (::futimens(file.Descriptor(), times) == 0) {
        after.modifiedSeconds = seconds;
        after.modifiedNanoseconds = nanoseconds;
    }
    return after;
}

}  // namespace velmora
