#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/mpeg/MpegInfo.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::filesystem::path kPeers = VELMORA_PEERS_DIR;

Bytes ReadWhole(const std::filesystem::path& path) {
    const std::string bytes = testing::ScratchDirectory::ReadFile(path);
    return Bytes(bytes.begin(), bytes.end());
}

// The audio lies behind a leading ID3v2 tag (10-byte header, synchsafe body size, a 10-byte
// footer when a 2.4 tag has flag 0x10) and before a trailing ID3v1 tag.
std::pair<std::uint64_t, std::uint64_t> AudioOf(const Bytes& file) {
    std::uint64_t start = 0;
    if (file.size() >= 10 && file[0] == 'I' && file[1] == 'D' && file[2] == '3') {
        start = 10 + (std::uint64_t{file[6]} << 21 | file[7] << 14 | file[8] << 7 | file[9]) +
                (file[3] == 4 && (file[5] & 0x10) != 0 ? 10 : 0);
    }
    const std::size_t size = file.size();
    const bool v1 = size >= 128 && file[size - 128] == 'T' && file[size - 127] == 'A' &&
                    file[size - 126] == 'G';
    return {start, v1 ? size - 128 : size};
}

constexpr double kUnchecked = -1;

struct PeerCase {
    std::string file;
    double kbps;  // 0: no audio found; VBR averages must be within 1 of it
    bool vbr;
    double seconds;  // the peer's length; the whole seconds must be within 1 of it
    double firstFrame = kUnchecked;
    unsigned sampleRate = 44100;
};

// Figures from the peers' own tests, or worked out from the Xing/VBRI fields INDEX.md lists;
// one file per way of measuring.
const std::vector<PeerCase> kPeerCases = {
    {"id3lib/crc53865.mp3", 224, false, 0.026},  // one CRC-protected frame, the whole file
    {"id3lib/jules-goodtag.mp3", 128, false, 4.73, 126},
    {"mutagen/apev2-lyricsv2.mp3", 192, false, kUnchecked},  // "Info" behind a CRC
    {"mutagen/audacious-trailing-id32-apev2.mp3", kUnchecked, true, 1.08, 0, 16000},
    {"mutagen/bad-xing.mp3", 48, false, 0},  // Xing with 0 frames
    {"mutagen/emptyfile.mp3", 0, false, 0},
    {"mutagen/lame.mp3", kUnchecked, true, 0.1},
    {"mutagen/lame-peak.mp3", 128, false, 0.1},  // "Info"
    // 24000 × 552 bytes ÷ 3 frames ÷ 72000; the peer reports the header's 40.
    {"mutagen/lame397v9short.mp3", 61.33, true, 0.0, 0, 24000},
    {"mutagen/silence-44-s.mp3", 32, false, 3.77},
    {"mutagen/silence-44-s-mpeg2.mp3", 17.783, true, 3.68475, 0, 24000},
    {"mutagen/silence-44-s-mpeg25.mp3", 8.9, true, 3.68475, 0, 12000},
    // A single frame that ends with the file (the peer refuses: no second frame).
    {"mutagen/too-short.mp3", 160, false, 0.03},
    {"mutagen/vbri.mp3", 233.26, true, 222.19755},
    {"mutagen/xing.mp3", 32, false, 2.052, 0},
    {"taglib/ape-id3v2.mp3", 32, false, kUnchecked, 1050},
    {"taglib/bladeenc.mp3", 64, false, 3.553},
    {"taglib/compressed_id3_frame.mp3", 0, false, 0},  // tag sizes past the end of the file
    {"taglib/duplicate_id3v2.mp3", 128, false, kUnchecked, 8049},
    {"taglib/garbage.mp3", 64, false, kUnchecked, 2255},  // junk with false syncs, then a tag
    {"taglib/invalid-frames1.mp3", 160, false, 0.392, 327},
    {"taglib/lame_cbr.mp3", 64, false, 1887.164},  // "Info"
    {"taglib/lame_vbr.mp3", 70, true, 1887.164},
    // 22050 × 16878342 bytes ÷ 206232 frames ÷ 72000.
    {"taglib/mpeg2.mp3", 25.06, true, 5387.285, 0, 22050},
    {"taglib/rare_frames.mp3", 233, true, 222.198},
    {"taglib/w000.mp3", 0, false, 0},
};

TEST(MpegPeers, MeasuredAsPeersMeasure) {
    if (!std::filesystem::is_directory(kPeers)) {
        GTEST_SKIP() << "no peer corpus at " << kPeers;
    }
    for (const auto& c : kPeerCases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = ReadWhole(kPeers / c.file);
        const auto [start, end] = AudioOf(bytes);
        BufferedFile file;
        testing::OpenOrFail(file, kPeers / c.file, testing::kLoadMode);
        const MpegInfo info = Measure(file, start, end);
        const MpegInfo inMemory = Measure(bytes, start, end);  // must measure alike
        EXPECT_EQ(inMemory.firstFrameOffset, info.firstFrameOffset);
        EXPECT_EQ(inMemory.duration, info.duration);
        EXPECT_EQ(info.found, c.kbps != 0);
        if (c.kbps == 0) {
            EXPECT_EQ(info.duration, 0u);
            continue;
        }
        EXPECT_EQ(info.layer, 3);
        EXPECT_EQ(info.sampleRate, c.sampleRate);
        EXPECT_EQ(info.vbr, c.vbr);
        if (c.kbps != kUnchecked) {
            EXPECT_LT(std::abs(info.bitrate - c.kbps), 1.0) << info.bitrate;
        }
        if (c.seconds != kUnchecked) {
            EXPECT_LT(std::abs(info.duration - c.seconds), 1.0) << info.duration;
        }
        if (c.firstFrame != kUnchecked) {
            EXPECT_EQ(info.firstFrameOffset, c.firstFrame);
        }
    }
}

// Whatever the tag sizes claim, a frame is only ever found between the tags.
TEST(MpegPeers, EveryFileMeasuresInsideItsAudio) {
    if (!std::filesystem::is_directory(kPeers)) {
        GTEST_SKIP() << "no peer corpus at " << kPeers;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kPeers)) {
        const Bytes file = entry.is_regular_file() ? ReadWhole(entry.path()) : Bytes();
        const auto [start, end] = AudioOf(file);
        const MpegInfo info = Measure(file, start, end);
        EXPECT_TRUE(!info.found ||
                    (info.firstFrameOffset >= start && info.firstFrameOffset + 4 < end))
            << entry.path();
    }
}

}  // namespace
}  // namespace velmora
