// The tag editor panel driven through its real widgets: the common values over several files,
// "Save All" writing only what was typed, the extra fields, the ID3v1 page, the
// removals (read back by mutagen), undo and redo of every button, and typed text never dropped.
#include <QAccessible>
#include <QComboBox>

#include "edit/TagEdits.h"
#include "scan/FileListColumns.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/RecordState.h"
#include "ui/UiTestSupport.h"
#include "ui/bridges/QtText.h"
#include "ui/list/PendingLook.h"
#include "ui/panel/FieldEdit.h"
#include "ui/panel/GeneralPage.h"
#include "ui/panel/Id3v1Page.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::testing {
namespace {

using edit::V2Field;
using ui::TagEditorPanel;

Song Make(const char* name, const char16_t* title, const char16_t* album, Song::V1 v1 = {},
          const char16_t* artist = u"X", const char16_t* genre = u"(17)") {
    return {name, u"1", artist, album, title, u"2000", genre, 9, 60, false, v1};
}

}  // namespace

class PanelTest : public QObject {
    Q_OBJECT

  private slots:
    // Which value is common to the files is edit::CommonValue's rule (tests/edit); here the
    // page shows it, Escape reverts, Enter applies, Save All writes only what was typed and
    // an edit typed for one selection never goes to the next, also from a hidden page; the
    // extra fields and their columns.
    void commonValuesEnterEscapeAndSaveAll() {
        WindowFixture fixture({Make("p1.mp3", u"A", u"Disc One"), Make("p2.mp3", u"B", u""),
                               Make("p3.mp3", u"B", u"", {}, u"Y", u"Jazz")});
        auto& general = fixture.ShowPage<ui::GeneralPage>(TagEditorPanel::kGeneralPage);
        QVERIFY(!general.isEnabled());  // nothing selected, nothing to edit
        fixture.Select({"p2.mp3", "p3.mp3"});
        QCOMPARE(fixture.Field(V2Field::Album).Overlay(), u"(empty)"_s);
        fixture.Select({"p1.mp3", "p2.mp3"});
        // TCON "(17)" shows its name; Escape puts it back, so the genre takes no part in a save.
        auto& genre = general.Genre();
        QCOMPARE(genre.currentText(), u"Rock"_s);
        Type(*genre.lineEdit(), u"Jazz"_s);
        QTest::keyClick(genre.lineEdit(), Qt::Key_Escape);
        QVERIFY(genre.currentText() == u"Rock"_s && !genre.Changed());
        auto& title = fixture.Field(V2Field::Title);
        // Its label names the field, also to a screen reader.
        QCOMPARE(QAccessible::queryAccessibleInterface(&title)->text(QAccessible::Name),
                 u"Title"_s);
        Type(title, u"New"_s);
        QTest::keyClick(&title, Qt::Key_Escape);
        QVERIFY(title.Overlay() == u"(multiple)"_s && !title.Changed());

        Type(title, u"C"_s);
        fixture.Click(u"Save All"_s);
        QCOMPARE(fixture.Text("p2.mp3", V2Field::Title) + fixture.Text("p3.mp3", V2Field::Title),
                 u"CB"_s);
        // The untouched genre box wrote nothing: TCON keeps its reference.
        QCOMPARE(GetFrameText(fixture.Record("p1.mp3").V2(), frame_ids::kTcon, FieldKind::Text,
                              fixture.Environment().CodePage()),
                 std::optional<std::u16string>(u"(17)"));
        QCOMPARE(fixture.Cell("p1.mp3", Column::Title), u"C"_s);
        QVERIFY(title.text() == u"C"_s && !title.Changed());
        auto& album = fixture.Field(V2Field::Album);
        Type(album, u"Entered"_s);
        QTest::keyClick(&album, Qt::Key_Return);
        QCOMPARE(fixture.Text("p2.mp3", V2Field::Album), u"Entered"_s);

        fixture.Select({"p1.mp3"});
        Type(title, u"Kept"_s);
        fixture.Window().Panel().Tabs().setCurrentIndex(TagEditorPanel::kId3v1Page);
        fixture.Select({"p2.mp3"});
        fixture.Click(u"Save All"_s);
        QCOMPARE(fixture.Text("p1.mp3", V2Field::Title) + fixture.Text("p2.mp3", V2Field::Title),
                 u"KeptC"_s);
        fixture.Window().Panel().Tabs().setCurrentIndex(TagEditorPanel::kGeneralPage);
        QVERIFY(title.text() == u"C"_s && !title.Changed());

        // The extra fields write their frames (a hidden column is picked in the filter test).
        fixture.Select({"p1.mp3", "p2.mp3"});
        Type(fixture.Field(V2Field::Composer), u"Bach"_s);
        Type(fixture.Field(V2Field::Disc), u"1/2"_s);
        fixture.Click(u"Save All"_s);
        QCOMPARE(fixture.Text("p1.mp3", V2Field::Disc) + fixture.Text("p2.mp3", V2Field::Composer),
                 u"1/2Bach"_s);

        // Every row selected: the page shows what the window keeps of every record, also
        // after an edit and its undo.
        QTest::keyClick(&fixture.Window().List(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(fixture.Field(V2Field::Year).text() == "2000" &&
                fixture.Field(V2Field::Title).Overlay() == "(multiple)");
        Type(fixture.Field(V2Field::Title), u"D"_s);
        fixture.Click(u"Save All"_s);
        QCOMPARE(fixture.Field(V2Field::Title).text(), u"D"_s);
        QTest::keyClick(&fixture.Field(V2Field::Title), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.Field(V2Field::Title).Overlay(), u"(multiple)"_s);
    }

    // The page's own rules: overlays, the comment's room beside a track, digits only in the
    // year, "(unchanged)" leaving every genre; the byte ranges are the core's (tests/edit).
    void id3v1PageTracksYearsAndGenres() {
        WindowFixture fixture({Make("r1.mp3", u"T1", u"", {5, "1990", 17}),
                               Make("r2.mp3", u"T2", u"", {5, "1991", 17}),
                               Make("r3.mp3", u"T3", u"", {7, "1992", 8}),
                               Make("r5.mp3", u"T5", u"", {0, "", 130})});
        auto& page = fixture.ShowPage<ui::Id3v1Page>(TagEditorPanel::kId3v1Page);
        // Beside a track the comment holds 28 characters, else 29.
        const std::tuple<QStringList, QString, QString, QString, int> rows[] = {
            {{"r1.mp3", "r2.mp3"}, "5", "", "Rock", 28},
            {{"r1.mp3", "r3.mp3"}, "", "(multiple)", "(unchanged)", 28},
            {{"r5.mp3"}, "", "(empty)", "Terror", 29}};
        for (const auto& [files, track, overlay, genre, comment] : rows) {
            fixture.Select(files);
            QCOMPARE(QStringList(
                         {page.Track().text(), page.Track().Overlay(), page.Genre().currentText()}),
                     QStringList({track, overlay, genre}));
            QCOMPARE(page.Text(Id3v1Tag::kComment).maxLength(), comment);
        }
        Type(page.Track(), u"3"_s);
        QCOMPARE(page.Text(Id3v1Tag::kComment).maxLength(), 28);

        fixture.Select({"r1.mp3", "r2.mp3", "r3.mp3"});
        Type(page.Text(Id3v1Tag::kYear), u"19x99"_s);
        QCOMPARE(page.Text(Id3v1Tag::kYear).text(), u"1999"_s);
        page.Genre().setFocus();
        QTest::keyClick(&page.Genre(), Qt::Key_Down);
        QTest::keyClick(&page.Genre(), Qt::Key_Home);
        fixture.Click(u"Save All"_s);
        // Year, track and genre of each record's ID3v1 tag; the ID3v2 year stays.
        QStringList saved;
        for (const char* name : {"r1.mp3", "r3.mp3"}) {
            const Id3v1Tag& v1 = fixture.Record(name).V1();
            saved << u"%1 %2 %3 %4"_s.arg(ui::ToQString(v1.Text(Id3v1Tag::kYear)),
                                          QString::number(v1.Track()), QString::number(v1.Genre()),
                                          fixture.Text(name, V2Field::Year));
        }
        QCOMPARE(saved, QStringList({"1999 5 17 2000", "1999 7 8 2000"}));
        page.Genre().setFocus();
        QTest::keyClick(&page.Genre(), Qt::Key_Down);
        fixture.Click(u"Save All"_s);
        QCOMPARE(int(fixture.Record("r3.mp3").V1().Genre()),
                 int(GenreTable::GenreIndex(ui::ToU16(page.Genre().itemText(1))).index));
    }

    void removalsAskFirstShowInRowAndPanelAndKeepLaterEdits() {
        WindowFixture fixture({Make("m1.mp3", u"One", u"Al"), Make("m2.mp3", u"Two", u"Al")});
        fixture.Select({"m1.mp3", "m2.mp3"});
        auto seen = AnswerNextBox(QMessageBox::No);
        fixture.Click(u"Remove ID3v2"_s);
        QCOMPARE(seen->text,
                 u"The ID3v2 tag is removed when the file is saved; values entered "
                 "afterwards are saved as a new tag.\nReally remove ID3v2?"_s);
        QVERIFY(!fixture.Record("m1.mp3").NeedsSave() &&
                fixture.Window().Panel().RemovalNote().text().isEmpty());

        // Typed before or after the removal, the album is kept: the save writes a new tag.
        Type(fixture.Field(V2Field::Album), u"Kept"_s);
        for (const char* button : {"Remove ID3v2", "Remove ID3v1"}) {
            AnswerNextBox(QMessageBox::Yes);
            fixture.Click(QString::fromLatin1(button));
        }
        QCOMPARE(fixture.Field(V2Field::Album).text(), u"Kept"_s);
        QCOMPARE(fixture.Window().Panel().RemovalNote().text(), u"Saving removes\nID3v1, ID3v2"_s);
        QCOMPARE(fixture.ColumnTexts(int(Column::Title)), QStringList({"", ""}));
        Type(fixture.Field(V2Field::Year), u"1999"_s);
        QVERIFY(fixture.Save());
        QVERIFY(fixture.Window().Panel().RemovalNote().text().isEmpty());
        // The new tag alone, and no ID3v1 tag left at the end.
        QCOMPARE(MutagenSays(fixture.Songs() / "m2.mp3",
                             "sorted(f.FrameID + ' ' + repr(f.text) for f in "
                             "m.ID3(sys.argv[1], translate=False).values()), "
                             "open(sys.argv[1], 'rb').read()[-128:][:3] == b'TAG'"),
                 u"[\"TALB ['Kept']\", \"TYER ['1999']\"] False"_s);
    }

    // Each button of the General page is one action that Undo takes back exactly (redo and
    // exactness of every kind of action are tests/edit's JournalTest; the removal buttons
    // mirror the menu's actions, whose undo WorkCommandsTest checks).
    void everyButtonUndoesExactly() {
        WindowFixture fixture({Make("u1.mp3", u"a_b", u"x y", {9, "1977", 3}),
                               Make("u2.mp3", u"c d", u"x_y", {4, "1978", 3})});
        fixture.Select({"u1.mp3", "u2.mp3"});
        std::vector<Mp3File*> records = {&fixture.Record("u1.mp3"), &fixture.Record("u2.mp3")};
        const std::pair<const char*, std::function<void()>> rows[] = {
            {"Save All", [&] { Type(fixture.Field(V2Field::Album), "New"); }},
            {"Copy from ID3v1", {}},
            {"Capitalize", {}},
            {"Convert _ to Space", {}},
        };
        for (const auto& [button, prepare] : rows) {
            std::vector<RecordState> before;
            for (Mp3File* record : records)
                before.push_back(RecordState::Capture(*record));
            if (prepare)
                prepare();
            fixture.Click(QString::fromLatin1(button));
            for (std::size_t i = 0; i < records.size(); ++i)
                QVERIFY2(!before[i].Matches(*records[i]), button);
            // The keys reach the window's Undo also from inside a field.
            QVERIFY(fixture.Activate());
            fixture.Field(V2Field::Title).setFocus();
            QTest::keyClick(&fixture.Field(V2Field::Title), Qt::Key_Z, Qt::ControlModifier);
            for (std::size_t i = 0; i < records.size(); ++i)
                QVERIFY2(before[i].Matches(*records[i]), button);
            // The page shows the records as they are again.
            QVERIFY2(!fixture.Field(V2Field::Album).Changed(), button);
            QVERIFY2(fixture.Field(V2Field::Album).Overlay() == "(multiple)", button);
        }
    }

    void typedTextIsAppliedNeverDropped() {
        WindowFixture fixture({Make("t1.mp3", u"One", u"Al"), Make("t2.mp3", u"Two", u"Al")});
        auto& window = fixture.Window();
        auto& journal = window.Files().Journal();
        auto& title = fixture.Field(V2Field::Title);
        // Each way the user leaves typed text: it reaches t1 as one undoable action.
        const std::pair<const char*, std::function<void()>> rows[] = {
            {"the quit question counts it",
             [&] {
                 auto seen = AnswerNextBox(QMessageBox::Cancel);
                 window.close();
                 QVERIFY(seen->shown && window.isVisible());
             }},
            {"a tab switch keeps it, then another row is clicked",
             [&] {
                 fixture.Window().Panel().Tabs().setCurrentIndex(TagEditorPanel::kCommentsPage);
                 QCOMPARE(fixture.Window().Panel().Tabs().tabText(0), u"&General ID3v2 *"_s);
                 fixture.Window().Panel().Tabs().setCurrentIndex(TagEditorPanel::kGeneralPage);
                 QVERIFY(title.Changed() && ui::ShowsPending(title));
                 fixture.Select({"t2.mp3"});
             }},
            {"Ctrl+S saves it", [&] { QTest::keyClick(&title, Qt::Key_S, Qt::ControlModifier); }},
        };
        int typed = 0;
        for (const auto& [why, leave] : rows) {
            fixture.Select({"t1.mp3"});
            const QString text = u"Typed %1"_s.arg(++typed);
            Type(title, text);
            QVERIFY2(ui::ShowsPending(title) && !ui::ShowsPending(fixture.Field(V2Field::Album)),
                     why);
            // Shortcuts reach an active window only; a message box may have taken it.
            QVERIFY(fixture.Activate());
            leave();
            QVERIFY(fixture.WaitIdle());
            QVERIFY2(fixture.Text("t1.mp3", V2Field::Title) == text, why);
            QVERIFY2(fixture.Text("t2.mp3", V2Field::Title) == "Two", why);
            QVERIFY2(ui::ToQString(journal.UndoName()) == "Edit Tags" || !journal.CanUndo(), why);
        }
        QCOMPARE(MutagenSays(fixture.Songs() / "t1.mp3", "t['TIT2'].text"), "['Typed 3']");

        // Ctrl+Z in a field takes back its own typing first, then the window's last action.
        Type(fixture.Field(V2Field::Album), u"B"_s);
        QTest::keyClick(&fixture.Field(V2Field::Album), Qt::Key_Return);
        Type(title, u"Gone"_s);
        for (int key = 0; key < 5 && title.isUndoAvailable(); ++key)
            QTest::keyClick(&title, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(title.text() == "Typed 3" && !title.Changed() && !ui::ShowsPending(title));
        QCOMPARE(fixture.Text("t1.mp3", V2Field::Album), u"B"_s);
        QTest::keyClick(&title, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.Text("t1.mp3", V2Field::Album), u"Al"_s);
    }
};

VELMORA_UI_TEST(PanelTest);

}  // namespace velmora::testing

#include "panel_test.moc"
