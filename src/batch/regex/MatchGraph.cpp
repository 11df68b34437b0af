#include "batch/regex/MatchGraph.h"

#include "batch/regex/RegexError.h"

namespace velmora::regex {

MatchState& MatchGraph::NewState() {
    Charge(1);
    return states_.emplace_back();
}

MatchState& MatchGraph::Ensure(MatchState*& state) {
    if (state == nullptr) {
        state = &NewState();
    }
    return *state;
}

void MatchGraph::AddTransition(MatchState& from, RegexNode& node, MatchState& to) {
    Charge(1);
    from.transitions.push_back({&node, &to});
}

void MatchGraph::Connect(MatchState*& from, MatchState*& to) {
    if (from == nullptr && to == nullptr) {
        from = to = &NewState();
    } else if (to == nullptr) {
        to = from;
    } else if (from == nullptr) {
        from = to;
    } else if (from != to) {
        AddStep(*from, *to);
    }
}

void MatchGraph::Charge(std::size_t units) {
    if (units > kMaxSize - size_) {
        throw REGEXPERROR::TooComplex;
    }
    size_ += units;
}

}  // namespace velmora::regex
