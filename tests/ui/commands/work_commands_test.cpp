// Undo and Redo over the journal, a too large and a stopped action, the progress shown and the
// Stop button during a load, and the desktop commands on files whose rename is still pending.
#include <QThread>

#include "tags/ops/FrameTextOps.h"
#include "tags/record/RecordState.h"
#include "ui/UiTestSupport.h"

namespace velmora::testing {

class WorkCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void undoRedoATooLargeAndAStoppedAction() {
        WindowFixture fixture;
        auto& window = fixture.Window();
        auto& files = window.Files();
        QAction* undo = ActionNamed(window, u"Undo"_s);
        QAction* redo = ActionNamed(window, u"Redo"_s);
        auto Shown = [](QAction* action) { return action->text().remove(QLatin1Char('&')); };
        QVERIFY(!undo->isEnabled() && Shown(undo) == "Undo");

        fixture.Remove({"a.mp3"}, u"Remove ID3v1"_s);
        QVERIFY(files.UpdatedCount() == 1 && undo->isEnabled() &&
                Shown(undo) == "Undo Remove ID3v1");

        // The box has closed: the keys go to the window again.
        QVERIFY(fixture.Activate());
        window.List().setFocus();
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(files.UpdatedCount() == 0 && !undo->isEnabled() &&
                Shown(redo) == "Redo Remove ID3v1");
        QCOMPARE(StatusOf(window).text(), u"Loaded 4 files (0 updated)"_s);
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(files.UpdatedCount(), 1u);
        QTest::keyClick(&window, Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(files.UpdatedCount(), 0u);
        redo->trigger();

        // A save ends what Undo could take back in the saved records.
        QVERIFY(fixture.Save());
        QVERIFY(!undo->isEnabled() && !redo->isEnabled() && Shown(undo) == "Undo");

        // The records go with a reload, and their actions with them.
        fixture.Remove({"b.mp3"}, u"Remove ID3v2"_s);
        QVERIFY(undo->isEnabled());
        auto question = AnswerNextBox(QMessageBox::No);
        ActionNamed(window, u"Reload"_s)->trigger();
        QVERIFY(fixture.WaitIdle() && question->shown && !undo->isEnabled());

        // An action too large for the journal asks first: "No" leaves the records and the Undo
        // menu as they were, "Yes" runs it with nothing left to undo. Stop during a long action
        // takes back what it did.
        fixture.Remove({"c.mp3"}, u"Remove ID3v1"_s);
        const std::vector<Mp3File*> all = files.Model().Records();
        auto retitle = [&](const char16_t* title) {
            return [&, title](Mp3File& record) {
                SetFrameText(record.V2(), "TIT2", title, fixture.Environment().Context());
            };
        };

        files.Journal().SetLimits({.maxBytes = 100});
        question = AnswerNextBox(QMessageBox::No);
        QVERIFY(files.ApplyToEach(u"Retitle", all, retitle(u"Same")).empty());
        QCOMPARE(question->text,
                 u"This change cannot be undone before saving; it can be reverted "
                 "from History after saving. Continue?"_s);
        QVERIFY(files.UpdatedCount() == 1 && Shown(undo) == "Undo Remove ID3v1");
        AnswerNextBox(QMessageBox::Yes);
        QCOMPARE(files.ApplyToEach(u"Retitle", all, retitle(u"Same")).size(), all.size());
        QVERIFY(!undo->isEnabled() && Shown(undo) == "Undo");

        files.Journal().SetLimits({});
        std::vector<RecordState> before;
        for (const Mp3File* record : all)
            before.push_back(RecordState::Capture(*record));
        int calls = 0;
        bool stop = true;
        auto slow = [&](Mp3File& record) {
            retitle(u"Other")(record);
            // The first outlasts a slice, so the rest runs from the event loop.
            if (++calls == 1)
                QThread::msleep(40);
            else if (calls == 2 && stop)
                ActionNamed(window, u"Stop Loading"_s)->trigger();
        };
        QVERIFY(files.ApplyToEach(u"Slow", all, slow).empty());
        QVERIFY(calls < int(all.size()) && files.IsIdle() && !undo->isEnabled());
        for (std::size_t i = 0; i < all.size(); ++i)
            QVERIFY(before[i].Matches(*all[i]));

        // Run to its end, it counts its records part by part: the count to save is right after
        // it, its undo and its redo.
        QVERIFY(fixture.Save());
        calls = 0;
        stop = false;
        files.ApplyToEach(u"Slow", all, slow);
        QCOMPARE(files.UpdatedCount(), all.size());
        QVERIFY(files.Undo());
        QCOMPARE(StatusOf(window).text(), u"Loaded 4 files (0 updated)"_s);
        QVERIFY(files.Redo());
        QCOMPARE(files.UpdatedCount(), all.size());
    }

