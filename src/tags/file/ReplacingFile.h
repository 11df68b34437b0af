#pragma once

#include <string>
#include <string_view>

#include "replace/SafeReplace.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/FileException.h"

namespace velmora {

// A new file that replaces its target only when complete (replace::SafeReplace), named
// ".NAME.xxxxxxxx.tmp" beside the target until then. Failures are CFileExceptionEx with the
// system's errno and the target's path.
class ReplacingFile {
  public:
    // Creates the temporary file for `target` (a symbolic link is followed, so the file it
    // names is replaced). False, with the cause, when the target exists and is not a
    // writable regular file or the folder takes no new file.
    bool Open(const std::u16string& target, CFileExceptionEx& error);

    // Both throw CFileExceptionEx.
    void Write(std::string_view bytes);
    // Puts the bytes on disk and renames the file over the target.
    void Commit();

  private:
    std::u16string target_;
    replace::SafeReplace replace_;
    BufferedFile file_;
};

}  // namespace velmora
