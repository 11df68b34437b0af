// The Rename and "Generate ID3" dialogs through the real window: what they show of the core's
// preview (whose rules tests/batch checks), their messages over the dialog, the recent list,
// and each action undone.
#include <QListWidget>
#include <QTableWidget>
#include <fstream>

#include "settings/SettingNames.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/GenerateDialog.h"
#include "ui/dialogs/PreviewTable.h"
#include "ui/dialogs/RenameDialog.h"

namespace velmora::testing {
class BatchDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // The recent list seeded, a chosen entry copied into the box, the preview marking a name
    // taken by a file on disk, Rename applying the others and reducing the selection to them;
    // Delete Selection; Undo. (An expression refused in the preview and by a box over the
    // dialog is the dialogs' common part, proven once by Generate.)
    void renamePreviewsMarksAndAppliesWhatIsPossible() {
        WindowFixture fixture;
        std::ofstream(fixture.Songs() / "gamma.mp3") << "";  // b.mp3's title
        fixture.Select({"a.mp3", "b.mp3", "c.mp3"});
        const QStringList loaded = fixture.ColumnTexts(int(Column::Filename));
        QStringList seeded, marked;
        QVERIFY(fixture.RunDialog<ui::RenameDialog>("Rename...", [&](ui::RenameDialog* dialog) {
            auto* recent = dialog->findChild<QListWidget*>();
            auto& table = ChildNamed<QTableWidget>(*dialog, "preview");
            auto& box = ChildNamed<QLineEdit>(*dialog, "expression");
            seeded = Texts(*recent->model());
            Type(box, "");
            recent->setCurrentRow(0);
            seeded << box.text();
            Type(box, "%title");
            for (int row : ui::MarkedPreviewRows(table))
                marked << table.item(row, 0)->text() + " " + table.item(row, 2)->text();
            Click(*dialog, "Rename");
        }));
        QCOMPARE(seeded, QStringList({"%artist - %track - %title", "%artist - %track - %title"}));
        QVERIFY2(marked.size() == 1 &&
                     marked[0].startsWith("b.mp3 Couldn't rename \"b.mp3\" to \"gamma.mp3\""),
                 qPrintable(marked.join('|')));
        QStringList selected;
        for (Mp3File* record : fixture.Window().List().SelectedRecords())
            selected << QString::fromStdU16String(record->Name());
        QCOMPARE(selected, QStringList({"Beta.mp3", "Alpha.mp3"}));  // the rows stay in place

        QStringList kept;
        QVERIFY(fixture.RunDialog<ui::RenameDialog>("Rename...", [&](ui::RenameDialog* dialog) {
            auto* recent = dialog->findChild<QListWidget*>();
            recent->setCurrentRow(0);  // "%title", newest first
            Click(*dialog, "Delete Selected");
            kept = Texts(*recent->model());
            Click(*dialog, "Cancel");
        }));
        QCOMPARE(kept, QStringList({"%artist - %track - %title"}));
        ActionNamed(fixture.Window(), "Undo Rename")->trigger();
        QCOMPARE(fixture.ColumnTexts(int(Column::Filename)), loaded);
    }

    // A compile error is explained in the preview and, on Generate, by a box over the dialog;
    // the preview shows which names match; a name that does not gets one message; the
    // expression that ran is stored; Undo.
    void generateFillsFieldsFromNames() {
        WindowFixture fixture({{"Air - 07 - Jazz.mp3"}, {"Bz.mp3"}, {"Cee - 10 - jazz.mp3"}});
        fixture.Window().List().selectAll();
        const QString expression = R"((?P<artist>\w+) - (?P<track>\d+) - (?P<genre>\w+))";
        QString problem;
        QStringList captured;
        std::shared_ptr<SeenBox> notParsed, noMatch;
        QVERIFY(fixture.RunDialog<ui::GenerateDialog>("Generate ID3...", [&](QDialog* dialog) {
            auto& box = ChildNamed<QLineEdit>(*dialog, "expression");
            Type(box, "(?P<artist>.*");
            problem = ChildNamed<QLabel>(*dialog, "problem").text();
            notParsed = AnswerNextBox(QMessageBox::Ok);
            Click(*dialog, "Generate ID3");
            Type(box, expression);
            auto* preview = ChildNamed<QTableWidget>(*dialog, "preview").model();
            captured = Texts(*preview, 1) + Texts(*preview, 2);
            noMatch = AnswerNextBox(QMessageBox::Ok);
            Click(*dialog, "Generate ID3");
        }));
        QCOMPARE(problem,
                 u"The expression does not compile: a group is opened with ( but never closed"_s);
        QVERIFY(notParsed->shown && notParsed->hasOwner);
        QCOMPARE(captured, QStringList({"yes", "no match", "yes", "Air", "", "Cee"}));
        QCOMPARE(noMatch->text, u"The regular expression didn't match the filename"_s);
        QCOMPARE(fixture.Cell("Air - 07 - Jazz.mp3", Column::Artist), u"Air"_s);
        QCOMPARE(fixture.Window().Files().UpdatedCount(), 2u);
        QCOMPARE(fixture.Environment().Settings().ReadList(settings::kRegExps),
                 std::vector<std::u16string>{expression.toStdU16String()});
        ActionNamed(fixture.Window(), "Undo Generate ID3")->trigger();
        QCOMPARE(fixture.Window().Files().UpdatedCount(), 0u);
    }
};

VELMORA_UI_TEST(BatchDialogsTest);

}  // namespace velmora::testing

#include "batch_dialogs_test.moc"
