// The engine's documented behaviour, one row per case: pattern, subject, whether it
// matches, the text of the whole match and of the groups asked for.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RegexTestSupport.h"
#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

using testing::Printable;

struct Row {
    std::u16string pattern;
    std::u16string subject;
    bool matches;
    std::u16string whole;
    // Group name (or number written as "#n") and the text it holds after the search.
    std::vector<std::pair<std::u16string, std::u16string>> groups = {};
};

std::u16string TextOf(const RegexEngine& engine, const std::u16string& group) {
    if (!group.empty() && group.front() == u'#') {
        return engine.GroupTextByNumber(std::stoi(std::string(group.begin() + 1, group.end())));
    }
    return engine.GroupText(group);
}

void Check(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE("pattern /" + Printable(row.pattern) + "/ subject \"" +
                     Printable(row.subject) + "\"");
        RegexEngine engine;
        engine.Compile(row.pattern);
        ASSERT_EQ(engine.Search(row.subject), row.matches);
        EXPECT_EQ(Printable(engine.GroupTextByNumber(0)), Printable(row.whole));
        for (const auto& [group, text] : row.groups) {
            EXPECT_EQ(Printable(TextOf(engine, group)), Printable(text)) << Printable(group);
        }
    }
}

const std::u16string kArtistTitle = u"(?P<artist>.*) - (?P<title>.*)\\.mp3";

TEST(RegexEdgeCases, FileNamePatterns) {
    Check({
        {kArtistTitle,
         u"Nina Simone - Feeling Good.mp3",
         true,
         u"Nina Simone - Feeling Good.mp3",
         {{u"artist", u"Nina Simone"}, {u"title", u"Feeling Good"}}},
        // The greedy first group runs up to the last separator.
        {kArtistTitle,
         u"A - B - C.mp3",
         true,
         u"A - B - C.mp3",
         {{u"artist", u"A - B"}, {u"title", u"C"}}},
        {kArtistTitle, u"No separator.mp3", false, u"", {{u"artist", u""}}},
        {u"(?P<track>\\d+) - (?P<title>.*)\\.mp3",
         u"07 - Intro.mp3",
         true,
         u"07 - Intro.mp3",
         {{u"track", u"07"}, {u"title", u"Intro"}}},
        {u"(?P<artist>.*) - (?P<album>.*) - (?P<track>\\d\\d) - (?P<title>.*)\\.mp3",
         u"Air - Moon Safari - 03 - Kelly.mp3",
         true,
         u"Air - Moon Safari - 03 - Kelly.mp3",
         {{u"artist", u"Air"},
          {u"album", u"Moon Safari"},
          {u"track", u"03"},
          {u"title", u"Kelly"}}},
        // Text outside the basic plane travels as surrogate pairs, unit by unit.
        {kArtistTitle,
         u"\u00C9dith - \U0001F3B5.mp3",
         true,
         u"\u00C9dith - \U0001F3B5.mp3",
         {{u"artist", u"\u00C9dith"}, {u"title", u"\U0001F3B5"}}},
    });
}

TEST(RegexEdgeCases, QuantifiersTryTheirCountsInOrder) {
    Check({
        {u"<(.*?)>", u"<a><b>", true, u"<a>", {{u"#1", u"a"}}},
        {u"<(.*)>", u"<a><b>", true, u"<a><b>", {{u"#1", u"a><b"}}},
        {u"a{2,3}", u"aaaa", true, u"aaa"},
        {u"a{2,3}?", u"aaaa", true, u"aa"},
        {u"a{2}", u"aaaa", true, u"aa"},
        {u"a{2,}", u"aaaa", true, u"aaaa"},
        {u"a{2,}?", u"aaaa", true, u"aa"},
        {u"a{0}b", u"ab", true, u"b"},
        {u"abc*", u"abcc", true, u"abcc"},
        {u"abc*", u"ababc", true, u"ab"},
        // A quantifier may repeat a repetition.
        {u"a{2}{2}", u"aaaaa", true, u"aaaa"},
        {u"a+?b", u"aaab", true, u"aaab"},
        // A bounded repetition tries whole runs of copies, most first.
        {u"(?:a|ab){0,2}b", u"abab", true, u"abab"},
        // Possessive and atomic forms never give back.
        {u"a*+a", u"aaa", false, u""},
        {u"(?>a*)a", u"aaa", false, u""},
        {u"(?>a|ab)c", u"abc", false, u""},
        {u"(?>a|ab)b", u"abc", true, u"ab", {{u"#1", u"a"}}},
    });
}

