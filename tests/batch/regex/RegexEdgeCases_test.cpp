// The engine's documented behaviour, one row per case: pattern, subject, whether it
// matches, the text of the whole match and of the groups asked for. Behaviour that Python's
// re shares is left to the differential test; these rows hold the file-name patterns, the
// engine's own quirks and what the differential test has to leave out.

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

TEST(RegexEdgeCases, FileNamesAndQuantifiers) {
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
        // Text outside the basic plane travels as surrogate pairs, unit by unit.
        {kArtistTitle,
         u"\u00C9dith - \U0001F3B5.mp3",
         true,
         u"\u00C9dith - \U0001F3B5.mp3",
         {{u"artist", u"\u00C9dith"}, {u"title", u"\U0001F3B5"}}},
        {u"<(.*?)>", u"<a><b>", true, u"<a>", {{u"#1", u"a"}}},
        {u"a{2,3}", u"aaaa", true, u"aaa"},
        {u"a{2,3}?", u"aaaa", true, u"aa"},
        // A quantifier may repeat a repetition.
        {u"a{2}{2}", u"aaaaa", true, u"aaaa"},
        // A bounded repetition tries whole runs of copies, most first.
        {u"(?:a|ab){0,2}b", u"abab", true, u"abab"},
        // Possessive and atomic forms never give back; "(?>" also captures.
        {u"a*+a", u"aaa", false, u""},
        {u"(?>a|ab)b", u"abc", true, u"ab", {{u"#1", u"a"}}},
    });
}

TEST(RegexEdgeCases, StartPositionsAnchorsAndLineTerminators) {
    Check({
        // The position after the last character is never a start.
        {u"x*$", u"abc", false, u""},
        {u"^", u"", false, u""},
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
        {u"\\W", u"a_9-", true, u"-"},
        {u"\\W", u"a_9", false, u""},
        // White space beyond the differential test's subjects.
        {u"\\s+", u"a \t\f\vb", true, u" \t\f\v"},
    });
}

TEST(RegexEdgeCases, GroupsAndBackreferences) {
    Check({
        {u"abc|def", u"xxdefxx", true, u"def"},
        {u"a|(b|c)d", u"cd", true, u"cd", {{u"#1", u"c"}}},
        // A group not passed on the final path, or from an abandoned path or start, is empty.
        {u"a|(b|c)d", u"xa", true, u"a", {{u"#1", u""}}},
        {u"(a)x|ab", u"ab", true, u"ab", {{u"#1", u""}}},
        {u"(a)c|b(d)?", u"abx", true, u"b", {{u"#1", u""}, {u"#2", u""}}},
        // The lowest-numbered group of a name answers.
        {u"(?P<n>a)(?P<n>b)", u"ab", true, u"ab", {{u"n", u"a"}}},
        {u"(a)\\1", u"xaa", true, u"aa"},
        // With eleven groups, \12 is group 1 followed by "2"; with twelve, group 12.
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)\\12", u"abcdefghijka2", true, u"abcdefghijka2"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\12", u"abcdefghijkll", true, u"abcdefghijkll"},
    });
}

TEST(RegexEdgeCases, ClassesEscapesOptionsAndComments) {
    Check({
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
    });
}

// Variable width is fine behind: the content, groups included, is matched right to left;
// groups capture in reading order, and a repeated group behind keeps its leftmost round.
TEST(RegexEdgeCases, LookBehind) {
    Check({
        {u"(?<=a+)b", u"aaab", true, u"b"},
        {u"(?<=(a)(bc))d", u"abcd", true, u"d", {{u"#1", u"a"}, {u"#2", u"bc"}}},
        {u"(?<=(a|bc)+)d", u"abcd", true, u"d", {{u"#1", u"a"}}},
        {u"(?<=(a)\\1)b", u"aab", true, u"b", {{u"#1", u"a"}}},
    });
}

// A repetition whose body matched nothing does not go round again: no endless loop.
TEST(RegexEdgeCases, EmptyRoundsEndTheRepetition) {
    Check({
        {u"(a*)*b", u"aab", true, u"aab", {{u"#1", u""}}},
        {u"(^)*a", u"ba", true, u"a"},
        {u"(\\b)+a", u" a", true, u"a"},
        {u"(a|)+b", u"aab", true, u"aab", {{u"#1", u""}}},
        {u"(a*)+?b", u"ab", true, u"ab", {{u"#1", u"a"}}},
    });
}

}  // namespace
}  // namespace velmora::regex
