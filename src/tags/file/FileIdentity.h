#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace velmora {

// What tells one state of a file from another without reading it: which file it is (device
// and inode) and when and how far it was last written. A save compares the identity the
// record remembers from its load with the file's, so that it never writes over what someone
// else changed meanwhile.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity IdentityOf(const struct stat& info);

// The identity of an open file, or of the file a path names now; none when the system
// cannot say.
std::optional<FileIdentity> IdentityOfOpenFile(int descriptor);
std::optional<FileIdentity> IdentityOfPath(const std::u16string& path);

// True when both are the same file, whatever state each was taken in.
inline bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.device == b.device && a.inode == b.inode;
}

}  // namespace velmora
