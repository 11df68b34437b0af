#pragma once

namespace velmora::regex {

// The compile error of the expression engine, thrown as a bare enumeration value. The codes
// are stable: callers and stored diagnostics may rely on the numbers.
enum class REGEXPERROR : int {
    NulEscape = 0,              // \0
    BadEscape = 1,              // backslash before a character without meaning, or at the end
    UnknownGroup = 2,           // backreference or name query to no (closed) group
    NothingToRepeat = 3,        // quantifier at the start of a level
    UnclosedGroup = 4,          // "(" last, "(#" without ")", group open at the end
    UnmatchedParenthesis = 5,   // ")" without an open group
    UnterminatedConstruct = 6,  // "[" without "]", "(?" at the end, "(?P<" without ">"
    RangeEndsClass = 7,         // "[a-]"
    ReversedRange = 8,          // "[z-a]"
    BadRepeatCount = 9,         // non-digit inside a brace quantifier
    ReversedRepeatBounds = 10,  // {n,m} with m < n
    MalformedBraceOrName = 11,  // brace quantifier without "}", "(?P" not followed by "<"
    TooManyGroups = 12,         // a capturing group numbered above 255 is closed
    BadOption = 13,             // an option group holds something other than i, m, x
    TooComplex = 14,            // the pattern would nest or expand beyond the engine's limits
};

}  // namespace velmora::regex
