#include "batch/regex/Matcher.h"

namespace velmora::regex {

bool Matcher::Run(const MatchState& start, std::size_t& position, Direction direction) {
    const std::size_t base = stack_.size();
    stack_.push_back({&start, 0, position, trail_.size()});
    while (stack_.size() > base) {
        if (!Tick()) {
            UndoTo(stack_[base].trailMark);
            stack_.resize(base);
            return false;
        }
        ChoicePoint& point = stack_.back();
        UndoTo(point.trailMark);
        if (point.state->accepting) {
            position = point.position;
            stack_.resize(base);
            return true;
        }
        if (point.nextTransition == point.state->transitions.size()) {
            stack_.pop_back();
            continue;
        }
        const Transition& transition = point.state->transitions[point.nextTransition++];
        std::size_t at = point.position;
        // Atomic and look-around nodes run nested walks on the same stack, so `point`
        // must not be used after the node has matched.
        const bool matched = direction == Direction::Forward
                                 ? transition.node->MatchForward(*this, at)
                                 : transition.node->MatchBackward(*this, at);
        if (matched) {
            stack_.push_back({transition.target, 0, at, trail_.size()});
        }
    }
    return false;
}

void Matcher::Record(std::size_t& slot, std::size_t position) {
    trail_.push_back({&slot, slot});
    slot = position;
}

bool Matcher::Tick() {
    if (!exhausted_ && ++steps_ > budget_) {
        exhausted_ = true;
    }
    return !exhausted_;
}

void Matcher::UndoTo(std::size_t mark) {
    while (trail_.size() > mark) {
        *trail_.back().slot = trail_.back().previous;
        trail_.pop_back();
    }
}

}  // namespace velmora::regex
