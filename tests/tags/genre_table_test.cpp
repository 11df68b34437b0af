#include <gtest/gtest.h>

#include <set>

#include "tags/GenreTable.h"

namespace velmora {
namespace {

TEST(GenreTable, HasTheNamesAtTheirIndexes) {
    struct Case {
        std::size_t index;
        std::u16string_view name;
    };
    const Case cases[] = {
        {0, u"Blues"},         {14, u"R&B"},         {17, u"Rock"},
        {62, u"Pop/Funk"},     {67, u"Psychadelic"}, {79, u"Hard Rock"},
        {80, u"Folk"},         {85, u"Bebob"},       {93, u"Psychedelic Rock"},
        {109, u"Porn Groove"}, {123, u"A capella"},  {125, u"Dance Hall"},
    };
    EXPECT_EQ(GenreTable::GenreCount(), 126u);
    for (const Case& c : cases) {
        EXPECT_EQ(GenreTable::GenreName(c.index), c.name) << c.index;
    }
}

TEST(GenreTable, EveryNameFindsItsOwnIndex) {
    std::set<std::u16string_view> names;
    for (std::size_t i = 0; i < GenreTable::GenreCount(); ++i) {
        const auto name = GenreTable::GenreName(i);
        EXPECT_FALSE(name.empty()) << i;
        names.insert(name);
        const auto lookup = GenreTable::GenreIndex(name);
        EXPECT_TRUE(lookup.found);
        EXPECT_EQ(lookup.index, i);
    }
    EXPECT_EQ(names.size(), GenreTable::GenreCount());
}

TEST(GenreTable, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(GenreTable::GenreIndex(u"Rock").index, 17);
    for (std::u16string_view name : {u"rock", u"Rock ", u"", u"Heavy Metal"}) {
        const auto lookup = GenreTable::GenreIndex(name);
        EXPECT_FALSE(lookup.found);
        EXPECT_EQ(lookup.index, 255);
    }
}

TEST(GenreTable, BytesFrom126HaveNoName) {
    for (std::size_t index : {126u, 130u, 254u, 255u}) {
        EXPECT_TRUE(GenreTable::GenreName(index).empty()) << index;
    }
}

}  // namespace
}  // namespace velmora
