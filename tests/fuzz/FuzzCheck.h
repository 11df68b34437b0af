#pragma once

#include <stdexcept>
#include <string>

namespace velmora::fuzz {

// A broken invariant. Under libFuzzer the uncaught exception aborts the run and saves the
// input; the replay test reports it as a failure with the text.
class InvariantBroken : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

inline void Check(bool condition, const std::string& what) {
    if (!condition)
        throw InvariantBroken(what);
}

}  // namespace velmora::fuzz
