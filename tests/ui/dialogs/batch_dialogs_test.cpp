// The batch commands through the real window and dialogs: Track # numbering by clicks,
// the Rename dialog with its preview, and the "Generate ID3" dialog; each undone.
#include <QListWidget>
#include <QTableWidget>
#include <fstream>

#include "settings/SettingNames.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/GenerateDialog.h"
#include "ui/dialogs/PreviewTable.h"
#include "ui/dialogs/RenameDialog.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kNameColumn = 0;
constexpr int kTrackColumn = 1;

QStringList ListTexts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

// The dialog's expression box, and its preview's texts in `column`.
QLineEdit& Expression(QDialog& dialog) {
    return ChildNamed<QLineEdit>(dialog, "expression");
}
QStringList Column(QDialog& dialog, int column) {
    const auto& table = ChildNamed<QTableWidget>(dialog, "preview");
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << table.item(row, column)->text();
    return texts;
}

// The stored text of a frame of the record shown in `row`; "-" when there is none.
QString FrameOf(WindowFixture& fixture, int row, const FrameId& id) {
    auto& files = fixture.Window().Files();
    const Mp3File* record =
        files.Model().Record(files.Proxy().mapToSource(files.Proxy().index(row, 0)).row());
    const auto text =
        GetFrameText(record->V2(), id, FieldKind::Text, fixture.Environment().CodePage());
    return text ? QString::fromStdU16String(*text) : QStringLiteral("-");
}

}  // namespace

class BatchDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // Rows are numbered as they become selected: a range top to bottom, rows already
    // selected or losing their selection keep their numbers; each number undoes alone.
    void trackNumbersRowsAsTheyBecomeSelected() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        QAbstractButton* toggle = ButtonNamed(fixture.Window(), "Track #");
        const QStringList loaded = fixture.ColumnTexts(kTrackColumn);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track 1"));

        fixture.ClickRow(1);
        fixture.ClickRow(3, Qt::ControlModifier);
        fixture.ClickRow(1, Qt::ControlModifier);  // deselected: not renumbered
        fixture.ClickRow(3);                       // already the only selected row
        QCOMPARE(toggle->text(), QStringLiteral("Track 3"));
        fixture.ClickRow(0, Qt::ShiftModifier);  // rows 0 to 3; row 3 was selected
        QCOMPARE(fixture.ColumnTexts(kTrackColumn), QStringList({"3", "4", "5", "2"}));
        QCOMPARE(toggle->text(), QStringLiteral("Track 6"));

        QAction* undo = ActionNamed(fixture.Window(), "Undo Track #");
        undo->trigger();
        undo->trigger();
        QCOMPARE(fixture.ColumnTexts(kTrackColumn), QStringList({"3", "1", loaded[2], "2"}));

        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track #"));
        fixture.Select({});
        fixture.ClickRow(2);  // off: no number
        QCOMPARE(fixture.CellText(2, kTrackColumn), loaded[2]);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track 1"));
        fixture.ClickRow(1);
        QCOMPARE(fixture.CellText(1, kTrackColumn), QStringLiteral("1"));
    }

    // The recent list seeded and newest first, a chosen entry copied into the box, the
    // preview marking names that collide with each other or with a file on disk, Rename
    // applying only the others, the selection reduced to them, and Undo.
    void renamePreviewsMarksAndAppliesWhatIsPossible() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        fixture.Window().List().sortByColumn(kNameColumn, Qt::AscendingOrder);
        std::ofstream(fixture.Songs() / "gamma.mp3") << "";  // b.mp3's title
        fixture.Select({"a.mp3", "b.mp3", "c.mp3"});
        const QStringList loaded = fixture.ColumnTexts(kNameColumn);
        QStringList seeded, collided, marked;
        bool emptyPreview = false;
        WhenModal<ui::RenameDialog>([&](ui::RenameDialog* dialog) {
            auto* recent = dialog->findChild<QListWidget*>();
            auto& table = ChildNamed<QTableWidget>(*dialog, "preview");
            seeded = ListTexts(*recent) << Expression(*dialog).text();
            Type(Expression(*dialog), "");
            emptyPreview =
                table.rowCount() == 0 && ChildNamed<QLabel>(*dialog, "problem").text().isEmpty();
            recent->setCurrentRow(0);
            seeded << Expression(*dialog).text();
            Type(Expression(*dialog), "x");
            for (int row : ui::MarkedPreviewRows(table))
                collided << table.item(row, 0)->text();
            Type(Expression(*dialog), "%title");
            for (int row : ui::MarkedPreviewRows(table))
                marked << table.item(row, 0)->text() + " " + table.item(row, 2)->text();
            Click(*dialog, "Rename");
        });
        ActionNamed(fixture.Window(), "Rename...")->trigger();
        QCOMPARE(seeded, QStringList({"%artist - %track - %title", "%artist - %track - %title",
                                      "%artist - %track - %title"}));
        QVERIFY(emptyPreview);
        QCOMPARE(collided, QStringList({"b.mp3", "c.mp3"}));
        QCOMPARE(marked.size(), 1);
        QVERIFY2(marked[0].startsWith("b.mp3 Couldn't rename \"b.mp3\" to \"gamma.mp3\""),
                 qPrintable(marked[0]));
        QStringList names = fixture.ColumnTexts(kNameColumn);
        QVERIFY(names.contains("Beta.mp3") && names.contains("Alpha.mp3") &&
                names.contains("b.mp3"));
        QStringList selected;
        for (Mp3File* record : fixture.Window().List().SelectedRecords())
            selected << QString::fromStdU16String(record->Name());
        selected.sort();
        QCOMPARE(selected, QStringList({"Alpha.mp3", "Beta.mp3"}));

        // A pending rename is renamed again from its pending name; a field that is no
        // variable is refused in the preview and, on Rename, by a box over the dialog.
        fixture.Select({"Beta.mp3"});
        QStringList preview;
        std::shared_ptr<SeenBox> refused;
        WhenModal<ui::RenameDialog>([&](ui::RenameDialog* dialog) {
            Type(Expression(*dialog), "%artist");
            preview = Column(*dialog, 0) + Column(*dialog, 1);
            Type(Expression(*dialog), "%Artist");
            preview << ChildNamed<QLabel>(*dialog, "problem").text();
            refused = AnswerNextBox(QMessageBox::Ok);
            Click(*dialog, "Rename");
            preview << (dialog->isVisible() ? "open" : "closed");
            Type(Expression(*dialog), "%artist");
            Click(*dialog, "Rename");
        });
        ActionNamed(fixture.Window(), "Rename...")->trigger();
        QCOMPARE(preview,
                 QStringList({"Beta.mp3", "apple.mp3", "Unrecognized field: Artist", "open"}));
        QVERIFY(refused->shown && refused->hasOwner);
        QCOMPARE(refused->text, QStringLiteral("Unrecognized field: Artist"));
        QVERIFY(fixture.ColumnTexts(kNameColumn).contains("apple.mp3"));

        ActionNamed(fixture.Window(), "Undo Rename")->trigger();
        ActionNamed(fixture.Window(), "Undo Rename")->trigger();
        QCOMPARE(fixture.ColumnTexts(kNameColumn), loaded);
    }

    // Each captured group in its frame: the track without leading zeros, a genre name as
    // its reference; the second of three names does not match and gets one message; a
    // compile error is explained in the preview, and that expression is not stored.
    void generateFillsFieldsFromNames() {
        WindowFixture fixture;
        const fs::path folder = fixture.Scratch() / "named";
        std::vector<Song> songs(3);
        songs[0].name = "Air - 07 - Jazz.mp3";
        songs[1].name = "Bz.mp3";
        songs[2].name = "Cee - 10 - jazz.mp3";
        WriteSongs(folder, songs);
        QVERIFY(fixture.Load(folder));
        fixture.Window().List().sortByColumn(kNameColumn, Qt::AscendingOrder);
        fixture.Window().List().selectAll();
        const QString expression = R"((?P<artist>\w+) - (?P<track>\d+) - (?P<genre>\w+))";
        QString problem;
        QStringList captured, recent;
        std::shared_ptr<SeenBox> notParsed, noMatch;
        WhenModal<ui::GenerateDialog>([&](ui::GenerateDialog* dialog) {
            Type(Expression(*dialog), "(?P<artist>.*");
            problem = ChildNamed<QLabel>(*dialog, "problem").text();
            notParsed = AnswerNextBox(QMessageBox::Ok);
            Click(*dialog, "Generate ID3");
            Type(Expression(*dialog), expression);
            captured =
                Column(*dialog, 1) + Column(*dialog, 2) + Column(*dialog, 6) + Column(*dialog, 7);
            recent = ListTexts(*dialog->findChild<QListWidget*>());
            noMatch = AnswerNextBox(QMessageBox::Ok);
            Click(*dialog, "Generate ID3");
        });
        ActionNamed(fixture.Window(), "Generate ID3...")->trigger();
        QCOMPARE(problem,
                 QStringLiteral(
                     "The expression does not compile: a group is opened with ( but never closed"));
        // The messages' texts, and which expressions are kept, are the core's.
        QVERIFY(notParsed->shown && notParsed->hasOwner);
        QVERIFY(recent.isEmpty());
        QCOMPARE(captured, QStringList({"yes", "no match", "yes", "Air", "", "Cee", "07", "", "10",
                                        "Jazz", "", "jazz"}));
        QCOMPARE(noMatch->text, QStringLiteral("The regular expression didn't match the filename"));
        // What each group becomes in its frame is the core's rule; one frame shows it is used.
        QCOMPARE(FrameOf(fixture, 0, frame_ids::kTpe1), QStringLiteral("Air"));
        QCOMPARE(fixture.Window().Files().UpdatedCount(), 2u);
        QCOMPARE(fixture.Environment().Settings().ReadList(settings::kRegExps),
                 std::vector<std::u16string>{expression.toStdU16String()});

        ActionNamed(fixture.Window(), "Undo Generate ID3")->trigger();
        QCOMPARE(fixture.Window().Files().UpdatedCount(), 0u);

        // The stored expression is offered, copied when chosen, and can be deleted.
        QString chosen;
        WhenModal<ui::GenerateDialog>([&](ui::GenerateDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>();
            list->setCurrentRow(0);
            chosen = Expression(*dialog).text();
            Click(*dialog, "Delete Selection");
            recent = ListTexts(*list);
            Click(*dialog, "Cancel");
        });
        ActionNamed(fixture.Window(), "Generate ID3...")->trigger();
        QCOMPARE(chosen, expression);
        QVERIFY(recent.isEmpty());
        QVERIFY(fixture.Environment().Settings().ReadList(settings::kRegExps).empty());
    }
};

VELMORA_UI_TEST(BatchDialogsTest);

}  // namespace velmora::testing

#include "batch_dialogs_test.moc"
