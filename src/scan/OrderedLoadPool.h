#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "common/Messages.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"

namespace velmora {

// Loads the files a walk submits on several reader threads at once, so that a cold disk or a
// network share serves many reads in flight, and hands each record on in the order the files
// were submitted. A file's messages are held until its turn and then shown, one file at a
// time, on whichever thread hands it on; a sink that blocks (a message box) holds back the
// records after it, not the reads.
class OrderedLoadPool {
  public:
    // Called in submission order, never on two threads at once, with the record of each file.
    using Deliver = std::function<void(std::unique_ptr<Mp3File>)>;

    // `readerStart` runs first on each reader thread (a test or benchmark installs its
    // file-call seam there). After a stop request nothing more is delivered.
    OrderedLoadPool(EngineContext& context, std::size_t readers, Deliver deliver,
                    std::stop_token stop, const std::function<void()>& readerStart = {});
    // Waits for every submitted file, or until the stop request, as Finish.
    ~OrderedLoadPool();
    OrderedLoadPool(const OrderedLoadPool&) = delete;
    OrderedLoadPool& operator=(const OrderedLoadPool&) = delete;

    // Queues a file; waits while too many files are read or held, so the walk stays ahead of
    // the readers by a bounded distance.
    void Submit(std::shared_ptr<const std::u16string> folder, std::u16string name);
    // Delivers every submitted file (or stops at the stop request) and ends the readers.
    void Finish();

  private:
    struct Task {
        std::size_t sequence;
        std::shared_ptr<const std::u16string> folder;
        std::u16string name;
    };
    struct Loaded {
        std::unique_ptr<Mp3File> record;
        std::vector<Message> messages;
    };

    void ReadLoop(const std::function<void()>& readerStart);
    Loaded LoadOne(Task& task, Id3v2Reader& reader);
    // Hands on the records whose turn has come, unless another thread is doing so.
    void DeliverReady(std::unique_lock<std::mutex>& lock);

    EngineContext& context_;
    Deliver deliver_;
    std::stop_token stop_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Task> queued_;
    // Files from `delivered_` on, loaded or not yet; index 0 is the next to hand on.
    std::deque<std::optional<Loaded>> held_;
    std::size_t submitted_ = 0;
    std::size_t delivered_ = 0;
    bool delivering_ = false;
    bool finished_ = false;
    std::vector<std::jthread> readers_;
};

}  // namespace velmora
