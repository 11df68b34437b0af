#pragma once

#include <mutex>
#include <vector>

#include "common/Messages.h"

namespace velmora::testing {

// Records every message shown and answers with its first button.
class RecordingMessageSink : public MessageSink {
  public:
    MessageAnswer Show(const Message& message) override {
        std::lock_guard lock(mutex_);
        shown_.push_back(message);
        const bool asks = message.buttons == MessageButtons::YesNo ||
                          message.buttons == MessageButtons::YesNoCancel;
        return asks ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    std::vector<Message> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& m : Shown())
            texts.push_back(MessageText(m, u"\n"));
        return texts;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Message> shown_;
};

}  // namespace velmora::testing
