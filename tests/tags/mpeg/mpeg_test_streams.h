#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/MpegInfo.h"

// Generated MPEG audio for the measuring tests: frames of zero bytes (which never sync) behind
// headers built from their fields.
namespace velmora::testing {

using Bytes = std::vector<std::uint8_t>;

struct FrameShape {
    unsigned versionBits = 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    unsigned layer = 3;
    unsigned bitrateIndex = 9;  // 128 kbit/s in MPEG-1 Layer III
    unsigned sampleRateIndex = 0;
    bool crc = false;
    bool padded = false;
    unsigned channelMode = 1;  // joint stereo
};

inline std::uint32_t HeaderWord(const FrameShape& shape) {
    return 0xFFE00000u | shape.versionBits << 19 | (4 - shape.layer) << 17 |
           (shape.crc ? 0 : 1) << 16 | shape.bitrateIndex << 12 | shape.sampleRateIndex << 10 |
           (shape.padded ? 1 : 0) << 9 | shape.channelMode << 6;
}

inline void PutWord(Bytes& bytes, std::size_t at, std::uint32_t word) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.at(at++) = static_cast<std::uint8_t>(word >> shift);
}

inline std::size_t FrameLength(const FrameShape& shape) {
    return ParseMpegHeader(HeaderWord(shape))->FrameLength();
}

inline Bytes Frames(const FrameShape& shape, std::size_t count) {
    const std::size_t length = FrameLength(shape);
    Bytes bytes(length * count);
    for (std::size_t i = 0; i < count; ++i)
        PutWord(bytes, i * length, HeaderWord(shape));
    return bytes;
}

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A Xing/Info header: tag, flags, then the counts the flags announce.
inline void PutXing(Bytes& frame, std::size_t at, std::string_view tag, std::uint32_t flags,
                    std::uint32_t frames, std::uint32_t byteCount) {
    std::ranges::copy(tag, frame.begin() + static_cast<std::ptrdiff_t>(at));
    PutWord(frame, at + 4, flags);
    std::size_t field = at + 8;
    if (flags & 1) {
        PutWord(frame, field, frames);
        field += 4;
    }
    if (flags & 2)
        PutWord(frame, field, byteCount);
}

// A measurement as one line, "@offset Llayer/rate kbps[v] seconds header frames", or "none".
inline std::string Facts(const MpegInfo& info) {
    using std::to_string;
    const char* headers[] = {"-", "Xing", "Info", "VBRI"};
    if (!info.found)
        return "none";
    return "@" + to_string(info.firstFrameOffset) + " L" + to_string(info.layer) + "/" +
           to_string(info.sampleRate) + " " + to_string(info.bitrate) + (info.vbr ? "v " : " ") +
           to_string(info.duration) + "s " + headers[int(info.vbrHeader)] + " " +
           to_string(info.frameCount);
}

}  // namespace velmora::testing
