#pragma once

#include <signal.h>

#include <cstddef>
#include <string>

namespace velmora::replace {

// A temporary file that SIGINT, SIGTERM or SIGHUP removes before the process ends, so an
// interrupted save leaves no copy of the audio behind. The handlers are installed with the
// first registration; a signal the process ignores (nohup) stays ignored. After removing
// the files the handler gives the signal back to the disposition it found and raises it
// again, so the process ends as it would have.
class PendingRemoval {
  public:
    PendingRemoval() = default;
    ~PendingRemoval() { Release(); }
    PendingRemoval(const PendingRemoval&) = delete;
    PendingRemoval& operator=(const PendingRemoval&) = delete;

    // False when the path does not fit or every slot is taken; the file is then left to the
    // next run's sweep of leftovers (Leftovers.h).
    bool Register(const std::string& path);
    // The file no longer needs removing (renamed into place, or removed already).
    void Release();

  private:
    std::size_t slot_ = static_cast<std::size_t>(-1);
};

// Holds SIGINT, SIGTERM and SIGHUP back on this thread while it lives, so that a file is
// never created without being registered.
class SignalsHeld {
  public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

}  // namespace velmora::replace
