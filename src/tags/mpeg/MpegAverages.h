#pragma once

#include <cstdint>

namespace velmora {

// trunc(sampleRate × (bytes ÷ frames) ÷ (samplesPerFrame ÷ 8 × 1000)) in double precision, the
// average bitrate in kbit/s of `frames` frames holding `bytes` bytes (for MPEG-1 Layer III the
// divisor is 144000). 0 without frames; at most 65535.
std::uint16_t AverageBitrateKbps(std::uint32_t sampleRate, std::uint32_t samplesPerFrame,
                                 std::uint64_t bytes, std::uint32_t frames);

// Whole seconds of `frames` frames; 0 without a sampling frequency.
std::uint32_t DurationFromFrames(std::uint32_t frames, std::uint32_t samplesPerFrame,
                                 std::uint32_t sampleRate);

// Whole seconds of `bytes` audio bytes at `kbps` (bytes × 8 ÷ (kbps × 1000), without overflow for
// any size); 0 at 0 kbit/s; at most the largest 32-bit value.
std::uint32_t DurationFromBytes(std::uint64_t bytes, std::uint16_t kbps);

}  // namespace velmora
