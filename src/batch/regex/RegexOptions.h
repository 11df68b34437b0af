#pragma once

namespace velmora::regex {

// The options word. Every atom copies the word in force when it is created, and an option
// group changes it for the rest of the pattern (leaving a group does not restore it).
struct RegexOptions {
    // Kept and switchable, but no comparison consults it: matching is always exact.
    bool caseSensitive = true;
    // "^" and "$" also match next to line terminators; ranges refuse line terminators.
    bool multiline = true;
    // Unescaped space, tab, LF and CR in the pattern are skipped.
    bool extended = false;
};

}  // namespace velmora::regex
