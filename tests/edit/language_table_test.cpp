#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "edit/LanguageTable.h"

namespace velmora::edit {
namespace {

// Rows 1 to 538 keep the codes and the order the comment dialog has always listed (the names
// come from iso-codes): some rows by hand, all of them through an FNV-1a fingerprint of the
// codes, each followed by a comma.
TEST(LanguageTable, HoldsTheListedCodesInOrderBehindTheEmptyRow) {
    ASSERT_EQ(kLanguageRows.size(), 539u);
    EXPECT_EQ(kLanguageRows[0].name, u"");
    EXPECT_EQ(kLanguageRows[0].code, "");
    std::uint64_t fingerprint = 14695981039346656037u;
    for (std::size_t row = 1; row < kLanguageRows.size(); ++row) {
        EXPECT_FALSE(kLanguageRows[row].name.empty()) << "row " << row;
        for (const char c : std::string(kLanguageRows[row].code) + ",")
            fingerprint = (fingerprint ^ static_cast<std::uint8_t>(c)) * 1099511628211u;
    }
    EXPECT_EQ(fingerprint, 0x91ff590112e57710u);
    const std::pair<std::size_t, std::string_view> rows[] = {
        {1, "abk"}, {139, "eng"}, {404, "qaa-qtz"}, {538, "zun"}};
    for (const auto& [row, code] : rows)
        EXPECT_EQ(kLanguageRows[row].code, code) << "row " << row;
    EXPECT_EQ(kLanguageRows[139].name, u"English");
}

TEST(LanguageTable, LookupsTakeTheFirstRowAndCommentsGetThreeLetters) {
    struct Row {
        const char* why;
        std::optional<std::string> frameLanguage;
        std::u16string_view preselected;
    };
    const Row preselect[] = {
        {"terminology code of a pair", "fra", u"French"},
        {"bibliographic code", "ger", u"German"},
        {"a code with several names shows its first row", "ady", u"Adygei"},
        {"no row for the code", "xyz", u"English"},
        {"a code in capitals, as some files hold it", "FRA", u"French"},
        {"the unknown language", "XXX", u"English"},
        {"no language", std::nullopt, u"English"},
    };
    for (const Row& row : preselect)
        EXPECT_EQ(LanguageToPreselect(row.frameLanguage), row.preselected) << row.why;

    EXPECT_EQ(LanguageToStore(u"French"), "fre");  // the bibliographic row comes first
    EXPECT_EQ(LanguageToStore(u"Adyghe"), "ady");
    EXPECT_EQ(LanguageToStore(u""), "XXX");
    EXPECT_EQ(LanguageToStore(LanguageName("qaa-qtz")), "XXX");
    EXPECT_EQ(LanguageToStore(u"french"), "XXX");  // exact comparison: no row
    EXPECT_EQ(LanguageCode(u"Klingon"), "tlh");
}

}  // namespace
}  // namespace velmora::edit
