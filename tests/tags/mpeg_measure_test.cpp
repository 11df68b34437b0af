#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tags/MpegFrameSearch.h"
#include "tags/MpegInfo.h"
#include "tags/mpeg_test_streams.h"

namespace velmora {
namespace {

using testing::Append;
using testing::Bytes;
using testing::FrameLength;
using testing::Frames;
using testing::FrameSpec;
using testing::PutVbri;
using testing::PutXing;

MpegInfo MeasureAll(const Bytes& file) {
    return Measure(file, 0, file.size());
}

Bytes Zeros(std::size_t count) {
    return Bytes(count, 0);
}

constexpr FrameSpec kCbr128{};                                         // MPEG-1 L3 128k 44.1 kHz
constexpr FrameSpec kCbr320{.bitrateIndex = 14};                       // 320k
constexpr FrameSpec kMpeg2At22k{.versionBits = 2, .bitrateIndex = 8};  // 64k 22.05 kHz

TEST(MpegMeasure, ConstantBitrateDurationComesFromTheBytes) {
    // 9592 frames of 417 bytes and 136 bytes of tail make 4,000,000 bytes.
    Bytes file = Frames(kCbr128, 9592);
    Append(file, Zeros(4'000'000 - file.size()));
    ASSERT_EQ(file.size(), 4'000'000u);
    const MpegInfo info = MeasureAll(file);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.firstFrameOffset, 0u);
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_FALSE(info.vbr);
    EXPECT_EQ(info.duration, 250u);
    EXPECT_EQ(info.vbrHeader, MpegVbrKind::kNone);
}

struct VbrCase {
    std::string name;
    std::string tag;  // "Xing", "Info", "VBRI"
    std::uint32_t flags;
    std::uint32_t frames;
    std::uint32_t bytes;
    unsigned bitrate;
    bool vbr;
    unsigned duration;
    MpegVbrKind used;
};

// Over 20 frames of 320 kbit/s and zeros: 1,020,880 audio bytes, 25 s at the header's bitrate.
const std::vector<VbrCase> kVbrCases = {
    {"XingBothCounts", "Xing", 3, 10000, 4180000, 128, true, 261, MpegVbrKind::kXing},
    {"XingAverageTruncates", "Xing", 3, 5000, 1000000, 61, true, 130, MpegVbrKind::kXing},
    {"XingFramesOnlyUsesTheAudioBytes", "Xing", 1, 10000, 0, 31, true, 261, MpegVbrKind::kXing},
    {"XingBytesOnlyIsIgnored", "Xing", 2, 0, 4180000, 320, false, 25, MpegVbrKind::kNone},
    {"XingZeroFramesIsIgnored", "Xing", 3, 0, 4180000, 320, false, 25, MpegVbrKind::kNone},
    {"XingNoCountsIsIgnored", "Xing", 0, 0, 0, 320, false, 25, MpegVbrKind::kNone},
    {"InfoIsConstantBitrate", "Info", 3, 10000, 4180000, 320, false, 261, MpegVbrKind::kInfo},
    {"InfoBytesOnlyIsIgnored", "Info", 2, 0, 4180000, 320, false, 25, MpegVbrKind::kNone},
    {"VbriReadsLikeXing", "VBRI", 0, 10000, 4180000, 128, true, 261, MpegVbrKind::kVbri},
    {"VbriZeroFramesIsIgnored", "VBRI", 0, 0, 4180000, 320, false, 25, MpegVbrKind::kNone},
};

TEST(MpegMeasure, VbrHeaders) {
    for (const auto& c : kVbrCases) {
        SCOPED_TRACE(c.name);
        Bytes file = Frames(kCbr320, 20);
        if (c.tag == "VBRI")
            PutVbri(file, c.frames, c.bytes);
        else
            PutXing(file, 4 + 32, c.tag, c.flags, c.frames, c.bytes);
        Append(file, Zeros(1'000'000));
        const MpegInfo info = MeasureAll(file);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.vbr, c.vbr);
        EXPECT_EQ(info.duration, c.duration);
        EXPECT_EQ(info.vbrHeader, c.used);
        EXPECT_EQ(info.frameCount, c.used == MpegVbrKind::kNone ? 0 : c.frames);
    }
}

struct PlacementCase {
    std::string name;
    FrameSpec spec;
    std::size_t xingAt;
    bool found;
    unsigned bitrate;  // when found
    unsigned duration;
};

