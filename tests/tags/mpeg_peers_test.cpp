#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FileTestHelpers.h"
#include "tags/BufferedFile.h"
#include "tags/MpegInfo.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::filesystem::path kPeers = VELMORA_PEERS_DIR;

Bytes ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Where the audio starts: behind a leading ID3v2 tag (10-byte header, synchsafe body size,
// a 10-byte footer when a 2.4 tag has flag 0x10).
std::uint64_t AudioStart(const Bytes& file) {
    if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3')
        return 0;
    const std::uint64_t body =
        std::uint64_t{file[6]} << 21 | file[7] << 14 | file[8] << 7 | file[9];
    const bool footer = file[3] == 4 && (file[5] & 0x10) != 0;
    return 10 + body + (footer ? 10 : 0);
}

// Where it ends: before a trailing ID3v1 tag.
std::uint64_t AudioEnd(const Bytes& file) {
    const std::size_t size = file.size();
    if (size >= 128 && file[size - 128] == 'T' && file[size - 127] == 'A' &&
        file[size - 126] == 'G')
        return size - 128;
    return size;
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

// Figures from the peers' own tests, or worked out from the Xing/VBRI fields INDEX.md lists.
const std::vector<PeerCase> kPeerCases = {
    {"id3lib/crc53865.mp3", 224, false, 0.026},  // one CRC-protected frame, the whole file
    {"id3lib/jules.mp3", 128, false, 4.73},
    {"id3lib/jules-goodtag.mp3", 128, false, 4.73, 126},
    {"id3lib/win-xp.mp3", 128, false, kUnchecked},
    {"mutagen/97-unknown-23-update.mp3", 32, false, kUnchecked},
    {"mutagen/apev2-lyricsv2.mp3", 192, false, kUnchecked},  // "Info" behind a CRC
    {"mutagen/audacious-trailing-id32-apev2.mp3", kUnchecked, true, 1.08, 0, 16000},
    {"mutagen/bad-TYER-frame.mp3", 320, false, kUnchecked},
    {"mutagen/bad-xing.mp3", 48, false, 0},  // Xing with 0 frames
    {"mutagen/emptyfile.mp3", 0, false, 0},
    {"mutagen/issue_21.id3", 256, false, kUnchecked},
    {"mutagen/lame.mp3", kUnchecked, true, 0.1},
    {"mutagen/lame-peak.mp3", 128, false, 0.1},  // "Info"
    // 24000 × 552 bytes ÷ 3 frames ÷ 72000; the peer reports the header's 40.
    {"mutagen/lame397v9short.mp3", 61.33, true, 0.0, 0, 24000},
    {"mutagen/no-tags.mp3", kUnchecked, true, 0.1},
    {"mutagen/silence-44-s.mp3", 32, false, 3.77},
    {"mutagen/silence-44-s-mpeg2.mp3", 17.783, true, 3.68475, 0, 24000},
    {"mutagen/silence-44-s-mpeg25.mp3", 8.9, true, 3.68475, 0, 12000},
    {"mutagen/silence-44-s-v1.mp3", 32, false, 3.7355},
    // A single frame that ends with the file (the peer refuses: no second frame).
    {"mutagen/too-short.mp3", 160, false, 0.03},
    {"mutagen/vbri.mp3", 233.26, true, 222.19755},
    {"mutagen/xing.mp3", 32, false, 2.052, 0},
    {"taglib/ape.mp3", 32, false, kUnchecked, 0},
    {"taglib/ape-id3v1.mp3", 32, false, kUnchecked, 0},
    {"taglib/ape-id3v2.mp3", 32, false, kUnchecked, 1050},
    {"taglib/bladeenc.mp3", 64, false, 3.553},
    {"taglib/compressed_id3_frame.mp3", 0, false, 0},  // tag sizes past the end of the file
    {"taglib/duplicate_id3v2.mp3", 128, false, kUnchecked, 8049},
    {"taglib/excessive_alloc.mp3", 0, false, 0},
    {"taglib/garbage.mp3", 64, false, kUnchecked, 2255},  // junk with false syncs, then a tag
    {"taglib/invalid-frames1.mp3", 160, false, 0.392, 327},
    {"taglib/invalid-frames2.mp3", 192, false, 0.314, 374},
    {"taglib/invalid-frames3.mp3", 320, false, 0.183, 969},
    {"taglib/itunes10.mp3", 192, false, kUnchecked},  // "Info"
    {"taglib/lame_cbr.mp3", 64, false, 1887.164},     // "Info"
    {"taglib/lame_vbr.mp3", 70, true, 1887.164},
    // 22050 × 16878342 bytes ÷ 206232 frames ÷ 72000.
    {"taglib/mpeg2.mp3", 25.06, true, 5387.285, 0, 22050},
    {"taglib/rare_frames.mp3", 233, true, 222.198},
    {"taglib/toc_many_children.mp3", 192, false, kUnchecked},  // "Info"
    {"taglib/w000.mp3", 0, false, 0},
    {"taglib/xing.mp3", 32, false, 2.064, 0},
};

void ExpectPeer(const PeerCase& c, const MpegInfo& info) {
    if (c.kbps == 0) {
        EXPECT_FALSE(info.found);
        EXPECT_EQ(info.bitrate, 0);
        EXPECT_EQ(info.duration, 0u);
        return;
    }
    ASSERT_TRUE(info.found);
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

TEST(MpegPeers, MeasuredAsPeersMeasure) {
    if (!std::filesystem::is_directory(kPeers))
        GTEST_SKIP() << "no peer corpus at " << kPeers;
    for (const auto& c : kPeerCases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = ReadWhole(kPeers / c.file);
        BufferedFile file;
        testing::OpenOrFail(file, kPeers / c.file, testing::kLoadMode);
        const MpegInfo info = Measure(file, AudioStart(bytes), AudioEnd(bytes));
        ExpectPeer(c, info);
        // The file and the bytes in memory measure alike.
        const MpegInfo inMemory = Measure(bytes, AudioStart(bytes), AudioEnd(bytes));
        EXPECT_EQ(inMemory.firstFrameOffset, info.firstFrameOffset);
        EXPECT_EQ(inMemory.bitrate, info.bitrate);
        EXPECT_EQ(inMemory.duration, info.duration);
    }
}

// Whatever the tag sizes claim, a frame is only ever found between the tags.
TEST(MpegPeers, EveryFileMeasuresInsideItsAudio) {
    if (!std::filesystem::is_directory(kPeers))
        GTEST_SKIP() << "no peer corpus at " << kPeers;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kPeers)) {
        if (!entry.is_regular_file())
            continue;
        SCOPED_TRACE(entry.path());
        const Bytes file = ReadWhole(entry.path());
        const MpegInfo info = Measure(file, AudioStart(file), AudioEnd(file));
        if (info.found) {
            EXPECT_GE(info.firstFrameOffset, AudioStart(file));
            EXPECT_LT(info.firstFrameOffset + 4, AudioEnd(file));
        }
    }
}

}  // namespace
}  // namespace velmora
