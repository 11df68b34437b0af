// The tag editor panel driven through its real widgets: the common values over several files,
// "Save All" writing only what was typed, the extra fields, the ID3v1 page, the
// removals (read back by mutagen), undo and redo of every button, and typed text never dropped.
#include <QComboBox>
#include <fstream>
#include <map>

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

namespace fs = std::filesystem;
using edit::V2Field;
using ui::TagEditorPanel;

// The ID3v1 record's track, year and genre, written over the generated one.
struct V1Bytes {
    int track = 0;
    const char* year = "";
    int genre = 255;
};

void PatchV1(const fs::path& file, const V1Bytes& v1) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(-128 + 93, std::ios::end);
    const std::string year = std::string(v1.year) + std::string(4, '\0');
    out.write(year.data(), 4);
    out.seekp(-3, std::ios::end);
    const char tail[3] = {0, char(v1.track), char(v1.genre)};
    out.write(tail, 3);
}

class PanelFixture : public WindowFixture {
  public:
    PanelFixture(const std::vector<Song>& songs, const std::map<std::string, V1Bytes>& v1 = {})
        : folder_(Scratch() / "panel") {
        WriteSongs(folder_, songs);
        for (const auto& [name, bytes] : v1)
            PatchV1(folder_ / name, bytes);
        loaded_ = Load(folder_);
    }

    bool Loaded() const { return loaded_; }
    const fs::path& Folder() const { return folder_; }
    TagEditorPanel& Panel() { return Window().Panel(); }
    ui::GeneralPage& General() {
        return static_cast<ui::GeneralPage&>(Panel().Page(TagEditorPanel::kGeneralPage));
    }
    ui::FieldEdit& Field(V2Field field) { return General().Field(field); }

    QString Text(const QString& name, V2Field field) {
        return ui::ToQString(
            edit::V2FieldText(Record(name), field, Environment().Context().codePage));
    }
    void Click(const QString& caption) { velmora::testing::Click(Window(), caption); }

  private:
    fs::path folder_;
    bool loaded_ = false;
};

