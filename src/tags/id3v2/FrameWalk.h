#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

// The frame-header layout of one tag version (ID3v2.2 section 3.2, ID3v2.3 section 3.3,
// ID3v2.4 section 4).
struct FrameHeaderFormat {
    enum class Size : std::uint8_t { BigEndian24, BigEndian32, Synchsafe32 };
    std::size_t idLength;      // 3 or 4
    std::size_t headerLength;  // 6 or 10
    Size size;
    // An ID3v2.4 tag whose frames disagree: the offsets (ascending) of the frames whose size
    // is read as a plain number although `size` says synchsafe.
    std::vector<std::size_t> plainAt;

    static FrameHeaderFormat ForVersion(std::uint8_t majorVersion, bool synchsafeSizes);
};

// Reads the size bytes of a frame header; none when they are too few or no valid number of
// this form.
std::optional<std::uint32_t> ReadFrameSize(std::span<const std::uint8_t> bytes,
                                           FrameHeaderFormat::Size form);

struct RawFrame {
    std::string_view id;
    std::uint8_t statusFlags = 0;
    std::uint8_t formatFlags = 0;
    std::span<const std::uint8_t> body;
};

struct WalkResult {
    bool clean = false;  // ended at the end of the area or at padding
    std::size_t frames = 0;
};

// Walks the frames of a tag body. A frame whose ID is made of A-Z and 0-9 is handed to
// onFrame; one whose ID holds other characters is skipped when its size lands exactly on
// a valid frame ID, padding or the end, and otherwise ends the walk. The walk ends at a
// zero byte (padding), at the end, and at a frame that runs past the end.
WalkResult WalkFrames(std::span<const std::uint8_t> area, const FrameHeaderFormat& format,
                      const std::function<void(const RawFrame&)>& onFrame);

// The frame-size reading of an ID3v2.4 tag (ChooseV4FrameSizes.cpp).
FrameHeaderFormat ChooseV4FrameSizes(std::span<const std::uint8_t> area);

}  // namespace velmora
