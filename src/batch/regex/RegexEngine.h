#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/regex/RegexError.h"
#include "batch/regex/RegexOptions.h"

namespace velmora::regex {

class NodePool;
class MatchGraph;
class GroupNode;
struct MatchState;

// Where a group's text lies in the last subject searched: [start, end).
struct CaptureSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};

// A regular expression over UTF-16 text, compiled once and searched any number of times.
//
//   RegexEngine engine;
//   engine.Compile(u"(?P<artist>.*) - (?P<title>.*)\\.mp3");   // throws REGEXPERROR
//   if (engine.Search(fileName)) { auto artist = engine.GroupText(u"artist"); }
//
// Matching is exact (the case-insensitive option changes nothing), "." matches line
// terminators, "\w" is ASCII, and the position after the last character is never tried
// as the start of a match, so an empty subject never matches.
class RegexEngine {
  public:
    static constexpr std::size_t kDefaultStepBudget = 1'000'000;

    RegexEngine();
    ~RegexEngine();
    RegexEngine(const RegexEngine&) = delete;
    RegexEngine& operator=(const RegexEngine&) = delete;

    // The options in force when compiling begins; option groups change them from there.
    const RegexOptions& Options() const { return options_; }
    void SetOptions(const RegexOptions& options) { options_ = options; }

    // Compiles the pattern (up to its first NUL). Throws REGEXPERROR on the first error,
    // after which the engine matches nothing. Compiling again replaces the pattern.
    void Compile(std::u16string_view pattern);

    // Searches the subject from each start position in turn; true on the first match,
    // after which the groups describe that match. A search that exceeds the step budget
    // ends as no match (see BudgetExhausted).
    bool Search(std::u16string_view subject);

    // True when a capturing group of that name exists (exact comparison).
    bool HasGroup(std::u16string_view name) const;
    // The text the lowest-numbered group of that name captured in the last successful
    // search; empty when the group took no part in it. Throws REGEXPERROR::UnknownGroup
    // when no group has the name.
    std::u16string GroupText(std::u16string_view name) const;
    // Names of the named groups in group-number order (a repeated name appears once).
    std::vector<std::u16string> GroupNames() const;

    // Number of capturing groups, group 0 not counted.
    int GroupCount() const { return groupCount_; }
    // Span of group `number` (0 is the whole match) in the last successful search, or
    // nothing when the group took no part in it or the search failed.
    std::optional<CaptureSpan> GroupSpan(int number) const;
    std::u16string GroupTextByNumber(int number) const;

    void SetStepBudget(std::size_t steps) { stepBudget_ = steps; }
    // True when the last search was cut short by the step budget.
    bool BudgetExhausted() const { return exhausted_; }

  private:
    void Reset();
    void KeepCaptures(std::size_t subjectSize);

    RegexOptions options_;
    std::unique_ptr<NodePool> pool_;
    std::unique_ptr<MatchGraph> graph_;
    std::array<GroupNode*, 256> groups_{};
    const MatchState* start_ = nullptr;
    int groupCount_ = 0;

    std::size_t stepBudget_ = kDefaultStepBudget;
    bool exhausted_ = false;
    std::u16string subject_;
    std::array<std::optional<CaptureSpan>, 256> spans_{};
};

}  // namespace velmora::regex
