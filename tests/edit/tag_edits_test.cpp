#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "edit/CommonValue.h"
#include "edit/LanguageTable.h"
#include "edit/TagEdits.h"
#include "tags/id3v1/GenreTable.h"

namespace velmora::edit {
namespace {

TEST(V1TrackByte, TakesZeroTo255AndRefusesTheRest) {
    // Empty is no track; 256 would wrap to 0.
    const std::pair<std::u16string, std::optional<int>> rows[] = {
        {u"", 0}, {u"007", 7}, {u"255", 255}, {u"256", {}}, {u"999", {}}, {u"5a", {}},
    };
    for (const auto& [digits, expected] : rows) {
        const auto byte = V1TrackByte(digits);
        EXPECT_EQ(byte ? std::optional<int>(*byte) : std::nullopt, expected) << digits.size();
    }
}

TEST(SortedGenres, AreSortedIgnoringCaseAndFoundByTheirStart) {
    const auto& names = SortedGenreNames();
    ASSERT_EQ(names.size(), GenreTable::NamedGenreCount());
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [&](auto a, auto b) {
        return std::ranges::lexicographical_compare(a, b, {}, lower, lower);
    }));
    // Case is ignored, a start finds the first name with it, an empty genre selects no name.
    const std::pair<std::u16string, std::optional<std::u16string_view>> rows[] = {
        {u"Rock", u"Rock"}, {u"rOCK", u"Rock"}, {u"Ro", u"Rock"}, {u"Zzz", {}}, {u"", {}},
    };
    for (const auto& [text, name] : rows) {
        const auto index = SortedGenreStartingWith(text);
        EXPECT_EQ(index ? std::optional(names[*index]) : std::nullopt, name) << text.size();
    }
}

TEST(LanguageTable, LookupsTakeTheFirstRowAndCommentsGetThreeLetters) {
    // Terminology and bibliographic codes; a code with several names shows its first row; a code
    // in capitals, as some files hold it; no row, the unknown language or none: English.
    const std::pair<std::optional<std::string>, std::u16string_view> preselect[] = {
        {"fra", u"French"}, {"ger", u"German"},  {"ady", u"Adygei"},         {"xyz", u"English"},
        {"FRA", u"French"}, {"XXX", u"English"}, {std::nullopt, u"English"},
    };
    for (const auto& [frameLanguage, preselected] : preselect)
        EXPECT_EQ(LanguageToPreselect(frameLanguage), preselected) << frameLanguage.value_or("");

    EXPECT_EQ(LanguageToStore(u"French"), "fre");  // the bibliographic row comes first
    EXPECT_EQ(LanguageToStore(u"Adyghe"), "ady");
    EXPECT_EQ(LanguageToStore(u""), "XXX");
    EXPECT_EQ(LanguageToStore(LanguageName("qaa-qtz")), "XXX");
    EXPECT_EQ(LanguageToStore(u"french"), "XXX");  // exact comparison: no row
}

}  // namespace
}  // namespace velmora::edit
