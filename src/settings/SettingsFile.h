#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "replace/UniqueFd.h"

// Disk access of the settings file. Every function reports failures through its result.
namespace velmora::settings {

// The file that writers lock. It sits beside the settings file and, unlike that file, is
// never replaced, so every process locks the same inode.
std::filesystem::path LockPathFor(const std::filesystem::path& file);

// Blocks until this process holds the exclusive advisory lock on `lockFile` (created when
// absent); the lock lasts while `held` stays open.
std::error_code LockExclusive(const std::filesystem::path& lockFile, UniqueFd& held);

// True for a size no settings file has (above 1 MiB).
bool TooLargeForSettings(std::uint64_t size);

// The whole file, or nullopt without error when it does not exist. Only a regular file of at
// most 1 MiB is read (a FIFO or a device is refused without waiting on it).
std::error_code ReadFileIfPresent(const std::filesystem::path& file,
                                  std::optional<std::string>& text);

// Creates the file empty unless it already exists.
std::error_code CreateFileIfAbsent(const std::filesystem::path& file);

// Replaces the file with `bytes` through replace::SafeReplace, so a reader sees the old or
// the new file, never a part. The file keeps its permissions, owner and group.
std::error_code ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

// Renames the file to "<file>.broken-YYYYMMDD-HHMMSS" (local time `when`), adding "-2",
// "-3", ... when that name is taken, so no earlier copy is overwritten.
std::error_code MoveAside(const std::filesystem::path& file, std::time_t when,
                          std::filesystem::path& movedTo);

}  // namespace velmora::settings
