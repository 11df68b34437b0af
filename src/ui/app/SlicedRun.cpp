#include "ui/app/SlicedRun.h"

#include <QEventLoop>
#include <QTimer>

namespace velmora::ui {

namespace {

// A slice preempted on a busy machine stalls for more than its budget: 20 ms slices made
// stalls of 40 to 100 ms there, 10 ms ones cost no time over a whole edit.
constexpr std::chrono::milliseconds kSliceBudget{10};
// Work shorter than this shows no progress: it would only flicker.
constexpr std::chrono::milliseconds kProgressDelay{200};

}  // namespace

bool SlicedRun::Slice(const std::function<bool()>& step) {
    const auto deadline = std::chrono::steady_clock::now() + kSliceBudget;
    bool more = true;
    while (more && !stopped_ && std::chrono::steady_clock::now() < deadline)
        more = step();
    return more && !stopped_;
}

bool SlicedRun::Run(const std::function<bool()>& step, const std::function<void()>& started,
                    const std::function<void()>& progress) {
    const auto start = std::chrono::steady_clock::now();
    stopped_ = false;
    running_ = true;
    struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};
    if (!Slice(step))
        return !stopped_;
    started();
    QEventLoop loop;
    QTimer next;
    next.setInterval(0);
    QObject::connect(&next, &QTimer::timeout, &loop, [&] {
        if (!Slice(step))
            loop.quit();
        if (std::chrono::steady_clock::now() - start >= kProgressDelay)
            progress();
    });
    next.start();
    loop.exec();
    return !stopped_;
}

}  // namespace velmora::ui