TEST(RegexEdgeCases, StartPositionsAndAnchors) {
    Check({
        // The position after the last character is never a start.
        {u"x*$", u"abc", false, u""},
        {u"^", u"", false, u""},
        {u"a*", u"", false, u""},
        {u"", u"abc", true, u""},
        {u"$", u"a", false, u""},
        {u"^b", u"a\nb", true, u"b"},
        {u"(?-m)^b", u"a\nb", false, u""},
        {u"a$", u"a\u2028b", true, u"a"},
        {u"a$", u"a\u0085b", true, u"a"},
        {u"(?-m)a$", u"a\nb", false, u""},
        {u"\\bfoo\\b", u"a foo.", true, u"foo"},
        {u"\\Boo", u"foo", true, u"oo"},
        {u"\\bx", u"_x", false, u""},
        // The word boundary uses the platform's classification, ASCII in the "C" locale.
        {u"\\b", u"\u00E9", false, u""},
    });
}

TEST(RegexEdgeCases, AlternationAndGroups) {
    Check({
        {u"abc|def", u"xxdefxx", true, u"def"},
        {u"abc|def", u"xxabcxx", true, u"abc"},
        {u"a|(b|c)d", u"cd", true, u"cd", {{u"#1", u"c"}}},
        {u"a|(b|c)d", u"xa", true, u"a", {{u"#1", u""}}},
        {u"a|b|c", u"c", true, u"c"},
        {u"(a)|b", u"b", true, u"b", {{u"#1", u""}}},
        // The last pass of a repeated group is what it holds.
        {u"(\\w)+", u"abc", true, u"abc", {{u"#1", u"c"}}},
        {u"(?:(a)|b)+", u"ab", true, u"ab", {{u"#1", u"a"}}},
        {u"(a|b){3}", u"abb", true, u"abb", {{u"#1", u"b"}}},
        // A group from an abandoned path holds nothing.
        {u"(a)x|ab", u"ab", true, u"ab", {{u"#1", u""}}},
        {u"(?:(a)|())*b", u"ab", true, u"ab", {{u"#1", u"a"}, {u"#2", u""}}},
        // The lowest-numbered group of a name answers.
        {u"(?P<n>a)(?P<n>b)", u"ab", true, u"ab", {{u"n", u"a"}}},
        {u"(?P<>a)", u"a", true, u"a", {{u"", u"a"}}},
        // "(?>" opens an atomic group that also captures.
        {u"(?>a)(b)", u"ab", true, u"ab", {{u"#1", u"a"}, {u"#2", u"b"}}},
        {u"(?:a)(b)", u"ab", true, u"ab", {{u"#1", u"b"}}},
    });
}

TEST(RegexEdgeCases, Backreferences) {
    Check({
        {u"(a)\\1", u"xaa", true, u"aa"},
        {u"(a)\\1", u"xa", false, u""},
        {u"(a*)b\\1", u"aabaa", true, u"aabaa"},
        {u"(x?)a\\1", u"a", true, u"a"},
        // With eleven groups, \12 is group 1 followed by "2"; with twelve, group 12.
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)\\12", u"abcdefghijka2", true, u"abcdefghijka2"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\12", u"abcdefghijkll", true, u"abcdefghijkll"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\12", u"abcdefghijkla2", false, u""},
        {u"(?<=(a)\\1)b", u"aab", true, u"b", {{u"#1", u"a"}}},
    });
}