// 1000 frames of 400 bytes each: 1000 × 1152 / 44100 s and 44100 × 400 / 144000 kbit/s, halved
// samples per frame and halved rates for MPEG-2, halved again for MPEG-2.5.
const std::vector<PlacementCase> kPlacements = {
    {"Mpeg1Stereo", {}, 36, true, 122, 26},
    {"Mpeg1Mono", {.channelMode = 3}, 21, true, 122, 26},
    {"Mpeg1AfterTheCrc", {.crc = true}, 38, true, 122, 26},
    {"Mpeg1CrcNotCounted", {.crc = true}, 36, true, 122, 26},
    {"Mpeg1MonoAfterTheCrc", {.crc = true, .channelMode = 3}, 23, true, 122, 26},
    {"Mpeg2Stereo", {.versionBits = 2, .bitrateIndex = 8}, 21, true, 122, 26},
    {"Mpeg2Mono", {.versionBits = 2, .bitrateIndex = 8, .channelMode = 3}, 13, true, 122, 26},
    {"Mpeg25Mono", {.versionBits = 0, .bitrateIndex = 8, .channelMode = 3}, 13, true, 61, 52},
    {"Mpeg1StereoAtTheMonoPlace", {}, 21, false, 128, 0},
    {"Mpeg1StereoWithoutCrcTwoBytesLate", {}, 38, false, 128, 0},
};

TEST(MpegMeasure, XingSitsAfterTheSideInformation) {
    for (const auto& c : kPlacements) {
        SCOPED_TRACE(c.name);
        Bytes file = Frames(c.spec, 3);
        PutXing(file, c.xingAt, "Xing", 3, 1000, 400'000);
        const MpegInfo info = MeasureAll(file);
        ASSERT_TRUE(info.found);
        EXPECT_EQ(info.vbr, c.found);
        EXPECT_EQ(info.vbrHeader, c.found ? MpegVbrKind::kXing : MpegVbrKind::kNone);
        if (c.found) {
            EXPECT_EQ(info.bitrate, c.bitrate);
            EXPECT_EQ(info.duration, c.duration);
        }
    }
}

TEST(MpegMeasure, Mpeg2LayerThreeIsMeasured) {
    // 100 frames of 208 bytes at 64 kbit/s: 20800 × 8 / 64000 = 2.6 s.
    const MpegInfo info = MeasureAll(Frames(kMpeg2At22k, 100));
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.version, MpegVersion::kMpeg2);
    EXPECT_EQ(info.sampleRate, 22050u);
    EXPECT_EQ(info.bitrate, 64);
    EXPECT_FALSE(info.vbr);
    EXPECT_EQ(info.duration, 2u);
}

TEST(MpegMeasure, LayerOneAndTwoAreFoundButNotMeasured) {
    for (unsigned layer : {1u, 2u}) {
        SCOPED_TRACE(layer);
        const MpegInfo info = MeasureAll(Frames({.layer = layer, .bitrateIndex = 12}, 50));
        EXPECT_TRUE(info.found);
        EXPECT_EQ(info.layer, layer);
        EXPECT_EQ(info.sampleRate, 44100u);
        EXPECT_EQ(info.bitrate, 0);
        EXPECT_FALSE(info.vbr);
        EXPECT_EQ(info.duration, 0u);
    }
}

TEST(MpegMeasure, FirstFrameIsFoundAtAnyOffset) {
    // Around the first and second chunk ends, and the end of the search's own window.
    const std::size_t window = kMpegSearchChunk + MaxMpegFrameLength() + 4;
    for (std::size_t offset :
         {std::size_t{0}, std::size_t{1}, kMpegSearchChunk - 4, kMpegSearchChunk - 3,
          kMpegSearchChunk - 2, kMpegSearchChunk - 1, kMpegSearchChunk, kMpegSearchChunk + 1,
          window - 1, window, 2 * kMpegSearchChunk - 1, 2 * kMpegSearchChunk,
          3 * kMpegSearchChunk}) {
        SCOPED_TRACE(offset);
        Bytes file = Zeros(offset);
        Append(file, Frames(kCbr128, 10));
        const MpegInfo info = MeasureAll(file);
        EXPECT_EQ(info.firstFrameOffset, offset);
        EXPECT_EQ(info.bitrate, 128);
    }
}

TEST(MpegMeasure, ALoneFrameCountsWhenItEndsExactlyAtTheEnd) {
    const std::size_t window = kMpegSearchChunk + MaxMpegFrameLength() + 4;
    const std::size_t length = FrameLength(kCbr128);
    for (std::size_t size : {length, std::size_t{1000}, kMpegSearchChunk, window - 1, window,
                             window + 1, 2 * kMpegSearchChunk}) {
        SCOPED_TRACE(size);
        Bytes file = Zeros(size - length);
        Append(file, Frames(kCbr128, 1));
        EXPECT_EQ(MeasureAll(file).firstFrameOffset, size - length);
        EXPECT_EQ(MeasureAll(file).bitrate, 128);

        Bytes cut(file.begin(), file.end() - 1);
        EXPECT_FALSE(MeasureAll(cut).found);
        Bytes longer = file;
        Append(longer, Zeros(2));
        EXPECT_FALSE(MeasureAll(longer).found);
    }
}

