#include "RealShapedFiles.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace velmora::bench {
namespace {

constexpr std::size_t kSmallestCover = 33 * 1024;
constexpr std::size_t kCoverRange = 92 * 1024;  // up to 125 KiB

struct Shape {
    unsigned index;
    bool v24;
};

void PutText(Bytes& to, std::string_view text) {
    to.insert(to.end(), text.begin(), text.end());
}

void PutSize(Bytes& to, std::size_t size, bool synchsafe) {
    for (int shift = 21, plain = 24; plain >= 0; shift -= 7, plain -= 8)
        to.push_back(synchsafe ? static_cast<std::uint8_t>((size >> shift) & 0x7F)
                               : static_cast<std::uint8_t>(size >> plain));
}

void PutFrame(Bytes& tag, const Shape& shape, std::string_view id, const Bytes& body) {
    PutText(tag, id);
    PutSize(tag, body.size(), shape.v24);
    tag.insert(tag.end(), {0, 0});
    tag.insert(tag.end(), body.begin(), body.end());
}

// UTF-16 with a byte-order mark in ID3v2.3, UTF-8 in ID3v2.4 (ASCII input).
void PutEncoded(Bytes& body, const Shape& shape, std::string_view text) {
    if (shape.v24) {
        PutText(body, text);
        return;
    }
    body.insert(body.end(), {0xFF, 0xFE});
    for (char c : text)
        body.insert(body.end(), {static_cast<std::uint8_t>(c), 0});
}

void PutTerminator(Bytes& body, const Shape& shape) {
    body.insert(body.end(), shape.v24 ? 1 : 2, 0);
}

Bytes TextBody(const Shape& shape, std::string_view text) {
    Bytes body{static_cast<std::uint8_t>(shape.v24 ? 3 : 1)};
    PutEncoded(body, shape, text);
    return body;
}

Bytes DescribedBody(const Shape& shape, std::string_view language, std::string_view description,
                    std::string_view text) {
    Bytes body{static_cast<std::uint8_t>(shape.v24 ? 3 : 1)};
    PutText(body, language);
    PutEncoded(body, shape, description);
    PutTerminator(body, shape);
    PutEncoded(body, shape, text);
    return body;
}

Bytes CoverBody(const Shape& shape) {
    const std::size_t size = kSmallestCover + (shape.index * 7919u) % kCoverRange;
    Bytes body{0};
    PutText(body, "image/jpeg");
    body.insert(body.end(), {0, 3, 0});
    Bytes data = NoiseBytes(size, shape.index + 7);
    data[0] = 0xFF;
    data[1] = 0xD8;
    body.insert(body.end(), data.begin(), data.end());
    return body;
}

Bytes PopmBody(const Shape& shape) {
    Bytes body;
    PutText(body, "rater@example.org");
    body.push_back(0);
    body.push_back(static_cast<std::uint8_t>(1 + shape.index % 255));
    body.insert(body.end(), {0, 0, 0, static_cast<std::uint8_t>(shape.index % 40)});
    return body;
}

Bytes Frames(const Shape& shape) {
    const std::string n = std::to_string(shape.index);
    Bytes frames;
    PutFrame(frames, shape, "TIT2", TextBody(shape, "Song number " + n));
    PutFrame(frames, shape, "TPE1", TextBody(shape, "Artist " + std::to_string(shape.index / 40)));
    PutFrame(frames, shape, "TALB", TextBody(shape, "Album " + std::to_string(shape.index / 12)));
    PutFrame(frames, shape, "TRCK", TextBody(shape, std::to_string(shape.index % 12 + 1) + "/12"));
    PutFrame(frames, shape, shape.v24 ? "TDRC" : "TYER", TextBody(shape, "2011"));
    PutFrame(frames, shape, "TCON", TextBody(shape, "Rock"));
    PutFrame(frames, shape, "TXXX",
             DescribedBody(shape, "", "MusicBrainz Album Id",
                           "5f3c8e1a-" + std::to_string(1000 + shape.index / 12)));
    PutFrame(frames, shape, "POPM", PopmBody(shape));
    for (unsigned c = 0; c < shape.index % 4; ++c)
        PutFrame(frames, shape, "COMM",
                 DescribedBody(shape, "eng", c == 0 ? "" : "note " + std::to_string(c),
                               "A comment of a real library, number " + std::to_string(c)));
    if (shape.index % 7 != 0)
        PutFrame(frames, shape, "APIC", CoverBody(shape));
    return frames;
}

}  // namespace

Bytes RealShapedFile(unsigned index) {
    const Shape shape{index, index % 2 == 1};
    const Bytes frames = Frames(shape);
    const std::size_t padding = 256 + (index * 131u) % 2048;
    // The audio (and, for ID3v2.3, the ID3v1 record) of the typical file, behind this tag.
    TaggedFileShape typical;
    typical.index = index;
    typical.padding = 0;
    const Bytes plain = TaggedFile(typical);
    const std::size_t oldTagEnd = 10 + (std::size_t{plain[6]} << 21 | std::size_t{plain[7]} << 14 |
                                        std::size_t{plain[8]} << 7 | plain[9]);
    Bytes file{'I', 'D', '3', static_cast<std::uint8_t>(shape.v24 ? 4 : 3), 0, 0};
    PutSize(file, frames.size() + padding, true);
    file.insert(file.end(), frames.begin(), frames.end());
    file.resize(file.size() + padding, 0);
    file.insert(file.end(), plain.begin() + static_cast<std::ptrdiff_t>(oldTagEnd),
                plain.end() - (shape.v24 ? 128 : 0));
    return file;
}

void GenerateRealShapedFolder(const std::filesystem::path& folder, std::size_t count) {
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06zu.mp3", i);
        WriteWholeFile(folder / name, RealShapedFile(static_cast<unsigned>(i)));
    }
    FlushFileSystem(folder);
}

}  // namespace velmora::bench
