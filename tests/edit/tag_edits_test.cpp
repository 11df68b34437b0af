#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "edit/CommonValue.h"
#include "edit/TagEdits.h"
#include "tags/id3v1/GenreTable.h"

namespace velmora::testing {
namespace {

TEST(V1TrackByte, TakesZeroTo255AndRefusesTheRest) {
    struct Row {
        const char* why;
        std::u16string digits;
        std::optional<int> byte;
    } rows[] = {
        {"empty is no track", u"", 0},
        {"a leading zero", u"007", 7},
        {"the largest byte", u"255", 255},
        {"one more would wrap to 0", u"256", std::nullopt},
        {"three digits above the byte", u"999", std::nullopt},
        {"no digits", u"5a", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto byte = edit::V1TrackByte(row.digits);
        EXPECT_EQ(byte ? std::optional<int>(*byte) : std::nullopt, row.byte) << row.why;
    }
}

TEST(SortedGenres, AreSortedIgnoringCaseAndFoundByTheirStart) {
    const auto& names = edit::SortedGenreNames();
    ASSERT_EQ(names.size(), GenreTable::NamedGenreCount());
    auto lower = [](std::u16string_view text) {
        std::u16string out(text);
        for (char16_t& c : out)
            c = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        return out;
    };
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [&](auto a, auto b) { return lower(a) < lower(b); }));
    struct Row {
        const char* why;
        std::u16string text;
        std::optional<std::u16string_view> name;
    } rows[] = {
        {"a name finds itself", u"Rock", u"Rock"},
        {"case is ignored", u"rOCK", u"Rock"},
        {"a start finds the first name with it", u"Ro", u"Rock"},
        {"nothing begins so", u"Zzz", std::nullopt},
        {"an empty genre selects no name", u"", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto index = edit::SortedGenreStartingWith(row.text);
        EXPECT_EQ(index ? std::optional(names[*index]) : std::nullopt, row.name) << row.why;
    }
}

}  // namespace
}  // namespace velmora::testing
