#include "tags/MpegHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "tags/MpegAverages.h"

namespace velmora {
namespace {

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

}  // namespace
}  // namespace velmora
