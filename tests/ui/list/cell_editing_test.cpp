// The list as a spreadsheet, typed into and pasted into as a user does: one value into a
// column of every selected row, Tab to the next cell, Escape, the three line counts of a
// paste, a copy pasted back, a CSV import's preview, each one undo step, and a save that
// writes only what changed.
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <fstream>

#include "scan/FileListColumns.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/CsvImportDialog.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// Selects the rows named and makes `column` of the first the current cell.
void SelectCell(WindowFixture& fixture, const QStringList& names, Column column) {
    fixture.Select(names);
    ui::FileListView& view = fixture.Window().List();
    const QModelIndex first = view.selectionModel()->selectedRows().value(0);
    view.selectionModel()->setCurrentIndex(first.siblingAtColumn(int(column)),
                                           QItemSelectionModel::NoUpdate);
    view.setFocus();
}

// The cell's open editor (a closed one is hidden until it goes).
QLineEdit* OpenEditor(WindowFixture& fixture) {
    for (QLineEdit* editor : fixture.Window().List().findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

void Paste(WindowFixture& fixture, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keySequence(fixture.Window().List().viewport(), QKeySequence::Paste);
}

}  // namespace

class CellEditingTest : public QObject {
    Q_OBJECT

  private slots:
    // A typed value goes to every selected row as one action, and is saved from an open editor;
    // a typed name is a pending rename.
    void typedValueGoesToEverySelectedRowAsOneActionAndNamesArePendingRenames() {
        WindowFixture fixture;
        SelectCell(fixture, {"a.mp3", "c.mp3"}, Column::Artist);
        QTest::keyClick(fixture.Window().List().viewport(), 'N');
        QLineEdit* editor = OpenEditor(fixture);
        QVERIFY(editor);
        QTest::keyClicks(editor, u"ull"_s);
        // Tab applies and opens the next editable cell of the row, for the same rows.
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(fixture.ColumnTexts(int(Column::Artist)),
                 QStringList({"Null", "Banana", "Null", "\u00C9mile"}));
        QVERIFY(fixture.Window().List().currentIndex().column() == int(Column::Album) &&
                fixture.Window().List().SelectedRecords().size() == 2);
        editor = OpenEditor(fixture);
        QVERIFY(editor);
        // Escape leaves the cell as it was.
        QTest::keyClicks(editor, u"gone"_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(fixture.Cell("a.mp3", Column::Album), u"Zed"_s);
        // Year takes digits only: the letters never reach the cell.
        SelectCell(fixture, {"a.mp3", "c.mp3"}, Column::Year);
        QTest::keyClick(fixture.Window().List().viewport(), Qt::Key_F2);
        editor = OpenEditor(fixture);
        editor->selectAll();
        QTest::keyClicks(editor, u"20x24"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(fixture.Cell("c.mp3", Column::Year), u"2024"_s);
        ui::Workspace& files = fixture.Window().Files();
        QCOMPARE(files.Journal().ActionCount(), std::size_t(2));
        QVERIFY(files.Undo() && files.Undo());
        QCOMPARE(fixture.Cell("c.mp3", Column::Artist) + fixture.Cell("a.mp3", Column::Year),
                 u"zebra1999"_s);

        // Ctrl+S with the editor still open: what is typed is saved, not dropped (that the save
        // keeps every other frame is tests/tags').
        SelectCell(fixture, {"b.mp3"}, Column::Title);
        QTest::keyClicks(fixture.Window().List().viewport(), u"T"_s);
        OpenEditor(fixture)->insert(u"\U0001F3B5"_s);
        QTest::keyClick(OpenEditor(fixture), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fixture.WaitIdle());
        QCOMPARE(files.UpdatedCount(), 0u);
        QCOMPARE(MutagenSays(fixture.Songs() / "b.mp3", u"t['TIT2'].text"_s), u"['T\U0001F3B5']"_s);

        // A file name is a pending rename. One name for two files: the second is refused as taken
        // (batch::PlanCellEdits, tested in tests/batch), and keeps its name.
        SelectCell(fixture, {"a.mp3", "b.mp3"}, Column::Filename);
        auto seen = AnswerNextBox(QMessageBox::Ok);
        QTest::keyClick(fixture.Window().List().viewport(), Qt::Key_F2);
        OpenEditor(fixture)->setText("new.mp3");
        QTest::keyClick(OpenEditor(fixture), Qt::Key_Return);
        QTRY_VERIFY(seen->shown && seen->text.contains("new.mp3"));
        QCOMPARE(fixture.ColumnTexts(int(Column::Filename)),
                 QStringList({"new.mp3", "b.mp3", "c.mp3", "d.mp3"}));
        QVERIFY(fs::exists(fixture.Songs() / "a.mp3"));
    }

    // A copy of the shown columns pasted back changes nothing; a paste fills a line per row, and
    // refuses a count of lines that fits no selection; a CSV import.
    void copyPasteAndImportEachApplyAsOneAction() {
        WindowFixture fixture;
        ui::FileListView& view = fixture.Window().List();
        view.horizontalHeader()->moveSection(int(Column::Year), 1);
        view.selectAll();
        view.setCurrentIndex(view.model()->index(0, int(Column::Filename)));
        view.selectAll();
        QTest::keySequence(view.viewport(), QKeySequence::Copy);
        const QString text = QApplication::clipboard()->text();
        QCOMPARE(text.count(QLatin1Char('\n')), 4);
        QVERIFY(text.startsWith(u"a.mp3\t1999\t2\tapple\tZed\tBeta\t128 (VBR)\t"_s));
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(u"text/csv"_s));
        QTest::keySequence(view.viewport(), QKeySequence::Paste);
        QVERIFY(fixture.Window().Files().Journal().ActionCount() == 0 &&
                fixture.Window().Files().UpdatedCount() == 0);
        // Which line goes to which row and column is tests/batch's PasteEdits case.
        SelectCell(fixture, {"a.mp3", "b.mp3"}, Column::Artist);
        Paste(fixture, u"\"two\tlines\"\tAlbum\nSecond\n"_s);
        QCOMPARE(fixture.Cell("a.mp3", Column::Artist), u"two\tlines"_s);
        QCOMPARE(fixture.Cell("a.mp3", Column::Album) + fixture.Cell("b.mp3", Column::Artist),
                 u"AlbumSecond"_s);
        auto seen = AnswerNextBox(QMessageBox::Ok);
        Paste(fixture, u"1\n2\n3"_s);
        QVERIFY2(seen->text.contains(u"3 lines, but 2 rows"_s), qPrintable(seen->text));
        ui::Workspace& files = fixture.Window().Files();
        QCOMPARE(files.Journal().ActionCount(), std::size_t(1));
        QVERIFY(files.Undo());
        QCOMPARE(fixture.Cell("b.mp3", Column::Artist), u"Banana"_s);

        // A CSV import previews every change and applies it, on Enter, as one action (which
        // rows match which files is tests/batch's CsvImport case).
        const auto csv = fixture.Scratch() / "in.csv";
        std::ofstream(csv) << "Path,Title\n" + fixture.Songs().string() +
                                  "/a.mp3,\"New\nA\"\n/x.mp3,\n";
        ChooseInNextFileDialog(csv);
        QStringList shown;
        QVERIFY(fixture.RunDialog<ui::CsvImportDialog>("Import CSV...", [&](auto* dialog) {
            for (int column = 1; column < dialog->Preview().columnCount(); ++column)
                shown += Texts(dialog->Preview(), column);
            QTest::keyClick(dialog, Qt::Key_Return);
        }));
        QCOMPARE(shown,
                 QStringList({"Title", "(matches no loaded file)", "Beta", "", "New\u21B5A", ""}));
        QCOMPARE(fixture.Cell("a.mp3", Column::Title), u"New\u21B5A"_s);
        QCOMPARE(files.Journal().UndoName(), std::u16string(u"Import CSV"));
        QVERIFY(files.Undo() && files.UpdatedCount() == 0);
        QCOMPARE(fixture.Cell("a.mp3", Column::Title), u"Beta"_s);
    }
};

VELMORA_UI_TEST(CellEditingTest);

}  // namespace velmora::testing

#include "cell_editing_test.moc"
