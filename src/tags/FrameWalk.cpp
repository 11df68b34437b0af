#include "tags/FrameWalk.h"

#include <algorithm>

#include "tags/FrameId.h"

namespace velmora {

namespace {

std::string_view IdAt(std::span<const std::uint8_t> area, std::size_t position,
                      std::size_t length) {
    return {reinterpret_cast<const char*>(area.data() + position), length};
}

bool LandsCleanly(std::span<const std::uint8_t> area, std::size_t position, std::size_t idLength) {
    if (position == area.size() || area[position] == 0)
        return true;
    return position + idLength <= area.size() && IsValidFrameId(IdAt(area, position, idLength));
}

}  // namespace

bool ReadFrameSize(std::span<const std::uint8_t> bytes, FrameHeaderFormat::Size form,
                   std::uint64_t& size) {
    switch (form) {
        case FrameHeaderFormat::Size::BigEndian24:
            size = (std::uint64_t{bytes[0]} << 16) | (std::uint64_t{bytes[1]} << 8) | bytes[2];
            return true;
        case FrameHeaderFormat::Size::BigEndian32:
            size = (std::uint64_t{bytes[0]} << 24) | (std::uint64_t{bytes[1]} << 16) |
                   (std::uint64_t{bytes[2]} << 8) | bytes[3];
            return true;
        case FrameHeaderFormat::Size::Synchsafe32:
            size = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                if (bytes[i] & 0x80)
                    return false;
                size = (size << 7) | bytes[i];
            }
            return true;
    }
    return false;
}

FrameHeaderFormat FrameHeaderFormat::ForVersion(std::uint8_t majorVersion, bool synchsafeSizes) {
    if (majorVersion == 2)
        return {3, 6, Size::BigEndian24, {}};
    return {4, 10, synchsafeSizes ? Size::Synchsafe32 : Size::BigEndian32, {}};
}

WalkResult WalkFrames(std::span<const std::uint8_t> area, const FrameHeaderFormat& format,
                      const std::function<void(const RawFrame&)>& onFrame) {
    WalkResult result;
    std::size_t position = 0;
    while (true) {
        if (position == area.size() || area[position] == 0) {
            result.clean = true;
            return result;
        }
        if (area.size() - position < format.headerLength)
            return result;
        auto header = area.subspan(position, format.headerLength);
        std::uint64_t size = 0;
        auto form = format.size;
        if (!format.plainAt.empty() &&
            std::binary_search(format.plainAt.begin(), format.plainAt.end(), position))
            form = FrameHeaderFormat::Size::BigEndian32;
        if (!ReadFrameSize(header.subspan(format.idLength), form, size))
            return result;
        std::size_t left = area.size() - position - format.headerLength;
        if (size > left)
            return result;
        std::size_t next = position + format.headerLength + static_cast<std::size_t>(size);
        std::string_view id = IdAt(area, position, format.idLength);
        if (!IsValidFrameId(id)) {
            if (!LandsCleanly(area, next, format.idLength))
                return result;
            position = next;
            continue;
        }
        RawFrame frame;
        frame.id = id;
        if (format.headerLength == 10) {
            frame.statusFlags = header[8];
            frame.formatFlags = header[9];
        }
        frame.body = area.subspan(position + format.headerLength, static_cast<std::size_t>(size));
        if (onFrame)
            onFrame(frame);
        ++result.frames;
        position = next;
    }
}

}  // namespace velmora