    // Stop, or closing the window, ends the load after the file being loaded; every row
    // loaded so far stays; a close then closes the window.
    void stopOrCloseKeepsTheRowsLoadedSoFar() {
        for (const bool close : {false, true}) {
            WindowFixture fixture(WindowFixture::Start::kEmpty);
            fixture.AddUnreadableSongs();
            auto& window = fixture.Window();
            QAbstractButton* stop = ButtonNamed(window, u"Stop"_s);
            auto& bar = ChildNamed<QLabel>(window, "progress");
            QVERIFY(stop && !stop->isVisible());
            QString progress, loadingBefore;
            AnswerNextBox(QMessageBox::Ok, false, [&] {
                // The worker waits on this box, inside the file it has counted no part of yet.
                loadingBefore = window.Files().ProgressText();
                if (bar.isVisible() && stop->isVisible() && stop->isEnabled())
                    progress = bar.text();
                if (close)
                    QVERIFY(!window.close() && window.isVisible());
                else
                    QTest::mouseClick(stop, Qt::LeftButton);
            });
            QVERIFY(fixture.Load());
            QVERIFY2(progress.startsWith(u"Loading: "_s), qPrintable(progress));
            const int before = loadingBefore.section(QLatin1Char(' '), 1, 1).toInt();
            QCOMPARE(window.Files().Proxy().rowCount(), before + 1);
            QVERIFY(!bar.isVisible() && !stop->isVisible());
            QTRY_COMPARE(window.isVisible(), !close);
        }
    }

    // Enter and a double-click open the current row's file alone, whatever else is selected;
    // until the save, a renamed file exists only under its old name; Enqueue says why it is off.
    void openExploreAndEnterUseTheCurrentRowsNameOnDisk() {
        WindowFixture fixture;
        auto& view = fixture.Window().List();
        FileCatcher caught;
        fixture.ClickRow(1);
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Return);
        fixture.ClickRow(2);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                           view.visualRect(view.model()->index(2, 0)).center());
        fixture.Select({"a.mp3"});
        // As when opened: Enqueue asks for a player.
        emit ActionNamed(fixture.Window(), u"&File"_s)->menu()->aboutToShow();
        QAction* enqueue = ActionNamed(fixture.Window(), u"Enqueue"_s);
        QVERIFY(!enqueue->isEnabled());
        QCOMPARE(enqueue->toolTip(), u"No running player offers a play queue (MPRIS track list)"_s);
        view.SelectedRecords().front()->SetFileName(u"renamed.mp3");
        ActionNamed(fixture.Window(), u"Open"_s)->trigger();
        // Without a session bus there is no file manager to ask: the folder is opened.
        ActionNamed(fixture.Window(), u"Explore Directory"_s)->trigger();
        const QString folder = fixture.SongsText();
        QCOMPARE(caught.files,
                 QStringList({folder + "/b.mp3", folder + "/c.mp3", folder + "/a.mp3", folder}));
    }
};

VELMORA_UI_TEST(WorkCommandsTest);

}  // namespace velmora::testing

#include "work_commands_test.moc"
