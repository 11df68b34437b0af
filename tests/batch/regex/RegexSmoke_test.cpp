#include <gtest/gtest.h>

#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
TEST(RegexSmoke, Artist) {
    RegexEngine e;
    e.Compile(u"(?P<artist>.*) - (?P<title>.*)\\.mp3");
    ASSERT_TRUE(e.Search(u"Foo - Bar.mp3"));
    EXPECT_EQ(e.GroupText(u"artist"), u"Foo");
    EXPECT_EQ(e.GroupText(u"title"), u"Bar");
}
}  // namespace velmora::regex
