#include "tags/mpeg/MpegFrameSearch.h"

#include <algorithm>
#include <span>

namespace velmora {
namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::uint8_t kSyncByte = 0xFF;

// Tops the window up from the source; true when the source has ended.
bool FillWindow(MpegByteSource& source, std::span<std::uint8_t> window, std::size_t& filled) {
    while (filled < window.size()) {
        const std::size_t wanted = window.size() - filled;
        const std::size_t got = std::min(wanted, source.Read(window.subspan(filled)));
        filled += got;
        if (got < wanted)
            return true;
    }
    return false;
}

// The header at `at` when it passes the test and is confirmed. The caller guarantees that the
// confirming header lies inside `bytes` unless the region ends within them (`atEnd`).
std::optional<MpegHeader> ConfirmedHeaderAt(std::span<const std::uint8_t> bytes, std::size_t at,
                                            bool atEnd) {
    if (bytes[at] != kSyncByte)
        return std::nullopt;
    auto header = ParseMpegHeader(bytes.subspan(at));
    if (!header)
        return std::nullopt;
    const std::size_t next = at + header->FrameLength();
    if (atEnd && next == bytes.size())
        return header;
    if (next > bytes.size())
        return std::nullopt;
    auto following = ParseMpegHeader(bytes.subspan(next));
    if (following && header->SameStreamAs(*following))
        return header;
    return std::nullopt;
}

}  // namespace

std::optional<MpegFirstFrame> FindFirstMpegFrame(MpegByteSource& source,
                                                 ScratchBuffer& windowMemory) {
    const std::size_t lookahead = MaxMpegFrameLength() + kHeaderSize;
    // Only bytes filled from the source are ever looked at, so the window is never cleared.
    const std::span<std::uint8_t> window = windowMemory.Request(kMpegSearchChunk + lookahead);
    std::size_t filled = 0;
    std::uint64_t windowStart = 0;
    std::size_t readUpTo = std::min(window.size(), kMpegFirstRead + lookahead);
    for (;;) {
        const bool atEnd = FillWindow(source, window.first(readUpTo), filled);
        readUpTo = window.size();
        const auto bytes = std::span<const std::uint8_t>(window).first(filled);
        // Without the end in sight, only candidates whose confirming header is in the window.
        const std::size_t decidable = atEnd ? filled : filled - lookahead;
        const auto searched = static_cast<std::size_t>(
            std::min<std::uint64_t>(decidable, kMpegSearchLimit - windowStart));
        for (std::size_t at = 0; at < searched; ++at) {
            if (auto header = ConfirmedHeaderAt(bytes, at, atEnd)) {
                auto frame =
                    bytes.subspan(at, std::min<std::size_t>(header->FrameLength(), filled - at));
                return MpegFirstFrame{windowStart + at, *header, frame};
            }
        }
        if (atEnd || windowStart + searched == kMpegSearchLimit)
            return std::nullopt;
        std::copy(window.begin() + static_cast<std::ptrdiff_t>(decidable),
                  window.begin() + static_cast<std::ptrdiff_t>(filled), window.begin());
        windowStart += decidable;
        filled -= decidable;
    }
}

}  // namespace velmora
