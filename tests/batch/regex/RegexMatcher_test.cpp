// The matcher's guarantees beyond single results: bounded work and stack, captures that
// belong to the last search only, and the engine's query interface.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

TEST(RegexMatcher, PathologicalSearchEndsAsNoMatch) {
    RegexEngine engine;
    engine.Compile(u"(a|aa)*b");
    EXPECT_FALSE(engine.Search(std::u16string(10'000, u'a')));
    EXPECT_TRUE(engine.BudgetExhausted());
    EXPECT_EQ(engine.GroupTextByNumber(1), u"");
    // The same engine still answers ordinary searches.
    EXPECT_TRUE(engine.Search(u"aaab"));
    EXPECT_FALSE(engine.BudgetExhausted());
    EXPECT_EQ(engine.GroupTextByNumber(0), u"aaab");
}

TEST(RegexMatcher, StepBudgetIsPerSearch) {
    RegexEngine engine;
    engine.Compile(u"(?P<artist>.*) - (?P<title>.*)\\.mp3");
    engine.SetStepBudget(20);
    EXPECT_FALSE(engine.Search(u"Some Artist - Some Title.mp3"));
    EXPECT_TRUE(engine.BudgetExhausted());
    EXPECT_EQ(engine.GroupText(u"artist"), u"");
    engine.SetStepBudget(RegexEngine::kDefaultStepBudget);
    EXPECT_TRUE(engine.Search(u"Some Artist - Some Title.mp3"));
}

TEST(RegexMatcher, LongSubjectsDoNotDeepenTheCallStack) {
    const std::u16string subject = std::u16string(100'000, u'a') + u"b";
    RegexEngine engine;
    // A few steps per character: more than the default budget allows for this length.
    engine.SetStepBudget(50'000'000);
    engine.Compile(u"(a|c)*b");
    ASSERT_TRUE(engine.Search(subject));
    EXPECT_EQ(engine.GroupSpan(0)->end, subject.size());
    engine.Compile(u"(?:.)*?b");
    ASSERT_TRUE(engine.Search(subject));
    engine.Compile(u"b(?<=^a*b)");
    ASSERT_TRUE(engine.Search(subject));
    EXPECT_EQ(engine.GroupSpan(0)->start, subject.size() - 1);
}

TEST(RegexMatcher, CapturesBelongToTheLastSearchOnly) {
    RegexEngine engine;
    engine.Compile(u"(?P<artist>.*) - (?P<title>.*)\\.mp3|(?P<other>x)");
    ASSERT_TRUE(engine.Search(u"A rather long artist name - T.mp3"));
    EXPECT_EQ(engine.GroupText(u"artist"), u"A rather long artist name");
    // A shorter subject that takes the other branch: the first groups were not passed.
    ASSERT_TRUE(engine.Search(u"x"));
    EXPECT_EQ(engine.GroupText(u"artist"), u"");
    EXPECT_EQ(engine.GroupText(u"title"), u"");
    EXPECT_FALSE(engine.GroupSpan(1).has_value());
    EXPECT_EQ(engine.GroupText(u"other"), u"x");
    EXPECT_FALSE(engine.Search(u"y"));
    EXPECT_EQ(engine.GroupText(u"other"), u"");
    EXPECT_FALSE(engine.GroupSpan(0).has_value());
}

TEST(RegexMatcher, GroupsOfAbandonedStartPositionsAreForgotten) {
    RegexEngine engine;
    // At position 0 group 1 captures "a" before the path fails; the match starts at 2.
    engine.Compile(u"(a)c|b(d)?");
    ASSERT_TRUE(engine.Search(u"abx"));
    EXPECT_EQ(engine.GroupTextByNumber(0), u"b");
    EXPECT_EQ(engine.GroupTextByNumber(1), u"");
    EXPECT_EQ(engine.GroupTextByNumber(2), u"");
}

TEST(RegexMatcher, GroupNamesAndCount) {
    RegexEngine engine;
    engine.Compile(u"(?P<track>\\d+)(x)(?P<title>.*)(?P<track>y)");
    EXPECT_EQ(engine.GroupCount(), 4);
    EXPECT_EQ(engine.GroupNames(), (std::vector<std::u16string>{u"track", u"title"}));
    EXPECT_FALSE(engine.GroupSpan(-1).has_value());
    EXPECT_FALSE(engine.GroupSpan(300).has_value());
    EXPECT_EQ(engine.GroupTextByNumber(7), u"");
}

TEST(RegexMatcher, CompilingAgainReplacesThePattern) {
    RegexEngine engine;
    engine.Compile(u"(?P<a>x)(?-m)");
    engine.Compile(u"^b");
    EXPECT_FALSE(engine.HasGroup(u"a"));
    // Options changed by the earlier pattern do not leak into the next one.
    EXPECT_TRUE(engine.Search(u"a\nb"));
    EXPECT_THROW(engine.Compile(u"("), REGEXPERROR);
    EXPECT_FALSE(engine.Search(u"b"));
}

TEST(RegexMatcher, CallerOptionsApplyFromTheStart) {
    RegexEngine engine;
    engine.SetOptions({.caseSensitive = true, .multiline = false, .extended = true});
    engine.Compile(u"^ a b");
    EXPECT_TRUE(engine.Search(u"ab"));
    EXPECT_FALSE(engine.Search(u"x\nab"));
}

TEST(RegexMatcher, PatternEndsAtItsFirstNul) {
    RegexEngine engine;
    engine.Compile(std::u16string(u"ab\0(", 4));
    EXPECT_TRUE(engine.Search(u"xab"));
}

}  // namespace
}  // namespace velmora::regex
