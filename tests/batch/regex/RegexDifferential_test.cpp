// Compares the engine with Python's re over random patterns from the syntax on which the two
// agree (see RandomPattern.h for what is left out and why).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The oracle's answer for one subject.
struct Expected {
    bool compiled = true;
    bool matched = false;
    std::size_t start = 0;
    std::size_t end = 0;
    int groups = 0;
    std::vector<std::string> texts;
};

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out + "\"";
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

Expected ParseAnswer(const std::string& line) {
    Expected answer;
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    answer.compiled = tag != "E";
    answer.matched = tag == "M";
    if (answer.matched) {
        std::string texts;
        in >> answer.start >> answer.end >> answer.groups;
        std::getline(in, texts);
        if (!texts.empty() && texts.front() == ' ') {
            texts.erase(0, 1);
        }
        std::string hex;
        std::istringstream parts(texts);
        for (int g = 0; g < answer.groups; ++g) {
            std::getline(parts, hex, ',');
            answer.texts.push_back(FromHex(hex));
        }
    }
    return answer;
}

// Runs the oracle over every case; empty when Python is not available.
std::vector<Expected> AskPython(const std::vector<Case>& cases) {
    const std::string dir = ::testing::TempDir();
    const std::string question = dir + "regex_oracle_in.json";
    const std::string answer = dir + "regex_oracle_out.txt";
    {
        std::ofstream out(question);
        out << "[";
        for (std::size_t i = 0; i < cases.size(); ++i) {
            out << (i ? ",\n" : "") << "[" << JsonString(cases[i].pattern) << ",[";
            for (std::size_t s = 0; s < cases[i].subjects.size(); ++s) {
                out << (s ? "," : "") << JsonString(cases[i].subjects[s]);
            }
            out << "]]";
        }
        out << "]\n";
    }
    const std::string command = "python3 \"" VELMORA_SOURCE_DIR
                                "/tests/batch/regex/re_oracle.py\" \"" +
                                question + "\" \"" + answer + "\"";
    std::vector<Expected> answers;
    if (std::system(command.c_str()) != 0) {
        return answers;
    }
    std::ifstream in(answer);
    for (std::string line; std::getline(in, line);) {
        answers.push_back(ParseAnswer(line));
    }
    return answers;
}

std::string Describe(const Case& c, const std::string& subject) {
    return "pattern /" + c.pattern + "/ subject \"" + subject + "\"";
}

// Checks one subject; returns false on a disagreement (already reported).
bool Agrees(RegexEngine& engine, const Case& c, const std::string& subject,
            const Expected& expected) {
    const bool found = engine.Search(U16(subject));
    EXPECT_FALSE(engine.BudgetExhausted()) << Describe(c, subject);
    // Python may find its first match only at the end of the subject, where this engine
    // never starts one; then nothing earlier matched, so this engine finds nothing.
    const bool pythonFinds = expected.matched && expected.start < subject.size();
    if (found != pythonFinds) {
        ADD_FAILURE() << Describe(c, subject) << ": engine " << (found ? "matches" : "fails")
                      << ", Python " << (pythonFinds ? "matches" : "fails");
        return false;
    }
    if (!found) {
        return true;
    }
    const auto span = engine.GroupSpan(0);
    if (!span || span->start != expected.start || span->end != expected.end) {
        ADD_FAILURE() << Describe(c, subject) << ": engine span " << (span ? span->start : 0) << "-"
                      << (span ? span->end : 0) << ", Python " << expected.start << "-"
                      << expected.end;
        return false;
    }
    if (engine.GroupCount() != expected.groups) {
        ADD_FAILURE() << Describe(c, subject) << ": group count differs";
        return false;
    }
    for (int g = 1; g <= expected.groups; ++g) {
        const std::u16string text = engine.GroupTextByNumber(g);
        if (text != U16(expected.texts[g - 1])) {
            ADD_FAILURE() << Describe(c, subject) << ": group " << g << " engine \""
                          << testing::Printable(text) << "\", Python \"" << expected.texts[g - 1]
                          << "\"";
            return false;
        }
    }
    return true;
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
    const std::vector<Expected> answers = AskPython(cases);
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
        ASSERT_TRUE(answers[next].compiled) << "Python rejects /" << c.pattern << "/";
        ASSERT_NO_THROW(engine.Compile(U16(c.pattern))) << "/" << c.pattern << "/";
        for (const std::string& subject : c.subjects) {
            const Expected& expected = answers[next++];
            matches += expected.matched ? 1 : 0;
            if (!Agrees(engine, c, subject, expected) && ++failures >= 20) {
                FAIL() << "stopping after 20 disagreements";
            }
        }
    }
    // The generator must produce a useful share of matches for the comparison to mean much.
    EXPECT_GT(matches, static_cast<int>(answers.size()) / 4);
    RecordProperty("matches", matches);
}

}  // namespace
}  // namespace velmora::regex
