// Compares the engine with Python's re over random patterns from the syntax on which the two
// agree (see RandomPattern.h for what is left out and why).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "RandomPattern.h"
#include "RegexTestSupport.h"
#include "batch/regex/RegexEngine.h"

namespace velmora::regex {
namespace {

using testing::U16;

constexpr std::uint32_t kSeed = 20261206;
constexpr int kPatterns = 3000;
constexpr int kSubjectsPerPattern = 6;
// Some random patterns backtrack exponentially; the comparison is about results, so it
// allows far more than the default budget (which only bounds the work, not the answer).
constexpr std::size_t kStepBudget = 50'000'000;

struct Case {
    std::string pattern;
    std::vector<std::string> subjects;
};

// One answer line per subject, in re_oracle.py's format; empty when Python is not available.
std::vector<std::string> AskPython(const std::vector<Case>& cases) {
    // Named per process: two test runs at once (two build trees) must not share the files.
    const std::string stem = ::testing::TempDir() + "regex_oracle_" + std::to_string(getpid());
    const std::string question = stem + "_in.txt";
    const std::string answer = stem + "_out.txt";
    {
        std::ofstream out(question);
        for (const Case& c : cases) {
            out << c.pattern;
            for (const std::string& subject : c.subjects) {
                out << '\t' << subject;
            }
            out << '\n';
        }
    }
    const std::string command = "python3 \"" VELMORA_SOURCE_DIR
                                "/tests/batch/regex/re_oracle.py\" \"" +
                                question + "\" \"" + answer + "\"";
    std::vector<std::string> answers;
    if (std::system(command.c_str()) == 0) {
        std::ifstream in(answer);
        for (std::string line; std::getline(in, line);) {
            answers.push_back(line);
        }
    }
    std::remove(question.c_str());
    std::remove(answer.c_str());
    return answers;
}

// The engine's answer in the oracle's format.
std::string EngineAnswer(RegexEngine& engine, const std::string& subject) {
    if (!engine.Search(U16(subject))) {
        return "N";
    }
    const auto span = engine.GroupSpan(0);
    std::string line = "M " + std::to_string(span->start) + " " + std::to_string(span->end) + " " +
                       std::to_string(engine.GroupCount());
    for (int g = 1; g <= engine.GroupCount(); ++g) {
        line += "\t" + testing::Printable(engine.GroupTextByNumber(g));
    }
    return line;
}

TEST(RegexDifferential, AgreesWithPythonOnRandomPatterns) {
    testing::RandomPattern generator(kSeed);
    std::vector<Case> cases;
    for (int i = 0; i < kPatterns; ++i) {
        Case c{generator.Next(), {}};
        for (int s = 0; s < kSubjectsPerPattern; ++s) {
            c.subjects.push_back(generator.Subject());
        }
        cases.push_back(std::move(c));
    }
    const std::vector<std::string> answers = AskPython(cases);
    if (answers.empty()) {
        GTEST_SKIP() << "python3 is not available";
    }
    ASSERT_EQ(answers.size(), cases.size() * kSubjectsPerPattern);
    int failures = 0;
    int matches = 0;
    std::size_t next = 0;
    for (const Case& c : cases) {
        RegexEngine engine;
        engine.SetStepBudget(kStepBudget);
        ASSERT_NO_THROW(engine.Compile(U16(c.pattern))) << "/" << c.pattern << "/";
        for (const std::string& subject : c.subjects) {
            const std::string& expected = answers[next++];
            matches += expected[0] == 'M' ? 1 : 0;
            const std::string actual = EngineAnswer(engine, subject);
            EXPECT_FALSE(engine.BudgetExhausted()) << "/" << c.pattern << "/ \"" << subject << "\"";
            if (actual != expected) {
                ADD_FAILURE() << "/" << c.pattern << "/ on \"" << subject << "\": engine ["
                              << actual << "], Python [" << expected << "]";
                ASSERT_LT(++failures, 20) << "stopping after 20 disagreements";
            }
        }
    }
    // The generator must produce a useful share of matches for the comparison to mean much.
    EXPECT_GT(matches, static_cast<int>(answers.size()) / 4);
}

}  // namespace
}  // namespace velmora::regex
