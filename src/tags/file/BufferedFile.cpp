#include "tags/file/BufferedFile.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>

#include "tags/file/BufferedFileCalls.h"
#include "text/FileName.h"

namespace velmora {

namespace {

// Positions beyond this do not fit the system's signed file offset.
constexpr std::uint64_t kMaxPosition = std::numeric_limits<off_t>::max();

int AccessFlags(unsigned mode) {
    const bool read = (mode & BufferedFile::kRead) != 0;
    const bool write = (mode & BufferedFile::kWrite) != 0;
    if ((mode & BufferedFile::kReadWrite) != 0 || (read && write)) {
        return O_RDWR;
    }
    return write ? O_WRONLY : O_RDONLY;
}

// Write alone creates or truncates; everything else opens an existing file, unless one of
// the explicit creation bits says otherwise.
int CreationFlags(unsigned mode, int access) {
    if ((mode & BufferedFile::kCreateNew) != 0) {
        return O_CREAT | O_EXCL;
    }
    if ((mode & BufferedFile::kCreateAlways) != 0) {
        return O_CREAT | O_TRUNC;
    }
    if ((mode & BufferedFile::kOpenAlways) != 0) {
        return O_CREAT;
    }
    if ((mode & BufferedFile::kOpenExisting) != 0) {
        return 0;
    }
    return access == O_WRONLY ? (O_CREAT | O_TRUNC) : 0;
}

int OpenFlags(unsigned mode) {
    int access = AccessFlags(mode);
    const int creation = CreationFlags(mode, access);
    // O_TRUNC with O_RDONLY is undefined; truncating needs write access anyway.
    if ((creation & O_TRUNC) != 0 && access == O_RDONLY) {
        access = O_RDWR;
    }
    return access | creation | O_CLOEXEC;
}

}  // namespace

struct BufferedFile::Impl {
    int fd = -1;
    std::u16string path;
    // Where the next read or write of the handle goes; the pending bytes belong here.
    std::uint64_t position = 0;
    std::unique_ptr<std::byte[]> buffer;
    std::size_t pending = 0;
    // A handle opened for reading only cannot change the file's size through itself, so the
    // first answer is kept (a load asks several times). Any write or truncate forgets it.
    bool readOnly = false;
    std::optional<std::uint64_t> knownSize;
    FileIdentity openedAs;

    [[noreturn]] void Fail(int error) const { throw CFileExceptionEx(error, path); }
    [[noreturn]] void Fail(CFileExceptionEx::Cause cause, int error) const {
        throw CFileExceptionEx(cause, error, path);
    }

    void RequireOpen() const {
        if (fd < 0) {
            Fail(CFileExceptionEx::Cause::InvalidFile, EBADF);
        }
    }

    void RequirePosition(std::uint64_t at) const {
        if (at > kMaxPosition) {
            Fail(CFileExceptionEx::Cause::BadSeek, EINVAL);
        }
    }

    // Writes all bytes at `position`, advancing it by what reached the file, also when a
    // later part fails.
    void WriteAll(const std::byte* bytes, std::size_t count) {
        if (position > kMaxPosition || count > kMaxPosition - position) {
            Fail(EFBIG);
        }
        while (count > 0) {
            const ssize_t written = file_calls::PWrite(fd, bytes, count, position);
            if (written < 0) {
                Fail(errno);
            }
            if (written == 0) {
                Fail(ENOSPC);
            }
            const auto done = static_cast<std::size_t>(written);
            bytes += done;
            count -= done;
            position += done;
        }
    }

    // Writes the pending bytes. On failure the bytes that did not reach the file stay
    // pending, so a later flush can still write them.
    void FlushBuffer() {
        if (pending == 0) {
            return;
        }
        const std::uint64_t start = position;
        try {
            WriteAll(buffer.get(), pending);
        } catch (const CFileExceptionEx&) {
            const auto done = static_cast<std::size_t>(position - start);
            std::memmove(buffer.get(), buffer.get() + done, pending - done);
            pending -= done;
            throw;
        }
        pending = 0;
    }

    void Buffer(const std::byte* bytes, std::size_t count) {
        if (!buffer) {
            buffer = std::make_unique<std::byte[]>(kBufferSize);
        }
        std::memcpy(buffer.get() + pending, bytes, count);
        pending += count;
    }

