#include "batch/regex/StructureNodes.h"

namespace velmora::regex {

namespace {

std::vector<RegexNode*> CloneAll(const std::vector<RegexNode*>& nodes, NodePool& pool) {
    std::vector<RegexNode*> copies;
    copies.reserve(nodes.size());
    for (RegexNode* node : nodes) {
        copies.push_back(node->Clone(pool));
    }
    return copies;
}

}  // namespace

SequenceNode::SequenceNode(std::vector<RegexNode*> elements) : elements_(std::move(elements)) {
    for (const RegexNode* element : elements_) {
        SetDepthAbove(*element);
    }
}

void SequenceNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    if (elements_.empty()) {
        graph.Connect(in, out);
        return;
    }
    graph.Ensure(in);
    MatchState* current = in;
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        MatchState* next = i + 1 == elements_.size() ? out : nullptr;
        elements_[i]->Link(graph, current, next);
        current = next;
    }
    out = current;
}

RegexNode* SequenceNode::Clone(NodePool& pool) {
    return pool.Make<SequenceNode>(CloneAll(elements_, pool));
}

AlternationNode::AlternationNode(std::vector<RegexNode*> alternatives)
    : alternatives_(std::move(alternatives)) {
    for (const RegexNode* alternative : alternatives_) {
        SetDepthAbove(*alternative);
    }
}

void AlternationNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    // Both ends exist before any alternative is linked, so an empty alternative becomes a
    // step instead of merging the two states.
    MatchState& from = graph.Ensure(in);
    MatchState& to = graph.Ensure(out);
    for (RegexNode* alternative : alternatives_) {
        MatchState* a = &from;
        MatchState* b = &to;
        alternative->Link(graph, a, b);
    }
}

RegexNode* AlternationNode::Clone(NodePool& pool) {
    return pool.Make<AlternationNode>(CloneAll(alternatives_, pool));
}

RepeatNode::RepeatNode(std::size_t min, std::size_t max, bool greedy, RegexNode& child)
    : min_(min), max_(max), greedy_(greedy), child_(child) {
    SetDepthAbove(child);
}

RegexNode* RepeatNode::Clone(NodePool& pool) {
    return pool.Make<RepeatNode>(min_, max_, greedy_, *child_.Clone(pool));
}

void RepeatNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    graph.Ensure(in);
    MatchState* mandatoryEnd = nullptr;
    LinkCopies(graph, in, mandatoryEnd, min_);
    if (max_ == min_) {
        graph.Connect(mandatoryEnd, out);
        return;
    }
    graph.Ensure(out);
    // Fresh states keep the optional part's transitions apart from whatever else leaves
    // the in-state (the next alternative of an enclosing alternation, for one).
    MatchState& choice = graph.NewState();
    graph.AddStep(*mandatoryEnd, choice);
    if (max_ == kUnbounded) {
        LinkLoop(graph, choice, *out);
    } else {
        LinkChoices(graph, choice, *out);
    }
}

void RepeatNode::LinkCopies(MatchGraph& graph, MatchState*& from, MatchState*& to,
                            std::size_t count) {
    if (count == 0) {
        graph.Connect(from, to);
        return;
    }
    if (child_.IsLiteral()) {
        // Copies of a literal are one longer literal, compared in one step.
        const std::u16string& text = static_cast<LiteralNode&>(child_).Text();
        graph.Charge(text.size() * count);
        std::u16string joined;
        joined.reserve(text.size() * count);
        for (std::size_t i = 0; i < count; ++i) {
            joined += text;
        }
        graph.Pool().Make<LiteralNode>(std::move(joined))->Link(graph, from, to);
        return;
    }
    MatchState* current = from;
    for (std::size_t i = 0; i < count; ++i) {
        MatchState* next = i + 1 == count ? to : nullptr;
        RegexNode* copy = i == 0 ? &child_ : child_.Clone(graph.Pool());
        copy->Link(graph, current, next);
        current = next;
    }
    to = current;
}

void RepeatNode::LinkLoop(MatchGraph& graph, MatchState& loop, MatchState& out) {
    // loop --mark--> body --child--> roundEnd; from roundEnd back to the loop only when the
    // round consumed something, otherwise straight on: a round that matched nothing is
    // accepted but never followed by another, so (a*)* and (^)* cannot spin.
    auto* roundStart = graph.Pool().Make<PositionMarker>();
    auto* progressed = graph.Pool().Make<RepeatGuard>(*roundStart, true);
    auto* stalled = graph.Pool().Make<RepeatGuard>(*roundStart, false);
    MatchState& body = graph.NewState();
    MatchState* bodyIn = &body;
    MatchState* roundEnd = &graph.NewState();
    if (greedy_) {
        graph.AddTransition(loop, *roundStart, body);
        graph.AddStep(loop, out);
    } else {
        graph.AddStep(loop, out);
        graph.AddTransition(loop, *roundStart, body);
    }
    child_.Link(graph, bodyIn, roundEnd);
    graph.AddTransition(*roundEnd, *progressed, loop);
    graph.AddTransition(*roundEnd, *stalled, out);
}

void RepeatNode::LinkChoices(MatchGraph& graph, MatchState& choice, MatchState& out) {
    const std::size_t extra = max_ - min_;
    auto linkRun = [&](std::size_t count) {
        MatchState* from = &choice;
        MatchState* to = &out;
        LinkCopies(graph, from, to, count);
    };
    if (!greedy_) {
        graph.AddStep(choice, out);
    }
    for (std::size_t i = 0; i < extra; ++i) {
        linkRun(greedy_ ? extra - i : i + 1);
    }
    if (greedy_) {
        graph.AddStep(choice, out);
    }
}

GroupNode::GroupNode(RegexNode& child, int number, std::u16string name, PositionMarker& start,
                     PositionMarker& end, bool backward)
    : child_(child),
      number_(number),
      name_(std::move(name)),
      start_(start),
      end_(end),
      backward_(backward) {
    SetDepthAbove(child);
}

void GroupNode::Link(MatchGraph& graph, MatchState*& in, MatchState*& out) {
    PositionMarker& first = backward_ ? end_ : start_;
    PositionMarker& last = backward_ ? start_ : end_;
    MatchState* inner = nullptr;
    first.Link(graph, in, inner);
    MatchState* innerEnd = nullptr;
    child_.Link(graph, inner, innerEnd);
    last.Link(graph, innerEnd, out);
}

RegexNode* GroupNode::Clone(NodePool& pool) {
    return pool.Make<GroupNode>(*child_.Clone(pool), number_, name_, start_, end_, backward_);
}

bool GroupNode::Captured(std::size_t& start, std::size_t& end, std::size_t subjectSize) const {
    start = start_.Position();
    end = end_.Position();
    return start != kUnsetPosition && end != kUnsetPosition && start <= end && end <= subjectSize;
}

std::u16string_view GroupNode::Captured(std::u16string_view subject) const {
    std::size_t start = 0;
    std::size_t end = 0;
    if (!Captured(start, end, subject.size())) {
        return {};
    }
    return subject.substr(start, end - start);
}

}  // namespace velmora::regex
