#include <algorithm>
#include <array>

#include "batch/regex/RegexCompiler.h"
#include "batch/regex/SubgraphNodes.h"

namespace velmora::regex {

namespace {

// Characters that stand for themselves after a backslash.
constexpr std::u16string_view kEscapableMetacharacters = u"$()*+.?[\\]^{}|";
// Space, tab, LF, CR, form feed, vertical tab: the white space of "\s" and "\S".
constexpr std::array<char16_t, 6> kSpaceCharacters = {u' ', u'\t', u'\n', u'\r', u'\f', u'\v'};
// Counts beyond this are saturated while reading; the graph limit rejects them anyway.
constexpr std::size_t kCountCeiling = 1'000'000;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

void RegexCompiler::Quantify(std::size_t min, std::size_t max) {
    std::vector<RegexNode*>& operands = levels_.back().operands;
    if (operands.empty()) {
        throw REGEXPERROR::NothingToRepeat;
    }
    RegexNode* child = operands.back();
    operands.pop_back();
    bool greedy = true;
    bool possessive = false;
    if (!AtEnd() && (pattern_[at_] == u'?' || pattern_[at_] == u'+')) {
        greedy = pattern_[at_] != u'?';
        possessive = pattern_[at_] == u'+';
        ++at_;
    }
    RegexNode* repeat = pool_.Make<RepeatNode>(min, max, greedy, *child);
    if (possessive) {
        repeat = pool_.Make<AtomicNode>(*repeat);
    }
    Append(repeat);
}

void RegexCompiler::ReadBraceQuantifier() {
    if (levels_.back().operands.empty()) {
        throw REGEXPERROR::NothingToRepeat;
    }
    const std::size_t min = ReadNumber();
    std::size_t max = min;
    if (pattern_[at_] == u',') {
        ++at_;
        if (AtEnd()) {
            throw REGEXPERROR::MalformedBraceOrName;
        }
        max = pattern_[at_] == u'}' ? RepeatNode::kUnbounded : ReadNumber();
    }
    if (pattern_[at_] != u'}') {
        throw REGEXPERROR::BadRepeatCount;
    }
    ++at_;
    if (max < min) {
        throw REGEXPERROR::ReversedRepeatBounds;
    }
    Quantify(min, max);
    // Quantify read the lazy or possessive mark itself.
}

std::size_t RegexCompiler::ReadNumber() {
    // One decimal number of a brace quantifier; leaves at_ on the character after it,
    // which exists.
    if (AtEnd()) {
        throw REGEXPERROR::MalformedBraceOrName;
    }
    if (!IsDigit(pattern_[at_])) {
        throw REGEXPERROR::BadRepeatCount;
    }
    std::size_t value = 0;
    while (!AtEnd() && IsDigit(pattern_[at_])) {
        value = std::min(kCountCeiling, value * 10 + (pattern_[at_] - u'0'));
        ++at_;
    }
    if (AtEnd()) {
        throw REGEXPERROR::MalformedBraceOrName;
    }
    return value;
}

void RegexCompiler::ReadClass() {
    if (AtEnd()) {
        throw REGEXPERROR::UnterminatedConstruct;
    }
    const bool negated = pattern_[at_] == u'^';
    if (negated) {
        ++at_;
    }
    ExcludedSetNode* excluded = negated ? pool_.Make<ExcludedSetNode>() : nullptr;
    std::vector<RegexNode*> members;
    // No escapes here: a backslash is an ordinary member.
    while (true) {
        if (AtEnd()) {
            throw REGEXPERROR::UnterminatedConstruct;
        }
        const char16_t low = pattern_[at_];
        if (low == u']') {
            ++at_;
            break;
        }
        if (at_ + 2 < pattern_.size() && pattern_[at_ + 1] == u'-') {
            const char16_t high = pattern_[at_ + 2];
            if (high == u']') {
                throw REGEXPERROR::RangeEndsClass;
            }
            if (high < low) {
                throw REGEXPERROR::ReversedRange;
            }
            at_ += 3;
            if (negated) {
                excluded->AddRange(low, high);
            } else {
                members.push_back(pool_.Make<CharRangeNode>(low, high, options_));
            }
            continue;
        }
        ++at_;
        if (negated) {
            excluded->AddMember(low);
        } else {
            members.push_back(pool_.Make<LiteralNode>(std::u16string(1, low)));
        }
    }
    if (negated) {
        Append(excluded);
    } else {
        Append(pool_.Make<AlternationNode>(std::move(members)));
    }
}

void RegexCompiler::ReadEscape() {
    if (AtEnd()) {
        throw REGEXPERROR::BadEscape;
    }
    const char16_t c = pattern_[at_++];
    if (kEscapableMetacharacters.find(c) != std::u16string_view::npos) {
        AppendLiteral(std::u16string(1, c));
        return;
    }
    switch (c) {
        case u't':
            return AppendLiteral(u"\t");
        case u'n':
            return AppendLiteral(u"\n");
        case u'r':
            return AppendLiteral(u"\r");
        case u'd':
            return Append(pool_.Make<CharRangeNode>(u'0', u'9', options_));
        case u'D': {
            auto* digits = pool_.Make<ExcludedSetNode>();
            digits->AddRange(u'0', u'9');
            return Append(digits);
        }
        case u'w':
            return Append(MakeWordClass());
        case u'W': {
            auto* word = pool_.Make<ExcludedSetNode>();
            word->AddRange(u'a', u'z');
            word->AddRange(u'A', u'Z');
            word->AddRange(u'0', u'9');
            word->AddMember(u'_');
            return Append(word);
        }
        case u's':
            return Append(MakeSpaceClass());
        case u'S': {
            auto* space = pool_.Make<ExcludedSetNode>();
            for (char16_t member : kSpaceCharacters) {
                space->AddMember(member);
            }
            return Append(space);
        }
        case u'b':
        case u'B':
            return Append(pool_.Make<WordBoundaryNode>(c == u'B'));
        case u'Q':
            return ReadQuoted();
        case u'0':
            throw REGEXPERROR::NulEscape;
        default:
            if (IsDigit(c)) {
                return ReadBackReference();
            }
            throw REGEXPERROR::BadEscape;
    }
}

RegexNode* RegexCompiler::MakeWordClass() {
    return pool_.Make<AlternationNode>(std::vector<RegexNode*>{
        pool_.Make<CharRangeNode>(u'a', u'z', options_),
        pool_.Make<CharRangeNode>(u'A', u'Z', options_),
        pool_.Make<CharRangeNode>(u'0', u'9', options_),
        pool_.Make<LiteralNode>(u"_"),
    });
}

RegexNode* RegexCompiler::MakeSpaceClass() {
    std::vector<RegexNode*> members;
    for (char16_t member : kSpaceCharacters) {
        members.push_back(pool_.Make<LiteralNode>(std::u16string(1, member)));
    }
    return pool_.Make<AlternationNode>(std::move(members));
}

void RegexCompiler::ReadQuoted() {
    const std::size_t end = pattern_.find(u"\\E", at_);
    const std::size_t stop = end == std::u16string_view::npos ? pattern_.size() : end;
    std::u16string text(pattern_.substr(at_, stop - at_));
    at_ = end == std::u16string_view::npos ? pattern_.size() : end + 2;
    if (!text.empty()) {
        AppendLiteral(std::move(text));
    }
}

void RegexCompiler::ReadBackReference() {
    // The longest run of digits that names a closed group; the digits dropped from its end
    // are read again as literals.
    const std::size_t first = at_ - 1;
    std::size_t end = first;
    while (end < pattern_.size() && IsDigit(pattern_[end])) {
        ++end;
    }
    for (std::size_t length = end - first; length > 0; --length) {
        std::size_t number = 0;
        for (std::size_t i = first; i < first + length; ++i) {
            number = std::min(kCountCeiling, number * 10 + (pattern_[i] - u'0'));
        }
        if (number <= static_cast<std::size_t>(kMaxGroupNumber) && closed_.test(number)) {
            at_ = first + length;
            Append(pool_.Make<BackReferenceNode>(*captures_[number]));
            return;
        }
    }
    throw REGEXPERROR::UnknownGroup;
}

}  // namespace velmora::regex
