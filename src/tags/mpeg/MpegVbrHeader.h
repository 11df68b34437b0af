#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "tags/mpeg/MpegHeader.h"

namespace velmora {

enum class MpegVbrKind : std::uint8_t { kNone, kXing, kInfo, kVbri };

// The summary an encoder writes into the first frame of a stream: "Xing" (variable bitrate),
// "Info" (the same layout in a constant-bitrate stream) or Fraunhofer's "VBRI".
struct MpegVbrHeader {
    MpegVbrKind kind = MpegVbrKind::kNone;
    std::optional<std::uint32_t> frames;
    std::optional<std::uint32_t> bytes;
};

// Reads the VBR header of the frame whose bytes (header first) are `frame`. Xing/Info sits
// right after the side information; in a CRC-protected frame encoders put it after the CRC, some
// without counting the CRC, so both places are tried. VBRI sits 32 bytes after the header.
MpegVbrHeader ReadVbrHeader(const MpegHeader& header, std::span<const std::uint8_t> frame);

}  // namespace velmora
