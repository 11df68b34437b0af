#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "batch/regex/AtomNodes.h"
#include "batch/regex/RegexNode.h"

namespace velmora::regex {

// Nodes in a row. Inside a look-behind the compiler stores them right to left.
class SequenceNode : public StructureNode {
  public:
    explicit SequenceNode(std::vector<RegexNode*> elements);
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;
    RegexNode* Clone(NodePool& pool) override;

  private:
    std::vector<RegexNode*> elements_;
};

// Alternatives tried in order; an alternation without alternatives (the class "[]") leaves
// its in-state a dead end.
class AlternationNode : public StructureNode {
  public:
    explicit AlternationNode(std::vector<RegexNode*> alternatives);
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;
    RegexNode* Clone(NodePool& pool) override;

  private:
    std::vector<RegexNode*> alternatives_;
};

// A repetition between min and max rounds of its child. Greedy forms try more rounds
// first, lazy ones fewer. A bounded optional part is a choice between whole runs of k
// copies (most first when greedy), not a chain of single rounds.
class RepeatNode : public StructureNode {
  public:
    static constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

    RepeatNode(std::size_t min, std::size_t max, bool greedy, RegexNode& child);
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;
    RegexNode* Clone(NodePool& pool) override;

  private:
    // Links `count` copies of the child in a row from `from` to `to` (a missing `to` is
    // created; zero copies joins the two states).
    void LinkCopies(MatchGraph& graph, MatchState*& from, MatchState*& to, std::size_t count);
    void LinkLoop(MatchGraph& graph, MatchState& from, MatchState& out);
    void LinkChoices(MatchGraph& graph, MatchState& from, MatchState& out);

    std::size_t min_;
    std::size_t max_;
    bool greedy_;
    RegexNode& child_;
};

// A capturing group: its child between a start and an end marker. Copies made for a
// repetition share the markers, so the group holds what its last pass captured.
class GroupNode : public StructureNode {
  public:
    // `backward` groups sit inside a look-behind: the walk meets their end marker first.
    GroupNode(RegexNode& child, int number, std::u16string name, PositionMarker& start,
              PositionMarker& end, bool backward);
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;
    RegexNode* Clone(NodePool& pool) override;

    int Number() const { return number_; }
    const std::u16string& Name() const { return name_; }
    // The text between the markers, or empty when they were not both passed in order.
    std::u16string_view Captured(std::u16string_view subject) const;
    bool Captured(std::size_t& start, std::size_t& end, std::size_t subjectSize) const;

  private:
    RegexNode& child_;
    int number_;
    std::u16string name_;
    PositionMarker& start_;
    PositionMarker& end_;
    bool backward_;
};

}  // namespace velmora::regex
