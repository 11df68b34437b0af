#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "batch/regex/MatchGraph.h"
#include "batch/regex/RegexNode.h"

namespace velmora::regex {

// Position value of a marker that has not been passed.
inline constexpr std::size_t kUnsetPosition = std::numeric_limits<std::size_t>::max();

// The depth-first backtracking walk over a match graph, for one search of one subject.
// It keeps its choice points on an explicit stack, so the subject length never deepens the
// call stack, and it counts steps: once the budget is spent every run fails, which ends a
// pathological search as "no match" instead of hanging the caller.
//
// Marker positions are written through Record, which keeps a trail of old values; a step
// back restores them, so after a success the markers describe exactly the final path.
class Matcher {
  public:
    Matcher(std::u16string_view subject, std::size_t stepBudget)
        : subject_(subject), budget_(stepBudget) {}
    Matcher(const Matcher&) = delete;
    Matcher& operator=(const Matcher&) = delete;

    std::u16string_view Subject() const { return subject_; }
    bool Exhausted() const { return exhausted_; }

    // Walks from the state at the position in the given direction. On success the position
    // is where the accepting state was reached and the markers passed keep their values.
    bool Run(const MatchState& start, std::size_t& position, Direction direction);

    void Record(std::size_t& slot, std::size_t position);
    // Restores every marker written since the search began.
    void UndoAll() { UndoTo(0); }

  private:
    struct ChoicePoint {
        const MatchState* state;
        std::size_t nextTransition;
        std::size_t position;
        std::size_t trailMark;
    };
    struct TrailEntry {
        std::size_t* slot;
        std::size_t previous;
    };

    bool Tick();
    void UndoTo(std::size_t mark);

    std::u16string_view subject_;
    std::size_t budget_;
    std::size_t steps_ = 0;
    bool exhausted_ = false;
    std::vector<ChoicePoint> stack_;
    std::vector<TrailEntry> trail_;
};

}  // namespace velmora::regex
