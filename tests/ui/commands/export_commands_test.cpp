// The Export submenu through its real dialogs: the Save dialog's filters, default extension
// and overwrite question, the rows each file lists (what the documents hold is tests/export's),
// and the "Export XML" options with Save and Cancel.
#include <QComboBox>
#include <QRegularExpression>

#include "export/XmlExporter.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/XmlExportDialog.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// The song files a playlist or an XML document names, in its order.
QStringList NamedSongs(const fs::path& file) {
    QStringList names;
    const QRegularExpression song(u"[^/\"]+\\.mp3"_s);
    for (auto it = song.globalMatch(QString::fromStdString(ScratchDirectory::ReadFile(file)));
         it.hasNext();)
        names << it.next().captured();
    return names;
}

bool Checked(QWidget& parent, const QString& text) {
    return ButtonNamed(parent, text)->isChecked();
}

}  // namespace

class ExportCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    // Each playlist command offers its filters and extension (added to a name typed without
    // one) and lists the rows shown or selected, in the order shown; it is a Save dialog, so Qt
    // asks before a file is replaced; the XML options.
    void exportsListTheRowsShownInTheirOrder() {
        struct Row {
            QString extension, filter;
            QStringList selected, exported;
        };
        const Row rows[] = {{"m3u", "beta", {}, {"d.mp3", "a.mp3"}},
                            {"m3u8", "", {"b.mp3", "d.mp3"}, {"d.mp3", "b.mp3"}},
                            {"pls", "a", {"a.mp3", "c.mp3"}, {"c.mp3", "a.mp3"}}};
        WindowFixture fixture;
        fixture.ClickHeader(0);  // descending
        for (const Row& row : rows) {
            FilterOf(fixture.Window()).setText(row.filter);
            fixture.Select(row.selected);
            const std::string extension = row.extension.toStdString();
            auto seen = ChooseInNextFileDialog(fixture.Scratch() / ("list-" + extension));
            const QString upper = row.extension.toUpper();
            ActionNamed(fixture.Window(), "Playlist (" + upper + ")...")->trigger();
            const QString filter = upper + " Files (*." + row.extension + ")";
            QCOMPARE(*seen, QStringList({filter, "All Files (*.*)", filter, "songs", row.extension,
                                         "asks"}));
            QCOMPARE(NamedSongs(fixture.Scratch() / ("list-" + extension + "." + extension)),
                     row.exported);
        }

        // Fresh XML options are shown and Save writes with the options picked; Cancel writes and
        // stores nothing (the level rules and the document are tests/export's).
        FilterOf(fixture.Window()).clear();
        auto seen = ChooseInNextFileDialog(fixture.Scratch() / "library");
        bool shownFresh = false;
        QVERIFY(fixture.RunDialog<ui::XmlExportDialog>("XML...", [&](ui::XmlExportDialog* dialog) {
            auto levels = dialog->findChildren<QComboBox*>();
            QCOMPARE(levels.size(), 4);
            shownFresh = levels[0]->currentText() == "List" && levels[0]->isEnabled() &&
                         !levels[1]->isEnabled() && !levels[3]->isEnabled() &&
                         Checked(*dialog, "File name") && Checked(*dialog, "Bitrate") &&
                         !Checked(*dialog, "Duration") && Checked(*dialog, "Skip field if empty");
            levels[0]->setFocus();
            QTest::keyClick(levels[0], Qt::Key_Down);  // Artist
            Click(*dialog, "Full file path");
            Click(*dialog, "Duration");
            Click(*dialog, "Save");
        }));
        QVERIFY(shownFresh);
        QCOMPARE(*seen, QStringList({"XML Files (*.xml)", "All Files (*.*)", "XML Files (*.xml)",
                                     "songs", "xml", "asks"}));
        // The options picked reach the document: grouped by artist, with paths and durations.
        const std::string document = ScratchDirectory::ReadFile(fixture.Scratch() / "library.xml");
        for (const char* part : {"<Artist name=", " path=\"/", " duration=\"75\""})
            QVERIFY2(document.find(part) != std::string::npos, part);
        const XmlExportOptions before = LoadXmlExportOptions(fixture.Environment().XmlSettings());
        const fs::path cancelled = fixture.Scratch() / "cancelled.xml";
        seen = ChooseInNextFileDialog(cancelled);
        QVERIFY(fixture.RunDialog<ui::XmlExportDialog>("XML...", [&](ui::XmlExportDialog* dialog) {
            QVERIFY(Checked(*dialog, "Full file path") && Checked(*dialog, "Duration"));
            Click(*dialog, "Duration");
            Click(*dialog, "Cancel");
        }));
        QVERIFY(!seen->isEmpty() && !fs::exists(cancelled));
        QVERIFY(LoadXmlExportOptions(fixture.Environment().XmlSettings()) == before);
    }
};

VELMORA_UI_TEST(ExportCommandsTest);

}  // namespace velmora::testing

#include "export_commands_test.moc"