TEST(RegexEdgeCases, ClassesAndEscapes) {
    Check({
        {u"[^]", u"\n", true, u"\n"},
        {u"x[]", u"x", false, u""},
        {u"x[]|y", u"xy", true, u"y"},
        {u"[]a]", u"a]", false, u""},
        {u"[\\d]+", u"9\\dd", true, u"\\dd"},
        {u"[a-c]+", u"xabcd", true, u"abc"},
        {u"[^a-c]+", u"abxyc", true, u"xy"},
        {u"[-a]+", u"b-a", true, u"-a"},
        {u"\\W", u"a_9-", true, u"-"},
        {u"\\W", u"a_9", false, u""},
        {u"\\w+", u"-\u00E9ab_9-", true, u"ab_9"},
        {u"\\s+", u"a \t\f\vb", true, u" \t\f\v"},
        {u"\\S+", u"  ab ", true, u"ab"},
        {u"\\D+", u"12ab3", true, u"ab"},
        {u"\\d+", u"ab\u0663123", true, u"123"},
        {u"\\Qa.b\\E+", u"a.ba.bb", true, u"a.ba.b"},
        {u"\\Qa.b", u"xa.b", true, u"a.b"},
        {u"a\\Q\\Eb", u"ab", true, u"ab"},
        {u"\\t\\n\\r", u"\t\n\r", true, u"\t\n\r"},
        {u"\\.\\*\\]\\}\\|", u".*]}|", true, u".*]}|"},
        {u"a]}", u"a]}", true, u"a]}"},
        {u".", u"\n", true, u"\n"},
        // With multiline on (the default) a range refuses line terminators.
        {u"[\t-\r]", u"\n", false, u""},
        {u"(?-m)[\t-\r]", u"\n", true, u"\n"},
    });
}

TEST(RegexEdgeCases, OptionsAndComments) {
    Check({
        {u"(?i)A", u"a", false, u""},
        {u"(?i)A", u"A", true, u"A"},
        {u"(#note)abc", u"abc", true, u"abc"},
        {u"(?x) a b c ", u"abc", true, u"abc"},
        {u"(?x)a[ ]b", u"a b", true, u"a b"},
        // Options hold to the end of the pattern, not of the group.
        {u"((?x) a) b", u"ab", true, u"ab"},
        {u"(?x-x) a", u" a", true, u" a"},
        {u"(?mx-i)", u"a", true, u""},
    });
}

TEST(RegexEdgeCases, Lookaround) {
    Check({
        {u"a(?=b)", u"acab", true, u"a"},
        {u"a(?!b)", u"abac", true, u"a"},
        {u"(?<=b)a", u"aba", true, u"a"},
        {u"(?<!b)a", u"baa", true, u"a"},
        {u"(?<=ab)c", u"acbabc", true, u"c"},
        // Variable width is fine behind: the content is matched right to left.
        {u"(?<=a+)b", u"aaab", true, u"b"},
        {u"(?<=x\\d*)b", u"x12b", true, u"b"},
        // Groups behind capture in reading order.
        {u"(?<=(a)(bc))d", u"abcd", true, u"d", {{u"#1", u"a"}, {u"#2", u"bc"}}},
        {u"(?<=(?P<x>\\d+)-)\\w", u"12-a", true, u"a", {{u"x", u"12"}}},
        {u"(?<=(a(?=b)b))c", u"abc", true, u"c", {{u"#1", u"ab"}}},
        // Walked right to left, a repeated group behind keeps its leftmost round.
        {u"(?<=(a|bc)+)d", u"abcd", true, u"d", {{u"#1", u"a"}}},
        {u"(?<!a(?=b))b", u"ab", false, u""},
        {u"(?=(\\w+))a", u"ab", true, u"a", {{u"#1", u"ab"}}},
        {u"(?!(a))b", u"b", true, u"b", {{u"#1", u""}}},
    });
}

// Where the engine must not hang, loop or read outside the subject.
TEST(RegexEdgeCases, EmptyRoundsEndTheRepetition) {
    Check({
        {u"(a*)*b", u"aab", true, u"aab", {{u"#1", u""}}},
        {u"(^)*a", u"ba", true, u"a"},
        {u"(\\b)+a", u" a", true, u"a"},
        {u"(?:)*x", u"x", true, u"x"},
        {u"(a|)+b", u"aab", true, u"aab", {{u"#1", u""}}},
        {u"(a*)+?b", u"ab", true, u"ab", {{u"#1", u"a"}}},
        {u"(?:a?){5,}b", u"ab", true, u"ab"},
    });
}

}  // namespace
}  // namespace velmora::regex
