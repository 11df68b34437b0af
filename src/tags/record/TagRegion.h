#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora {

// The ID3v2 tag at the start of a file, as the writer sees it: where the old tag ends and
// what header the new one gets (ID3v2.3 and ID3v2.4 documents, section 3.1 and 3.4).
inline constexpr std::size_t kTagHeaderSize = 10;
inline constexpr std::size_t kTagFooterSize = 10;
// The largest size a synchsafe 28-bit size field holds.
inline constexpr std::uint32_t kMaxTagSize = 0x0FFFFFFF;

// How many bytes from offset 0 the old tag covers (header, declared size and an ID3v2.4
// footer), or nothing when the bytes do not begin with "ID3". The size bytes are taken
// whole, as other readers of the header take them, so a malformed size reads large.
std::optional<std::uint64_t> ExistingTagEnd(std::span<const std::uint8_t, kTagHeaderSize> header);

// A header with magic "ID3", the given major version, revision 0, flags 0 and `size` (at
// most kMaxTagSize) as a synchsafe number.
std::array<std::uint8_t, kTagHeaderSize> EncodeTagHeader(std::uint8_t majorVersion,
                                                         std::uint32_t size);

}  // namespace velmora
