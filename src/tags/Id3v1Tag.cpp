#include "tags/Id3v1Tag.h"

#include <algorithm>
#include <utility>

namespace velmora {

void Id3v1Tag::SetText(std::size_t index, std::u16string text) {
    std::u16string& current = texts_.at(index);
    if (current != text) {
        current = std::move(text);
        modified_ = true;
    }
}

void Id3v1Tag::SetTrack(std::uint8_t track) {
    if (track_ != track) {
        track_ = track;
        modified_ = true;
    }
}

void Id3v1Tag::SetGenre(std::uint8_t genre) {
    if (genre_ != genre) {
        genre_ = genre;
        modified_ = true;
    }
}

bool Id3v1Tag::IsEmpty() const {
    return track_ == 0 && genre_ == GenreTable::kNoGenre &&
           std::all_of(texts_.begin(), texts_.end(), [](const auto& t) { return t.empty(); });
}

}  // namespace velmora
