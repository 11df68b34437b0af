// Compares the engine with Python's re over random patterns from the syntax on which the two
// agree (re_oracle.py makes them and says what is left out and why).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "batch/regex/RegexEngine.h"
#include "text/Utf8.h"

namespace velmora::regex {
namespace {

constexpr std::uint32_t kSeed = 20261206;
// Some random patterns backtrack exponentially; the comparison is about results, so it
// allows far more than the default budget (which only bounds the work, not the answer).
constexpr std::size_t kStepBudget = 50'000'000;

// The engine's answer in the oracle's format.
std::string EngineAnswer(RegexEngine& engine, const std::string& subject) {
    if (!engine.Search(text::FromUtf8(subject))) {
        return "N";
    }
    const auto span = engine.GroupSpan(0);
    std::string line = "M " + std::to_string(span->start) + " " + std::to_string(span->end) + " " +
                       std::to_string(engine.GroupCount());
    for (int g = 1; g <= engine.GroupCount(); ++g) {
        const std::u16string text = engine.GroupTextByNumber(g);
        line += "\t" + std::string(text.begin(), text.end());  // the subjects are ASCII
    }
    return line;
}

TEST(RegexDifferential, AgreesWithPythonOnRandomPatterns) {
    // Named per process: two test runs at once (two build trees) must not share the file.
    const std::string cases = ::testing::TempDir() + "regex_oracle_" + std::to_string(getpid());
    const std::string command = "python3 \"" VELMORA_SOURCE_DIR
                                "/tests/batch/regex/re_oracle.py\" " +
                                std::to_string(kSeed) + " \"" + cases + "\"";
    if (std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "python3 is not available";
    }
    std::ifstream in(cases);
    std::optional<RegexEngine> engine;
    std::string pattern;
    int subjects = 0;
    int matches = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("/")) {
            pattern = line.substr(1);
            engine.emplace().SetStepBudget(kStepBudget);
            ASSERT_NO_THROW(engine->Compile(text::FromUtf8(pattern))) << line;
            continue;
        }
        const std::string subject = line.substr(0, line.find('\t'));
        const std::string expected = line.substr(subject.size() + 1);
        ++subjects;
        matches += expected[0] == 'M' ? 1 : 0;
        // Python's answer on the right.
        EXPECT_EQ(EngineAnswer(*engine, subject), expected) << "/" << pattern << "/ on " << subject;
        EXPECT_FALSE(engine->BudgetExhausted()) << "/" << pattern << "/ on " << subject;
    }
    std::remove(cases.c_str());
    // The generator must produce a useful share of matches for the comparison to mean much.
    EXPECT_GT(matches, subjects / 4);
}

}  // namespace
}  // namespace velmora::regex
