#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace velmora::ui {

// How often the window looks at a worker.
inline constexpr std::chrono::milliseconds kLoadDonePoll{750};
inline constexpr std::chrono::milliseconds kSaveDonePoll{150};
inline constexpr std::chrono::milliseconds kRowBatchTick{250};

// Watches one background worker from the interface thread: `batch` every 250 ms while it
// runs, and `done` once, up to one poll interval after its running flag has fallen. The
// batch timer is stopped before `done`, whose handler takes the last batch itself.
class WorkerPoller : public QObject {
    Q_OBJECT

  public:
    WorkerPoller(std::function<bool()> isRunning, std::chrono::milliseconds donePoll,
                 QObject* parent = nullptr);

    void Start();
    bool IsActive() const { return donePoll_.isActive(); }

  signals:
    void batch();
    void done();

  private:
    void Poll();

    std::function<bool()> isRunning_;
    QTimer donePoll_;
    QTimer batchTick_;
};

}  // namespace velmora::ui
