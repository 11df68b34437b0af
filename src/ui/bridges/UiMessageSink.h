#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "common/Messages.h"

namespace velmora::ui {

// Shows the core's messages as message boxes on the interface thread. A worker that
// reports waits until the user has answered. While a worker runs, its boxes carry a check
// box that hides the rest of that run's messages; those are listed in one box when the run
// ends, so a folder of broken files does not ask for a click per file.
class UiMessageSink : public QObject, public MessageSink {
    Q_OBJECT

  public:
    explicit UiMessageSink(QObject* parent = nullptr);
    ~UiMessageSink() override;

    // Any thread. On the interface thread the box is owned by the window; a worker's box
    // has no owner.
    MessageAnswer Show(const Message& message) override;

    void SetWindow(QWidget* window) { window_ = window; }
    QWidget* Window() const { return window_.data(); }
    // Interface thread: a worker run starts; `checkText` labels the check box of its boxes.
    void BeginRun(const QString& checkText);
    // Interface thread, after the worker has finished: lists the messages it did not show.
    void EndRun();
    // Interface thread: from now on a worker's message is answered the safe way at once
    // (a waiting one too), so the interface may wait for the worker without a deadlock.
    void AnswerWorkersSafely();

    // The check-box texts of a load's and a save's boxes.
    static QString LoadCheckText() { return tr("Don't show more of these until this load ends"); }
    static QString SaveCheckText() { return tr("Don't show more of these until this save ends"); }

  private:
    struct Pending {
        MessageButtons buttons;
        std::optional<MessageAnswer> answer;
    };

    MessageAnswer Ask(const Message& message, bool fromWorker);
    MessageAnswer FromWorker(const Message& message);
    void Answer(const std::shared_ptr<Pending>& pending, MessageAnswer answer);

    QPointer<QWidget> window_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::vector<std::shared_ptr<Pending>> waiting_;
    bool safeAnswers_ = false;
    // The run's state: its check-box text (empty: no run), whether the user asked to see
    // no more, the answer given then per button set, and the texts not shown.
    QString runCheckText_;
    bool hideRest_ = false;
    std::map<MessageButtons, MessageAnswer> hiddenAnswers_;
    std::vector<std::u16string> notShown_;
};

// While it lives, the boxes shown on the interface thread are owned by `owner` (a dialog
// whose command reports), then by the window again.
class ScopedMessageOwner {
  public:
    ScopedMessageOwner(UiMessageSink& sink, QWidget* owner)
        : sink_(sink), previous_(sink.Window()) {
        sink.SetWindow(owner);
    }
    ~ScopedMessageOwner() { sink_.SetWindow(previous_); }
    ScopedMessageOwner(const ScopedMessageOwner&) = delete;
    ScopedMessageOwner& operator=(const ScopedMessageOwner&) = delete;

  private:
    UiMessageSink& sink_;
    QPointer<QWidget> previous_;
};

// The answer that loses nothing when nobody can be asked: Cancel, else No, else OK.
MessageAnswer SafeAnswer(MessageButtons buttons);

}  // namespace velmora::ui
