#include "BenchFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>

namespace velmora::bench {
namespace {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no CRC, joint stereo, original (ISO/IEC 11172-3).
constexpr std::uint8_t kFrameHeader[4] = {0xFF, 0xFB, 0x90, 0x44};
constexpr std::size_t kFrameLength = 417;  // 144 * 128000 / 44100, unpadded
// Behind the header and the 32 bytes of MPEG-1 stereo side information.
constexpr std::size_t kXingOffset = 36;

void PutBigEndian(Bytes& to, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        to.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutText(Bytes& to, std::string_view text) {
    to.insert(to.end(), text.begin(), text.end());
}

// An ID3v2.3 frame: ID, plain 32-bit size, two flag bytes, body.
void PutFrame(Bytes& tag, std::string_view id, const Bytes& body) {
    PutText(tag, id);
    PutBigEndian(tag, static_cast<std::uint32_t>(body.size()));
    tag.push_back(0);
    tag.push_back(0);
    tag.insert(tag.end(), body.begin(), body.end());
}

Bytes Latin1Text(std::string_view text) {
    Bytes body{0};
    PutText(body, text);
    return body;
}

// Encoding 1: UTF-16 with a little-endian byte-order mark (ASCII input).
Bytes Utf16Text(std::string_view text) {
    Bytes body{1, 0xFF, 0xFE};
    for (char c : text) {
        body.push_back(static_cast<std::uint8_t>(c));
        body.push_back(0);
    }
    return body;
}

Bytes CommentBody(std::string_view text) {
    Bytes body{0, 'e', 'n', 'g', 0};
    PutText(body, text);
    return body;
}

Bytes PictureBody(std::size_t size, std::uint32_t seed) {
    Bytes body{0};
    PutText(body, "image/jpeg");
    body.insert(body.end(), {0, 3, 0});
    Bytes data = NoiseBytes(size, seed);
    data[0] = 0xFF;  // a JPEG start-of-image marker
    data[1] = 0xD8;
    body.insert(body.end(), data.begin(), data.end());
    return body;
}

Bytes Frames(const TaggedFileShape& shape) {
    const std::string n = std::to_string(shape.index);
    Bytes frames;
    PutFrame(frames, "TIT2", Utf16Text("Song number " + n));
    PutFrame(frames, "TPE1", Latin1Text("The Example Players"));
    PutFrame(frames, "TALB", Latin1Text("Generated Album " + std::to_string(shape.index / 12)));
    PutFrame(frames, "TYER", Latin1Text("2004"));
    PutFrame(frames, "TRCK", Latin1Text(std::to_string(shape.index % 12 + 1) + "/12"));
    PutFrame(frames, "TCON", Latin1Text("(17)"));
    PutFrame(frames, "TPOS", Latin1Text("1/1"));
    PutFrame(frames, "TENC", Latin1Text("LAME 3.100"));
    PutFrame(frames, "COMM", CommentBody("Ripped from the original disc"));
    if (shape.pictureBytes > 0) {
        PutFrame(frames, "APIC", PictureBody(shape.pictureBytes, shape.index));
    }
    return frames;
}

void PutTagHeader(Bytes& to, std::size_t bodySize) {
    PutText(to, "ID3");
    to.insert(to.end(), {3, 0, 0});
    for (int shift = 21; shift >= 0; shift -= 7) {
        to.push_back(static_cast<std::uint8_t>((bodySize >> shift) & 0x7F));
    }
}

void PutAudio(Bytes& to, std::size_t audioBytes, std::uint32_t seed) {
    const std::size_t count = (audioBytes + kFrameLength - 1) / kFrameLength;
    const std::size_t start = to.size();
    Bytes noise = NoiseBytes(count * kFrameLength, seed);
    to.insert(to.end(), noise.begin(), noise.end());
    for (std::size_t frame = 0; frame < count; ++frame) {
        std::copy(std::begin(kFrameHeader), std::end(kFrameHeader),
                  to.begin() + static_cast<std::ptrdiff_t>(start + frame * kFrameLength));
    }
    // The first frame carries no audio but the Xing header: frame and byte counts.
    Bytes xing;
    PutText(xing, "Xing");
    PutBigEndian(xing, 3);
    PutBigEndian(xing, static_cast<std::uint32_t>(count));
    PutBigEndian(xing, static_cast<std::uint32_t>(count * kFrameLength));
    std::fill(to.begin() + static_cast<std::ptrdiff_t>(start + 4),
              to.begin() + static_cast<std::ptrdiff_t>(start + kFrameLength), 0);
    std::copy(xing.begin(), xing.end(),
              to.begin() + static_cast<std::ptrdiff_t>(start + kXingOffset));
}

// ID3v1.1: "TAG", title, artist, album (30 each), year (4), comment (28), 0, track, genre.
void PutId3v1(Bytes& to, unsigned index) {
    Bytes record(128, 0);
    auto put = [&](std::size_t at, std::string_view text) {
        std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(0, "TAG");
    put(3, "Song number " + std::to_string(index));
    put(33, "The Example Players");
    put(63, "Generated Album");
    put(93, "2004");
    put(97, "Ripped from the original");
    record[126] = static_cast<std::uint8_t>(index % 12 + 1);
    record[127] = 17;
    to.insert(to.end(), record.begin(), record.end());
}

// Creating and deleting files here waits on the file system's journal far more than on the
// processor; many at a time share its commits.
constexpr std::size_t kFileThreads = 16;

template <typename Step>
void InParallel(std::size_t count, Step step) {
    // A few files are not worth the threads (a child's settings folder, timed as its exit).
    if (count < kFileThreads) {
        for (std::size_t i = 0; i < count; ++i) {
            step(i);
        }
        return;
    }
    std::vector<std::jthread> threads;
    std::vector<std::exception_ptr> failures(kFileThreads);
    for (std::size_t t = 0; t < kFileThreads; ++t) {
        threads.emplace_back([&, t] {
            try {
                for (std::size_t i = t; i < count; i += kFileThreads) {
                    step(i);
                }
            } catch (...) {
                failures[t] = std::current_exception();
            }
        });
    }
    threads.clear();
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

// Files first, many at a time, then the emptied folders.
void RemoveTree(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (!it->is_directory(ignored)) {
            files.push_back(it->path());
        }
    }
    InParallel(files.size(), [&](std::size_t i) { ::unlink(files[i].c_str()); });
    std::filesystem::remove_all(root, error);
}

}  // namespace

Bytes NoiseBytes(std::size_t count, std::uint32_t seed) {
    Bytes bytes(count);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;  // Numerical Recipes LCG
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

Bytes TaggedFile(const TaggedFileShape& shape) {
    const Bytes frames = Frames(shape);
    Bytes file;
    file.reserve(frames.size() + shape.padding + shape.audioBytes + kFrameLength + 138);
    PutTagHeader(file, frames.size() + shape.padding);
    file.insert(file.end(), frames.begin(), frames.end());
    file.resize(file.size() + shape.padding, 0);
    PutAudio(file, shape.audioBytes, shape.index);
    PutId3v1(file, shape.index);
    return file;
}

void WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::system_error(errno, std::generic_category(), path.string());
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void GenerateFolder(const std::filesystem::path& folder, std::size_t count, TaggedFileShape shape) {
    std::filesystem::create_directories(folder);
    InParallel(count, [&](std::size_t i) {
        TaggedFileShape mine = shape;
        mine.index = static_cast<unsigned>(i);
        char name[32];
        std::snprintf(name, sizeof name, "%06zu.mp3", i);
        WriteWholeFile(folder / name, TaggedFile(mine));
    });
    FlushFileSystem(folder);
}

std::vector<std::string> ListFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        throw std::system_error(errno, std::generic_category(), folder.string());
    }
    while (const dirent* entry = ::readdir(directory)) {
        if (entry->d_name[0] != '.') {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(directory);
    return names;
}

void FlushFileSystem(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::syncfs(descriptor);
        ::close(descriptor);
    }
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), pattern);
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

}  // namespace velmora::bench
