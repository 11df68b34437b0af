#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::bench {

// The floor of an in-place save: open, write the tag region's bytes at the start, close.
void WriteAtStart(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The first `count` bytes of a file.
std::vector<std::uint8_t> ReadStart(const std::filesystem::path& path, std::size_t count);

// The tag region (10-byte header and the body it announces) of a file's ID3v2 tag.
std::size_t TagRegionSize(const std::filesystem::path& path);

// The floor of a save that rewrites the file: `cp` to a new name in `folder`, then (timed
// apart) fsync of the copy, then renaming the copy over another copy of `from` and fsync of
// the folder, which a save that cannot lose the file needs as well.
struct CopyTimes {
    double copy = 0;
    double sync = 0;
    double replace = 0;
};
CopyTimes CopyWithCp(const std::filesystem::path& from, const std::filesystem::path& folder);

}  // namespace velmora::bench
