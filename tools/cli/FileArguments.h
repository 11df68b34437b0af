#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tags/record/Mp3File.h"

namespace velmora::cli {

class CliEnvironment;

enum class FileAccess { Read, ReadWrite };

// True when the path names a regular file the run may read (and, for ReadWrite, change);
// otherwise says why on standard error. A file without any write permission bit counts as
// read-only and one without any read bit as unreadable, even for a user (such as root)
// whom the system would let through: the owner marked the file so on purpose.
bool CheckFileArgument(const std::string& path, FileAccess access);

// The paths without those that name a file an earlier path names (also as "./a.mp3" beside
// "a.mp3", or through a link); a path that names nothing is kept, for its load to report.
std::vector<std::string> EachFileOnce(const std::vector<std::string>& paths);

// Loads the file without checks; its Status() tells whether the load failed.
std::unique_ptr<Mp3File> LoadRecord(CliEnvironment& environment, const std::string& path);

// Loads the file named on the command line; null, after a message, when the check fails
// or the load reported a problem (a file that did not load cleanly is never changed).
std::unique_ptr<Mp3File> LoadFileArgument(CliEnvironment& environment, const std::string& path,
                                          FileAccess access);

// The files named on the command line that loaded, with the paths they were named by; files
// that did not load are counted and left out.
struct FileBatch {
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<Mp3File>> records;
    int failed = 0;

    std::vector<Mp3File*> Records() const;
};
FileBatch LoadFileBatch(CliEnvironment& environment, const std::vector<std::string>& paths,
                        FileAccess access);

// Saves every record of the batch that needs it; returns the exit code of the whole run.
int SaveFileBatch(CliEnvironment& environment, FileBatch& batch);

// Changes each file in turn: loads it, applies `change` through the edit journal under the
// action's name, and saves it at once when the change left something to save. A file that
// fails is reported and skipped; the others go on. Returns the exit code (1 when any file
// failed).
using RecordChange = std::function<bool(Mp3File& record)>;
int ChangeEachFile(CliEnvironment& environment, std::u16string_view action,
                   const std::vector<std::string>& paths, const RecordChange& change);

// Saves the record when it needs saving; false after the save's message. The journal
// forgets the record either way: the record is done with.
bool SaveIfNeeded(CliEnvironment& environment, Mp3File& record);

}  // namespace velmora::cli
