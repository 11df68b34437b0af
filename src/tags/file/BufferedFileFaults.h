#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace velmora {

// The system calls a BufferedFile makes, as the fault hook counts them.
enum class FileCall { Open, Read, Write, Truncate, Sync, Size, Close };
inline constexpr std::size_t kFileCallKinds = 7;

// Test hook: counts the system calls of every BufferedFile on the installing thread and makes
// chosen ones fail, so tests can prove that a failure at any point loses no data. Install it
// with ScopedFileFaults; production code never installs one, and with none installed every
// call goes straight to the system. The hook is a thread_local pointer, so a test that drives
// a worker thread installs it on that thread.
class FileFaults {
  public:
    struct WriteCall {
        std::uint64_t offset;
        std::size_t size;
        friend bool operator==(const WriteCall&, const WriteCall&) = default;
    };

    // Makes the nth call (1-based, counted from installation) of `call` fail with errno
    // `error`; with `andLater` every later call of that kind fails as well.
    void Fail(FileCall call, std::uint64_t nth, int error, bool andLater = false);
    // Makes the nth write transfer at most `bytes` bytes (a short write, as the kernel does
    // when the disk fills up in the middle of a write).
    void ShortenWrite(std::uint64_t nth, std::size_t bytes);
    // Makes every call of `call` wait that long first, as a network share answers late.
    void Delay(FileCall call, std::chrono::microseconds wait) { delays_[Index(call)] = wait; }

    std::uint64_t Count(FileCall call) const { return counts_[Index(call)]; }
    // Every write that reached the system (including failed ones), in order.
    const std::vector<WriteCall>& Writes() const { return writes_; }

    // Called by BufferedFile before each system call: counts it and returns the errno to fail
    // with, or 0 to go ahead.
    int Enter(FileCall call);
    // Like Enter for a write; may lower `size` for a short write.
    int EnterWrite(std::uint64_t offset, std::size_t& size);

  private:
    struct Rule {
        std::uint64_t nth;
        int error;
        bool andLater;
    };
    static std::size_t Index(FileCall call) { return static_cast<std::size_t>(call); }

    std::array<std::uint64_t, kFileCallKinds> counts_{};
    std::array<std::chrono::microseconds, kFileCallKinds> delays_{};
    std::array<std::vector<Rule>, kFileCallKinds> rules_;
    std::vector<std::pair<std::uint64_t, std::size_t>> shortWrites_;
    std::vector<WriteCall> writes_;
};

// The hook installed on this thread, or null.
FileFaults* InstalledFileFaults();

// Installs `faults` on the current thread for its lifetime (restoring the previous hook).
class ScopedFileFaults {
  public:
    explicit ScopedFileFaults(FileFaults& faults);
    ~ScopedFileFaults();
    ScopedFileFaults(const ScopedFileFaults&) = delete;
    ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;

  private:
    FileFaults* previous_;
};

}  // namespace velmora
