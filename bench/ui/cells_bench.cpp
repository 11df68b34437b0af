// The list as a spreadsheet at scale: 10,000 loaded files in the real main window. Reports a
// paste of a 10,000-line column into every row (repaint included) and its undo, a copy of every
// row pasted straight back, and the preview of a 10,000-row CSV import. Figures only.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <cstdio>
#include <string>

#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "export/CsvExporter.h"
#include "export/CsvImport.h"
#include "export/CsvText.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"
#include "ui/app/MainWindow.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/Workspace.h"
#include "ui/dialogs/CsvImportDialog.h"
#include "ui/list/FileListView.h"

namespace velmora::bench {
namespace {

namespace fs = std::filesystem;

constexpr TaggedFileShape kSmallFile{.audioBytes = 4 * 417, .padding = 256};
constexpr double kPasteAim = 1.0;
constexpr double kUndoAim = 1.0;
constexpr double kPreviewAim = 1.0;

// Every row selected, the current cell in `column` of the first.
void SelectAllFrom(ui::FileListView& view, Column column) {
    view.setCurrentIndex(view.model()->index(0, int(column)));
    view.selectAll();
    view.setFocus();
    QCoreApplication::processEvents();
}

double Paste(ui::FileListView& view) {
    return SecondsFor([&] {
        QTest::keySequence(view.viewport(), QKeySequence::Paste);
        QCoreApplication::processEvents();
    });
}

void MeasurePaste(ui::MainWindow& window) {
    ui::FileListView& view = window.List();
    const std::size_t rows = window.Files().FileCount();
    QString column;
    for (std::size_t row = 0; row < rows; ++row)
        column += QStringLiteral("Pasted %1\n").arg(row);
    QApplication::clipboard()->setText(column);
    SelectAllFrom(view, Column::Title);
    ReportRatio("paste of a " + std::to_string(rows) + "-line column", Paste(view) * 1000, "aim",
                kPasteAim * 1000, "ms", 1.0);
    const double undo = SecondsFor([&] {
        window.Files().Undo();
        QCoreApplication::processEvents();
    });
    ReportRatio("its undo", undo * 1000, "aim", kUndoAim * 1000, "ms", 1.0);

    SelectAllFrom(view, Column::Filename);
    const double copy = SecondsFor([&] {
        QTest::keySequence(view.viewport(), QKeySequence::Copy);
        QCoreApplication::processEvents();
    });
    ReportValue("copy of every row", copy * 1000, "ms", "(no aim)");
    ReportValue("pasted straight back", Paste(view) * 1000, "ms",
                !window.Files().Journal().CanUndo() && window.Files().UpdatedCount() == 0
                    ? "(changed nothing)"
                    : "(CHANGED FILES)");
}

void MeasurePreview(ui::MainWindow& window, const text::CodePage& codePage) {
    const std::vector<Mp3File*>& records = window.Files().Model().Records();
    // The export's rows, with a new title on every one.
    std::vector<std::u16string> row{kCsvPathHeader};
    for (const Column column : kCsvColumns)
        row.emplace_back(ColumnInfoOf(column).header);
    std::string document;
    AppendCsvRecord(document, row);
    for (const Mp3File* record : records) {
        row.assign(1, record->DiskPath());
        for (const Column column : kCsvColumns)
            row.push_back(CellText(*record, column, codePage) +
                          (column == Column::Title ? u"!" : u""));
        AppendCsvRecord(document, row);
    }
    std::size_t changes = 0;
    const double seconds = SecondsFor([&] {
        const CsvImportTable table = ReadCsvImport(document);
        const CsvImportPlan plan = PlanCsvImport(table, records, codePage);
        ui::CsvImportDialog dialog(plan, codePage, &window);
        dialog.show();
        QCoreApplication::processEvents();
        changes = plan.cells.changes.size();
    });
    ReportRatio("import preview of " + std::to_string(records.size()) + " rows (" +
                    std::to_string(changes) + " cells change)",
                seconds * 1000, "aim", kPreviewAim * 1000, "ms", 1.0);
}

int Run(int argc, char** argv) {
    const std::size_t count = OptionValue(argc, argv, "--files", 10'000);
    ScratchFolder scratch("velmora-cells-bench");
    const fs::path music = scratch.Path() / "music";
    GenerateFolder(music, count, kSmallFile);
    QApplication app(argc, argv);
    auto opened = ui::UiEnvironment::Open(scratch.Path() / "window.toml");
    ui::MainWindow window(*opened.environment);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.OpenFolder(text::FileNameToText(music.string()));
    if (!QTest::qWaitFor([&] { return window.Files().IsIdle(); }, 600'000))
        return 1;
    std::printf("%zu files loaded, platform %s\n", window.Files().FileCount(),
                qPrintable(QGuiApplication::platformName()));
    MeasurePaste(window);
    MeasurePreview(window, opened.environment->CodePage());
    return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    return velmora::bench::Run(argc, argv);
}
