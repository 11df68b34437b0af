#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace velmora::file_calls {

// The system calls of BufferedFile, each passing through the fault hook of the calling thread
// (BufferedFileFaults.h) when one is installed. They return what the system call returns and
// set errno the same way; EINTR is retried here. Open opens regular files only and fills
// `opened` with the status of the file it opened.
int Open(const char* name, int flags, struct stat& opened);
ssize_t PRead(int fd, void* buffer, std::size_t count, std::uint64_t offset);
ssize_t PWrite(int fd, const void* bytes, std::size_t count, std::uint64_t offset);
int FTruncate(int fd, std::uint64_t length);
int FSync(int fd);
int FStatSize(int fd, std::uint64_t& size);
int Close(int fd);

}  // namespace velmora::file_calls
