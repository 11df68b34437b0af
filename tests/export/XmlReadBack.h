#pragma once

// Reads a written XML document back with real parsers: libxml2's xmllint must accept it, and
// Python's expat-based ElementTree reports what a reader sees, not what the writer meant.
// The scratch document is named for the process, so parallel test runs keep apart.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

// An element's name and its attributes (name, value) in document order.
using ParsedElement = std::pair<std::string, std::vector<std::pair<std::string, std::u32string>>>;

// Exit code and everything the command printed.
inline std::pair<int, std::string> RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return {-1, output};
    }
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Prints each element in document order as "E name", then one line per attribute
// "A name hex hex ..." with the code points of its value. No single quotes: it goes to the
// shell inside them.
inline constexpr char kDumpScript[] = R"(import sys
import xml.etree.ElementTree as ET
for element in ET.parse(sys.argv[1]).getroot().iter():
    print("E", element.tag)
    for name, value in element.attrib.items():
        print("A", name, " ".join("%x" % ord(c) for c in value))
)";

// Runs `command` with the path of a scratch copy of the document appended.
inline std::pair<int, std::string> RunOnDocument(const std::string& command,
                                                 const std::string& document) {
    const std::string path =
        ::testing::TempDir() + "velmora-readback-" + std::to_string(getpid()) + ".xml";
    std::ofstream(path, std::ios::binary) << document;
    auto result = RunCommand(command + " " + path);
    std::remove(path.c_str());
    return result;
}

// xmllint --noout: exit code 0 and no diagnostics.
inline ::testing::AssertionResult WellFormed(const std::string& document) {
    const auto [code, output] = RunOnDocument("xmllint --noout", document);
    if (code == 0 && output.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "xmllint exit " << code << ": " << output;
}

// Every element and attribute of a well-formed document as Python reads them.
inline std::vector<ParsedElement> ReadBack(const std::string& document) {
    EXPECT_TRUE(WellFormed(document));
    const auto [code, dump] =
        RunOnDocument(std::string("python3 -c '") + kDumpScript + "'", document);
    EXPECT_EQ(code, 0) << dump;
    std::vector<ParsedElement> elements;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string kind;
        std::string name;
        fields >> kind >> name;
        if (kind == "E") {
            elements.push_back({name, {}});
        } else if (kind == "A" && !elements.empty()) {
            std::u32string value;
            for (std::string hex; fields >> hex;) {
                value += static_cast<char32_t>(std::stoul(hex, nullptr, 16));
            }
            elements.back().second.emplace_back(name, value);
        }
    }
    return elements;
}

}  // namespace velmora::testing
