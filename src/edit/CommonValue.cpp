#include "edit/CommonValue.h"

#include <algorithm>
#include <string>
#include <utility>

#include "tags/id3v1/GenreTable.h"
#include "tags/record/Mp3File.h"
#include "text/Ascii.h"
#include "text/Utf8.h"

namespace velmora::edit {
namespace {

bool LessIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return text::AsciiLower(x) < text::AsciiLower(y); });
}

bool StartsIgnoringCase(std::u16string_view name, std::u16string_view start) {
    return name.size() >= start.size() &&
           std::equal(start.begin(), start.end(), name.begin(), [](char16_t x, char16_t y) {
               return text::AsciiLower(x) == text::AsciiLower(y);
           });
}

}  // namespace

CommonValuesInParts::CommonValuesInParts(std::size_t count, TextsOf textOf)
    : textOf_(std::move(textOf)), common_(count) {}

bool CommonValuesInParts::Add(std::span<Mp3File* const> part) {
    const std::size_t count = common_.size();
    for (const Mp3File* record : part) {
        if (differing_ == count)
            return false;
        for (std::size_t index = 0; index < count; ++index) {
            CommonText& value = common_[index];
            if (!started_)
                value.text = textOf_(*record, index);
            else if (value.shown != Shown::Multiple && textOf_(*record, index) != value.text) {
                value = {{}, Shown::Multiple};
                ++differing_;
            }
        }
        started_ = true;
    }
    return differing_ < count;
}

std::vector<CommonText> CommonValuesInParts::Result() const {
    std::vector<CommonText> common = common_;
    for (CommonText& value : common) {
        if (value.shown != Shown::Multiple)
            value.shown = value.text.empty() ? Shown::Empty : Shown::Normal;
    }
    return common;
}

std::vector<CommonText> CommonValues(std::span<Mp3File* const> records, std::size_t count,
                                     const TextsOf& textOf) {
    CommonValuesInParts common(count, textOf);
    common.Add(records);
    return common.Result();
}

CommonText CommonValue(std::span<Mp3File* const> records, const TextOf& textOf) {
    return CommonValues(records, 1,
                        [&](const Mp3File& record, std::size_t) { return textOf(record); })
        .front();
}

std::u16string V1TrackText(const Mp3File& record) {
    const std::uint8_t track = record.V1().Track();
    return track == 0 ? std::u16string() : text::FromUtf8(std::to_string(track));
}

CommonText CommonV1Track(std::span<Mp3File* const> records) {
    return CommonValue(records, V1TrackText);
}

std::optional<std::uint8_t> CommonV1Genre(std::span<Mp3File* const> records) {
    if (records.empty())
        return std::nullopt;
    const std::uint8_t genre = records.front()->V1().Genre();
    const bool shared = std::all_of(records.begin(), records.end(), [genre](const Mp3File* record) {
        return record->V1().Genre() == genre;
    });
    if (!shared || genre >= GenreTable::NamedGenreCount())
        return std::nullopt;
    return genre;
}

const std::vector<std::u16string_view>& SortedGenreNames() {
    static const std::vector<std::u16string_view> names = [] {
        std::vector<std::u16string_view> sorted;
        for (std::size_t index = 0; index < GenreTable::NamedGenreCount(); ++index)
            sorted.push_back(GenreTable::GenreName(index));
        std::stable_sort(sorted.begin(), sorted.end(), LessIgnoringCase);
        return sorted;
    }();
    return names;
}

std::optional<std::size_t> SortedGenreStartingWith(std::u16string_view text) {
    if (text.empty())
        return std::nullopt;
    const auto& names = SortedGenreNames();
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (StartsIgnoringCase(names[index], text))
            return index;
    }
    return std::nullopt;
}

}  // namespace velmora::edit
