#include "tags/mpeg/MpegVbrHeader.h"

#include "tags/file/ByteCursor.h"
#include "tags/mpeg/MpegTables.h"

namespace velmora {
namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kVbriOffset = kHeaderSize + 32;

// Xing/Info: tag, flags word, then the frame count (flag bit 0) and byte count (flag bit 1).
std::optional<MpegVbrHeader> ReadXingAt(std::span<const std::uint8_t> frame, std::size_t at) {
    ByteCursor cursor(frame, "Xing header");
    MpegVbrHeader result;
    if (!cursor.Take(at))
        return std::nullopt;
    if (cursor.TakeMatching("Xing"))
        result.kind = MpegVbrKind::kXing;
    else if (cursor.TakeMatching("Info"))
        result.kind = MpegVbrKind::kInfo;
    else
        return std::nullopt;
    auto flags = cursor.TakeBigEndian32();
    if (!flags)
        return result;
    if (*flags & 1)
        result.frames = cursor.TakeBigEndian32().AsOptional();
    if (*flags & 2)
        result.bytes = cursor.TakeBigEndian32().AsOptional();
    return result;
}

// VBRI: tag, version, delay and quality (16 bits each), byte count, frame count.
std::optional<MpegVbrHeader> ReadVbriAt(std::span<const std::uint8_t> frame, std::size_t at) {
    ByteCursor cursor(frame, "VBRI header");
    if (!cursor.Take(at) || !cursor.TakeMatching("VBRI"))
        return std::nullopt;
    MpegVbrHeader result;
    result.kind = MpegVbrKind::kVbri;
    if (cursor.Take(6)) {
        result.bytes = cursor.TakeBigEndian32().AsOptional();
        result.frames = cursor.TakeBigEndian32().AsOptional();
    }
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
