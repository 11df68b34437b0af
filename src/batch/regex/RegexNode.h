#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "batch/regex/MatchGraph.h"
#include "batch/regex/RegexError.h"

namespace velmora::regex {

class Matcher;

// Sequences inside a look-behind are walked right to left.
enum class Direction { Forward, Backward };

// Base of every node of a compiled expression. Nodes are owned by the engine's NodePool and
// refer to each other by plain pointers; destroying the pool destroys them all without
// recursion, whatever the shape of the tree.
class RegexNode {
  public:
    virtual ~RegexNode() = default;
    RegexNode(const RegexNode&) = delete;
    RegexNode& operator=(const RegexNode&) = delete;

    virtual bool IsLiteral() const { return false; }
    // Adds this node's part of the graph between the two states, creating a missing one.
    virtual void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) = 0;
    // A node that can stand in a second place of the graph.
    virtual RegexNode* Clone(NodePool& pool) = 0;
    // True when the node matches at the position, which it then moves past what it consumed.
    virtual bool MatchForward(Matcher& matcher, std::size_t& position) = 0;
    // The same, consuming to the left of the position (inside look-behind).
    virtual bool MatchBackward(Matcher& matcher, std::size_t& position) = 0;

    // Height of the tree below this node; bounded so that linking and matching, which
    // recurse over the tree, cannot exhaust the stack.
    int Depth() const { return depth_; }

  protected:
    RegexNode() = default;
    void SetDepthAbove(const RegexNode& child) {
        if (child.depth_ + 1 > depth_) {
            depth_ = child.depth_ + 1;
        }
    }

  private:
    int depth_ = 1;
};

// Owns every node of an engine.
class NodePool {
  public:
    static constexpr int kMaxDepth = 400;
    static constexpr std::size_t kMaxNodes = 200'000;

    template <class T, class... Args>
    T* Make(Args&&... args) {
        if (nodes_.size() >= kMaxNodes) {
            throw REGEXPERROR::TooComplex;
        }
        auto node = std::make_unique<T>(std::forward<Args>(args)...);
        if (node->Depth() > kMaxDepth) {
            throw REGEXPERROR::TooComplex;
        }
        T* raw = node.get();
        nodes_.push_back(std::move(node));
        return raw;
    }

  private:
    std::vector<std::unique_ptr<RegexNode>> nodes_;
};

// A node that matches by itself: linked as one transition, and shareable between places.
class AtomNode : public RegexNode {
  public:
    void Link(MatchGraph& graph, MatchState*& in, MatchState*& out) override;
    RegexNode* Clone(NodePool&) override { return this; }
};

// A node that only shapes the graph; it never labels a transition.
class StructureNode : public RegexNode {
  public:
    bool MatchForward(Matcher&, std::size_t&) override { return false; }
    bool MatchBackward(Matcher&, std::size_t&) override { return false; }
};

}  // namespace velmora::regex
