// File > History... and Review changes... as a user meets them: a saved edit is listed with
// its old -> new values and reverted byte for byte; the review shows the pending edit.
#include <QTableView>

#include "ui/UiTestSupport.h"
#include "ui/dialogs/HistoryDialog.h"
#include "ui/dialogs/ReviewDialog.h"
#include "ui/panel/FieldEdit.h"

namespace velmora::testing {
class HistoryDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void savedEditIsRevertedFromTheHistoryWindow() {
        WindowFixture fixture;
        auto& window = fixture.Window();
        const std::filesystem::path song = fixture.Songs() / "b.mp3";
        const std::string original = ScratchDirectory::ReadFile(song);
        fixture.Select({"b.mp3"});
        Type(fixture.Field(edit::V2Field::Album), u"Changed"_s);
        fixture.Click(u"Save All"_s);

        // Columns: Artist, Album, ... as the list names them.
        QString reviewed;
        QVERIFY(fixture.RunDialog<ui::ReviewDialog>("Review changes...", [&](QDialog* dialog) {
            reviewed = Texts(*ChildNamed<QTableView>(*dialog, "changes").model(), 1).value(0);
            dialog->reject();
        }));
        QCOMPARE(reviewed, u"alpha -> Changed"_s);

        ActionNamed(window, u"Save"_s)->trigger();
        QVERIFY(fixture.WaitIdle());
        QVERIFY(ScratchDirectory::ReadFile(song) != original);

        QStringList seen;
        WhenModal<ui::HistoryDialog>([&](ui::HistoryDialog* dialog) {
            const auto& batches = *ChildNamed<QTableView>(*dialog, "batches").model();
            seen << Texts(batches, 1).value(0) << Texts(batches, 3).value(0)
                 << Texts(*ChildNamed<QTableView>(*dialog, "files").model(), 1).value(0);
            ButtonNamed(*dialog, u"Revert batch"_s)->click();
            // The revert's own batch comes first once it is done.
            QTRY_VERIFY(Texts(batches, 1).value(0).startsWith(u"Revert"_s));
            dialog->reject();
        });
        QVERIFY(fixture.Activate());
        QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(seen, (QStringList{"Edit Tags: 1 file", "1", "alpha -> Changed"}));
        QCOMPARE(ScratchDirectory::ReadFile(song), original);
        // The row reloaded from the reverted file.
        QVERIFY(fixture.ColumnTexts(3).contains(u"alpha"_s));
        QCOMPARE(window.Files().UpdatedCount(), 0u);
    }
};

VELMORA_UI_TEST(HistoryDialogTest);

}  // namespace velmora::testing

#include "history_dialog_test.moc"
