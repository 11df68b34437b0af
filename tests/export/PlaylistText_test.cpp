#include <gtest/gtest.h>

#include <string>

#include "export/PlaylistText.h"

namespace velmora {
namespace {

struct ExtensionCase {
    const char16_t* path;
    bool m3u8;
};

class HasExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(HasExtensionTest, LooksAtTheLastNameOnly) {
    EXPECT_EQ(HasExtension(GetParam().path, u"m3u8"), GetParam().m3u8);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HasExtensionTest,
    ::testing::Values(ExtensionCase{u"/a/list.m3u8", true}, ExtensionCase{u"list.M3U8", true},
                      ExtensionCase{u"/a/.m3u8", true}, ExtensionCase{u"/a/list.m3u", false},
                      ExtensionCase{u"/a/listm3u8", false}, ExtensionCase{u"/a.m3u8/list", false},
                      ExtensionCase{u"m3u8", false}, ExtensionCase{u"/a/list.m3u8.pls", false}));

}  // namespace
}  // namespace velmora
