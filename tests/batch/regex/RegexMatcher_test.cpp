// The matcher's guarantees beyond single results: bounded work and stack, captures that
// belong to the last search only, a pattern replaced by the next compile.

#include <gtest/gtest.h>

#include <string>

#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

// A search over its step budget ends as "no match"; the budget is per search.
TEST(RegexMatcher, PathologicalSearchEndsAsNoMatch) {
    RegexEngine engine;
    engine.Compile(u"(a|aa)*b");
    EXPECT_FALSE(engine.Search(std::u16string(10'000, u'a')));
    EXPECT_TRUE(engine.BudgetExhausted());
    EXPECT_EQ(engine.GroupTextByNumber(1), u"");
    EXPECT_TRUE(engine.Search(u"aaab"));
    EXPECT_FALSE(engine.BudgetExhausted());
    EXPECT_EQ(engine.GroupTextByNumber(0), u"aaab");
}

TEST(RegexMatcher, LongSubjectsDoNotDeepenTheCallStack) {
    const std::u16string subject = std::u16string(100'000, u'a') + u"b";
    RegexEngine engine;
    // A few steps per character: more than the default budget allows for this length.
    engine.SetStepBudget(50'000'000);
    engine.Compile(u"(a|c)*b");
    ASSERT_TRUE(engine.Search(subject));
    EXPECT_EQ(engine.GroupSpan(0)->end, subject.size());
    engine.Compile(u"b(?<=^a*b)");
    ASSERT_TRUE(engine.Search(subject));
    EXPECT_EQ(engine.GroupSpan(0)->start, subject.size() - 1);
}

// A shorter subject that takes the other branch: no stale position reads the old subject.
TEST(RegexMatcher, CapturesBelongToTheLastSearchOnly) {
    RegexEngine engine;
    engine.Compile(u"(?P<artist>.*) - (?P<title>.*)\\.mp3|(?P<other>x)");
    ASSERT_TRUE(engine.Search(u"A rather long artist name - T.mp3"));
    EXPECT_EQ(engine.GroupText(u"artist"), u"A rather long artist name");
    ASSERT_TRUE(engine.Search(u"x"));
    EXPECT_EQ(engine.GroupText(u"artist"), u"");
    EXPECT_FALSE(engine.GroupSpan(1).has_value());
    EXPECT_EQ(engine.GroupText(u"other"), u"x");
    EXPECT_FALSE(engine.Search(u"y"));
    EXPECT_EQ(engine.GroupText(u"other"), u"");
    EXPECT_FALSE(engine.GroupSpan(0).has_value());
    EXPECT_FALSE(engine.GroupSpan(300).has_value());
}

TEST(RegexMatcher, CompilingAgainReplacesThePatternAndItsOptions) {
    RegexEngine engine;
    engine.Compile(u"(?P<a>x)(?-m)");
    engine.Compile(u"^b");
    EXPECT_FALSE(engine.HasGroup(u"a"));
    EXPECT_TRUE(engine.Search(u"a\nb"));
    EXPECT_THROW(engine.Compile(std::u16string(u"(\0b", 3)), REGEXPERROR);  // ends at the NUL
    EXPECT_FALSE(engine.Search(u"b"));
}

}  // namespace
}  // namespace velmora::regex
