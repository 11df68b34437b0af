#pragma once

#include <optional>
#include <string>

#include "tags/file/FileIdentity.h"

namespace velmora {

class BufferedFile;

// Takes an exclusive advisory lock on the file open for saving, waiting while another save
// holds it, and tells whether the file may be written: the path still leads to the locked
// file and, when `expected` is given, the file is in the state it had then. The lock lasts
// until the file is closed, so a save that replaces the file holds it through the rename and
// a save waiting for it then finds the path leading elsewhere. Returns the file's identity,
// or none when it changed. Throws CFileExceptionEx when the lock cannot be taken.
std::optional<FileIdentity> LockUnchanged(BufferedFile& file, const std::u16string& path,
                                          const std::optional<FileIdentity>& expected);

// The identity of a file just written in place. When the clock has not moved on since
// `before` (timestamps are coarser than nanoseconds), the modification time is set a
// nanosecond later, so whoever remembers `before` still sees the change.
FileIdentity IdentityAfterWrite(BufferedFile& file, const std::u16string& path,
                                const FileIdentity& before);

}  // namespace velmora
