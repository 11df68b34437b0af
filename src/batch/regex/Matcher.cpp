#include "batch/regex/Matcher.h"

namespace velmora::regex {

bool Matcher::Run(const MatchState& start, std::size_t& position, Direction direction) {
    const std::size_t base = stack_.size();
    const std::size_t trailBase = trail_.size();
    stack_.push_back({&start, 0, position, trailBase});
    while (stack_.size() > base) {
        if (!Tick()) {
            break;
        }
        ChoicePoint& point = stack_.back();
        UndoTo(point.trailMark);
        if (point.state->accepting) {
            position = point.position;
            stack_.resize(base);
            return true;
        }
        const std::vector<Transition>& transitions = point.state->transitions;
        if (point.nextTransition == transitions.size()) {
            stack_.pop_back();
            continue;
        }
        const Transition& transition = transitions[point.nextTransition++];
        std::size_t at = point.position;
        if (point.nextTransition == transitions.size()) {
            // Nothing is left to try here: a failure below goes straight back to the
            // point before, which undoes the markers itself. Keeps straight runs of the
            // graph off the stack.
            stack_.pop_back();
        }
        // Atomic and look-around nodes run nested walks on the same stack, so `point`
        // must not be used after the node has matched.
        const bool matched = direction == Direction::Forward
                                 ? transition.node->MatchForward(*this, at)
                                 : transition.node->MatchBackward(*this, at);
        if (matched) {
            stack_.push_back({transition.target, 0, at, trail_.size()});
        }
    }
    UndoTo(trailBase);
    stack_.resize(base);
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
