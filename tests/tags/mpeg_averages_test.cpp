#include "tags/MpegAverages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace velmora {
namespace {

constexpr std::uint32_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

TEST(MpegAverages, AverageBitrate) {
    struct Case {
        std::uint32_t sampleRate, samplesPerFrame;
        std::uint64_t bytes;
        std::uint32_t frames;
        unsigned kbps;
    } cases[] = {
        {44100, 1152, 4'180'000, 10'000, 128},  // 128.0125
        {44100, 1152, 1'000'000, 5'000, 61},    // 61.25
        {48000, 1152, 432'000, 1'000, 144},     // exactly 144: no rounding below it
        {22050, 576, 400'000, 1'000, 122},      // 22050 × 400 / 72000 = 122.5
        {8000, 576, 90'000, 1'000, 10},         // 8000 × 90 / 72000 = 10 exactly
        {44100, 1152, 4'180'000, 0, 0},         // no frames
        {48000, 1152, 4'000'000'000, 1, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(AverageBitrateKbps(c.sampleRate, c.samplesPerFrame, c.bytes, c.frames), c.kbps);
    }
}

TEST(MpegAverages, Mpeg1AverageIsTheClassic144000Quotient) {
    for (std::uint32_t sampleRate : {32000u, 44100u, 48000u}) {
        for (std::uint32_t frames = 1; frames < 100'000; frames = frames * 3 + 7) {
            for (std::uint64_t bytes = 1; bytes < 5'000'000'000; bytes = bytes * 5 + 3) {
                const double classic =
                    std::trunc(sampleRate * (static_cast<double>(bytes) / frames) / 144000);
                if (classic > 65535)
                    continue;
                EXPECT_EQ(AverageBitrateKbps(sampleRate, 1152, bytes, frames), classic)
                    << sampleRate << " " << bytes << " " << frames;
            }
        }
    }
}

TEST(MpegAverages, DurationFromBytesNeverOverflows) {
    EXPECT_EQ(DurationFromBytes(4'000'000, 128), 250u);
    EXPECT_EQ(DurationFromBytes(15'999, 128), 0u);
    EXPECT_EQ(DurationFromBytes(std::uint64_t{1} << 40, 128), 68'719'476u);
    EXPECT_EQ(DurationFromBytes(kMaxU64, 65535), kMaxU32);
    EXPECT_EQ(DurationFromBytes(kMaxU64, 8), kMaxU32);
    EXPECT_EQ(DurationFromBytes(4'000'000, 0), 0u);
}

TEST(MpegAverages, DurationFromFrames) {
    EXPECT_EQ(DurationFromFrames(72'243, 1152, 44100), 1887u);  // 1887.16
    EXPECT_EQ(DurationFromFrames(206'232, 576, 22050), 5387u);  // 5387.29
    EXPECT_EQ(DurationFromFrames(kMaxU32, 1152, 8000), 618'475'290u);
    EXPECT_EQ(DurationFromFrames(100, 1152, 0), 0u);
}

}  // namespace
}  // namespace velmora
