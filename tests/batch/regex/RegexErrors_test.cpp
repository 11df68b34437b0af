// Compile errors: each code with the patterns that raise it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegexTestSupport.h"
#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

using testing::Printable;

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
            SCOPED_TRACE("pattern /" + Printable(pattern).substr(0, 60) + "/");
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
    RegexEngine engine;
    engine.Compile(u"(?P<artist>.*)");
    EXPECT_FALSE(engine.HasGroup(u"Artist"));
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

}  // namespace
}  // namespace velmora::regex
