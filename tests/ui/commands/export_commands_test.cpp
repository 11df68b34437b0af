// The Export submenu through its real dialogs: the Save dialog's filters, default extension
// and overwrite question, the files written against the core's own export of the same
// records, and the "Export XML" options with Save and Cancel.
#include <QComboBox>
#include <fstream>

#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "text/FileName.h"
#include "text/LocaleCodePage.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/XmlExportDialog.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// What the next Save dialog offered; it is answered with `path`, typed as given.
struct SeenSaveDialog {
    bool shown = false;
    QStringList filters;
    QString suffix;
};
std::shared_ptr<SeenSaveDialog> ChooseInNextSaveDialog(const fs::path& path) {
    auto seen = std::make_shared<SeenSaveDialog>();
    WhenModal<QFileDialog>([seen, path](QFileDialog* dialog) {
        seen->shown = true;
        seen->filters = dialog->nameFilters();
        seen->suffix = dialog->defaultSuffix();
        ChooseInFileDialog(dialog, QString::fromStdString(path.string()));
    });
    return seen;
}

// The core's own export, to `target`, of the files named, in that order (all of them, in
// load order, for none).
std::string CoreExport(Exporter& exporter, WindowFixture& fixture, const fs::path& target,
                       const QStringList& names = {}) {
    const auto& all = fixture.Window().Files().Model().Records();
    std::vector<const Mp3File*> records(all.begin(), all.end());
    if (!names.isEmpty())
        records.clear();
    for (const QString& name : names)
        records.push_back(&fixture.Record(name));
    FixedExportTarget fixed(text::FileNameToText(target.string()));
    Export(exporter, records, fixed, fixture.Environment().Context());
    return ScratchDirectory::ReadFile(target);
}

}  // namespace

class ExportCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    // Each playlist command offers its filters and extension (added to a name typed without
    // one) and writes what the core writes of the rows shown or selected, in the order shown.
    void playlistsWriteWhatTheCoreWrites() {
        struct Row {
            QString extension, filter;
            QStringList selected, exported;
        };
        const Row rows[] = {{"m3u", "beta", {}, {"d.mp3", "a.mp3"}},
                            {"m3u8", "", {"b.mp3", "d.mp3"}, {"d.mp3", "b.mp3"}},
                            {"pls", "a", {"a.mp3", "c.mp3"}, {"c.mp3", "a.mp3"}}};
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        fixture.Window().List().sortByColumn(0, Qt::DescendingOrder);
        const auto locale = text::LocaleCodePage();
        for (const Row& row : rows) {
            FilterOf(fixture.Window()).setText(row.filter);
            fixture.Select(row.selected);
            std::unique_ptr<Exporter> core;
            if (row.extension == "pls")
                core = std::make_unique<PlsExporter>(*locale);
            else
                core = std::make_unique<M3uExporter>(*locale, row.extension == "m3u8"
                                                                  ? PlaylistEncoding::Utf8
                                                                  : PlaylistEncoding::CodePage);
            const std::string extension = row.extension.toStdString();
            const std::string expected =
                CoreExport(*core, fixture, fixture.Scratch() / ("core." + extension), row.exported);
            auto seen = ChooseInNextSaveDialog(fixture.Scratch() / ("list-" + extension));
            const QString upper = row.extension.toUpper();
            ActionNamed(fixture.Window(), "Playlist (" + upper + ")...")->trigger();
            QVERIFY(seen->shown);
            QCOMPARE(seen->filters,
                     QStringList({upper + " Files (*." + row.extension + ")", "All Files (*.*)"}));
            QCOMPARE(seen->suffix, row.extension);
            const fs::path written = fixture.Scratch() / ("list-" + extension + "." + extension);
            QCOMPARE(QString::fromStdString(ScratchDirectory::ReadFile(written)),
                     QString::fromStdString(expected));
        }
    }

    // An existing file is replaced only after a Yes; after a No the Save dialog is still up.
    void existingTargetIsReplacedOnlyAfterTheQuestion() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        const fs::path target = fixture.Scratch() / "old.m3u";
        std::ofstream(target) << "old content";
        std::shared_ptr<SeenBox> no, yes;
        bool upAfterNo = false;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            no = AnswerNextBox(QMessageBox::No);
            ChooseInFileDialog(dialog, QString::fromStdString(target.string()));
            upAfterNo = dialog->isVisible();
            yes = AnswerNextBox(QMessageBox::Yes);
            ChooseInFileDialog(dialog, QString::fromStdString(target.string()));
        });
        ActionNamed(fixture.Window(), "Playlist (M3U)...")->trigger();
        QVERIFY(no && no->shown && upAfterNo && yes && yes->shown);
        QVERIFY2(no->text.contains("already exists"), qPrintable(no->text));
        QVERIFY(ScratchDirectory::ReadFile(target).starts_with("#EXTM3U\n"));
    }

    // Fresh options are shown, the level rules follow the user's picks, and Save writes
    // what the core writes with the options it stored; Cancel writes and stores nothing.
    void xmlOptionsSaveAndCancel() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        const fs::path target = fixture.Scratch() / "library.xml";
        auto seen = ChooseInNextSaveDialog(fixture.Scratch() / "library");
        bool shownFresh = false;
        WhenModal<ui::XmlExportDialog>([&](ui::XmlExportDialog* dialog) {
            auto levels = dialog->findChildren<QComboBox*>();
            QCOMPARE(levels.size(), 4);
            shownFresh = levels[0]->currentText() == "List" && levels[0]->isEnabled() &&
                         !levels[1]->isEnabled() && !levels[3]->isEnabled() &&
                         Checked(*dialog, "File name") && Checked(*dialog, "Bitrate") &&
                         !Checked(*dialog, "Duration") && Checked(*dialog, "Skip field if empty");
            levels[0]->setFocus();
            QTest::keyClick(levels[0], Qt::Key_Down);  // Artist
            QVERIFY(levels[1]->isEnabled() && !levels[2]->isEnabled());
            Click(*dialog, "Full file path");
            Click(*dialog, "Duration");
            Click(*dialog, "Save");
        });
        ActionNamed(fixture.Window(), "XML...")->trigger();
        QVERIFY(shownFresh);
        QCOMPARE(seen->filters, QStringList({"XML Files (*.xml)", "All Files (*.*)"}));
        const std::string document = ScratchDirectory::ReadFile(target);
        QVERIFY(document.find("<Artist name=") != std::string::npos);
        QVERIFY(document.find(" path=") != std::string::npos);
        StoredXmlOptions stored;
        XmlExporter core(fixture.Environment().XmlSettings(), stored);
        QCOMPARE(QString::fromStdString(document),
                 QString::fromStdString(CoreExport(core, fixture, fixture.Scratch() / "core.xml")));

        const XmlExportOptions before = LoadXmlExportOptions(fixture.Environment().XmlSettings());
        QVERIFY(before.fullPath && before.mp3Duration &&
                before.structure.Key(0) == XmlGrouping::Artist);
        const fs::path cancelled = fixture.Scratch() / "cancelled.xml";
        seen = ChooseInNextSaveDialog(cancelled);
        WhenModal<ui::XmlExportDialog>([&](ui::XmlExportDialog* dialog) {
            QVERIFY(Checked(*dialog, "Full file path") && Checked(*dialog, "Duration"));
            Click(*dialog, "Duration");
            Click(*dialog, "Cancel");
        });
        ActionNamed(fixture.Window(), "XML...")->trigger();
        QVERIFY(seen->shown && !fs::exists(cancelled));
        QVERIFY(LoadXmlExportOptions(fixture.Environment().XmlSettings()) == before);
    }

  private:
    static bool Checked(QWidget& parent, const QString& text) {
        return ButtonNamed(parent, text)->isChecked();
    }
};

VELMORA_UI_TEST(ExportCommandsTest);

}  // namespace velmora::testing

#include "export_commands_test.moc"
