#include "FileArguments.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>

#include "CliEnvironment.h"
#include "Command.h"
#include "Output.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

constexpr mode_t kAnyRead = S_IRUSR | S_IRGRP | S_IROTH;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool Refuse(const std::string& path, std::string_view why) {
    Complain(path + ": " + std::string(why));
    return false;
}

}  // namespace

bool CheckFileArgument(const std::string& path, FileAccess access) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return Refuse(path, std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return Refuse(path, "is a directory, not a file");
    if (!S_ISREG(info.st_mode))
        return Refuse(path, "is not a regular file");
    if ((info.st_mode & kAnyRead) == 0 || ::access(path.c_str(), R_OK) != 0)
        return Refuse(path, "cannot be read (permission denied)");
    if (access == FileAccess::ReadWrite &&
        ((info.st_mode & kAnyWrite) == 0 || ::access(path.c_str(), W_OK) != 0))
        return Refuse(path, "is read-only; nothing changed");
    return true;
}

std::unique_ptr<Mp3File> LoadRecord(CliEnvironment& environment, const std::string& path) {
    const std::filesystem::path full(path);
    std::string directory = full.parent_path().string();
    if (directory.empty())
        directory = ".";
    return std::make_unique<Mp3File>(environment.Context(), text::FileNameToText(directory),
                                     text::FileNameToText(full.filename().string()));
}

std::unique_ptr<Mp3File> LoadFileArgument(CliEnvironment& environment, const std::string& path,
                                          FileAccess access) {
    if (!CheckFileArgument(path, access))
        return nullptr;
    auto record = LoadRecord(environment, path);
    if (record->Status() == LoadStatus::Failed) {
        Refuse(path, "did not load cleanly; nothing changed");
        return nullptr;
    }
    return record;
}

bool SaveIfNeeded(CliEnvironment& environment, Mp3File& record) {
    environment.Journal().Forget(record);
    if (!record.NeedsSave())
        return true;
    const int errorsBefore = environment.Messages().ErrorCount();
    const bool saved = record.Save(environment.Context());
    return saved && environment.Messages().ErrorCount() == errorsBefore;
}

std::vector<Mp3File*> FileBatch::Records() const {
    std::vector<Mp3File*> out;
    for (const auto& record : records)
        out.push_back(record.get());
    return out;
}

std::vector<std::string> EachFileOnce(const std::vector<std::string>& paths) {
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<std::string> once;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || seen.insert({info.st_dev, info.st_ino}).second)
            once.push_back(path);
    }
    return once;
}

FileBatch LoadFileBatch(CliEnvironment& environment, const std::vector<std::string>& paths,
                        FileAccess access) {
    FileBatch batch;
    for (const std::string& path : paths) {
        if (auto record = LoadFileArgument(environment, path, access)) {
            batch.paths.push_back(path);
            batch.records.push_back(std::move(record));
        } else {
            ++batch.failed;
        }
    }
    return batch;
}

int SaveFileBatch(CliEnvironment& environment, FileBatch& batch) {
    int failed = batch.failed;
    for (const auto& record : batch.records) {
        if (!SaveIfNeeded(environment, *record))
            ++failed;
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

int ChangeEachFile(CliEnvironment& environment, std::u16string_view action,
                   const std::vector<std::string>& paths, const RecordChange& change) {
    int failed = 0;
    for (const std::string& path : paths) {
        auto record = LoadFileArgument(environment, path, FileAccess::ReadWrite);
        if (!record) {
            ++failed;
            continue;
        }
        bool changed = true;
        Mp3File* const one[] = {record.get()};
        environment.Journal().Apply(std::u16string(action), one,
                                    [&] { changed = change(*record); });
        if (!changed)
            environment.Journal().Forget(*record);
        if (!changed || !SaveIfNeeded(environment, *record))
            ++failed;
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace velmora::cli
