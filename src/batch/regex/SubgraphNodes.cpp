#include "batch/regex/SubgraphNodes.h"

#include "batch/regex/Matcher.h"

namespace velmora::regex {

void SubgraphNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    if (start_ == nullptr) {
        MatchState* start = &graph.NewState();
        MatchState* end = &graph.NewState();
        end->accepting = true;
        child_.Link(graph, start, end);
        start_ = start;
    }
    AtomNode::Link(graph, in, out);
}

bool SubgraphNode::RunChild(Matcher& matcher, std::size_t& position, Direction direction) const {
    return start_ != nullptr && matcher.Run(*start_, position, direction);
}

bool LookaroundNode::MatchForward(Matcher& matcher, std::size_t& position) {
    std::size_t probe = position;
    const bool found = RunChild(matcher, probe, ahead_ ? Direction::Forward : Direction::Backward);
    return found == positive_;
}

}  // namespace velmora::regex
