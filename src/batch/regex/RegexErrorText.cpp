#include "batch/regex/RegexErrorText.h"

namespace velmora::regex {

std::u16string_view RegexErrorMeaning(REGEXPERROR code) {
    switch (code) {
        case REGEXPERROR::NulEscape:
            return u"\\0 is not allowed";
        case REGEXPERROR::BadEscape:
            return u"a backslash stands before a character it gives no meaning, or at the end";
        case REGEXPERROR::UnknownGroup:
            return u"a back-reference names no group closed before it";
        case REGEXPERROR::NothingToRepeat:
            return u"a repeat (*, +, ? or {}) follows nothing it could repeat";
        case REGEXPERROR::UnclosedGroup:
            return u"a group is opened with ( but never closed";
        case REGEXPERROR::UnmatchedParenthesis:
            return u"a ) closes no open group";
        case REGEXPERROR::UnterminatedConstruct:
            return u"the expression ends inside [ ], (? or a group name";
        case REGEXPERROR::RangeEndsClass:
            return u"a range in [ ] has no end, as in [a-]";
        case REGEXPERROR::ReversedRange:
            return u"a range in [ ] runs backwards, as in [z-a]";
        case REGEXPERROR::BadRepeatCount:
            return u"a repeat count in { } is not a number";
        case REGEXPERROR::ReversedRepeatBounds:
            return u"a repeat {n,m} has m smaller than n";
        case REGEXPERROR::MalformedBraceOrName:
            return u"a { } repeat is not closed, or (?P is not followed by <name>";
        case REGEXPERROR::TooManyGroups:
            return u"there are more than 255 capturing groups";
        case REGEXPERROR::BadOption:
            return u"an option group (?...) holds something other than i, m and x";
        case REGEXPERROR::TooComplex:
            return u"the expression nests or repeats more than the engine allows";
    }
    return u"the expression is not valid";
}

}  // namespace velmora::regex
