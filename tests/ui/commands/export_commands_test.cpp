// The Export submenu through its real dialogs: the Save dialog's filters, default extension
// and overwrite question, the files written against the core's own export of the same
// records, and the "Export XML" options with Save and Cancel.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"
#include "text/LocaleCodePage.h"
#include "ui/UiTestSupport.h"
#include "ui/app/Workspace.h"
#include "ui/dialogs/XmlExportDialog.h"
#include "ui/list/FileListView.h"

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
    const ui::FileListModel& model = fixture.Window().Files().Model();
    std::vector<const Mp3File*> records(model.Records().begin(), model.Records().end());
    if (!names.isEmpty()) {
        records.clear();
        for (const QString& name : names) {
            for (const Mp3File* record : model.Records()) {
                if (QString::fromStdU16String(record->Name()) == name)
                    records.push_back(record);
            }
        }
    }
    FixedExportTarget fixed(text::FileNameToText(target.string()));
    Export(exporter, records, fixed, fixture.Environment().Context());
    return ScratchDirectory::ReadFile(target);
}

}  // namespace

class ExportCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void playlistsWriteWhatTheCoreWrites_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("exported");
        // The list is sorted by name, descending: what is exported comes in the order shown.
        const QStringList m3u{"M3U Files (*.m3u)", "All Files (*.*)"};
        QTest::newRow("M3U of the rows a filter shows, none selected")
            << "Playlist (M3U)..."
            << "m3u" << m3u << "beta" << QStringList{} << QStringList{"d.mp3", "a.mp3"};
        QTest::newRow("M3U8 of the selection")
            << "Playlist (M3U8)..."
            << "m3u8" << QStringList{"M3U8 Files (*.m3u8)", "All Files (*.*)"} << ""
            << QStringList{"b.mp3", "d.mp3"} << QStringList{"d.mp3", "b.mp3"};
        QTest::newRow("PLS of the selection under a filter")
            << "Playlist (PLS)..."
            << "pls" << QStringList{"PLS Files (*.pls)", "All Files (*.*)"} << "a"
            << QStringList{"a.mp3", "c.mp3"} << QStringList{"c.mp3", "a.mp3"};
    }
    void playlistsWriteWhatTheCoreWrites() {
        QFETCH(QString, command);
        QFETCH(QString, extension);
        QFETCH(QStringList, filters);
        QFETCH(QString, filter);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, exported);
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        fixture.Window().List().sortByColumn(0, Qt::DescendingOrder);
        FilterOf(fixture.Window()).setText(filter);
        fixture.Select(selected);
        const auto locale = text::LocaleCodePage();
        const text::CodePage& codePage = *locale;
        std::unique_ptr<Exporter> core;
        if (extension == "pls")
            core = std::make_unique<PlsExporter>(codePage);
        else
            core = std::make_unique<M3uExporter>(codePage, extension == "m3u8"
                                                               ? PlaylistEncoding::Utf8
                                                               : PlaylistEncoding::CodePage);
        const std::string expected = CoreExport(
            *core, fixture, fixture.Scratch() / ("core." + extension.toStdString()), exported);
        // Typed without an extension: the default one is added.
        auto seen = ChooseInNextSaveDialog(fixture.Scratch() / "list");
        ActionNamed(fixture.Window(), command)->trigger();
        QVERIFY(seen->shown);
        QCOMPARE(seen->filters, filters);
        QCOMPARE(seen->suffix, extension);
        const fs::path written = fixture.Scratch() / ("list." + extension.toStdString());
        const std::string document = ScratchDirectory::ReadFile(written);

        QCOMPARE(QString::fromStdString(document), QString::fromStdString(expected));
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
            QTest::mouseClick(ButtonNamed(*dialog, "Full file path"), Qt::LeftButton);
            QTest::mouseClick(ButtonNamed(*dialog, "Duration"), Qt::LeftButton);
            QTest::mouseClick(ButtonNamed(*dialog, "Save"), Qt::LeftButton);
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
            QTest::mouseClick(ButtonNamed(*dialog, "Duration"), Qt::LeftButton);
            QTest::mouseClick(ButtonNamed(*dialog, "Cancel"), Qt::LeftButton);
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
