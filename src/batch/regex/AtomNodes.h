#pragma once

#include <cstddef>
#include <string>

#include "batch/regex/Matcher.h"
#include "batch/regex/RegexNode.h"
#include "batch/regex/RegexOptions.h"

namespace velmora::regex {

// LF, CR, NEL, LINE SEPARATOR and PARAGRAPH SEPARATOR.
bool IsLineTerminator(char16_t c);

// Literal text, compared code unit by code unit.
class LiteralNode : public AtomNode {
  public:
    explicit LiteralNode(std::u16string text) : text_(std::move(text)) {}
    bool IsLiteral() const override { return true; }
    const std::u16string& Text() const { return text_; }
    void Append(const std::u16string& more) { text_ += more; }
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override;

  private:
    std::u16string text_;
};

// ".": any one character, line terminators included.
class AnyCharNode : public AtomNode {
  public:
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override;
};

// "^".
class LineStartNode : public AtomNode {
  public:
    explicit LineStartNode(RegexOptions options) : options_(options) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    RegexOptions options_;
};

// "$".
class LineEndNode : public AtomNode {
  public:
    explicit LineEndNode(RegexOptions options) : options_(options) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    RegexOptions options_;
};

// "\b" and "\B". Word characters are those iswalnum accepts, and "_".
class WordBoundaryNode : public AtomNode {
  public:
    explicit WordBoundaryNode(bool negated) : negated_(negated) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    bool negated_;
};

// One character within an inclusive range. With multiline on, line terminators never match.
class CharRangeNode : public AtomNode {
  public:
    CharRangeNode(char16_t low, char16_t high, RegexOptions options)
        : low_(low), high_(high), options_(options) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override;

  private:
    bool Accepts(char16_t c) const;

    char16_t low_;
    char16_t high_;
    RegexOptions options_;
};

// One character outside a set of members; an empty set admits every character.
class ExcludedSetNode : public AtomNode {
  public:
    void AddMember(char16_t c) { members_.push_back(c); }
    void AddRange(char16_t low, char16_t high);
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override;

  private:
    bool Accepts(char16_t c) const { return members_.find(c) == std::u16string::npos; }

    std::u16string members_;
};

// Records the position in itself when passed; the group start and end markers. The engine's
// shared step is a marker that records nothing.
class PositionMarker : public AtomNode {
  public:
    explicit PositionMarker(bool records = true) : records_(records) {}
    std::size_t Position() const { return position_; }
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    bool records_;
    std::size_t position_ = kUnsetPosition;
};

// Guards an unbounded repetition: compares the position with the one recorded when the
// current round of the body began, passing only when the round consumed something (or only
// when it consumed nothing).
class RepeatGuard : public AtomNode {
  public:
    RepeatGuard(const PositionMarker& roundStart, bool progressed)
        : roundStart_(roundStart), progressed_(progressed) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    const PositionMarker& roundStart_;
    bool progressed_;
};

class GroupNode;

// "\1" to "\255": the text the group currently holds.
class BackReferenceNode : public AtomNode {
  public:
    explicit BackReferenceNode(const GroupNode& group) : group_(group) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override;

  private:
    const GroupNode& group_;
};

}  // namespace velmora::regex
