#include "replace/InterruptCleanup.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace velmora::replace {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
// Saves run one at a time per thread; a few threads at once at most.
constexpr std::size_t kSlots = 32;

enum SlotState : int { kFree, kFilling, kReady };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

// A signal handler can reach nothing but static storage, so the registry is the one piece
// of process-wide state here; only this file touches it.
std::array<Slot, kSlots> slots;
std::array<struct sigaction, kSignals.size()> found;
std::once_flag installOnce;

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots");

sigset_t InterruptSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

// Only async-signal-safe calls: unlink, sigaction, raise.
void RemoveAndReraise(int signal) {
    const int savedErrno = errno;
    for (Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == kReady) {
            ::unlink(slot.path);
        }
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (kSignals[i] == signal) {
            ::sigaction(signal, &found[i], nullptr);
        }
    }
    errno = savedErrno;
    // Delivered when this handler returns, to the disposition found at installation.
    ::raise(signal);
}

void InstallHandlers() {
    struct sigaction ours {};
    ours.sa_handler = RemoveAndReraise;
    ours.sa_mask = InterruptSignals();
    ours.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (::sigaction(kSignals[i], nullptr, &found[i]) == 0 && found[i].sa_handler != SIG_IGN) {
            ::sigaction(kSignals[i], &ours, nullptr);
        }
    }
}

}  // namespace

bool PendingRemoval::Register(const std::string& path) {
    Release();
    if (path.size() >= PATH_MAX) {
        return false;
    }
    std::call_once(installOnce, InstallHandlers);
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) {
            std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
            slots[i].state.store(kReady, std::memory_order_release);
            slot_ = i;
            return true;
        }
    }
    return false;
}

void PendingRemoval::Release() {
    if (slot_ < kSlots) {
        slots[slot_].state.store(kFree, std::memory_order_release);
        slot_ = static_cast<std::size_t>(-1);
    }
}

SignalsHeld::SignalsHeld() {
    const sigset_t held = InterruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

SignalsHeld::~SignalsHeld() {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace velmora::replace
