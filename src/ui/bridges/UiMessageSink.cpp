#include "ui/bridges/UiMessageSink.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QThread>
#include <algorithm>

#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer FromButton(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            // Escape or the close button on a box without Cancel.
            return SafeAnswer(buttons);
    }
}

// A box breaks the message's lines as Qt does.
QString BoxText(const Message& message) {
    return MessageWords(message, QStringLiteral("\n"));
}

}  // namespace

MessageAnswer SafeAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            break;
    }
    return MessageAnswer::Cancel;
}

UiMessageSink::UiMessageSink(QObject* parent) : QObject(parent) {}

UiMessageSink::~UiMessageSink() {
    AnswerWorkersSafely();
}

MessageAnswer UiMessageSink::Show(const Message& message) {
    if (QThread::currentThread() == thread())
        return Ask(message, false);
    return FromWorker(message);
}

MessageAnswer UiMessageSink::FromWorker(const Message& message) {
    auto pending = std::make_shared<Pending>(Pending{message.buttons, std::nullopt});
    {
        std::lock_guard lock(mutex_);
        if (safeAnswers_)
            return SafeAnswer(message.buttons);
        if (hideRest_) {
            notShown_.push_back(ToU16(MessageWords(message, QStringLiteral("\n"))));
            const auto given = hiddenAnswers_.find(message.buttons);
            return given != hiddenAnswers_.end() ? given->second : SafeAnswer(message.buttons);
        }
        waiting_.push_back(pending);
    }
    QMetaObject::invokeMethod(
        this,
        [this, message, pending] {
            {
                std::lock_guard lock(mutex_);
                if (pending->answer)
                    return;  // answered safely meanwhile
            }
            Answer(pending, Ask(message, true));
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->answer.has_value(); });
    return *pending->answer;
}

void UiMessageSink::Answer(const std::shared_ptr<Pending>& pending, MessageAnswer answer) {
    {
        std::lock_guard lock(mutex_);
        if (!pending->answer)
            pending->answer = answer;
        std::erase(waiting_, pending);
    }
    answered_.notify_all();
}

MessageAnswer UiMessageSink::Ask(const Message& message, bool fromWorker) {
    QMessageBox box(BoxIcon(message.icon), ToQString(message.caption), BoxText(message),
                    BoxButtons(message.buttons), fromWorker ? nullptr : window_.data());
    QCheckBox* hide = nullptr;
    QString checkText;
    {
        std::lock_guard lock(mutex_);
        checkText = runCheckText_;
    }
    if (fromWorker && !checkText.isEmpty()) {
        hide = new QCheckBox(checkText);
        box.setCheckBox(hide);
    }
    const MessageAnswer answer = FromButton(box.exec(), message.buttons);
    if (hide && hide->isChecked()) {
        std::lock_guard lock(mutex_);
        hideRest_ = true;
        hiddenAnswers_[message.buttons] = answer;
    }
    return answer;
}

void UiMessageSink::BeginRun(const QString& checkText) {
    std::lock_guard lock(mutex_);
    runCheckText_ = checkText;
    hideRest_ = false;
    hiddenAnswers_.clear();
    notShown_.clear();
}

void UiMessageSink::EndRun() {
    std::vector<std::u16string> notShown;
    {
        std::lock_guard lock(mutex_);
        runCheckText_.clear();
        hideRest_ = false;
        hiddenAnswers_.clear();
        notShown.swap(notShown_);
    }
    if (notShown.empty())
        return;
    QStringList lines;
    for (const auto& text : notShown)
        lines << ToQString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QMessageBox box(QMessageBox::Information, ToQString(kAppCaption),
                    lines.size() == 1 ? tr("1 more message was not shown:")
                                      : tr("%1 more messages were not shown:").arg(lines.size()),
                    QMessageBox::Ok, window_.data());
    box.setInformativeText(lines.mid(0, 10).join(QLatin1Char('\n')));
    box.setDetailedText(lines.join(QLatin1Char('\n')));
    box.exec();
}

void UiMessageSink::AnswerWorkersSafely() {
    std::vector<std::shared_ptr<Pending>> waiting;
    {
        std::lock_guard lock(mutex_);
        safeAnswers_ = true;
        waiting.swap(waiting_);
        for (const auto& pending : waiting)
            pending->answer = SafeAnswer(pending->buttons);
    }
    answered_.notify_all();
}

}  // namespace velmora::ui
