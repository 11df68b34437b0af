#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/BufferedFileFaults.h"
#include "tags/mpeg/MpegAverages.h"
#include "tags/mpeg/MpegFrameSearch.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/MpegInfo.h"
#include "tags/mpeg/mpeg_test_streams.h"

namespace velmora {
namespace {

using namespace testing;

// Frame lengths worked out by hand from ISO/IEC 11172-3 and 13818-3.
TEST(MpegHeader, FieldsAndFrameLengths) {
    struct Case {
        std::uint32_t word;
        MpegVersion version;
        unsigned layer, kbps, sampleRate, frameLength, samplesPerFrame, sideInfo;
        bool crc = false;
    };
    const Case cases[] = {
        // MPEG-1 Layer III 128 kbit/s 44.1 kHz joint stereo: 144 × 128000 / 44100 = 417.
        {0xFFFB9064, MpegVersion::kMpeg1, 3, 128, 44100, 417, 1152, 32},
        {0xFFFA9264, MpegVersion::kMpeg1, 3, 128, 44100, 418, 1152, 32, true},  // padded
        {0xFFFBEAC0, MpegVersion::kMpeg1, 3, 320, 32000, 1441, 1152, 17},       // mono
        // MPEG-2 Layer III 64 kbit/s 22.05 kHz: 72 × 64000 / 22050 = 208.
        {0xFFF38000, MpegVersion::kMpeg2, 3, 64, 22050, 208, 576, 17},
        {0xFFE318C0, MpegVersion::kMpeg25, 3, 8, 8000, 72, 576, 9},  // MPEG-2.5 mono
        // Layer I counts 4-byte slots: 12 × 448000 / 32000 × 4 = 672.
        {0xFFFFE800, MpegVersion::kMpeg1, 1, 448, 32000, 672, 384, 0},
        {0xFFFDE400, MpegVersion::kMpeg1, 2, 384, 48000, 1152, 1152, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        auto header = ParseMpegHeader(c.word);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->version, c.version);
        EXPECT_EQ(header->layer, c.layer);
        EXPECT_EQ(header->BitrateKbps(), c.kbps);
        EXPECT_EQ(header->SampleRate(), c.sampleRate);
        EXPECT_EQ(header->FrameLength(), c.frameLength);
        EXPECT_EQ(header->SamplesPerFrame(), c.samplesPerFrame);
        EXPECT_EQ(header->SideInfoSize(), c.sideInfo);
        EXPECT_EQ(header->crcProtected, c.crc);
    }
}

TEST(MpegHeader, HeaderTestRejects) {
    const std::uint32_t rejected[] = {
        0xFFEB9064,  // reserved version
        0xFFF99064,  // reserved layer
        0xFFFBF064,  // bitrate index 15
        0xFFFB0064,  // free format: no frame length to confirm with
        0xFFFB9C64,  // reserved sampling frequency
        0xFFDB9064,  // eleventh sync bit clear
    };
    for (std::uint32_t word : rejected) {
        EXPECT_FALSE(ParseMpegHeader(word)) << std::hex << word;
    }
    const std::uint8_t bytes[] = {0xFF, 0xFB, 0x90, 0x64};
    EXPECT_FALSE(ParseMpegHeader(std::span(bytes).first(3)));
}

// The truncating averages themselves are checked through the VBR headers of the measuring
// tests; here only their limits.
TEST(MpegAverages, ExactQuotientsAndLimits) {
    constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(AverageBitrateKbps(48000, 1152, 432'000, 1'000), 144);  // not 143.99999
    EXPECT_EQ(AverageBitrateKbps(48000, 1152, 4'000'000'000, 1), 65535);
    EXPECT_EQ(DurationFromBytes(std::uint64_t{1} << 40, 128), 68'719'476u);
    EXPECT_EQ(DurationFromBytes(kMaxU64, 8), std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(DurationFromBytes(4'000'000, 0), 0u);
    EXPECT_EQ(DurationFromFrames(4'294'967'295u, 1152, 8000), 618'475'290u);
    EXPECT_EQ(DurationFromFrames(100, 1152, 0), 0u);
}

MpegInfo MeasureAll(const Bytes& file) {
    return Measure(file, 0, file.size());
}

Bytes Zeros(std::size_t count) {
    return Bytes(count, 0);
}

constexpr FrameShape kCbr128{};                    // MPEG-1 Layer III 128 kbit/s 44.1 kHz
constexpr FrameShape kCbr320{.bitrateIndex = 14};  // 320 kbit/s

TEST(MpegMeasure, StreamsWithoutVbrHeader) {
    struct Case {
        FrameShape frame;
        std::size_t frames, size;
        unsigned bitrate, duration;
    };
    const Case cases[] = {
        {kCbr128, 9592, 4'000'000, 128, 250},                        // duration from the bytes
        {{.versionBits = 2, .bitrateIndex = 8}, 100, 20800, 64, 2},  // MPEG-2 22.05 kHz: 2.6 s
        {{.layer = 1, .bitrateIndex = 12}, 50, 0, 0, 0},  // Layer I and II: found, not measured
        {{.layer = 2, .bitrateIndex = 12}, 50, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Bytes file = Frames(c.frame, c.frames);
        file.resize(std::max(file.size(), c.size));
        const MpegInfo info = MeasureAll(file);
        EXPECT_TRUE(info.found);
        EXPECT_EQ(info.firstFrameOffset, 0u);
        EXPECT_EQ(info.layer, c.frame.layer);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_FALSE(info.vbr);
        EXPECT_EQ(info.duration, c.duration);
    }
}

// Over 20 frames and 1,000,000 zeros (at 320 kbit/s: 1,020,880 audio bytes, 25 s at the
// header's bitrate). 1000 frames of 400 bytes: 1000 × 1152 / 44100 s and 44100 × 400 / 144000
// kbit/s, halved samples per frame and halved rates for MPEG-2, halved again for MPEG-2.5.
// "Xing" and "Info" sit after the side information, whose size depends on version, mode and CRC.
TEST(MpegMeasure, VbrHeaders) {
    using K = MpegVbrKind;
    constexpr FrameShape mono{.channelMode = 3}, crc{.crc = true};
    constexpr FrameShape mpeg2{.versionBits = 2, .bitrateIndex = 8};
    constexpr FrameShape mpeg2Mono{.versionBits = 2, .bitrateIndex = 8, .channelMode = 3};
    constexpr FrameShape mpeg25Mono{.versionBits = 0, .bitrateIndex = 8, .channelMode = 3};
    const struct {
        FrameShape frame;
        const char* tag;
        std::size_t at;
        std::uint32_t flags, frames, bytes;
        unsigned bitrate;
        bool vbr;
        unsigned duration;
        K used;
    } cases[] = {
        {kCbr320, "Xing", 36, 3, 10000, 4180000, 128, true, 261, K::kXing},
        {kCbr320, "Xing", 36, 3, 5000, 1000000, 61, true, 130, K::kXing},  // average truncates
        {kCbr320, "Xing", 36, 1, 10000, 0, 31, true, 261, K::kXing},     // frames only: audio bytes
        {kCbr320, "Xing", 36, 2, 0, 4180000, 320, false, 25, K::kNone},  // no frame count
        {kCbr320, "Xing", 36, 3, 0, 4180000, 320, false, 25, K::kNone},  // 0 frames
        {kCbr320, "Info", 36, 3, 10000, 4180000, 320, false, 261, K::kInfo},  // constant bitrate
        {kCbr320, "VBRI", 0, 0, 10000, 4180000, 128, true, 261, K::kVbri},
        {kCbr320, "VBRI", 0, 0, 0, 4180000, 320, false, 25, K::kNone},
        {mono, "Xing", 21, 3, 1000, 400'000, 122, true, 26, K::kXing},
        {crc, "Xing", 38, 3, 1000, 400'000, 122, true, 26, K::kXing},
        {crc, "Xing", 36, 3, 1000, 400'000, 122, true, 26, K::kXing},  // CRC not counted
        {{.crc = true, .channelMode = 3}, "Xing", 23, 3, 1000, 400'000, 122, true, 26, K::kXing},
        {mpeg2, "Xing", 21, 3, 1000, 400'000, 122, true, 26, K::kXing},
        {mpeg2Mono, "Xing", 13, 3, 1000, 400'000, 122, true, 26, K::kXing},
        {mpeg25Mono, "Xing", 13, 3, 1000, 400'000, 61, true, 52, K::kXing},
        {kCbr320, "Xing", 21, 3, 1000, 400'000, 320, false, 25, K::kNone},  // stereo at mono place
        {kCbr320, "Xing", 38, 3, 1000, 400'000, 320, false, 25, K::kNone},  // two bytes late
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Bytes file = Frames(c.frame, 20);
        if (c.tag == std::string("VBRI")) {
            PutVbri(file, c.frames, c.bytes);
        } else {
            PutXing(file, c.at, c.tag, c.flags, c.frames, c.bytes);
        }
        Append(file, Zeros(1'000'000));
        const MpegInfo info = MeasureAll(file);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.vbr, c.vbr);
        EXPECT_EQ(info.duration, c.duration);
        EXPECT_EQ(info.vbrHeader, c.used);
        EXPECT_EQ(info.frameCount, c.used == K::kNone ? 0 : c.frames);
    }
}

// Around the chunk ends of the search and the end of its own window. A lone frame counts
// only when it ends exactly with the region.
TEST(MpegMeasure, FirstFrameIsFoundAtAnyOffset) {
    constexpr std::size_t C = kMpegSearchChunk;
    const std::size_t window = C + MaxMpegFrameLength() + 4;
    for (std::size_t offset :
         {std::size_t{0}, C - 4, C - 3, C - 2, C - 1, C, window - 1, window, 2 * C - 1}) {
        Bytes file = Zeros(offset);
        Append(file, Frames(kCbr128, 1));
        const MpegInfo info = MeasureAll(file);
        EXPECT_EQ(info.firstFrameOffset, offset);
        EXPECT_EQ(info.bitrate, 128) << offset;
        EXPECT_FALSE(Measure(file, 0, file.size() - 1).found) << offset;
        Append(file, Zeros(2));
        EXPECT_FALSE(MeasureAll(file).found) << offset;
    }
}

// As peers, the search looks no further than its limit for the start of a stream.
TEST(MpegMeasure, StreamStartsWithinTheSearchLimit) {
    for (const auto& [offset, found] :
         {std::pair{kMpegSearchLimit - 1, true}, std::pair{kMpegSearchLimit, false}}) {
        Bytes file = Zeros(offset);
        Append(file, Frames(kCbr128, 2));
        EXPECT_EQ(MeasureAll(file).found, found) << offset;
    }
}

// A confirmed stream in a long region, around the end of the search's first (smaller) read
// and of its first full window.
TEST(MpegMeasure, ConfirmedFrameIsFoundAcrossTheFirstReads) {
    const std::size_t lookahead = MaxMpegFrameLength() + 4;
    for (std::size_t base : {std::size_t{4096}, std::size_t{8192}, std::size_t{16384},
                             std::size_t{8192} + lookahead, kMpegSearchChunk}) {
        for (std::size_t offset = base - 3; offset <= base + 3; ++offset) {
            Bytes file = Zeros(offset);
            Append(file, Frames(kCbr128, 2));
            Append(file, Zeros(40000));
            const MpegInfo info = MeasureAll(file);
            EXPECT_EQ(info.firstFrameOffset, offset);
            EXPECT_EQ(info.bitrate, 128) << offset;
        }
    }
}

TEST(MpegMeasure, FalseSyncsAreRejectedByTheNextHeader) {
    Bytes file = Zeros(5000);
    // A lone 320k header: its next header would be at 1044, where there are zeros.
    PutWord(file, 0, HeaderWord(kCbr320));
    // A 48 kHz header followed, at its frame length (384), by a 44.1 kHz one.
    const FrameShape at48k{.sampleRateIndex = 1};
    PutWord(file, 1200, HeaderWord(at48k));
    PutWord(file, 1200 + FrameLength(at48k), HeaderWord(kCbr128));
    Append(file, Frames(kCbr128, 10));
    const MpegInfo info = MeasureAll(file);
    EXPECT_EQ(info.firstFrameOffset, 5000u);
    EXPECT_EQ(info.bitrate, 128);
}

// A 3000-byte stand-in for an ID3v2 tag holding two 32 kbit/s frames, 128 kbit/s audio of
// 1,600,000 bytes (100 s) and an ID3v1 tag: only the audio between the tags counts.
TEST(MpegMeasure, FileIsMeasuredBetweenItsTags) {
    Bytes bytes(3000, 0);
    PutText(bytes, 0, "ID3");
    const Bytes fake = Frames({.bitrateIndex = 1}, 2);
    std::copy(fake.begin(), fake.end(), bytes.begin() + 500);
    Bytes audio = Frames({}, 3000);
    audio.resize(1'600'000);
    Append(bytes, audio);
    Bytes v1(128, 0);
    PutText(v1, 0, "TAG");
    Append(bytes, v1);
    ScratchDirectory dir;
    BufferedFile file;
    OpenOrFail(file, dir.WriteFile("song.mp3", std::string(bytes.begin(), bytes.end())), kLoadMode);

    const MpegInfo info = Measure(file, 3000, bytes.size() - 128);
    EXPECT_EQ(info.firstFrameOffset, 3000u);
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.duration, 100u);
    // Regions are clamped to the file, and one too short for a header measures nothing.
    EXPECT_EQ(Measure(file, 3000, bytes.size() + 1'000'000).bitrate, 128);
    EXPECT_FALSE(Measure(file, bytes.size() + 10, bytes.size() + 20).found);
    EXPECT_FALSE(Measure(file, 5000, 4000).found);
    EXPECT_FALSE(Measure(bytes, 3000, 3003).found);
    EXPECT_FALSE(Measure(bytes, UINT64_MAX, UINT64_MAX).found);
    EXPECT_EQ(MeasureAll(bytes).bitrate, 32);  // from offset 0 the tag's bytes would pass

    FileFaults faults;
    faults.Fail(FileCall::Read, 1, EIO);
    ScopedFileFaults installed(faults);
    EXPECT_THROW(Measure(file, 3000, bytes.size() - 128), CFileExceptionEx);
}

}  // namespace
}  // namespace velmora
