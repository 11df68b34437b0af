#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "common/Messages.h"

namespace velmora::testing {

// Records every message shown and answers from a queue of prepared answers (or with the
// first button's answer when the queue is empty).
class RecordingMessageSink : public MessageSink {
  public:
    MessageAnswer Show(const Message& message) override {
        std::lock_guard lock(mutex_);
        shown_.push_back(message);
        if (!answers_.empty()) {
            MessageAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        switch (message.buttons) {
            case MessageButtons::YesNo:
            case MessageButtons::YesNoCancel:
                return MessageAnswer::Yes;
            default:
                return MessageAnswer::Ok;
        }
    }

    void AnswerNext(MessageAnswer answer) {
        std::lock_guard lock(mutex_);
        answers_.push_back(answer);
    }

    std::vector<Message> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

    std::vector<std::u16string> Texts() const {
        std::lock_guard lock(mutex_);
        std::vector<std::u16string> texts;
        for (const auto& m : shown_)
            texts.push_back(m.text);
        return texts;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Message> shown_;
    std::deque<MessageAnswer> answers_;
};

}  // namespace velmora::testing
