#pragma once

#include <string>
#include <string_view>

#include "tags/BufferedFile.h"
#include "tags/FileException.h"

namespace velmora {

// A new file that replaces its target only when complete. The bytes go to a temporary file
// beside the target, which Commit renames over the target; until then, and whenever
// something fails, the target stays byte for byte as it was. The temporary file is removed
// when the object goes away uncommitted.
class ReplacingFile {
  public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file for `target` (a symbolic link is followed, so the file it
    // names is replaced). False, with the cause, when the folder takes no new file or the
    // target exists and is not a writable regular file.
    bool Open(const std::u16string& target, CFileExceptionEx& error);

    // Both throw CFileExceptionEx.
    void Write(std::string_view bytes);
    // Puts the bytes on disk, closes the file and renames it over the target.
    void Commit();

    const std::u16string& TemporaryPath() const { return temporary_; }

  private:
    bool CreateTemporary(const std::string& target, CFileExceptionEx& error);
    void RemoveTemporary();

    BufferedFile file_;
    std::u16string target_;
    std::u16string temporary_;
    bool committed_ = false;
};

}  // namespace velmora
