#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace velmora::replace {

// The errno that stands for "not a regular file" (a FIFO, a device, a socket).
inline constexpr int kNotRegularFile = EINVAL;

// 0 for a regular file, EISDIR for a folder, kNotRegularFile for anything else.
int RegularFileError(const struct stat& status);

// open(2) that never waits on a FIFO or a device and opens nothing but regular files: the
// open does not block, the type is checked on the descriptor, and only then are writes made
// blocking again (reads of a regular file do not heed the flag). Returns the descriptor, or -1 with
// errno set. `opened`, when given, receives the status of the file opened, so a caller needs no
// fstat of its own.
int OpenRegularFile(const char* path, int flags, mode_t mode = 0666, struct stat* opened = nullptr);

// What a replacement may replace: nothing (absent, `existing` cleared to mode 0), or a
// regular file with some write permission that the caller may write. A file with no write
// bit at all counts as read-only even for root: its owner marked it so on purpose. Refusals
// come back as EISDIR, kNotRegularFile, EACCES or the stat error.
std::error_code CheckReplaceable(const std::string& target, struct stat& existing);

}  // namespace velmora::replace
