#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::fuzz {

// A ready-made input for one target (named as in kTargets).
struct NamedInput {
    std::string_view target;
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Inputs whose sizes lie or whose shapes are extreme: each must run in bounded memory,
// depth and time. Seeds for the fuzzers and cases of the replay test.
std::vector<NamedInput> HostileInputs();

// Small well-formed inputs that show the fuzzers each target's format.
std::vector<NamedInput> SeedInputs();

}  // namespace velmora::fuzz
