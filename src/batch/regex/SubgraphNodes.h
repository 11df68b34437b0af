#pragma once

#include <cstddef>

#include "batch/regex/RegexNode.h"

namespace velmora::regex {

// Base of the nodes that run their child as a private sub-graph. The sub-graph is built on
// the first link and shared by every place the node stands in (a node of this kind is an
// atom: its clone is itself).
class SubgraphNode : public AtomNode {
  public:
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;

  protected:
    explicit SubgraphNode(RegexNode& child) : child_(child) { SetDepthAbove(child); }
    // Walks the sub-graph from the position; on success the position is where it ended.
    bool RunChild(Matcher& matcher, std::size_t& position, Direction direction) const;

  private:
    RegexNode& child_;
    MatchState* start_ = nullptr;
};

// "(?>...)" and possessive quantifiers: the first way through the child is the only one.
class AtomicNode : public SubgraphNode {
  public:
    explicit AtomicNode(RegexNode& child) : SubgraphNode(child) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override {
        return RunChild(matcher, position, Direction::Forward);
    }
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return RunChild(matcher, position, Direction::Backward);
    }
};

// "(?=...)", "(?!...)", "(?<=...)", "(?<!...)": tests the child without consuming. Groups
// captured by a positive look-around that succeeded keep their text.
class LookaroundNode : public SubgraphNode {
  public:
    LookaroundNode(RegexNode& child, bool positive, bool ahead)
        : SubgraphNode(child), positive_(positive), ahead_(ahead) {}
    bool MatchForward(Matcher& matcher, std::size_t& position) override;
    bool MatchBackward(Matcher& matcher, std::size_t& position) override {
        return MatchForward(matcher, position);
    }

  private:
    bool positive_;
    bool ahead_;
};

}  // namespace velmora::regex
