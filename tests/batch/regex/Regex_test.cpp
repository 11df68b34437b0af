// The engine's documented behaviour beyond single results of the syntax it shares with
// Python's re (left to the differential test): the file-name patterns, the engine's own
// quirks and syntax, compile errors, and the matcher's bounds on work and stack.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

// One row per case: pattern, subject, whether it matches, the text of the whole match and
// of the first groups.
struct Row {
    std::u16string pattern;
    std::u16string subject;
    bool matches;
    std::u16string whole;
    std::vector<std::u16string> groups = {};  // the text of group 1, 2, ... after the search
};

void Check(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE("pattern " + ::testing::PrintToString(row.pattern) + " subject " +
                     ::testing::PrintToString(row.subject));
        RegexEngine engine;
        engine.Compile(row.pattern);
        ASSERT_EQ(engine.Search(row.subject), row.matches);
        EXPECT_EQ(engine.GroupTextByNumber(0), row.whole);
        for (std::size_t group = 0; group < row.groups.size(); ++group) {
            EXPECT_EQ(engine.GroupTextByNumber(static_cast<int>(group) + 1), row.groups[group])
                << "group " << group + 1;
        }
    }
}

const std::u16string kArtistTitle = u"(?P<artist>.*) - (?P<title>.*)\\.mp3";

// File names, quantifiers, start positions, anchors, line terminators, groups,
// backreferences, classes, escapes, options, comments, look-behind and empty rounds.
TEST(RegexEdgeCases, DocumentedBehaviour) {
    Check({
        // File names and quantifiers.
        // Text outside the basic plane travels as surrogate pairs, unit by unit.
        {kArtistTitle,
         u"\u00C9dith - \U0001F3B5.mp3",
         true,
         u"\u00C9dith - \U0001F3B5.mp3",
         {u"\u00C9dith", u"\U0001F3B5"}},
        // A quantifier may repeat a repetition.
        {u"a{2}{2}", u"aaaaa", true, u"aaaa"},
        // A bounded repetition tries whole runs of copies, most first.
        {u"(?:a|ab){0,2}b", u"abab", true, u"abab"},
        // Possessive and atomic forms never give back; "(?>" also captures.
        {u"a*+a", u"aaa", false, u""},
        {u"(?>a|ab)b", u"abc", true, u"ab", {u"a"}},

        // Start positions, anchors and line terminators.
        // The position after the last character is never a start.
        {u"x*$", u"abc", false, u""},
        {u"", u"abc", true, u""},
        {u"^b", u"a\nb", true, u"b"},
        {u"(?-m)^b", u"a\nb", false, u""},
        {u"a$", u"a\u2028b", true, u"a"},
        {u".", u"\n", true, u"\n"},
        // With multiline on (the default) a range refuses line terminators.
        {u"[\t-\r]", u"\n", false, u""},
        {u"(?-m)[\t-\r]", u"\n", true, u"\n"},
        // Word characters and digits are ASCII.
        {u"\\b", u"\u00E9", false, u""},
        {u"\\w+", u"-\u00E9ab_9-", true, u"ab_9"},
        {u"\\d+", u"ab\u0663123", true, u"123"},
        // White space beyond the differential test's subjects.
        {u"\\s+", u"a \t\f\vb", true, u" \t\f\v"},

        // Groups and backreferences.
        // A group not passed on the final path, or from an abandoned path or start, is empty.
        {u"a|(b|c)d", u"xa", true, u"a", {u""}},
        {u"(a)x|ab", u"ab", true, u"ab", {u""}},
        {u"(a)c|b(d)?", u"abx", true, u"b", {u"", u""}},
        {u"(a)\\1", u"xaa", true, u"aa"},
        // With eleven groups, \12 is group 1 followed by "2"; with twelve, group 12.
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)\\12", u"abcdefghijka2", true, u"abcdefghijka2"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\12", u"abcdefghijkll", true, u"abcdefghijkll"},

        // Classes, escapes, options and comments.
        {u"[^]", u"\n", true, u"\n"},
        // The empty class never matches.
        {u"x[]|y", u"xy", true, u"y"},
        // No escapes inside classes.
        {u"[\\d]+", u"9\\dd", true, u"\\dd"},
        {u"\\Qa.b\\E+", u"a.ba.bb", true, u"a.ba.b"},
        {u"(?i)A", u"a", false, u""},
        {u"(#note)abc", u"abc", true, u"abc"},
        {u"(?x) a b c ", u"abc", true, u"abc"},
        // Options hold to the end of the pattern, not of the group.
        {u"((?x) a) b", u"ab", true, u"ab"},

        // Look-behind.
        // Variable width is fine behind: the content, groups included, is matched right to left;
        // groups capture in reading order, and a repeated group behind keeps its leftmost round.
        {u"(?<=a+)b", u"aaab", true, u"b"},
        {u"(?<=(a)(bc))d", u"abcd", true, u"d", {u"a", u"bc"}},
        {u"(?<=(a|bc)+)d", u"abcd", true, u"d", {u"a"}},
        {u"(?<=(a)\\1)b", u"aab", true, u"b", {u"a"}},

        // Empty rounds end the repetition.
        // A repetition whose body matched nothing does not go round again: no endless loop.
        {u"(a*)*b", u"aab", true, u"aab", {u""}},
        {u"(^)*a", u"ba", true, u"a"},
        {u"(a|)+b", u"aab", true, u"aab", {u""}},
        {u"(a*)+?b", u"ab", true, u"ab", {u"a"}},
    });
}

