#include "scan/DirectoryWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <set>
#include <utility>

#include "text/FileName.h"

namespace velmora {
namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

std::string FullName(const std::string& dir, const char* name) {
    // The root is kept as the empty text, so its entries are "/" + name.
    return dir + "/" + name;
}

bool IsDirectory(const std::string& path, const dirent* entry, struct stat& info) {
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) {
        if (entry->d_type != DT_DIR)
            return false;
    }
    // stat follows links: a link to a directory is a directory, as the file manager shows it.
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class Walker {
  public:
    Walker(bool recurse, const Mp3FileVisitor& visit) : recurse_(recurse), visit_(visit) {}

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
        while (const dirent* entry = readdir(handle.get())) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            std::string path = FullName(dir, entry->d_name);
            struct stat info {};
            if (IsDirectory(path, entry, info)) {
                if (recurse_)
                    Walk(path);
                continue;
            }
            std::u16string nameText = text::FileNameToText(name);
            if (HasMp3Extension(nameText))
                visit_(dirText, nameText);
        }
    }

  private:
    bool recurse_;
    const Mp3FileVisitor& visit_;
    std::set<DirectoryId> entered_;
};

}  // namespace

bool HasMp3Extension(std::u16string_view name) {
    static constexpr std::u16string_view kExtension = u".mp3";
    std::u16string_view tail = name.size() > 4 ? name.substr(name.size() - 4) : name;
    if (tail.size() != kExtension.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (AsciiLower(tail[i]) != kExtension[i])
            return false;
    }
    return true;
}

void WalkDirectory(const std::u16string& directory, bool recurse, const Mp3FileVisitor& visit) {
    Walker(recurse, visit).Walk(text::TextToFileName(directory));
}

}  // namespace velmora
