#include "tags/MpegHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace velmora {
namespace {

struct HeaderCase {
    std::uint32_t word;
    MpegVersion version;
    unsigned layer;
    unsigned kbps;
    unsigned sampleRate;
    unsigned frameLength;
    unsigned samplesPerFrame;
    unsigned sideInfo;
};

// Frame lengths worked out by hand from ISO/IEC 11172-3 and 13818-3.
const std::vector<HeaderCase> kHeaders = {
    // MPEG-1 Layer III 128 kbit/s 44.1 kHz joint stereo: 144 × 128000 / 44100 = 417.
    {0xFFFB9064, MpegVersion::kMpeg1, 3, 128, 44100, 417, 1152, 32},
    {0xFFFB9264, MpegVersion::kMpeg1, 3, 128, 44100, 418, 1152, 32},   // padded
    {0xFFFBEAC0, MpegVersion::kMpeg1, 3, 320, 32000, 1441, 1152, 17},  // padded, mono
    // MPEG-2 Layer III 64 kbit/s 22.05 kHz: 72 × 64000 / 22050 = 208.
    {0xFFF38000, MpegVersion::kMpeg2, 3, 64, 22050, 208, 576, 17},
    // MPEG-2.5 Layer III 8 kbit/s 8 kHz mono.
    {0xFFE318C0, MpegVersion::kMpeg25, 3, 8, 8000, 72, 576, 9},
    // Layer I counts 4-byte slots: 12 × 448000 / 32000 × 4 = 672.
    {0xFFFFE800, MpegVersion::kMpeg1, 1, 448, 32000, 672, 384, 0},
    {0xFFFDE400, MpegVersion::kMpeg1, 2, 384, 48000, 1152, 1152, 0},
};

TEST(MpegHeader, FieldsAndFrameLengths) {
    for (const auto& c : kHeaders) {
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
        EXPECT_FALSE(header->crcProtected);
    }
}

TEST(MpegHeader, ProtectionBitZeroMeansACrcFollows) {
    auto header = ParseMpegHeader(0xFFFA9064);
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->crcProtected);
}

TEST(MpegHeader, HeaderTestRejects) {
    const std::uint32_t rejected[] = {
        0xFFEB9064,  // reserved version
        0xFFF99064,  // reserved layer
        0xFFFBF064,  // bitrate index 15
        0xFFFB0064,  // free format: no frame length to confirm with
        0xFFFB9C64,  // reserved sampling frequency
        0xFFDB9064,  // eleventh sync bit clear
        0x7FFB9064,  // first sync bit clear
    };
    for (std::uint32_t word : rejected)
        EXPECT_FALSE(ParseMpegHeader(word)) << std::hex << word;
}

TEST(MpegHeader, ShortSpansHoldNoHeader) {
    const std::uint8_t bytes[] = {0xFF, 0xFB, 0x90, 0x64};
    EXPECT_TRUE(ParseMpegHeader(std::span(bytes)));
    EXPECT_FALSE(ParseMpegHeader(std::span(bytes).first(3)));
    EXPECT_FALSE(ParseMpegHeader(std::span<const std::uint8_t>()));
}

TEST(MpegHeader, SameStreamNeedsVersionLayerAndSampleRate) {
    auto first = *ParseMpegHeader(0xFFFB9064);
    EXPECT_TRUE(first.SameStreamAs(*ParseMpegHeader(0xFFFBE2C0)));   // other bitrate, padding, mode
    EXPECT_FALSE(first.SameStreamAs(*ParseMpegHeader(0xFFFB9464)));  // 48 kHz
    EXPECT_FALSE(first.SameStreamAs(*ParseMpegHeader(0xFFF39064)));  // MPEG-2
    EXPECT_FALSE(first.SameStreamAs(*ParseMpegHeader(0xFFFD9064)));  // Layer II
}

TEST(MpegHeader, LongestFrameIsMpeg2LayerTwoAt8kHz) {
    // 144 × 160000 / 8000 + 1 padding byte.
    EXPECT_EQ(MaxMpegFrameLength(), 2881u);
}

}  // namespace
}  // namespace velmora
