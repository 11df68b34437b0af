#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/mpeg/MpegFacts.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const fs::path kPeers = VELMORA_PEERS_DIR;

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

// One file per way of measuring, as the engine measures it (whole seconds). Above each row, the
// peers' own figures (kbit/s, seconds: from their tests, or worked out from the Xing/VBRI fields
// INDEX.md lists); the engine's are within 1 of them.
const std::map<std::string, std::string> kMeasured = {
    // one CRC-protected frame, the whole file: 224, 0.026 s
    {"id3lib/crc53865.mp3", "@0 L3/44100 224 0s - 0"},
    // 128, 4.73 s, first frame at 126
    {"id3lib/jules-goodtag.mp3", "@126 L3/44100 128 4s - 0"},
    // 192: "Info" behind a CRC
    {"mutagen/apev2-lyricsv2.mp3", "@1280 L3/44100 192 210s Info 8076"},
    // VBR at 16 kHz, 1.08 s
    {"mutagen/audacious-trailing-id32-apev2.mp3", "@0 L3/16000 18v 1s Xing 30"},
    // 48: Xing with 0 frames
    {"mutagen/bad-xing.mp3", "@1582 L3/44100 48 0s - 0"},
    {"mutagen/emptyfile.mp3", "none"},
    // VBR, 0.1 s
    {"mutagen/lame.mp3", "@0 L3/44100 159v 0s Xing 4"},
    // 128, 0.1 s: "Info"
    {"mutagen/lame-peak.mp3", "@0 L3/44100 128 0s Info 4"},
    // 24000 × 552 bytes ÷ 3 frames ÷ 72000 = 61.33; the peer reports the header's 40.
    {"mutagen/lame397v9short.mp3", "@0 L3/24000 61v 0s Xing 3"},
    // 32, 3.77 s
    {"mutagen/silence-44-s.mp3", "@1314 L3/44100 32 3s - 0"},
    // 17.783 VBR at 24 kHz, 3.68475 s
    {"mutagen/silence-44-s-mpeg2.mp3", "@0 L3/24000 18v 3s Xing 157"},
    // 8.9 VBR at 12 kHz, 3.68475 s
    {"mutagen/silence-44-s-mpeg25.mp3", "@0 L3/12000 9v 3s Xing 80"},
    // A single frame that ends with the file (the peer refuses: no second frame): 160, 0.03 s.
    {"mutagen/too-short.mp3", "@2147 L3/44100 160 0s - 0"},
    // 233.26 VBR, 222.19755 s
    {"mutagen/vbri.mp3", "@1007 L3/44100 233v 222s VBRI 8506"},
    // 32, 2.052 s, first frame at 0
    {"mutagen/xing.mp3", "@0 L3/44100 32 2s - 0"},
    // 32, first frame at 1050
    {"taglib/ape-id3v2.mp3", "@1050 L3/44100 32 2s - 0"},
    // 64, 3.553 s
    {"taglib/bladeenc.mp3", "@0 L3/44100 64 3s - 0"},
    // tag sizes past the end of the file
    {"taglib/compressed_id3_frame.mp3", "none"},
    // 128, first frame at 8049
    {"taglib/duplicate_id3v2.mp3", "@8049 L3/44100 128 0s - 0"},
    // Junk with false syncs, then a tag: 64, first frame at 2255.
    {"taglib/garbage.mp3", "@2255 L3/44100 64 1887s Info 72243"},
    // 160, 0.392 s, first frame at 327
    {"taglib/invalid-frames1.mp3", "@327 L3/44100 160 0s - 0"},
    // 64, 1887.164 s: "Info"
    {"taglib/lame_cbr.mp3", "@208 L3/44100 64 1887s Info 72243"},
    // 70 VBR, 1887.164 s
    {"taglib/lame_vbr.mp3", "@1876 L3/44100 70v 1887s Xing 72243"},
    // 22050 × 16878342 bytes ÷ 206232 frames ÷ 72000 = 25.06 VBR, 5387.285 s.
    {"taglib/mpeg2.mp3", "@0 L3/22050 25v 5387s Xing 206232"},
    // 233 VBR, 222.198 s
    {"taglib/rare_frames.mp3", "@1007 L3/44100 233v 222s VBRI 8506"},
    {"taglib/w000.mp3", "none"},
};

// Each file measures alike from the file and from memory, and whatever the tag sizes claim, a
// frame is only ever found between the tags.
TEST(MpegPeers, MeasuredAsPeersMeasureInsideTheAudio) {
    if (!fs::is_directory(kPeers))
        GTEST_SKIP() << "no peer corpus at " << kPeers;
    std::size_t rows = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kPeers)) {
        if (!entry.is_regular_file())
            continue;
        const std::string bytes = testing::ScratchDirectory::ReadFile(entry.path());
        const Bytes inMemory(bytes.begin(), bytes.end());
        const auto [start, end] = AudioOf(inMemory);
        BufferedFile file;
        testing::OpenOrFail(file, entry.path(), testing::kLoadMode);
        const MpegInfo info = Measure(file, start, end);
        EXPECT_EQ(testing::Facts(Measure(inMemory, start, end)), testing::Facts(info));
        EXPECT_TRUE(!info.found ||
                    (info.firstFrameOffset >= start && info.firstFrameOffset + 4 < end))
            << entry.path();
        const auto row = kMeasured.find(fs::relative(entry.path(), kPeers).string());
        if (row != kMeasured.end()) {
            ++rows;
            EXPECT_EQ(testing::Facts(info), row->second) << row->first;
        }
    }
    EXPECT_EQ(rows, kMeasured.size());
}

}  // namespace
}  // namespace velmora
