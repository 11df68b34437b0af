#include "edit/CommonValue.h"

#include <algorithm>
#include <string>

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

std::vector<CommonText> CommonValues(std::span<Mp3File* const> records, std::size_t count,
                                     const TextsOf& textOf) {
    std::vector<CommonText> common(count);
    if (records.empty())
        return common;
    for (std::size_t index = 0; index < count; ++index)
        common[index].text = textOf(*records.front(), index);
    std::size_t differing = 0;
    for (const Mp3File* record : records.subspan(1)) {
        for (std::size_t index = 0; index < count; ++index) {
            CommonText& value = common[index];
            if (value.shown != Shown::Multiple && textOf(*record, index) != value.text) {
                value = {{}, Shown::Multiple};
                ++differing;
            }
        }
        if (differing == count)
            return common;
    }
    for (CommonText& value : common) {
        if (value.shown != Shown::Multiple)
            value.shown = value.text.empty() ? Shown::Empty : Shown::Normal;
    }
    return common;
}

CommonText CommonValue(std::span<Mp3File* const> records, const TextOf& textOf) {
    return CommonValues(records, 1,
                        [&](const Mp3File& record, std::size_t) { return textOf(record); })
        .front();
}

CommonText CommonV1Track(std::span<Mp3File* const> records) {
    return CommonValue(records, [](const Mp3File& record) {
        const std::uint8_t track = record.V1().Track();
        return track == 0 ? std::u16string() : text::FromUtf8(std::to_string(track));
    });
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
