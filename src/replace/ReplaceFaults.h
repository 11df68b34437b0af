#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

// The system calls of the safe replace (SafeReplace.h) and of renames. Rename is the whole
// rename; KernelNoReplace only the renameat2 call of a rename that must not replace (failing
// it with EINVAL stands for a file system without RENAME_NOREPLACE).
enum class ReplaceStep {
    CreateTemporary,
    Rename,
    SyncDirectory,
    KernelNoReplace,
    Lock,
    Chmod,
    Write,
    Sync,
};
inline constexpr std::size_t kReplaceStepKinds = 8;

// Test hook, the counterpart of FileFaults for those steps: counts them on the installing
// thread and makes chosen ones fail with a given errno. Production code never installs one.
class ReplaceFaults {
  public:
    // Makes the nth call (1-based) of `step` fail with `error`.
    void Fail(ReplaceStep step, std::uint64_t nth, int error);
    std::uint64_t Count(ReplaceStep step) const { return counts_[Index(step)]; }

    // Counts the step and returns the errno to fail with, or 0 to go ahead.
    int Enter(ReplaceStep step);

  private:
    struct Rule {
        ReplaceStep step;
        std::uint64_t nth;
        int error;
    };
    static std::size_t Index(ReplaceStep step) { return static_cast<std::size_t>(step); }

    std::array<std::uint64_t, kReplaceStepKinds> counts_{};
    std::vector<Rule> rules_;
};

// The hook installed on this thread, or null.
ReplaceFaults* InstalledReplaceFaults();

// Returns the errno an installed hook injects for `step`, or 0.
int InjectedReplaceFault(ReplaceStep step);

class ScopedReplaceFaults {
  public:
    explicit ScopedReplaceFaults(ReplaceFaults& faults);
    ~ScopedReplaceFaults();
    ScopedReplaceFaults(const ScopedReplaceFaults&) = delete;
    ScopedReplaceFaults& operator=(const ScopedReplaceFaults&) = delete;

  private:
    ReplaceFaults* previous_;
};

}  // namespace velmora
