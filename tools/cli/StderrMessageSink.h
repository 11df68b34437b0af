#pragma once

#include <atomic>

#include "common/Messages.h"

namespace velmora::cli {

// Prints each message as "velmora-cli: <text>" on standard error. A question is answered
// the safe way (no overwrite, no removal) unless the user passed --yes.
class StderrMessageSink : public MessageSink {
  public:
    explicit StderrMessageSink(bool answerYes) : answerYes_(answerYes) {}
    MessageAnswer Show(const Message& message) override;

    // How many messages carried an error icon: any of them makes the run exit with 1.
    int ErrorCount() const { return errors_.load(); }
    // How many messages were shown at all (a file that loads with a message did not load
    // cleanly).
    int MessageCount() const { return messages_.load(); }

  private:
    bool answerYes_;
    std::atomic<int> errors_{0};
    std::atomic<int> messages_{0};
};

}  // namespace velmora::cli