    void BufferedWrite(const std::byte* bytes, std::size_t count) {
        while (count > 0) {
            if (pending == 0 && count >= kBufferSize) {
                // Whole buffers' worth go straight from the caller's memory.
                const std::size_t direct = count - count % kBufferSize;
                WriteAll(bytes, direct);
                bytes += direct;
                count -= direct;
                continue;
            }
            const std::size_t space = kBufferSize - pending;
            if (count < space) {
                Buffer(bytes, count);
                return;
            }
            Buffer(bytes, space);
            bytes += space;
            count -= space;
            FlushBuffer();
        }
    }
};

BufferedFile::BufferedFile() : impl_(std::make_unique<Impl>()) {}

BufferedFile::~BufferedFile() {
    try {
        Close();
    } catch (const CFileExceptionEx&) {
        // A destructor cannot report; callers that care call Close themselves.
    }
}

bool BufferedFile::Open(const std::u16string& path, unsigned mode, CFileExceptionEx& error) {
    if (IsOpen()) {
        try {
            Close();
        } catch (const CFileExceptionEx& closeError) {
            error = closeError;
            return false;
        }
    }
    const std::string name = text::TextToFileName(path);
    if (name.find('\0') != std::string::npos) {
        error = CFileExceptionEx(CFileExceptionEx::Cause::BadPath, EINVAL, path);
        return false;
    }
    struct stat opened {};
    const int fd = file_calls::Open(name.c_str(), OpenFlags(mode), opened);
    if (fd < 0) {
        error = CFileExceptionEx(errno, path);
        return false;
    }
    const bool readOnly = (OpenFlags(mode) & O_ACCMODE) == O_RDONLY;
    // Saves stream whole files through writable handles. A load reads a few kilobytes at the
    // front and the last 128 bytes, where a sequential hint would only widen read-ahead.
    if (!readOnly) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);  // only a hint
    }
    impl_->fd = fd;
    impl_->path = path;
    impl_->position = 0;
    impl_->pending = 0;
    impl_->readOnly = readOnly;
    impl_->openedAs = IdentityOf(opened);
    // The open read the status already: a load needs no second fstat for the size.
    impl_->knownSize.reset();
    if (readOnly) {
        impl_->knownSize = impl_->openedAs.size;
    }
    return true;
}

bool BufferedFile::IsOpen() const {
    return impl_->fd >= 0;
}

std::uint64_t BufferedFile::Size() {
    impl_->RequireOpen();
    impl_->FlushBuffer();
    if (impl_->knownSize) {
        return *impl_->knownSize;
    }
    std::uint64_t size = 0;
    if (file_calls::FStatSize(impl_->fd, size) != 0) {
        impl_->Fail(errno);
    }
    if (impl_->readOnly) {
        impl_->knownSize = size;
    }
    return size;
}

void BufferedFile::Seek(std::uint64_t position) {
    impl_->RequireOpen();
    impl_->FlushBuffer();
    impl_->RequirePosition(position);
    impl_->position = position;
}

std::uint64_t BufferedFile::Tell() {
    impl_->RequireOpen();
    return impl_->position;
}

std::size_t BufferedFile::Read(void* buffer, std::size_t count) {
    impl_->RequireOpen();
    impl_->FlushBuffer();
    auto* out = static_cast<std::byte*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        const ssize_t got =
            file_calls::PRead(impl_->fd, out + total, count - total, impl_->position);
        if (got < 0) {
            impl_->Fail(errno);
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
        impl_->position += static_cast<std::uint64_t>(got);
    }
    return total;
}

void BufferedFile::Write(const void* bytes, std::size_t count) {
    impl_->RequireOpen();
    impl_->knownSize.reset();
    impl_->BufferedWrite(static_cast<const std::byte*>(bytes), count);
}

void BufferedFile::Truncate(std::uint64_t at) {
    impl_->RequireOpen();
    impl_->knownSize.reset();
    impl_->FlushBuffer();
    impl_->RequirePosition(at);
    impl_->position = at;
    if (file_calls::FTruncate(impl_->fd, at) != 0) {
        impl_->Fail(errno);
    }
}

void BufferedFile::Flush() {
    impl_->RequireOpen();
    impl_->FlushBuffer();
}

void BufferedFile::Sync() {
    impl_->RequireOpen();
    impl_->FlushBuffer();
    if (file_calls::FSync(impl_->fd) != 0) {
        impl_->Fail(errno);
    }
}

void BufferedFile::Close() {
    if (!IsOpen()) {
        return;
    }
    // The handle is released even when the pending bytes cannot be written; the failure is
    // still reported.
    std::exception_ptr flushError;
    try {
        impl_->FlushBuffer();
    } catch (const CFileExceptionEx&) {
        flushError = std::current_exception();
    }
    const int fd = impl_->fd;
    impl_->fd = -1;
    impl_->knownSize.reset();
    impl_->pending = 0;
    const int closed = file_calls::Close(fd);
    if (flushError) {
        std::rethrow_exception(flushError);
    }
    if (closed != 0) {
        impl_->Fail(errno);
    }
}

const FileIdentity& BufferedFile::OpenedAs() const {
    impl_->RequireOpen();
    return impl_->openedAs;
}

int BufferedFile::Descriptor() const {
    return impl_->fd;
}

}  // namespace velmora
