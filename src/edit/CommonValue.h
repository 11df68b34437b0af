#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class Mp3File;

namespace edit {

// How a field over several records is shown: their shared text (Normal), their shared
// empty text (Empty), or that they differ (Multiple, with no text).
enum class Shown : std::uint8_t { Normal, Empty, Multiple };

struct CommonText {
    std::u16string text;
    Shown shown = Shown::Empty;

    bool operator==(const CommonText&) const = default;
};

using TextOf = std::function<std::u16string(const Mp3File&)>;

// The text that every record shares, compared exactly; no records give Empty.
CommonText CommonValue(std::span<Mp3File* const> records, const TextOf& textOf);

using TextsOf = std::function<std::u16string(const Mp3File&, std::size_t index)>;

// CommonValue of `count` texts (index 0 to count - 1) in one pass over the records: a record
// is read for all its texts while it is in the cache, which a pass per text over a large
// selection is not; a text once found to differ is no longer read.
std::vector<CommonText> CommonValues(std::span<Mp3File* const> records, std::size_t count,
                                     const TextsOf& textOf);

// The same over the records given part by part, in order, so that a large selection can be
// read in slices.
class CommonValuesInParts {
  public:
    CommonValuesInParts(std::size_t count, TextsOf textOf);
    // False once every text differs: the parts left would change nothing.
    bool Add(std::span<Mp3File* const> part);
    std::vector<CommonText> Result() const;

  private:
    TextsOf textOf_;
    std::vector<CommonText> common_;
    bool started_ = false;
    std::size_t differing_ = 0;
};

// The ID3v1 track byte as a text, empty for 0.
std::u16string V1TrackText(const Mp3File& record);
// The ID3v1 track byte over the records: the shared number, Empty when all are 0, Multiple
// when they differ.
CommonText CommonV1Track(std::span<Mp3File* const> records);
// The ID3v1 genre byte that every record shares, when it names a genre.
std::optional<std::uint8_t> CommonV1Genre(std::span<Mp3File* const> records);

// The genre names sorted for a list, ignoring case.
const std::vector<std::u16string_view>& SortedGenreNames();
// The first sorted name that begins with `text`, ignoring case (a name finds itself); none
// for an empty text, which shows as an empty box rather than the first genre.
std::optional<std::size_t> SortedGenreStartingWith(std::u16string_view text);

}  // namespace edit
}  // namespace velmora
