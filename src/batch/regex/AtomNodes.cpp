#include "batch/regex/AtomNodes.h"

#include <cwctype>

#include "batch/regex/StructureNodes.h"

namespace velmora::regex {

namespace {

bool IsWordChar(char16_t c) {
    return c == u'_' || std::iswalnum(static_cast<std::wint_t>(c)) != 0;
}

bool StartsWithAt(std::u16string_view subject, std::size_t position, std::u16string_view text) {
    return position <= subject.size() && subject.substr(position).starts_with(text);
}

bool EndsWithAt(std::u16string_view subject, std::size_t position, std::u16string_view text) {
    return position <= subject.size() && text.size() <= position &&
           subject.substr(position - text.size(), text.size()) == text;
}

}  // namespace

bool IsLineTerminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
}

bool LiteralNode::MatchForward(Matcher& matcher, std::size_t& position) {
    if (!StartsWithAt(matcher.Subject(), position, text_)) {
        return false;
    }
    position += text_.size();
    return true;
}

bool LiteralNode::MatchBackward(Matcher& matcher, std::size_t& position) {
    if (!EndsWithAt(matcher.Subject(), position, text_)) {
        return false;
    }
    position -= text_.size();
    return true;
}

bool AnyCharNode::MatchForward(Matcher& matcher, std::size_t& position) {
    if (position >= matcher.Subject().size()) {
        return false;
    }
    ++position;
    return true;
}

bool AnyCharNode::MatchBackward(Matcher&, std::size_t& position) {
    if (position == 0) {
        return false;
    }
    --position;
    return true;
}

bool LineStartNode::MatchForward(Matcher& matcher, std::size_t& position) {
    return position == 0 ||
           (options_.multiline && IsLineTerminator(matcher.Subject()[position - 1]));
}

bool LineEndNode::MatchForward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view subject = matcher.Subject();
    return position == subject.size() ||
           (options_.multiline && IsLineTerminator(subject[position]));
}

bool WordBoundaryNode::MatchForward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view subject = matcher.Subject();
    const bool before = position > 0 && IsWordChar(subject[position - 1]);
    const bool after = position < subject.size() && IsWordChar(subject[position]);
    return (before != after) != negated_;
}

bool CharRangeNode::Accepts(char16_t c) const {
    if (options_.multiline && IsLineTerminator(c)) {
        return false;
    }
    return low_ <= c && c <= high_;
}

bool CharRangeNode::MatchForward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view subject = matcher.Subject();
    if (position >= subject.size() || !Accepts(subject[position])) {
        return false;
    }
    ++position;
    return true;
}

bool CharRangeNode::MatchBackward(Matcher& matcher, std::size_t& position) {
    if (position == 0 || !Accepts(matcher.Subject()[position - 1])) {
        return false;
    }
    --position;
    return true;
}

void ExcludedSetNode::AddRange(char16_t low, char16_t high) {
    for (char32_t c = low; c <= high; ++c) {
        members_.push_back(static_cast<char16_t>(c));
    }
}

bool ExcludedSetNode::MatchForward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view subject = matcher.Subject();
    if (position >= subject.size() || !Accepts(subject[position])) {
        return false;
    }
    ++position;
    return true;
}

bool ExcludedSetNode::MatchBackward(Matcher& matcher, std::size_t& position) {
    if (position == 0 || !Accepts(matcher.Subject()[position - 1])) {
        return false;
    }
    --position;
    return true;
}

bool PositionMarker::MatchForward(Matcher& matcher, std::size_t& position) {
    if (records_) {
        matcher.Record(position_, position);
    }
    return true;
}

bool RepeatGuard::MatchForward(Matcher&, std::size_t& position) {
    return (position != roundStart_.Position()) == progressed_;
}

bool BackReferenceNode::MatchForward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view captured = group_.Captured(matcher.Subject());
    if (!StartsWithAt(matcher.Subject(), position, captured)) {
        return false;
    }
    position += captured.size();
    return true;
}

bool BackReferenceNode::MatchBackward(Matcher& matcher, std::size_t& position) {
    const std::u16string_view captured = group_.Captured(matcher.Subject());
    if (!EndsWithAt(matcher.Subject(), position, captured)) {
        return false;
    }
    position -= captured.size();
    return true;
}

}  // namespace velmora::regex
