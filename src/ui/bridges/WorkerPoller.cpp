#include "ui/bridges/WorkerPoller.h"

#include <utility>

namespace velmora::ui {

WorkerPoller::WorkerPoller(std::function<bool()> isRunning, std::chrono::milliseconds donePoll,
                           QObject* parent)
    : QObject(parent), isRunning_(std::move(isRunning)) {
    donePoll_.setInterval(donePoll);
    batchTick_.setInterval(kRowBatchTick);
    connect(&donePoll_, &QTimer::timeout, this, &WorkerPoller::Poll);
    connect(&batchTick_, &QTimer::timeout, this, &WorkerPoller::batch);
}

void WorkerPoller::Start() {
    donePoll_.start();
    batchTick_.start();
}

void WorkerPoller::Poll() {
    if (isRunning_())
        return;
    batchTick_.stop();
    donePoll_.stop();
    emit done();
}

}  // namespace velmora::ui
