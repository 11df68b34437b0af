#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace velmora {

enum class MpegVersion : std::uint8_t { kMpeg1, kMpeg2, kMpeg25 };

enum class MpegChannelMode : std::uint8_t { kStereo, kJointStereo, kDualChannel, kSingleChannel };

// One MPEG audio frame header (ISO/IEC 11172-3, 2.4.1.3) that passed the header test.
struct MpegHeader {
    MpegVersion version = MpegVersion::kMpeg1;
    std::uint8_t layer = 3;  // 1, 2 or 3
    bool crcProtected = false;
    std::uint8_t bitrateIndex = 1;     // 1-14
    std::uint8_t sampleRateIndex = 0;  // 0-2
    bool padded = false;
    MpegChannelMode channelMode = MpegChannelMode::kStereo;

    std::uint16_t BitrateKbps() const;
    std::uint32_t SampleRate() const;
    std::uint32_t SamplesPerFrame() const;
    // Bytes of the whole frame, header included.
    std::uint32_t FrameLength() const;
    // Layer III side information that follows the header (and its CRC); 0 for other layers.
    std::uint32_t SideInfoSize() const;
    // Whether `next` can follow this header in one stream: real streams never change
    // version, layer or sampling frequency from frame to frame.
    bool SameStreamAs(const MpegHeader& next) const;
};

// The header test: eleven sync bits, a known version, layer, bitrate and sampling frequency.
// Free format (bitrate index 0) fails as well, since its frame length, and so the next header,
// cannot be known.
std::optional<MpegHeader> ParseMpegHeader(std::uint32_t word);
// The same test on the first four bytes of `bytes` (none when fewer are there).
std::optional<MpegHeader> ParseMpegHeader(std::span<const std::uint8_t> bytes);

// The longest frame any header that passes the test can announce.
std::uint32_t MaxMpegFrameLength();

}  // namespace velmora
