#include <gtest/gtest.h>

#include "tags/GenreTable.h"

namespace velmora {
namespace {

// Spot checks, including the misspellings every other reader keeps.
TEST(GenreTable, NamesAndIndexesMatch) {
    const std::pair<std::size_t, std::u16string_view> cases[] = {
        {0, u"Blues"},        {14, u"R&B"},   {17, u"Rock"},
        {67, u"Psychadelic"}, {85, u"Bebob"}, {123, u"A capella"},
        {125, u"Dance Hall"}, {126, u""},     {255, u""}};
    EXPECT_EQ(GenreTable::GenreCount(), 126u);
    for (const auto& [index, name] : cases) {
        EXPECT_EQ(GenreTable::GenreName(index), name) << index;
    }
    for (std::size_t i = 0; i < GenreTable::GenreCount(); ++i) {
        EXPECT_EQ(GenreTable::GenreIndex(GenreTable::GenreName(i)).index, i);
    }
}

TEST(GenreTable, LookupIsExactAndCaseSensitive) {
    for (std::u16string_view name : {u"rock", u"Rock ", u"", u"Heavy Metal"}) {
        EXPECT_FALSE(GenreTable::GenreIndex(name).found) << name.size();
        EXPECT_EQ(GenreTable::GenreIndex(name).index, 255);
    }
}

}  // namespace
}  // namespace velmora
