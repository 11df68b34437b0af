#include "scan/OrderedLoadPool.h"

#include <utility>

#include "tags/id3v2/Id3v2Reader.h"

namespace velmora {
namespace {

// How far the walk may run ahead of the records handed on: enough to keep every reader busy
// past a slow file, little enough that the waiting names cost nothing to speak of.
constexpr std::size_t kMaxAhead = 4096;

// Keeps a file's messages until its turn. Loading only reports; it asks nothing.
class HeldMessages : public MessageSink {
  public:
    MessageAnswer Show(const Message& message) override {
        messages.push_back(message);
        return MessageAnswer::Ok;
    }
    std::vector<Message> messages;
};

}  // namespace

OrderedLoadPool::OrderedLoadPool(EngineContext& context, std::size_t readers, Deliver deliver,
                                 std::stop_token stop, const std::function<void()>& readerStart)
    : context_(context), deliver_(std::move(deliver)), stop_(std::move(stop)) {
    readers_.reserve(readers);
    for (std::size_t i = 0; i < readers; ++i)
        readers_.emplace_back([this, readerStart] { ReadLoop(readerStart); });
}

OrderedLoadPool::~OrderedLoadPool() {
    Finish();
}

void OrderedLoadPool::Submit(std::shared_ptr<const std::u16string> folder, std::u16string name) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait(lock, stop_, [this] { return submitted_ - delivered_ < kMaxAhead; }))
        return;
    queued_.push_back({submitted_++, std::move(folder), std::move(name)});
    held_.emplace_back();
    changed_.notify_all();
}

void OrderedLoadPool::Finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
    readers_.clear();  // joins
}

void OrderedLoadPool::ReadLoop(const std::function<void()>& readerStart) {
    if (readerStart)
        readerStart();
    // One reader per thread, so its scratch memory is reused from file to file.
    Id3v2Reader reader(context_.codePage, context_.options.encoding);
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, stop_, [this] { return !queued_.empty() || finished_; });
        if (stop_.stop_requested() || queued_.empty())
            return;
        Task task = std::move(queued_.front());
        queued_.pop_front();
        lock.unlock();
        Loaded loaded = LoadOne(task, reader);
        lock.lock();
        held_[task.sequence - delivered_] = std::move(loaded);
        DeliverReady(lock);
    }
}

OrderedLoadPool::Loaded OrderedLoadPool::LoadOne(Task& task, Id3v2Reader& reader) {
    HeldMessages held;
    EngineContext context{context_.options, context_.codePage, held};
    auto record =
        std::make_unique<Mp3File>(context, reader, std::move(task.folder), std::move(task.name));
    return {std::move(record), std::move(held.messages)};
}

void OrderedLoadPool::DeliverReady(std::unique_lock<std::mutex>& lock) {
    if (delivering_)
        return;  // that thread will see what is ready now before it lets go
    delivering_ = true;
    while (!stop_.stop_requested() && !held_.empty() && held_.front()) {
        Loaded loaded = std::move(*held_.front());
        held_.pop_front();
        ++delivered_;
        changed_.notify_all();
        lock.unlock();
        // The file at hand is handed on whole, as a file being loaded when the stop came.
        for (const Message& message : loaded.messages)
            context_.messages.Show(message);
        deliver_(std::move(loaded.record));
        lock.lock();
    }
    delivering_ = false;
}

}  // namespace velmora
