#pragma once

#include <cstddef>
#include <deque>
#include <vector>

namespace velmora::regex {

class RegexNode;
class NodePool;

struct MatchState;

// One labelled edge: the matcher may move to the target when the node matches.
struct Transition {
    RegexNode* node;
    MatchState* target;
};

// Transitions are tried in the order they were added; that order is the engine's whole
// notion of priority. Only the end state of a graph or sub-graph accepts, so a state left
// without transitions by an empty class is a dead end rather than a success.
struct MatchState {
    std::vector<Transition> transitions;
    bool accepting = false;
};

// Owns every state of an engine (its main graph and the private sub-graphs of atomic and
// look-around nodes) and bounds their number, so a pattern such as a{999}{999} fails to
// compile instead of exhausting memory.
class MatchGraph {
  public:
    static constexpr std::size_t kMaxSize = 400'000;

    MatchGraph(NodePool& pool, RegexNode& step) : pool_(pool), step_(step) {}
    MatchGraph(const MatchGraph&) = delete;
    MatchGraph& operator=(const MatchGraph&) = delete;

    MatchState& NewState();
    // Creates the state when the pointer is still null.
    MatchState& Ensure(MatchState*& state);
    void AddTransition(MatchState& from, RegexNode& node, MatchState& to);
    // An always-true step that consumes nothing.
    void AddStep(MatchState& from, MatchState& to) { AddTransition(from, step_, to); }
    // Joins two points: the missing one becomes the other, or a step links them.
    void Connect(MatchState*& from, MatchState*& to);
    // Accounts for memory that is not a state (the text of joined literal copies).
    void Charge(std::size_t units);

    NodePool& Pool() { return pool_; }

  private:
    NodePool& pool_;
    RegexNode& step_;
    std::deque<MatchState> states_;
    std::size_t size_ = 0;
};

}  // namespace velmora::regex
