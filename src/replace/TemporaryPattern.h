#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace velmora::replace {

// The names of one kind of temporary file: a fixed prefix, random letters, a fixed suffix.
// Names are recognised by the same pattern, so leftovers of an interrupted run can be told
// apart from the user's own files.
class TemporaryPattern {
  public:
    // ".velmora-save-<12 hex>.tmp": tag saves and the settings file.
    static TemporaryPattern Save();
    // ".NAME.<8 letters or digits>.tmp", NAME the target's name: exports and extracted files.
    static TemporaryPattern NamedAfter(std::string_view targetName);

    std::string Make(std::mt19937& random) const;
    bool Matches(std::string_view name) const;

  private:
    TemporaryPattern(std::string prefix, std::size_t randomLength, std::string_view alphabet);

    std::string prefix_;
    std::size_t randomLength_;
    std::string_view alphabet_;
};

}  // namespace velmora::replace
