#include "tags/TrailingTags.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "tags/BufferedFile.h"

namespace velmora {

namespace {

constexpr std::size_t kApeFooter = 32;
constexpr std::uint32_t kApeHasHeader = 0x80000000u;
constexpr std::size_t kLyricsTrailer = 15;  // six size digits and "LYRICS200"

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
           (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

bool Matches(std::span<const std::uint8_t> bytes, const char* text) {
    return bytes.size() >= std::strlen(text) &&
           std::memcmp(bytes.data(), text, std::strlen(text)) == 0;
}

// APEv2 footer (the APEv2 documentation, "APE Tags Header"): "APETAGEX", version, the size of
// items and footer, item count, flags (bit 31: a 32-byte header precedes the items).
std::uint64_t ApeLength(std::span<const std::uint8_t> last) {
    if (last.size() < kApeFooter)
        return 0;
    auto footer = last.last(kApeFooter);
    if (!Matches(footer, "APETAGEX"))
        return 0;
    const std::uint64_t size = LittleEndian32(footer.data() + 12);
    if (size < kApeFooter)
        return 0;
    return size + ((LittleEndian32(footer.data() + 20) & kApeHasHeader) ? kApeFooter : 0);
}

// Lyrics3 v2.00: "LYRICSBEGIN" and fields, then the block's size in six digits and
// "LYRICS200"; the size counts from "LYRICSBEGIN" to the digits.
std::uint64_t LyricsLength(std::span<const std::uint8_t> last) {
    if (last.size() < kLyricsTrailer)
        return 0;
    auto trailer = last.last(kLyricsTrailer);
    if (!Matches(trailer.subspan(6), "LYRICS200"))
        return 0;
    std::uint64_t size = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        if (trailer[i] < '0' || trailer[i] > '9')
            return 0;
        size = size * 10 + (trailer[i] - '0');
    }
    return size + kLyricsTrailer;
}

bool BeginsWith(BufferedFile& file, std::uint64_t at, const char* text) {
    std::array<std::uint8_t, 16> bytes{};
    const std::size_t length = std::strlen(text);
    file.Seek(at);
    return file.Read(bytes.data(), length) == length && Matches(bytes, text);
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
