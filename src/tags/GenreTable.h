#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

// The ID3v1 genre names, indexes 0 to 125; byte 255 means no genre, 126-254 have no name.
class GenreTable {
  public:
    static constexpr std::size_t kGenreCount = 126;
    static constexpr std::uint8_t kNoGenre = 255;

    struct Lookup {
        bool found;
        std::uint8_t index;  // kNoGenre when not found
    };

    static constexpr std::size_t GenreCount() { return kGenreCount; }
    // The name of an index below GenreCount(); empty for any other index.
    static std::u16string_view GenreName(std::size_t index);
    // The first index whose name equals `name` exactly (case-sensitive).
    static Lookup GenreIndex(std::u16string_view name);
};

}  // namespace velmora
