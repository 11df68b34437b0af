#pragma once

// Reads a written XML document back with real parsers (libxml2's xmllint and Python's
// expat-based ElementTree), so tests check what a reader sees, not what the writer meant.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::testing {

struct ParsedAttribute {
    std::string name;
    std::u32string value;
    bool operator==(const ParsedAttribute&) const = default;
};

struct ParsedElement {
    std::string name;
    std::vector<ParsedAttribute> attributes;
    bool operator==(const ParsedElement&) const = default;
};

inline void PrintTo(const ParsedAttribute& attribute, std::ostream* os) {
    *os << attribute.name << "=[";
    for (char32_t c : attribute.value) {
        if (c >= 0x20 && c < 0x7F) {
            *os << static_cast<char>(c);
        } else {
            *os << "\\u{" << std::hex << static_cast<std::uint32_t>(c) << std::dec << "}";
        }
    }
    *os << "]";
}

inline void PrintTo(const ParsedElement& element, std::ostream* os) {
    *os << "\n<" << element.name;
    for (const ParsedAttribute& attribute : element.attributes) {
        *os << " ";
        PrintTo(attribute, os);
    }
    *os << ">";
}

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, count);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Prints each element in document order as "E name", then one line per attribute
// "A name hex hex ..." with the code points of its value.
inline constexpr char kDumpScript[] = R"(import sys
import xml.etree.ElementTree as ET
for element in ET.parse(sys.argv[1]).getroot().iter():
    print('E', element.tag)
    for name, value in element.attrib.items():
        print('A', name, ' '.join('%x' % ord(c) for c in value))
)";

// A scratch folder holding the document and the script; removed on destruction.
class XmlReadBack {
  public:
    XmlReadBack() {
        std::string pattern = (std::filesystem::temp_directory_path() / "xmlreadback.XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) {
            folder_ = pattern;
        }
        std::ofstream(folder_ / "dump.py") << kDumpScript;
    }
    ~XmlReadBack() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    XmlReadBack(const XmlReadBack&) = delete;
    XmlReadBack& operator=(const XmlReadBack&) = delete;

    // Writes the document; later calls read this one.
    void Write(const std::string& bytes) { std::ofstream(Document(), std::ios::binary) << bytes; }

    // xmllint --noout: exit code 0 and no diagnostics.
    ::testing::AssertionResult WellFormed() const {
        const CommandResult r = RunCommand("xmllint --noout '" + Document() + "'");
        if (r.exitCode == 0 && r.output.empty()) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "xmllint exit " << r.exitCode << ": " << r.output;
    }

    // The value libxml2 reads for an XPath string expression, as UTF-8.
    std::string XPathString(const std::string& expression) const {
        CommandResult r = RunCommand("xmllint --xpath '" + expression + "' '" + Document() + "'");
        EXPECT_EQ(r.exitCode, 0) << r.output;
        if (!r.output.empty() && r.output.back() == '\n') {
            r.output.pop_back();
        }
        return r.output;
    }

    // Every element and attribute as Python's parser reads them.
    std::vector<ParsedElement> Elements() const {
        const CommandResult r =
            RunCommand("python3 '" + (folder_ / "dump.py").string() + "' '" + Document() + "'");
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return ParseDump(r.output);
    }

  private:
    std::string Document() const { return (folder_ / "document.xml").string(); }

    static std::vector<ParsedElement> ParseDump(const std::string& dump) {
        std::vector<ParsedElement> elements;
        std::istringstream lines(dump);
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            std::string kind;
            std::string name;
            fields >> kind >> name;
            if (kind == "E") {
                elements.push_back({name, {}});
            } else if (kind == "A" && !elements.empty()) {
                ParsedAttribute attribute{name, {}};
                std::string hex;
                while (fields >> hex) {
                    attribute.value += static_cast<char32_t>(std::stoul(hex, nullptr, 16));
                }
                elements.back().attributes.push_back(attribute);
            }
        }
        return elements;
    }

    std::filesystem::path folder_;
};

}  // namespace velmora::testing