std::u16string Repeated(std::u16string_view piece, int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

TEST(RegexErrors, EachCodeAndItsPatterns) {
    const struct {
        REGEXPERROR code;
        std::vector<std::u16string> patterns;
    } rows[] = {
        {REGEXPERROR::NulEscape, {u"a\\0"}},
        {REGEXPERROR::BadEscape, {u"\\-", u"a\\/", u"a\\", u"\\x41"}},
        {REGEXPERROR::UnknownGroup, {u"(a\\1)", u"(a)\\2", u"(?:a)\\1"}},
        {REGEXPERROR::NothingToRepeat, {u"*a", u"a|*", u"(?i)?"}},
        {REGEXPERROR::UnclosedGroup, {u"a(", u"(#note", u"((a)"}},
        {REGEXPERROR::UnmatchedParenthesis, {u"a)", u"(a))"}},
        // The end of the pattern inside an option group included.
        {REGEXPERROR::UnterminatedConstruct, {u"[a", u"[a-", u"(?", u"(?P<name", u"(?i", u"(?m-x"}},
        {REGEXPERROR::RangeEndsClass, {u"[a-]"}},
        {REGEXPERROR::ReversedRange, {u"[z-a]"}},
        {REGEXPERROR::BadRepeatCount, {u"a{x}", u"a{1,x}", u"a{,2}"}},
        {REGEXPERROR::ReversedRepeatBounds, {u"a{3,2}"}},
        {REGEXPERROR::MalformedBraceOrName, {u"a{1", u"a{1,2", u"(?Px)", u"(?P=n)"}},
        {REGEXPERROR::TooManyGroups, {Repeated(u"(a)", 256)}},
        {REGEXPERROR::BadOption, {u"(?#note)abc", u"(?q)", u"(?i-m-x)", u"(?<x>a)"}},
        {REGEXPERROR::TooComplex,
         {u"a{100000}{100000}", u"(?:ab){0,1000}", u"a" + Repeated(u"{1}", 1000)}},
    };
    for (const auto& row : rows) {
        for (const std::u16string& pattern : row.patterns) {
            SCOPED_TRACE(::testing::PrintToString(pattern.substr(0, 60)));
            RegexEngine engine;
            try {
                engine.Compile(pattern);
                ADD_FAILURE() << "compiled; expected code " << static_cast<int>(row.code);
            } catch (REGEXPERROR code) {
                EXPECT_EQ(static_cast<int>(code), static_cast<int>(row.code));
            }
            // A failed compile leaves an engine that matches nothing.
            EXPECT_FALSE(engine.Search(u"aaaa"));
        }
    }
    // Names are compared with case; the lowest-numbered group of a name answers.
    RegexEngine engine;
    engine.Compile(u"(?P<n>a)(?P<n>b)");
    EXPECT_FALSE(engine.HasGroup(u"N"));
    ASSERT_TRUE(engine.Search(u"ab"));
    EXPECT_EQ(engine.GroupText(u"n"), u"a");
    EXPECT_THROW(engine.GroupText(u"title"), REGEXPERROR);
}

TEST(RegexErrors, LimitsLeaveRoomForRealPatterns) {
    RegexEngine engine;
    EXPECT_NO_THROW(engine.Compile(Repeated(u"(a)", 255)));
    EXPECT_TRUE(engine.Search(Repeated(u"a", 255)));
    EXPECT_EQ(engine.GroupTextByNumber(255), u"a");
    EXPECT_NO_THROW(engine.Compile(Repeated(u"(", 200) + u"x" + Repeated(u")", 200)));
    EXPECT_NO_THROW(engine.Compile(u"\\d{1,50}-" + Repeated(u"x", 10000)));
}

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

TEST(RegexMatcher, CompilingAgainReplacesThePatternAndItsOptions) {
    RegexEngine engine;
    engine.Compile(u"(?P<a>x)(?-m)");
    engine.Compile(u"^b");
    EXPECT_FALSE(engine.HasGroup(u"a"));
    EXPECT_TRUE(engine.Search(u"a\nb"));
    EXPECT_THROW(engine.Compile(std::u16string(u"(\0b", 3)), REGEXPERROR);  // ends at the NUL
    EXPECT_FALSE(engine.Search(u"b"));
    EXPECT_FALSE(engine.GroupSpan(0).has_value() || engine.GroupSpan(300).has_value());
}

}  // namespace
}  // namespace velmora::regex
