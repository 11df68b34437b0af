#include "tags/file/FileIdentity.h"

#include "text/FileName.h"

namespace velmora {

FileIdentity IdentityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

std::optional<FileIdentity> IdentityOfOpenFile(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOfPath(const std::u16string& path) {
    struct stat info {};
    if (::stat(text::TextToFileName(path).c_str(), &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

}  // namespace velmora