TEST(MpegMeasure, FalseSyncsAreRejectedByTheNextHeader) {
    Bytes file = Zeros(5000);
    // A lone 320k header: its next header would be at 1044, where there are zeros.
    testing::PutWord(file, 0, testing::HeaderWord(kCbr320));
    // A 48 kHz header followed, at its frame length (384), by a 44.1 kHz one.
    const FrameSpec at48k{.sampleRateIndex = 1};
    testing::PutWord(file, 1200, testing::HeaderWord(at48k));
    testing::PutWord(file, 1200 + FrameLength(at48k), testing::HeaderWord(kCbr128));
    Append(file, Frames(kCbr128, 10));
    const MpegInfo info = MeasureAll(file);
    EXPECT_EQ(info.firstFrameOffset, 5000u);
    EXPECT_EQ(info.bitrate, 128);
}

TEST(MpegMeasure, SearchStartsAfterTheId3v2Tag) {
    // A tag of 2000 bytes whose content holds two 32 kbit/s frames in a row.
    Bytes file = Zeros(2000);
    testing::PutText(file, 0, "ID3");
    const FrameSpec at32k{.bitrateIndex = 1};
    const Bytes fake = Frames(at32k, 2);
    std::copy(fake.begin(), fake.end(), file.begin() + 100);
    Append(file, Frames(kCbr128, 30));

    const MpegInfo info = Measure(file, 2000, file.size());
    EXPECT_EQ(info.firstFrameOffset, 2000u);
    EXPECT_EQ(info.bitrate, 128);
    // Searched from offset 0, the bytes in the tag would pass.
    EXPECT_EQ(MeasureAll(file).bitrate, 32);
}

TEST(MpegMeasure, DurationCountsOnlyTheAudioBetweenTheTags) {
    Bytes file = Zeros(10'000);  // the ID3v2 tag
    Bytes audio = Frames(kCbr128, 9592);
    Append(audio, Zeros(3'999'990 - audio.size()));
    Append(file, audio);
    Bytes v1 = Zeros(128);
    testing::PutText(v1, 0, "TAG");
    Append(file, v1);

    EXPECT_EQ(Measure(file, 10'000, file.size() - 128).duration, 249u);  // 3,999,990 bytes
    EXPECT_EQ(MeasureAll(file).duration, 250u);                          // tags counted in
}

TEST(MpegMeasure, AFrameRightBeforeAnId3v1TagCountsOnlyWithoutTheTag) {
    Bytes file = Frames(kCbr128, 1);
    Bytes v1 = Zeros(128);
    testing::PutText(v1, 0, "TAG");
    Append(file, v1);
    EXPECT_TRUE(Measure(file, 0, file.size() - 128).found);
    EXPECT_FALSE(MeasureAll(file).found);
}

TEST(MpegMeasure, TooShortOrEmptyRegionsMeasureNothing) {
    const Bytes header = Frames(kCbr128, 1);
    for (std::size_t size = 0; size < 4; ++size) {
        SCOPED_TRACE(size);
        const Bytes file(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(size));
        const MpegInfo info = MeasureAll(file);
        EXPECT_FALSE(info.found);
        EXPECT_EQ(info.bitrate, 0);
        EXPECT_EQ(info.duration, 0u);
    }
}

TEST(MpegMeasure, OffsetsOutsideTheFileAreClamped) {
    const Bytes file = Frames(kCbr128, 3);
    EXPECT_EQ(Measure(file, 0, 1'000'000'000).bitrate, 128);
    EXPECT_FALSE(Measure(file, file.size() + 10, file.size() + 20).found);
    EXPECT_FALSE(Measure(file, 500, 100).found);
    EXPECT_FALSE(Measure(file, UINT64_MAX, UINT64_MAX).found);
}

// Counts what the search asks of its source.
class CountingSource final : public MpegByteSource {
  public:
    explicit CountingSource(const Bytes& bytes) : inner_(bytes) {}
    std::size_t Read(std::span<std::uint8_t> into) override {
        EXPECT_FALSE(ended_) << "read again after the end";
        const std::size_t got = inner_.Read(into);
        ended_ = got < into.size();
        total_ += got;
        return got;
    }
    std::size_t total() const { return total_; }

  private:
    MpegSpanSource inner_;
    std::size_t total_ = 0;
    bool ended_ = false;
};

TEST(MpegMeasure, SearchReadsEachByteOnce) {
    Bytes noAudio = Zeros(200'000);
    noAudio[50'000] = 0xFF;
    CountingSource source(noAudio);
    EXPECT_FALSE(FindFirstMpegFrame(source));
    EXPECT_EQ(source.total(), noAudio.size());
}

}  // namespace
}  // namespace velmora
