#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora {

// Destroys what it is given on a thread of its own, so that freeing a large structure (an
// undo step over a whole library) does not hold the thread that drops it. What it holds
// must be safe to destroy beside that thread's work. The destructor waits for the rest.
class Disposal {
  public:
    Disposal();
    ~Disposal();
    Disposal(const Disposal&) = delete;
    Disposal& operator=(const Disposal&) = delete;

    void Drop(std::shared_ptr<void> garbage);

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::shared_ptr<void>> waiting_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace velmora
