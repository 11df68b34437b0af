#pragma once

#include <string>
#include <system_error>

namespace velmora::replace {

// Renames `from` to `to` without ever replacing a file that already has the name `to`: the
// kernel checks and renames in one step (renameat2 RENAME_NOREPLACE), or, on a file system
// without that, a hard link takes the new name before the old one goes. A name that differs
// only in case and leads to the same file (a case-folding file system) is renamed anyway,
// since nothing else is replaced. EEXIST when the name is taken.
std::error_code RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace velmora::replace
