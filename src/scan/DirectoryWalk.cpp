#include "scan/DirectoryWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <set>
#include <utility>

#include "replace/Leftovers.h"
#include "text/Ascii.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::string FullName(const std::string& dir, const char* name) {
    // The root is kept as the empty text, so its entries are "/" + name.
    return dir + "/" + name;
}

enum class EntryKind { Directory, RegularFile, Other };

// stat follows links: a link to a directory is a directory, as the file manager shows it.
// stat never opens the file, so a FIFO or a device costs nothing and is skipped. A broken
// link counts as a file: its load reports that it cannot be opened.
EntryKind KindOf(const std::string& path, const dirent* entry) {
    if (entry->d_type == DT_DIR)
        return EntryKind::Directory;
    if (entry->d_type == DT_REG)
        return EntryKind::RegularFile;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return EntryKind::Other;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return EntryKind::RegularFile;
    if (S_ISDIR(info.st_mode))
        return EntryKind::Directory;
    return S_ISREG(info.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

class Walker {
  public:
    Walker(bool recurse, const Mp3FileVisitor& visit, std::stop_token stop)
        : recurse_(recurse),
          visit_(visit),
          stop_(std::move(stop)),
          leftovers_(replace::TemporaryPattern::Save()) {}

    void Walk(const std::string& dir) {
        std::string listed = dir.empty() ? std::string("/") : dir;
        struct stat self {};
        if (stat(listed.c_str(), &self) != 0)
            return;
        if (!entered_.insert({self.st_dev, self.st_ino}).second)
            return;
        std::unique_ptr<DIR, DirCloser> handle(opendir(listed.c_str()));
        if (!handle)
            return;
        const std::u16string dirText = text::FileNameToText(dir);
        while (!stop_.stop_requested()) {
            const dirent* entry = readdir(handle.get());
            if (entry == nullptr)
                break;
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            std::string path = FullName(dir, entry->d_name);
            const EntryKind kind = KindOf(path, entry);
            if (kind == EntryKind::Directory) {
                if (recurse_)
                    Walk(path);
                continue;
            }
            if (kind != EntryKind::RegularFile ||
                replace::RemoveIfLeftover(listed, name, leftovers_))
                continue;
            std::u16string nameText = text::FileNameToText(name);
            if (HasMp3Extension(nameText))
                visit_(dirText, nameText);
        }
    }

  private:
    bool recurse_;
    const Mp3FileVisitor& visit_;
    std::stop_token stop_;
    std::set<DirectoryId> entered_;
    // Copies of files that an interrupted save left behind; the walk removes them.
    const replace::TemporaryPattern leftovers_;
};

}  // namespace

bool HasMp3Extension(std::u16string_view name) {
    static constexpr std::u16string_view kExtension = u".mp3";
    std::u16string_view tail = name.size() > 4 ? name.substr(name.size() - 4) : name;
    if (tail.size() != kExtension.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (text::AsciiLower(tail[i]) != kExtension[i])
            return false;
    }
    return true;
}

void WalkDirectory(const std::u16string& directory, bool recurse, const Mp3FileVisitor& visit,
                   std::stop_token stop) {
    Walker(recurse, visit, std::move(stop)).Walk(text::TextToFileName(directory));
}

}  // namespace velmora
