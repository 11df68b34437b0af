#pragma once

#include <memory>
#include <string>

#include "replace/SafeReplace.h"
#include "tags/file/BufferedFile.h"

namespace velmora {

// A new version of a file, written beside it in the same folder under a temporary name and
// renamed over it once complete and on disk, so that at every moment the path names either
// the whole old file or the whole new one.
class FileReplacement {
  public:
    // Prepares the replacement of the file open as `original` under `path`. Symbolic links
    // in the path are followed: the file they lead to is replaced and the links stay links.
    // Returns null when no file can be created in that folder (no write permission, read-only
    // file system); throws CFileExceptionEx on any other failure.
    static std::unique_ptr<FileReplacement> Begin(const std::u16string& path,
                                                  BufferedFile& original);

    // Removes the temporary file unless Commit succeeded.
    ~FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where the new content goes, written from offset 0.
    BufferedFile& File() { return file_; }

    // Puts the new content on disk (fsync), gives it the original's permission bits (and
    // owner and group where allowed) and renames it over the original. Throws
    // CFileExceptionEx; until the rename the original is untouched.
    void Commit();

  private:
    explicit FileReplacement(std::u16string path) : path_(std::move(path)) {}

    std::u16string path_;
    replace::SafeReplace replace_;
    BufferedFile file_;
};

}  // namespace velmora
