#include "batch/regex/RegexEngine.h"
#include "fuzz/FuzzHarness.h"

namespace velmora::fuzz {
namespace {

using namespace regex;

void CheckGroups(const RegexEngine& engine, std::u16string_view subject) {
    for (int group = 0; group <= engine.GroupCount(); ++group) {
        const std::optional<CaptureSpan> span = engine.GroupSpan(group);
        Check(group != 0 || span.has_value(), "a match without a span");
        if (!span)
            continue;
        Check(span->start <= span->end && span->end <= subject.size(),
              "a group span outside the subject");
        Check(
            engine.GroupTextByNumber(group) == subject.substr(span->start, span->end - span->start),
            "a group text that is not its span");
    }
    for (const std::u16string& name : engine.GroupNames()) {
        Check(engine.HasGroup(name), "a listed group name is unknown");
        (void)engine.GroupText(name);
    }
}

}  // namespace

void RegexCompileSearch(Input input) {
    if (input.empty())
        return;
    const RegexOptions options{.caseSensitive = (input[0] & 1) != 0,
                               .multiline = (input[0] & 2) != 0,
                               .extended = (input[0] & 4) != 0};
    const std::vector<Input> parts = SplitAtZeros(input.subspan(1), 2);
    const std::u16string pattern = LenientUtf8(parts[0]);
    const std::u16string subject = parts.size() > 1 ? LenientUtf8(parts[1]) : u"";

    RegexEngine engine;
    engine.SetOptions(options);
    try {
        engine.Compile(pattern);
    } catch (REGEXPERROR error) {
        const int code = static_cast<int>(error);
        Check(code >= 0 && code <= static_cast<int>(REGEXPERROR::TooComplex), "unknown error");
        Check(!engine.Search(subject), "a pattern that failed to compile matched");
        return;
    }
    const bool found = engine.Search(subject);
    Check(!found || !subject.empty(), "the empty subject matched");
    Check(!(found && engine.BudgetExhausted()), "a match reported an exhausted budget");
    if (found)
        CheckGroups(engine, subject);
    else
        Check(!engine.GroupSpan(0).has_value(), "a failed search left a match span");

    const std::optional<CaptureSpan> first = engine.GroupSpan(0);
    const bool again = engine.Search(subject);
    const std::optional<CaptureSpan> second = engine.GroupSpan(0);
    Check(again == found && first.has_value() == second.has_value() &&
              (!first || (first->start == second->start && first->end == second->end)),
          "the same search gave another answer");
}

}  // namespace velmora::fuzz
