#include "batch/regex/RegexCompiler.h"

#include <algorithm>
#include <utility>

#include "batch/regex/SubgraphNodes.h"

namespace velmora::regex {

namespace {

bool IsExtendedSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

}  // namespace

GroupNode& RegexCompiler::Compile(std::u16string_view pattern) {
    // The pattern ends at its first NUL, as a C string would.
    pattern_ = pattern.substr(0, pattern.find(u'\0'));
    at_ = 0;
    levels_.assign(1, Level{});
    while (!AtEnd()) {
        const char16_t c = pattern_[at_++];
        if (options_.extended && IsExtendedSpace(c)) {
            continue;
        }
        ReadConstruct(c);
    }
    if (!groups_.empty()) {
        throw REGEXPERROR::UnclosedGroup;
    }
    GroupNode* whole = MakeGroup(*CloseLevel(), 0, {});
    captures_[0] = whole;
    return *whole;
}

void RegexCompiler::ReadConstruct(char16_t c) {
    switch (c) {
        case u'^':
            Append(pool_.Make<LineStartNode>(options_));
            break;
        case u'$':
            Append(pool_.Make<LineEndNode>(options_));
            break;
        case u'.':
            Append(pool_.Make<AnyCharNode>());
            break;
        case u'*':
            Quantify(0, RepeatNode::kUnbounded);
            break;
        case u'+':
            Quantify(1, RepeatNode::kUnbounded);
            break;
        case u'?':
            Quantify(0, 1);
            break;
        case u'{':
            ReadBraceQuantifier();
            break;
        case u'[':
            ReadClass();
            break;
        case u'\\':
            ReadEscape();
            break;
        case u'(':
            OpenGroup();
            break;
        case u')':
            CloseGroup();
            break;
        case u'|':
            Alternate();
            break;
        default:
            AppendLiteral(std::u16string(1, c));
            break;
    }
}

Direction RegexCompiler::CurrentDirection() const {
    for (auto record = groups_.rbegin(); record != groups_.rend(); ++record) {
        if (record->lookaround) {
            return record->ahead ? Direction::Forward : Direction::Backward;
        }
    }
    return Direction::Forward;
}

void RegexCompiler::Append(RegexNode* node) {
    // Literal characters gather into one text, so that a quantifier still sees only the
    // last character: in abc* only the c repeats.
    std::vector<RegexNode*>& operands = levels_.back().operands;
    const std::size_t n = operands.size();
    if (n >= 2 && operands[n - 1]->IsLiteral() && operands[n - 2]->IsLiteral()) {
        static_cast<LiteralNode*>(operands[n - 2])
            ->Append(static_cast<LiteralNode*>(operands[n - 1])->Text());
        operands.pop_back();
    }
    operands.push_back(node);
}

void RegexCompiler::AppendLiteral(std::u16string text) {
    Append(pool_.Make<LiteralNode>(std::move(text)));
}

RegexNode* RegexCompiler::MakeSequence(std::vector<RegexNode*> operands) {
    if (operands.size() == 1) {
        return operands.front();
    }
    std::vector<RegexNode*> elements;
    for (RegexNode* node : operands) {
        if (!elements.empty() && elements.back()->IsLiteral() && node->IsLiteral()) {
            static_cast<LiteralNode*>(elements.back())
                ->Append(static_cast<LiteralNode*>(node)->Text());
        } else {
            elements.push_back(node);
        }
    }
    // Joined first, reversed second: a literal matched backward still compares its text
    // in reading order, ending at the position.
    if (CurrentDirection() == Direction::Backward) {
        std::reverse(elements.begin(), elements.end());
    }
    return pool_.Make<SequenceNode>(std::move(elements));
}

RegexNode* RegexCompiler::CloseLevel() {
    Level& level = levels_.back();
    RegexNode* sequence = MakeSequence(std::move(level.operands));
    level.operands.clear();
    if (level.pendingAlternation == nullptr) {
        return sequence;
    }
    return pool_.Make<AlternationNode>(std::vector<RegexNode*>{level.pendingAlternation, sequence});
}

void RegexCompiler::Alternate() {
    // a|b|c groups from the left as ((a|b)|c); the order of trying is the same.
    levels_.back().pendingAlternation = CloseLevel();
}

void RegexCompiler::OpenGroup() {
    if (AtEnd()) {
        throw REGEXPERROR::UnclosedGroup;
    }
    if (pattern_[at_] == u'#') {
        const std::size_t close = pattern_.find(u')', at_);
        if (close == std::u16string_view::npos) {
            throw REGEXPERROR::UnclosedGroup;
        }
        at_ = close + 1;
        return;
    }
    GroupRecord record;
    if (pattern_[at_] != u'?') {
        record.capturing = true;
    } else {
        ++at_;
        if (!ReadGroupKind(record)) {
            return;
        }
    }
    if (record.capturing) {
        record.number = ++groupCount_;
    }
    groups_.push_back(std::move(record));
    levels_.emplace_back();
}

bool RegexCompiler::ReadGroupKind(GroupRecord& record) {
    if (AtEnd()) {
        throw REGEXPERROR::UnterminatedConstruct;
    }
    const char16_t c = pattern_[at_];
    const bool behind = c == u'<' && at_ + 1 < pattern_.size() &&
                        (pattern_[at_ + 1] == u'=' || pattern_[at_ + 1] == u'!');
    if (c == u'P') {
        ++at_;
        if (AtEnd() || pattern_[at_] != u'<') {
            throw REGEXPERROR::MalformedBraceOrName;
        }
        const std::size_t close = pattern_.find(u'>', ++at_);
        if (close == std::u16string_view::npos) {
            throw REGEXPERROR::UnterminatedConstruct;
        }
        record.capturing = true;
        record.name = std::u16string(pattern_.substr(at_, close - at_));
        at_ = close + 1;
    } else if (c == u'>') {
        ++at_;
        record.capturing = record.atomic = true;
    } else if (c == u':') {
        ++at_;
    } else if (c == u'=' || c == u'!') {
        ++at_;
        record.lookaround = record.ahead = true;
        record.positive = c == u'=';
    } else if (behind) {
        record.lookaround = true;
        record.positive = pattern_[at_ + 1] == u'=';
        at_ += 2;
    } else {
        ReadOptionGroup();
        return false;
    }
    return true;
}

void RegexCompiler::ReadOptionGroup() {
    // (?on) or (?on-off) over the letters i, m and x; holds to the end of the pattern.
    bool on = true;
    while (true) {
        if (AtEnd()) {
            throw REGEXPERROR::UnterminatedConstruct;
        }
        const char16_t c = pattern_[at_++];
        if (c == u')') {
            return;
        }
        if (c == u'-' && on) {
            on = false;
        } else if (c == u'i') {
            options_.caseSensitive = !on;
        } else if (c == u'm') {
            options_.multiline = on;
        } else if (c == u'x') {
            options_.extended = on;
        } else {
            throw REGEXPERROR::BadOption;
        }
    }
}

void RegexCompiler::CloseGroup() {
    if (groups_.empty()) {
        throw REGEXPERROR::UnmatchedParenthesis;
    }
    RegexNode* content = CloseLevel();
    GroupRecord record = std::move(groups_.back());
    groups_.pop_back();
    levels_.pop_back();
    RegexNode* result = content;
    if (record.capturing) {
        if (record.number > kMaxGroupNumber) {
            throw REGEXPERROR::TooManyGroups;
        }
        if (record.atomic) {
            content = pool_.Make<AtomicNode>(*content);
        }
        GroupNode* group = MakeGroup(*content, record.number, std::move(record.name));
        captures_[record.number] = group;
        closed_.set(record.number);
        result = group;
    } else if (record.lookaround) {
        result = pool_.Make<LookaroundNode>(*content, record.positive, record.ahead);
    }
    Append(result);
}

GroupNode* RegexCompiler::MakeGroup(RegexNode& child, int number, std::u16string name) {
    // Groups inside a look-behind (at any depth, until a look-ahead turns forward again)
    // are matched right to left like the sequences there: the walk meets the end marker
    // first and the start marker last, so the group still captures its text in reading
    // order. Groups share the direction of the level they stand in.
    auto* start = pool_.Make<PositionMarker>();
    auto* end = pool_.Make<PositionMarker>();
    return pool_.Make<GroupNode>(child, number, std::move(name), *start, *end,
                                 CurrentDirection() == Direction::Backward);
}

}  // namespace velmora::regex
