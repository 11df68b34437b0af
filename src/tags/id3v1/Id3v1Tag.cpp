#include "tags/id3v1/Id3v1Tag.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora {

Id3v1Tag::Id3v1Tag(const Id3v1Tag& other)
    : values_(other.values_ ? std::make_unique<Values>(*other.values_) : nullptr),
      modified_(other.modified_) {}

Id3v1Tag& Id3v1Tag::operator=(const Id3v1Tag& other) {
    if (this != &other)
        *this = Id3v1Tag(other);
    return *this;
}

Id3v1Tag::~Id3v1Tag() = default;

Id3v1Tag::Values& Id3v1Tag::MutableValues() {
    if (!values_)
        values_ = std::make_unique<Values>();
    return *values_;
}

std::size_t Id3v1Tag::HeapBytes() const {
    if (!values_)
        return 0;
    std::size_t bytes = sizeof(Values);
    for (const std::u16string& text : values_->texts)
        bytes += text.size() * sizeof(char16_t);
    return bytes;
}

const std::u16string& Id3v1Tag::Text(std::size_t index) const {
    static const std::u16string kNone;
    if (index >= kTextCount)
        throw std::out_of_range("ID3v1 text index");
    return values_ ? values_->texts[index] : kNone;
}

void Id3v1Tag::SetText(std::size_t index, std::u16string text) {
    if (Text(index) != text) {
        MutableValues().texts[index] = std::move(text);
        modified_ = true;
    }
}

void Id3v1Tag::SetTrack(std::uint8_t track) {
    if (Track() != track) {
        MutableValues().track = track;
        modified_ = true;
    }
}

void Id3v1Tag::SetGenre(std::uint8_t genre) {
    if (Genre() != genre) {
        MutableValues().genre = genre;
        modified_ = true;
    }
}

bool Id3v1Tag::IsEmpty() const {
    return !values_ || (values_->track == 0 && values_->genre == GenreTable::kNoGenre &&
                        std::all_of(values_->texts.begin(), values_->texts.end(),
                                    [](const auto& t) { return t.empty(); }));
}

}  // namespace velmora
