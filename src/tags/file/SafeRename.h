#pragma once

#include <string>
#include <string_view>

namespace velmora {

class MessageSink;

// Renames directory/oldName to directory/newName without ever replacing a file that already
// has the new name: the kernel checks and renames in one step (renameat2 RENAME_NOREPLACE),
// or, on a file system without that, a hard link under the new name replaces the old name.
// A change of case only, on a file system that ignores case, is let through, since the
// "existing" file is the one renamed. False, with the errno in `error` when given, on failure.
bool RenameNoReplace(const std::u16string& directory, const std::u16string& oldName,
                     const std::u16string& newName, int* error = nullptr);

// The errno RenameNoReplace would meet now, as far as it can be told without renaming: EEXIST when
// another file has the new name, the error of looking the new name up (such as ENAMETOOLONG), 0
// when the name is free or names the file itself.
int ForeseenRenameError(const std::u16string& directory, const std::u16string& oldName,
                        const std::u16string& newName);

// RenameNoReplace that reports a failure as a RenameFailed message with the system error, as the
// save of a record does.
bool RenameFileOrReport(const std::u16string& directory, const std::u16string& oldName,
                        const std::u16string& newName, MessageSink& messages);

}  // namespace velmora
