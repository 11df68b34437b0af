#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

// The ID3v1 genre names: the classic list, indexes 0 to 125, and Winamp's extension, 126 to 191,
// which players show too; byte 255 means no genre, 192-254 have no name.
class GenreTable {
  public:
    // The classic list: an ID3v2 genre "(n)" is written only for these.
    static constexpr std::size_t kGenreCount = 126;
    static constexpr std::size_t kNamedGenreCount = 192;
    static constexpr std::uint8_t kNoGenre = 255;

    struct Lookup {
        bool found;
        std::uint8_t index;  // kNoGenre when not found
    };

    static constexpr std::size_t GenreCount() { return kGenreCount; }
    static constexpr std::size_t NamedGenreCount() { return kNamedGenreCount; }
    // The name of an index below NamedGenreCount(); empty for any other index.
    static std::u16string_view GenreName(std::size_t index);
    // The index whose name equals `name` exactly (case-sensitive), among all named ones.
    static Lookup GenreIndex(std::u16string_view name);
};

}  // namespace velmora
