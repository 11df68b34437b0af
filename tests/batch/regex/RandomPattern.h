#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace velmora::regex::testing {

// Random patterns from the part of the syntax on which this engine and Python's re (with
// ASCII, DOTALL and MULTILINE) agree, given subjects without line terminators. What is kept
// out, and why:
// - a quantifier on something that can match the empty string: this engine ends an
//   unbounded repetition after a round that matched nothing, which Python's rules only
//   approximate (spot checks such as (a*)*, (a|)+b and (?:(a)|())*b agreed), and nested
//   bodies of that kind make Python backtrack for minutes, stalling the oracle;
// - {n,m} with m - n >= 2 on a body with any internal choice: here the optional part tries
//   whole runs of copies, most first ((?:a|ab){0,2}b on abab goes differently), while
//   Python backtracks round by round; single characters and fixed runs of them behave alike;
// - a quantifier on a quantifier (Python rejects "multiple repeat");
// - escapes inside classes, "]" or "-" as class members, empty classes ("[]", "[^]" and
//   "[]a]" are read differently);
// - look-behind whose content could vary in width (Python needs a fixed width);
// - backreferences (Python fails on a group that took no part; here it matches empty),
//   atomic groups and possessive forms (Python 3.11 numbers them differently), and the
//   engine's own syntax (\Q...\E, (#...), option groups).
// Matches that Python finds only at the end of the subject are compared separately: this
// engine never starts a match there.
class RandomPattern {
  public:
    explicit RandomPattern(std::uint32_t seed) : random_(seed) {}

    std::string Next() {
        groups_ = 0;
        return Alternation(0, true).text;
    }

    std::string Subject() {
        static constexpr std::string_view kAlphabet = "aabbc1x_ -.";
        std::string subject;
        const unsigned length = Pick(11);
        for (unsigned i = 0; i < length; ++i) {
            subject.push_back(kAlphabet[Pick(kAlphabet.size())]);
        }
        return subject;
    }

    unsigned Pick(std::size_t n) { return static_cast<unsigned>(random_() % n); }

  private:
    struct Fragment {
        std::string text;
        bool nullable = false;
        // Fixed width and no choice inside: safe in look-behind and in {n,m}.
        bool simple = false;
        bool quantifiable = false;
    };

    Fragment SingleChar() {
        static constexpr std::string_view kLiterals[] = {"a",   "b",   "c",   "x",  "1",   "_",
                                                         " ",   "-",   "\\.", ".",  "\\d", "\\w",
                                                         "\\s", "\\D", "\\W", "\\S"};
        const unsigned choice = Pick(std::size(kLiterals) + 4);
        if (choice < std::size(kLiterals)) {
            return {std::string(kLiterals[choice]), false, true, true};
        }
        return {Class(), false, true, true};
    }

    std::string Class() {
        static constexpr std::string_view kMembers[] = {"a", "b",   "c",   "1",   "_",  " ",
                                                        ".", "a-c", "0-9", "b-x", " -."};
        std::string text = Pick(3) == 0 ? "[^" : "[";
        const unsigned count = 1 + Pick(3);
        for (unsigned i = 0; i < count; ++i) {
            text += kMembers[Pick(std::size(kMembers))];
        }
        return text + "]";
    }

    Fragment Group(int depth) {
        Fragment inner = Alternation(depth + 1, false);
        static constexpr std::string_view kOpeners[] = {"(", "(?:", "(?P<"};
        const unsigned kind = Pick(3);
        std::string open(kOpeners[kind]);
        if (kind != 1) {
            ++groups_;
        }
        if (kind == 2) {
            open += "g" + std::to_string(groups_) + ">";
        }
        return {open + inner.text + ")", inner.nullable, inner.simple, true};
    }

    Fragment Lookaround(int depth) {
        if (Pick(2) == 0) {
            Fragment inner = Alternation(depth + 1, false);
            return {(Pick(2) == 0 ? "(?=" : "(?!") + inner.text + ")", true, false, false};
        }
        // Fixed width: single characters, possibly inside capturing groups.
        std::string text = Pick(2) == 0 ? "(?<=" : "(?<!";
        const unsigned count = 1 + Pick(3);
        for (unsigned i = 0; i < count; ++i) {
            if (Pick(3) == 0) {
                ++groups_;
                text += "(" + SingleChar().text + SingleChar().text + ")";
            } else {
                text += SingleChar().text;
            }
        }
        return {text + ")", true, false, false};
    }

    Fragment Item(int depth) {
        const unsigned kind = Pick(depth >= 3 ? 6 : 10);
        if (kind < 4) {
            return Quantified(SingleChar());
        }
        if (kind < 6) {
            static constexpr std::string_view kAnchors[] = {"^", "$", "\\b", "\\B"};
            return {std::string(kAnchors[Pick(4)]), true, false, false};
        }
        if (kind < 9) {
            return Quantified(Group(depth));
        }
        return Lookaround(depth);
    }

    Fragment Quantified(Fragment body) {
        if (!body.quantifiable || body.nullable || Pick(2) == 0) {
            return body;
        }
        const char* lazy = Pick(3) == 0 ? "?" : "";
        const unsigned n = Pick(3);
        switch (Pick(6)) {
            case 0:
                return {body.text + "*" + lazy, true, false, false};
            case 1:
                return {body.text + "+" + lazy, false, false, false};
            case 2:
                return {body.text + "?" + lazy, true, false, false};
            case 3:
                return {body.text + "{" + std::to_string(n) + "}" + lazy, n == 0, body.simple,
                        false};
            case 4:
                return {body.text + "{" + std::to_string(n) + ",}" + lazy, n == 0, false, false};
            default: {
                const unsigned extra = body.simple ? 1 + Pick(3) : 1;
                return {body.text + "{" + std::to_string(n) + "," + std::to_string(n + extra) +
                            "}" + lazy,
                        n == 0, false, false};
            }
        }
    }

    Fragment Sequence(int depth, bool nonEmpty) {
        const unsigned count = (nonEmpty ? 1 : 0) + Pick(4);
        Fragment sequence{"", true, true, false};
        for (unsigned i = 0; i < count; ++i) {
            Fragment item = Item(depth);
            sequence.text += item.text;
            sequence.nullable = sequence.nullable && item.nullable;
            sequence.simple = sequence.simple && item.simple;
        }
        sequence.simple = sequence.simple && count > 0;
        return sequence;
    }

    Fragment Alternation(int depth, bool top) {
        const unsigned branches = 1 + (Pick(3) == 0 ? 1 + Pick(2) : 0);
        Fragment result = Sequence(depth, top);
        for (unsigned i = 1; i < branches; ++i) {
            Fragment branch = Sequence(depth, top);
            result.text += "|" + branch.text;
            result.nullable = result.nullable || branch.nullable;
            result.simple = false;
        }
        return result;
    }

    std::mt19937 random_;
    int groups_ = 0;
};

}  // namespace velmora::regex::testing
