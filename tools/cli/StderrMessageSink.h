#pragma once

#include "common/Messages.h"

namespace velmora::cli {

// Prints each message as "velmora-cli: <text>" on standard error. A question is answered
// the safe way (no overwrite, no removal) unless the user passed --yes.
class StderrMessageSink : public MessageSink {
  public:
    explicit StderrMessageSink(bool answerYes) : answerYes_(answerYes) {}
    MessageAnswer Show(const Message& message) override;

    // How many messages carried an error icon: any of them makes the run exit with 1.
    int ErrorCount() const { return errors_; }

  private:
    bool answerYes_;
    int errors_ = 0;
};

}  // namespace velmora::cli
