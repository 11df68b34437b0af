#include "batch/regex/RegexNode.h"

namespace velmora::regex {

void AtomNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    MatchState& from = graph.Ensure(in);
    graph.AddTransition(from, *this, graph.Ensure(out));
}

}  // namespace velmora::regex
