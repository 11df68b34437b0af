#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "tags/file/BufferedFile.h"
#include "text/FileName.h"

namespace velmora::testing {

inline std::u16string TextPath(const std::filesystem::path& path) {
    return text::FileNameToText(path.native());
}

// Bytes that differ from their neighbours, so a misplaced or lost byte shows.
inline std::string Pattern(std::size_t size, unsigned seed = 0) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 31 + seed + i / 251) & 0xFF);
    }
    return bytes;
}

inline struct stat StatOf(const std::filesystem::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

inline void OpenOrFail(BufferedFile& file, const std::filesystem::path& path, unsigned mode) {
    CFileExceptionEx error;
    if (!file.Open(TextPath(path), mode, error)) {
        throw error;
    }
}

inline constexpr unsigned kLoadMode = BufferedFile::kRead | BufferedFile::kOpenExisting;
inline constexpr unsigned kSaveMode = BufferedFile::kReadWrite | BufferedFile::kOpenExisting;

}  // namespace velmora::testing
