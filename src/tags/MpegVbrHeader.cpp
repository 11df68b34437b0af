#include "tags/MpegVbrHeader.h"

#include "tags/MpegBytes.h"
#include "tags/MpegTables.h"

namespace velmora {
namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kVbriOffset = kHeaderSize + 32;

// Xing/Info: tag, flags word, then the frame count (flag bit 0) and byte count (flag bit 1).
std::optional<MpegVbrHeader> ReadXingAt(std::span<const std::uint8_t> frame, std::size_t at) {
    MpegVbrHeader result;
    if (mpeg::HasTagAt(frame, at, "Xing"))
        result.kind = MpegVbrKind::kXing;
    else if (mpeg::HasTagAt(frame, at, "Info"))
        result.kind = MpegVbrKind::kInfo;
    else
        return std::nullopt;
    auto flags = mpeg::ReadBigEndian(frame, at + 4, 4);
    if (!flags)
        return result;
    std::size_t field = at + 8;
    if (*flags & 1) {
        result.frames = mpeg::ReadBigEndian(frame, field, 4);
        field += 4;
    }
    if (*flags & 2)
        result.bytes = mpeg::ReadBigEndian(frame, field, 4);
    return result;
}

// VBRI: tag, version, delay and quality (16 bits each), byte count, frame count.
std::optional<MpegVbrHeader> ReadVbriAt(std::span<const std::uint8_t> frame, std::size_t at) {
    if (!mpeg::HasTagAt(frame, at, "VBRI"))
        return std::nullopt;
    MpegVbrHeader result;
    result.kind = MpegVbrKind::kVbri;
    result.bytes = mpeg::ReadBigEndian(frame, at + 10, 4);
    result.frames = mpeg::ReadBigEndian(frame, at + 14, 4);
    return result;
}

}  // namespace

MpegVbrHeader ReadVbrHeader(const MpegHeader& header, std::span<const std::uint8_t> frame) {
    if (header.layer != 3)
        return {};
    const std::size_t plain = kHeaderSize + header.SideInfoSize();
    if (header.crcProtected) {
        if (auto xing = ReadXingAt(frame, plain + mpeg::kCrcSize))
            return *xing;
    }
    if (auto xing = ReadXingAt(frame, plain))
        return *xing;
    if (auto vbri = ReadVbriAt(frame, kVbriOffset))
        return *vbri;
    return {};
}

}  // namespace velmora
