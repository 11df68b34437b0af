#include "tags/file/BufferedFileCalls.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "replace/RegularFile.h"
#include "tags/file/BufferedFileFaults.h"

namespace velmora::file_calls {

namespace {

// True, with errno set to the hook's error, when the installed faults make this call fail.
bool Injected(FileCall call) {
    FileFaults* faults = InstalledFileFaults();
    if (faults == nullptr) {
        return false;
    }
    const int error = faults->Enter(call);
    errno = error;
    return error != 0;
}

template <typename Call>
auto RetryOnInterrupt(Call call) {
    for (;;) {
        auto result = call();
        if (result >= 0 || errno != EINTR) {
            return result;
        }
    }
}

}  // namespace

int Open(const char* name, int flags, struct stat& opened) {
    if (Injected(FileCall::Open)) {
        return -1;
    }
    // A FIFO or a device named like an MP3 would block the open or read forever.
    return replace::OpenRegularFile(name, flags, 0666, &opened);
}

ssize_t PRead(int fd, void* buffer, std::size_t count, std::uint64_t offset) {
    if (Injected(FileCall::Read)) {
        return -1;
    }
    return RetryOnInterrupt([&] { return ::pread(fd, buffer, count, static_cast<off_t>(offset)); });
}

ssize_t PWrite(int fd, const void* bytes, std::size_t count, std::uint64_t offset) {
    if (FileFaults* faults = InstalledFileFaults()) {
        if (const int error = faults->EnterWrite(offset, count)) {
            errno = error;
            return -1;
        }
    }
    return RetryOnInterrupt([&] { return ::pwrite(fd, bytes, count, static_cast<off_t>(offset)); });
}

int FTruncate(int fd, std::uint64_t length) {
    if (Injected(FileCall::Truncate)) {
        return -1;
    }
    return RetryOnInterrupt([&] { return ::ftruncate(fd, static_cast<off_t>(length)); });
}

int FSync(int fd) {
    if (Injected(FileCall::Sync)) {
        return -1;
    }
    return RetryOnInterrupt([&] { return ::fsync(fd); });
}

int FStatSize(int fd, std::uint64_t& size) {
    if (Injected(FileCall::Size)) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return 0;
}

int Close(int fd) {
    if (Injected(FileCall::Close)) {
        // The descriptor is released all the same, as close(2) does on Linux even when it
        // reports an error.
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    // close(2) must not be retried on EINTR: the descriptor is gone either way.
    const int result = ::close(fd);
    return (result != 0 && errno == EINTR) ? 0 : result;
}

}  // namespace velmora::file_calls
