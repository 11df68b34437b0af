#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tags/mpeg/MpegAverages.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/mpeg_test_streams.h"

namespace velmora {
namespace {

using namespace testing;
using std::to_string;

// "version Llayer kbps rate length samples side [crc]", version 1, 2 or 25.
std::string HeaderFacts(const MpegHeader& h) {
    const char* versions[] = {"1", "2", "25"};
    return versions[int(h.version)] + std::string(" L") + to_string(h.layer) + " " +
           to_string(h.BitrateKbps()) + " " + to_string(h.SampleRate()) + " " +
           to_string(h.FrameLength()) + " " + to_string(h.SamplesPerFrame()) + " " +
           to_string(h.SideInfoSize()) + (h.crcProtected ? " crc" : "");
}

// Frame lengths worked out by hand from ISO/IEC 11172-3 and 13818-3.
TEST(MpegHeader, FieldsAndFrameLengths) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        // MPEG-1 Layer III 128 kbit/s 44.1 kHz joint stereo: 144 × 128000 / 44100 = 417.
        {0xFFFB9064, "1 L3 128 44100 417 1152 32"},
        {0xFFFA9264, "1 L3 128 44100 418 1152 32 crc"},  // padded
        {0xFFFBEAC0, "1 L3 320 32000 1441 1152 17"},     // mono
        // MPEG-2 Layer III 64 kbit/s 22.05 kHz: 72 × 64000 / 22050 = 208.
        {0xFFF38000, "2 L3 64 22050 208 576 17"},
        {0xFFE318C0, "25 L3 8 8000 72 576 9"},  // MPEG-2.5 mono
        // Layer I counts 4-byte slots: 12 × 448000 / 32000 × 4 = 672.
        {0xFFFFE800, "1 L1 448 32000 672 384 0"},
        {0xFFFDE400, "1 L2 384 48000 1152 1152 0"},
        {0xFFEB9064, nullptr},  // reserved version
        {0xFFF99064, nullptr},  // reserved layer
        {0xFFFBF064, nullptr},  // bitrate index 15
        {0xFFFB0064, nullptr},  // free format: no frame length to confirm with
        {0xFFFB9C64, nullptr},  // reserved sampling frequency
        {0xFFDB9064, nullptr},  // eleventh sync bit clear
    };
    for (const auto& [word, facts] : cases) {
        const auto header = ParseMpegHeader(word);
        EXPECT_EQ(header ? HeaderFacts(*header) : "rejected", facts ? facts : "rejected") << word;
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

constexpr FrameShape kCbr320{.bitrateIndex = 14};  // 320 kbit/s

// Over 20 frames and 1,000,000 zeros (at 320 kbit/s: 1,020,880 audio bytes, 25 s at the
// header's bitrate). 1000 frames of 400 bytes: 1000 × 1152 / 44100 s and 44100 × 400 / 144000
// kbit/s, halved samples per frame and halved rates for MPEG-2. "Xing" sits after the side
// information, whose size depends on version, mode and CRC. Without a VBR header the duration
// comes from the bytes; Layer I and II streams are found, not measured. The peer files measure
// "Info", VBRI, MPEG-2.5 and plain constant bitrate streams.
TEST(MpegMeasure, StreamsWithAndWithoutVbrHeaders) {
    constexpr FrameShape mono{.channelMode = 3}, crc{.crc = true},
        monoCrc{.crc = true, .channelMode = 3};
    constexpr FrameShape mpeg2{.versionBits = 2, .bitrateIndex = 8};
    constexpr FrameShape mpeg2Mono{.versionBits = 2, .bitrateIndex = 8, .channelMode = 3};
    const struct {
        FrameShape frame;
        const char* tag;
        std::size_t at;
        std::uint32_t flags, frames, bytes;
        const char* facts;
    } cases[] = {
        {{.layer = 1, .bitrateIndex = 12}, "", 0, 0, 0, 0, "@0 L1/44100 0 0s - 0"},
        {{.layer = 2, .bitrateIndex = 12}, "", 0, 0, 0, 0, "@0 L2/44100 0 0s - 0"},
        {kCbr320, "Xing", 36, 3, 10000, 4180000, "@0 L3/44100 128v 261s Xing 10000"},
        {kCbr320, "Xing", 36, 3, 5000, 1000000, "@0 L3/44100 61v 130s Xing 5000"},  // truncated
        {kCbr320, "Xing", 36, 1, 10000, 0,
         "@0 L3/44100 31v 261s Xing 10000"},                              // bytes: the audio's
        {kCbr320, "Xing", 36, 2, 0, 4180000, "@0 L3/44100 320 25s - 0"},  // no frame count
        {mono, "Xing", 21, 3, 1000, 400'000, "@0 L3/44100 122v 26s Xing 1000"},
        {crc, "Xing", 38, 3, 1000, 400'000, "@0 L3/44100 122v 26s Xing 1000"},
        {crc, "Xing", 36, 3, 1000, 400'000, "@0 L3/44100 122v 26s Xing 1000"},  // CRC not counted
        {monoCrc, "Xing", 23, 3, 1000, 400'000, "@0 L3/44100 122v 26s Xing 1000"},
        {mpeg2, "Xing", 21, 3, 1000, 400'000, "@0 L3/22050 122v 26s Xing 1000"},
        {mpeg2Mono, "Xing", 13, 3, 1000, 400'000, "@0 L3/22050 122v 26s Xing 1000"},
        {kCbr320, "Xing", 21, 3, 1000, 400'000, "@0 L3/44100 320 25s - 0"},  // stereo at mono place
        {kCbr320, "Xing", 38, 3, 1000, 400'000, "@0 L3/44100 320 25s - 0"},  // two bytes late
    };
    for (const auto& c : cases) {
        Bytes file = Frames(c.frame, 20);
        if (*c.tag)
            PutXing(file, c.at, c.tag, c.flags, c.frames, c.bytes);
        Append(file, Bytes(1'000'000, 0));
        EXPECT_EQ(Facts(Measure(file, 0, file.size())), c.facts) << &c - cases;
    }
}

}  // namespace
}  // namespace velmora
