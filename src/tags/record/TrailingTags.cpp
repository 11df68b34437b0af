#include "tags/record/TrailingTags.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "tags/file/BufferedFile.h"
#include "tags/file/ByteCursor.h"

namespace velmora {

namespace {

constexpr std::size_t kApeFooter = 32;
constexpr std::uint32_t kApeHasHeader = 0x80000000u;
constexpr std::size_t kLyricsTrailer = 15;  // six size digits and "LYRICS200"

// APEv2 footer (the APEv2 documentation, "APE Tags Header"): "APETAGEX", version, the size of
// items and footer, item count, flags (bit 31: a 32-byte header precedes the items).
std::uint64_t ApeLength(std::span<const std::uint8_t> last) {
    if (last.size() < kApeFooter)
        return 0;
    ByteCursor footer(last.last(kApeFooter), "APE footer");
    if (!footer.TakeMatching("APETAGEX") || !footer.Take(4))
        return 0;
    auto size = footer.TakeLittleEndian32();
    if (!size || *size < kApeFooter || !footer.Take(4))
        return 0;
    auto flags = footer.TakeLittleEndian32();
    if (!flags)
        return 0;
    return std::uint64_t{*size} + ((*flags & kApeHasHeader) ? kApeFooter : 0);
}

// Lyrics3 v2.00: "LYRICSBEGIN" and fields, then the block's size in six digits and
// "LYRICS200"; the size counts from "LYRICSBEGIN" to the digits.
std::uint64_t LyricsLength(std::span<const std::uint8_t> last) {
    if (last.size() < kLyricsTrailer)
        return 0;
    ByteCursor trailer(last.last(kLyricsTrailer), "Lyrics3 trailer");
    auto digits = trailer.Take(6);
    if (!digits || !trailer.TakeMatching("LYRICS200"))
        return 0;
    std::uint64_t size = 0;
    for (std::uint8_t digit : *digits) {
        if (digit < '0' || digit > '9')
            return 0;
        size = size * 10 + (digit - '0');
    }
    return size + kLyricsTrailer;
}

bool BeginsWith(BufferedFile& file, std::uint64_t at, std::string_view text) {
    std::array<std::uint8_t, 16> bytes{};
    const std::size_t length = std::min(text.size(), bytes.size());
    file.Seek(at);
    const std::size_t got = file.Read(bytes.data(), length);
    return ByteCursor(std::span(bytes).first(got), "trailing tag").TakeMatching(text);
}

}  // namespace

std::uint64_t AudioEndBeforeTrailingTags(BufferedFile& file, std::uint64_t start,
                                         std::uint64_t end) {
    std::array<std::uint8_t, kApeFooter> bytes{};
    while (end > start && end - start >= kLyricsTrailer) {
        const std::uint64_t room = end - start;
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(room, bytes.size()));
        file.Seek(end - count);
        if (file.Read(bytes.data(), count) != count)
            break;
        const std::span<const std::uint8_t> last(bytes.data(), count);
        if (const std::uint64_t ape = ApeLength(last); ape != 0 && ape <= room) {
            end -= ape;
            continue;
        }
        const std::uint64_t lyrics = LyricsLength(last);
        if (lyrics == 0 || lyrics > room || !BeginsWith(file, end - lyrics, "LYRICSBEGIN"))
            break;
        end -= lyrics;
    }
    return end;
}

}  // namespace velmora
