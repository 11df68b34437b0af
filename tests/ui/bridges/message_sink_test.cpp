// The message boxes of the core: a worker waits for the user's answer; closing answers a
// waiting worker the safe way, so nothing hangs.
#include <future>
#include <thread>

#include "edit/ActionNames.h"
#include "ui/UiTestSupport.h"
#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::testing {

class MessageSinkTest : public QObject {
    Q_OBJECT

  private slots:
    // The window words every message kind, column and action as the core does, so that a
    // translation has the window's words to replace; untranslated they must not drift apart.
    void windowWordsMatchTheCore() {
        for (int kind = 0; kind <= int(MessageKind::HistoryNotWritten); ++kind) {
            Message message =
                ErrorMessage(MessageKind(kind), {u"/a %2", u"/b"}, SystemError(EACCES), u"detail");
            if (message.kind == MessageKind::Note)
                message.lines = {u"one", u"two"};
            QCOMPARE(ui::MessageWords(message, u"\n"_s),
                     ui::ToQString(MessageText(message, u"\n")));
        }
        for (Column column : kAllColumns)
            QCOMPARE(ui::ColumnWord(column), ui::ToQString(ColumnInfoOf(column).header));
        for (const char16_t* name : {edit::kEditTagsAction, edit::kTrackNumberAction,
                                     edit::kDeleteAllPicturesAction, edit::kGenerateAction})
            QCOMPARE(ui::ActionWord(name), ui::ToQString(name));
    }
    void workerWaitsForTheAnswerGivenOnTheInterfaceThread() {
        const std::pair<QMessageBox::StandardButton, MessageAnswer> rows[] = {
            {QMessageBox::Yes, MessageAnswer::Yes},
            {QMessageBox::No, MessageAnswer::No},
            {QMessageBox::Cancel, MessageAnswer::Cancel}};
        for (const auto& [button, answer] : rows) {
            ui::UiMessageSink sink;
            std::atomic<bool> returned{false};
            auto worker = std::async(std::launch::async, [&] {
                const MessageAnswer given =
                    sink.Show(NoteMessage({u"Overwrite?", u"Really?"}, kAppCaption,
                                          MessageIcon::Question, MessageButtons::YesNoCancel));
                returned = true;
                return given;
            });
            bool waitedWhileShown = false;
            auto seen = AnswerNextBox(button, false, [&] {
                QTest::qWait(50);
                waitedWhileShown = !returned;
            });
            QVERIFY(QTest::qWaitFor([&] { return returned.load(); }, 10000));
            QVERIFY(waitedWhileShown && !seen->hasOwner);
            QCOMPARE(int(worker.get()), int(answer));
            QCOMPARE(seen->text, u"Overwrite?\nReally?"_s);
        }
    }

    void closingAnswersAWaitingWorkerSafely() {
        auto sink = std::make_unique<ui::UiMessageSink>();
        auto worker = std::async(std::launch::async, [&] {
            return sink->Show(NoteMessage({u"Replace?"}, kAppCaption, MessageIcon::Question,
                                          MessageButtons::YesNo));
        });
        // The box is not shown: the interface stops before it runs its events.
        QTest::qSleep(100);
        sink->AnswerWorkersSafely();
        QCOMPARE(int(worker.get()), int(MessageAnswer::No));
        // Later questions of a worker are not shown at all.
        auto later = std::async(std::launch::async, [&] {
            return sink->Show(NoteMessage({u"More?"}, kAppCaption, MessageIcon::Question,
                                          MessageButtons::YesNoCancel));
        });
        QCOMPARE(int(later.get()), int(MessageAnswer::Cancel));
        sink.reset();
        QTest::qWait(20);  // the queued box finds its sink gone and does nothing
    }
};

VELMORA_UI_TEST(MessageSinkTest);

}  // namespace velmora::testing

#include "message_sink_test.moc"
