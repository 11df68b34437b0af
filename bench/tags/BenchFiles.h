#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// Generated MP3 files as a tagger leaves them: an ID3v2.3 tag with the usual frames and some
// padding, MPEG-1 Layer III audio (128 kbit/s, 44.1 kHz) opening with a Xing frame, and an
// ID3v1.1 record at the end.
namespace velmora::bench {

using Bytes = std::vector<std::uint8_t>;

struct TaggedFileShape {
    std::size_t audioBytes = 100 * 1024;  // rounded up to whole frames
    std::size_t pictureBytes = 0;         // a front cover of this size when not zero
    std::size_t padding = 1024;
    unsigned index = 0;  // varies the texts and the audio bytes from file to file
};

Bytes TaggedFile(const TaggedFileShape& shape);

// Pseudo-random bytes (a fixed sequence per seed), for audio and pictures.
Bytes NoiseBytes(std::size_t count, std::uint32_t seed);

void WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Writes `count` files named 000000.mp3, 000001.mp3, ... into `folder` and flushes the file
// system, so no write-back runs while the figures are taken.
void GenerateFolder(const std::filesystem::path& folder, std::size_t count, TaggedFileShape shape);

// The names in `folder`, in the order the directory gives them (as a loader sees them).
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

// Flushes every dirty page of the file system holding `path`.
void FlushFileSystem(const std::filesystem::path& path);

// A new folder under the temporary directory ($TMPDIR or /tmp), removed with its contents.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace velmora::bench
