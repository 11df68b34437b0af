#include "batch/regex/RegexEngine.h"

#include <algorithm>

#include "batch/regex/AtomNodes.h"
#include "batch/regex/MatchGraph.h"
#include "batch/regex/Matcher.h"
#include "batch/regex/RegexCompiler.h"
#include "batch/regex/StructureNodes.h"

namespace velmora::regex {

RegexEngine::RegexEngine() = default;
RegexEngine::~RegexEngine() = default;

void RegexEngine::Reset() {
    graph_.reset();
    pool_ = std::make_unique<NodePool>();
    groups_.fill(nullptr);
    start_ = nullptr;
    groupCount_ = 0;
    spans_.fill(std::nullopt);
    subject_.clear();
    exhausted_ = false;
}

void RegexEngine::Compile(std::u16string_view pattern) {
    Reset();
    // Option groups change the word for the rest of this pattern only.
    RegexOptions options = options_;
    RegexCompiler compiler(*pool_, options, groups_);
    GroupNode& whole = compiler.Compile(pattern);
    auto* step = pool_->Make<PositionMarker>(false);
    graph_ = std::make_unique<MatchGraph>(*pool_, *step);
    MatchState* start = &graph_->NewState();
    MatchState* end = &graph_->NewState();
    end->accepting = true;
    whole.Link(*graph_, start, end);
    start_ = start;
    for (const GroupNode* group : groups_) {
        if (group != nullptr) {
            groupCount_ = std::max(groupCount_, group->Number());
        }
    }
}

bool RegexEngine::Search(std::u16string_view subject) {
    spans_.fill(std::nullopt);
    exhausted_ = false;
    subject_.assign(subject);
    if (start_ == nullptr || subject_.empty()) {
        return false;
    }
    Matcher matcher(subject_, stepBudget_);
    bool found = false;
    for (std::size_t start = 0; start < subject_.size() && !found; ++start) {
        std::size_t position = start;
        found = matcher.Run(*start_, position, Direction::Forward);
        if (matcher.Exhausted()) {
            break;
        }
    }
    if (found) {
        KeepCaptures(subject_.size());
    }
    exhausted_ = matcher.Exhausted();
    // Markers go back to "not passed", so nothing stale survives into the next search.
    matcher.UndoAll();
    return found;
}

void RegexEngine::KeepCaptures(std::size_t subjectSize) {
    for (std::size_t n = 0; n < groups_.size(); ++n) {
        CaptureSpan span;
        if (groups_[n] != nullptr && groups_[n]->Captured(span.start, span.end, subjectSize)) {
            spans_[n] = span;
        }
    }
}

bool RegexEngine::HasGroup(std::u16string_view name) const {
    return std::any_of(groups_.begin() + 1, groups_.end(), [&](const GroupNode* group) {
        return group != nullptr && group->Name() == name;
    });
}

std::u16string RegexEngine::GroupText(std::u16string_view name) const {
    for (std::size_t n = 1; n < groups_.size(); ++n) {
        if (groups_[n] != nullptr && groups_[n]->Name() == name) {
            return GroupTextByNumber(static_cast<int>(n));
        }
    }
    throw REGEXPERROR::UnknownGroup;
}

std::vector<std::u16string> RegexEngine::GroupNames() const {
    std::vector<std::u16string> names;
    for (std::size_t n = 1; n < groups_.size(); ++n) {
        const GroupNode* group = groups_[n];
        if (group != nullptr && !group->Name().empty() &&
            std::find(names.begin(), names.end(), group->Name()) == names.end()) {
            names.push_back(group->Name());
        }
    }
    return names;
}

std::optional<CaptureSpan> RegexEngine::GroupSpan(int number) const {
    if (number < 0 || static_cast<std::size_t>(number) >= spans_.size()) {
        return std::nullopt;
    }
    return spans_[static_cast<std::size_t>(number)];
}

std::u16string RegexEngine::GroupTextByNumber(int number) const {
    const std::optional<CaptureSpan> span = GroupSpan(number);
    if (!span) {
        return {};
    }
    return subject_.substr(span->start, span->end - span->start);
}

}  // namespace velmora::regex
