#pragma once

#include <cstddef>
#include <memory>

#include "BenchFiles.h"
#include "common/Messages.h"
#include "tags/record/EngineContext.h"
#include "text/CodePage.h"

namespace velmora::bench {

// Counts what the engine would show; a benchmark run must show nothing.
class CountingMessageSink : public MessageSink {
  public:
    MessageAnswer Show(const Message& message) override;
    std::size_t Count() const { return count_; }

  private:
    std::size_t count_ = 0;
};

// What the program gives the tag engine: default options, the CP1252 code page and a
// message sink.
class BenchEngine {
  public:
    BenchEngine();

    EngineContext& Context() { return context_; }
    const CountingMessageSink& Messages() const { return messages_; }

  private:
    std::unique_ptr<text::CodePage> codePage_;
    CountingMessageSink messages_;
    EngineContext context_;
};

}  // namespace velmora::bench