Song Make(const char* name, const char16_t* title, const char16_t* album,
          const char16_t* artist = u"X", const char16_t* genre = u"(17)") {
    Song song;
    song.name = name;
    song.title = title;
    song.album = album;
    song.artist = artist;
    song.genre = genre;
    song.year = u"2000";
    song.track = u"1";
    return song;
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
        PanelFixture fixture({Make("p1.mp3", u"A", u"Disc One"), Make("p2.mp3", u"B", u""),
                              Make("p3.mp3", u"B", u"", u"Y", u"Jazz")});
        QVERIFY(fixture.Loaded());
        QVERIFY(!fixture.General().isEnabled());  // nothing selected, nothing to edit
        const std::tuple<QStringList, V2Field, QString, QString> rows[] = {
            {{"p2.mp3", "p3.mp3"}, V2Field::Album, "", "(empty)"},
            {{"p1.mp3", "p2.mp3"}, V2Field::LeadArtist, "X", ""}};
        for (const auto& [files, field, text, overlay] : rows) {
            fixture.Select(files);
            QCOMPARE(fixture.Field(field).text() + "|" + fixture.Field(field).Overlay(),
                     text + "|" + overlay);
        }
        fixture.Select({"p1.mp3", "p2.mp3"});
        // TCON "(17)" shows its name; Escape puts it back, so the genre takes no part in a save.
        auto& genre = fixture.General().Genre();
        QCOMPARE(genre.currentText(), QStringLiteral("Rock"));
        Type(*genre.lineEdit(), QStringLiteral("Jazz"));
        QTest::keyClick(genre.lineEdit(), Qt::Key_Escape);
        QVERIFY(genre.currentText() == QStringLiteral("Rock") && !genre.Changed());
        auto& title = fixture.Field(V2Field::Title);
        Type(title, QStringLiteral("New"));
        QTest::keyClick(&title, Qt::Key_Escape);
        QVERIFY(title.Overlay() == QStringLiteral("(multiple)") && !title.Changed());

        Type(title, QStringLiteral("C"));
        fixture.Click(QStringLiteral("Save All"));
        QCOMPARE(fixture.Text("p2.mp3", V2Field::Title) + fixture.Text("p3.mp3", V2Field::Title),
                 QStringLiteral("CB"));
        // The untouched genre box wrote nothing: TCON keeps its reference.
        QCOMPARE(GetFrameText(fixture.Record("p1.mp3").V2(), frame_ids::kTcon, FieldKind::Text,
                              fixture.Environment().CodePage()),
                 std::optional<std::u16string>(u"(17)"));
        QCOMPARE(fixture.Cell("p1.mp3", Column::Title), QStringLiteral("C"));
        QVERIFY(title.text() == QStringLiteral("C") && !title.Changed());
        auto& album = fixture.Field(V2Field::Album);
        Type(album, QStringLiteral("Entered"));
        QTest::keyClick(&album, Qt::Key_Return);
        QCOMPARE(fixture.Text("p2.mp3", V2Field::Album), QStringLiteral("Entered"));

        fixture.Select({"p1.mp3"});
        Type(title, QStringLiteral("Kept"));
        fixture.Panel().Tabs().setCurrentIndex(TagEditorPanel::kId3v1Page);
        fixture.Select({"p2.mp3"});
        fixture.Click(QStringLiteral("Save All"));
        QCOMPARE(fixture.Text("p1.mp3", V2Field::Title) + fixture.Text("p2.mp3", V2Field::Title),
                 QStringLiteral("KeptC"));
        fixture.Panel().Tabs().setCurrentIndex(TagEditorPanel::kGeneralPage);
        QVERIFY(title.text() == QStringLiteral("C") && !title.Changed());

        // The extra fields write their frames (a hidden column is picked in the filter test).
        fixture.Select({"p1.mp3", "p2.mp3"});
        Type(fixture.Field(V2Field::Composer), QStringLiteral("Bach"));
        Type(fixture.Field(V2Field::Disc), QStringLiteral("1/2"));
        fixture.Click(QStringLiteral("Save All"));
        QCOMPARE(fixture.Text("p1.mp3", V2Field::Disc) + fixture.Text("p2.mp3", V2Field::Composer),
                 QStringLiteral("1/2Bach"));

        // Every row selected: the page shows what the window keeps of every record, also
        // after an edit and its undo.
        QTest::keyClick(&fixture.Window().List(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(fixture.Field(V2Field::Year).text() == "2000" &&
                fixture.Field(V2Field::Title).Overlay() == "(multiple)");
        Type(fixture.Field(V2Field::Title), QStringLiteral("D"));
        fixture.Click(QStringLiteral("Save All"));
        QCOMPARE(fixture.Field(V2Field::Title).text(), QStringLiteral("D"));
        QTest::keyClick(&fixture.Field(V2Field::Title), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.Field(V2Field::Title).Overlay(), QStringLiteral("(multiple)"));
    }

    // The page's own rules: overlays, the comment's room beside a track, digits only in the
    // year, "(unchanged)" leaving every genre; the byte ranges are the core's (tests/edit).
    void id3v1PageTracksYearsAndGenres() {
        PanelFixture fixture({Make("r1.mp3", u"T1", u""), Make("r2.mp3", u"T2", u""),
                              Make("r3.mp3", u"T3", u""), Make("r5.mp3", u"T5", u"")},
                             {{"r1.mp3", {5, "1990", 17}},
                              {"r2.mp3", {5, "1991", 17}},
                              {"r3.mp3", {7, "1992", 8}},
                              {"r5.mp3", {0, "", 130}}});
        QVERIFY(fixture.Loaded());
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
        Type(page.Track(), QStringLiteral("3"));
        QCOMPARE(page.Text(Id3v1Tag::kComment).maxLength(), 28);

        fixture.Select({"r1.mp3", "r2.mp3", "r3.mp3"});
        Type(page.Text(Id3v1Tag::kYear), QStringLiteral("19x99"));
        QCOMPARE(page.Text(Id3v1Tag::kYear).text(), QStringLiteral("1999"));
        page.Genre().setFocus();
        QTest::keyClick(&page.Genre(), Qt::Key_Down);
        QTest::keyClick(&page.Genre(), Qt::Key_Home);
        fixture.Click(QStringLiteral("Save All"));
        // Year, track and genre of each record's ID3v1 tag; the ID3v2 year stays.
        QStringList saved;
        for (const char* name : {"r1.mp3", "r3.mp3"}) {
            const Id3v1Tag& v1 = fixture.Record(name).V1();
            saved << QStringLiteral("%1 %2 %3 %4")
                         .arg(ui::ToQString(v1.Text(Id3v1Tag::kYear)))
                         .arg(int(v1.Track()))
                         .arg(int(v1.Genre()))
                         .arg(fixture.Text(name, V2Field::Year));
        }
        QCOMPARE(saved, QStringList({"1999 5 17 2000", "1999 7 8 2000"}));
        page.Genre().setFocus();
        QTest::keyClick(&page.Genre(), Qt::Key_Down);
        fixture.Click(QStringLiteral("Save All"));
        QCOMPARE(int(fixture.Record("r3.mp3").V1().Genre()),
                 int(GenreTable::GenreIndex(ui::ToU16(page.Genre().itemText(1))).index));
    }

    void removalsAskFirstShowInRowAndPanelAndKeepLaterEdits() {
        PanelFixture fixture({Make("m1.mp3", u"One", u"Al"), Make("m2.mp3", u"Two", u"Al")});
        QVERIFY(fixture.Loaded());
        fixture.Select({"m1.mp3", "m2.mp3"});
        auto seen = AnswerNextBox(QMessageBox::No);
        fixture.Click(QStringLiteral("Remove ID3v2"));
        QCOMPARE(seen->text,
                 QStringLiteral("The ID3v2 tag is removed when the file is saved; values entered "
                                "afterwards are saved as a new tag.\nReally remove ID3v2?"));
        QVERIFY(!fixture.Record("m1.mp3").NeedsSave() &&
                fixture.Panel().RemovalNote().text().isEmpty());

        // Typed before or after the removal, the album is kept: the save writes a new tag.
        Type(fixture.Field(V2Field::Album), QStringLiteral("Kept"));
        for (const char* button : {"Remove ID3v2", "Remove ID3v1"}) {
            AnswerNextBox(QMessageBox::Yes);
            fixture.Click(QString::fromLatin1(button));
        }
        QCOMPARE(fixture.Field(V2Field::Album).text(), QStringLiteral("Kept"));
        QCOMPARE(fixture.Panel().RemovalNote().text(),
                 QStringLiteral("Saving removes\nID3v1, ID3v2"));
        QCOMPARE(fixture.ColumnTexts(int(Column::Title)), QStringList({"", ""}));
        Type(fixture.Field(V2Field::Year), QStringLiteral("1999"));
        fixture.Window().Files().Save();
        QVERIFY(fixture.WaitIdle());
        QVERIFY(fixture.Panel().RemovalNote().text().isEmpty());
        // The new tag alone, and no ID3v1 tag left at the end.
        const fs::path m2 = fixture.Folder() / "m2.mp3";
        QCOMPARE(MutagenSays(m2,
                             "sorted(f.FrameID + ' ' + repr(f.text) for f in "
                             "m.ID3(sys.argv[1], translate=False).values()), "
                             "open(sys.argv[1], 'rb').read()[-128:][:3] == b'TAG'"),
                 QStringLiteral("[\"TALB ['Kept']\", \"TYER ['1999']\"] False"));
    }

    // Each button is one action that Undo takes back exactly (redo and exactness of every kind
    // of action are tests/edit's JournalTest).
    void everyButtonUndoesExactly() {
        PanelFixture fixture({Make("u1.mp3", u"a_b", u"x y"), Make("u2.mp3", u"c d", u"x_y")},
                             {{"u1.mp3", {9, "1977", 3}}, {"u2.mp3", {4, "1978", 3}}});
        QVERIFY(fixture.Loaded());
        fixture.Select({"u1.mp3", "u2.mp3"});
        std::vector<Mp3File*> records = {&fixture.Record("u1.mp3"), &fixture.Record("u2.mp3")};
        struct Row {
            const char* button;
            std::function<void()> prepare;
        };
        const Row rows[] = {
            {"Save All", [&] { Type(fixture.Field(V2Field::Album), "New"); }},
            {"Copy from ID3v1", {}},
            {"Capitalize", {}},
            {"Convert _ to Space", {}},
            {"Remove ID3v1", [] { AnswerNextBox(QMessageBox::Yes); }},
            {"Remove ID3v2", [] { AnswerNextBox(QMessageBox::Yes); }},
        };
        for (const Row& row : rows) {
            std::vector<RecordState> before;
            for (Mp3File* record : records)
                before.push_back(RecordState::Capture(*record));
            if (row.prepare)
                row.prepare();
            fixture.Click(QString::fromLatin1(row.button));
            for (std::size_t i = 0; i < records.size(); ++i)
                QVERIFY2(!before[i].Matches(*records[i]), row.button);
            // The keys reach the window's Undo also from inside a field.
            QVERIFY(fixture.Activate());
            fixture.Field(V2Field::Title).setFocus();
            QTest::keyClick(&fixture.Field(V2Field::Title), Qt::Key_Z, Qt::ControlModifier);
            for (std::size_t i = 0; i < records.size(); ++i)
                QVERIFY2(before[i].Matches(*records[i]), row.button);
            // The page shows the records as they are again.
            QVERIFY2(!fixture.Field(V2Field::Album).Changed(), row.button);
            QVERIFY2(fixture.Field(V2Field::Album).Overlay() == "(multiple)", row.button);
        }
    }

    void typedTextIsAppliedNeverDropped() {
        PanelFixture fixture({Make("t1.mp3", u"One", u"Al"), Make("t2.mp3", u"Two", u"Al")});
        QVERIFY(fixture.Loaded());
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
                 fixture.Panel().Tabs().setCurrentIndex(TagEditorPanel::kCommentsPage);
                 QCOMPARE(fixture.Panel().Tabs().tabText(0), QStringLiteral("&General ID3v2 *"));
                 fixture.Panel().Tabs().setCurrentIndex(TagEditorPanel::kGeneralPage);
                 QVERIFY(title.Changed() && ui::ShowsPending(title));
                 fixture.Select({"t2.mp3"});
             }},
            {"Ctrl+S saves it", [&] { QTest::keyClick(&title, Qt::Key_S, Qt::ControlModifier); }},
        };
        int typed = 0;
        for (const auto& [why, leave] : rows) {
            fixture.Select({"t1.mp3"});
            const QString text = QStringLiteral("Typed %1").arg(++typed);
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
        QCOMPARE(MutagenSays(fixture.Folder() / "t1.mp3", "t['TIT2'].text"), "['Typed 3']");

        // Ctrl+Z in a field takes back its own typing first, then the window's last action.
        Type(fixture.Field(V2Field::Album), QStringLiteral("B"));
        QTest::keyClick(&fixture.Field(V2Field::Album), Qt::Key_Return);
        Type(title, QStringLiteral("Gone"));
        for (int key = 0; key < 5 && title.isUndoAvailable(); ++key)
            QTest::keyClick(&title, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(title.text() == "Typed 3" && !title.Changed() && !ui::ShowsPending(title));
        QCOMPARE(fixture.Text("t1.mp3", V2Field::Album), QStringLiteral("B"));
        QTest::keyClick(&title, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.Text("t1.mp3", V2Field::Album), QStringLiteral("Al"));
    }
};

VELMORA_UI_TEST(PanelTest);

}  // namespace velmora::testing

#include "panel_test.moc"
