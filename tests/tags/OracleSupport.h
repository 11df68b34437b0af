#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "text/Utf8.h"

// The outside reader, mutagen (python3-mutagen), runs as the script beside the tests; it prints
// "F <path>", then one line per frame.
namespace velmora::testing {

using OracleLines = std::multiset<std::string>;

inline const std::string kMutagenOracle =
    "/usr/bin/python3 " + std::string(VELMORA_SOURCE_DIR) + "/tests/tags/mutagen_oracle.py";

inline bool HaveMutagen() {
    return std::system("/usr/bin/python3 -c 'import mutagen' 2>/dev/null") == 0;
}

inline std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes)
        out += {kDigits[c >> 4], kDigits[c & 15]};
    return out.empty() ? "-" : out;
}

inline std::string Hex(std::u16string_view text) {
    return Hex(text::ToUtf8(text));
}

// The lines the command printed for each file: path -> lines.
inline std::map<std::string, OracleLines> LinesByFile(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (std::size_t n = pipe ? fread(buffer, 1, sizeof buffer, pipe) : 0)
        output.append(buffer, n);
    EXPECT_TRUE(pipe && pclose(pipe) == 0) << command;
    std::map<std::string, OracleLines> lines;
    std::istringstream in(output);
    std::string current;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("F "))
            lines[current = line.substr(2)];
        else
            lines[current].insert(line);
    }
    return lines;
}

}  // namespace velmora::testing
