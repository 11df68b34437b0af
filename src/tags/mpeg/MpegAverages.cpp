#include "tags/mpeg/MpegAverages.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {
namespace {

constexpr std::uint64_t kMaxDuration = std::numeric_limits<std::uint32_t>::max();

}  // namespace

std::uint16_t AverageBitrateKbps(std::uint32_t sampleRate, std::uint32_t samplesPerFrame,
                                 std::uint64_t bytes, std::uint32_t frames) {
    if (frames == 0 || samplesPerFrame < 8)
        return 0;
    const double bytesPerFrame = static_cast<double>(bytes) / frames;
    const double divisor = samplesPerFrame / 8 * 1000.0;
    const double kbps = std::trunc(sampleRate * bytesPerFrame / divisor);
    return static_cast<std::uint16_t>(
        std::min(kbps, double{std::numeric_limits<std::uint16_t>::max()}));
}

std::uint32_t DurationFromFrames(std::uint32_t frames, std::uint32_t samplesPerFrame,
                                 std::uint32_t sampleRate) {
    if (sampleRate == 0)
        return 0;
    const std::uint64_t samples = std::uint64_t{frames} * samplesPerFrame;
    return static_cast<std::uint32_t>(std::min(samples / sampleRate, kMaxDuration));
}

std::uint32_t DurationFromBytes(std::uint64_t bytes, std::uint16_t kbps) {
    if (kbps == 0)
        return 0;
    // bytes × 8 ÷ (kbps × 1000) = bytes ÷ (kbps × 125), exactly, and never overflows.
    return static_cast<std::uint32_t>(std::min(bytes / (std::uint64_t{kbps} * 125), kMaxDuration));
}

}  // namespace velmora
