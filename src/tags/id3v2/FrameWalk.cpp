#include "tags/id3v2/FrameWalk.h"

#include <algorithm>

#include "tags/file/ByteCursor.h"
#include "tags/id3v2/FrameId.h"

namespace velmora {

namespace {

std::string_view AsId(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The walk ends here without a fault: at the end of the area or at padding.
bool AtEndOrPadding(const ByteCursor& cursor) {
    auto next = cursor.Peek(1);
    return !next || (*next)[0] == 0;
}

bool LandsCleanly(const ByteCursor& cursor, std::size_t idLength) {
    if (AtEndOrPadding(cursor))
        return true;
    auto id = cursor.Peek(idLength);
    return id && IsValidFrameId(AsId(*id));
}

}  // namespace

std::optional<std::uint32_t> ReadFrameSize(std::span<const std::uint8_t> bytes,
                                           FrameHeaderFormat::Size form) {
    ByteCursor cursor(bytes, "frame size");
    switch (form) {
        case FrameHeaderFormat::Size::BigEndian24:
            return cursor.TakeBigEndian24().AsOptional();
        case FrameHeaderFormat::Size::BigEndian32:
            return cursor.TakeBigEndian32().AsOptional();
        case FrameHeaderFormat::Size::Synchsafe32: {
            // Only the true synchsafe form: a set high bit says the size is something else.
            auto raw = cursor.Peek(4);
            if (!raw ||
                std::any_of(raw->begin(), raw->end(), [](std::uint8_t b) { return b & 0x80; }))
                return std::nullopt;
            return cursor.TakeSynchsafe32().AsOptional();
        }
    }
    return std::nullopt;
}

FrameHeaderFormat FrameHeaderFormat::ForVersion(std::uint8_t majorVersion, bool synchsafeSizes) {
    if (majorVersion == 2)
        return {3, 6, Size::BigEndian24, {}};
    return {4, 10, synchsafeSizes ? Size::Synchsafe32 : Size::BigEndian32, {}};
}

WalkResult WalkFrames(std::span<const std::uint8_t> area, const FrameHeaderFormat& format,
                      const std::function<void(const RawFrame&)>& onFrame) {
    WalkResult result;
    ByteCursor cursor(area, "frames");
    while (true) {
        if (AtEndOrPadding(cursor)) {
            result.clean = true;
            return result;
        }
        const std::size_t position = cursor.Consumed();
        auto header = cursor.Take(format.headerLength);
        if (!header)
            return result;
        auto form = format.size;
        if (!format.plainAt.empty() &&
            std::binary_search(format.plainAt.begin(), format.plainAt.end(), position))
            form = FrameHeaderFormat::Size::BigEndian32;
        auto size = ReadFrameSize(header->subspan(format.idLength), form);
        if (!size)
            return result;
        auto body = cursor.Take(*size);
        if (!body)
            return result;
        std::string_view id = AsId(header->first(format.idLength));
        if (!IsValidFrameId(id)) {
            if (!LandsCleanly(cursor, format.idLength))
                return result;
            continue;
        }
        RawFrame frame;
        frame.id = id;
        if (format.headerLength == 10) {
            frame.statusFlags = (*header)[8];
            frame.formatFlags = (*header)[9];
        }
        frame.body = *body;
        if (onFrame)
            onFrame(frame);
        ++result.frames;
    }
}

}  // namespace velmora
