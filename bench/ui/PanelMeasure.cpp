#include "PanelMeasure.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchMeasure.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Workspace.h"
#include "ui/list/FileListView.h"
#include "ui/panel/FieldEdit.h"
#include "ui/panel/GeneralPage.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPanelAim = 0.100;
constexpr double kStallAim = 0.050;
constexpr double kLibraryEditAim = 2.0;
constexpr double kJournalBytesAim = 500;

// Runs `work` and waits for the panel to show its outcome, while a 10 ms timer ticks on the
// same thread; prints its time against `aim` and the longest gap between ticks (or from the
// start or to the end).
void TimeWithTicks(ui::MainWindow& window, const char* what, const std::function<void()>& work,
                   double aim = kLibraryEditAim) {
    std::vector<Clock::time_point> ticks;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] { ticks.push_back(Clock::now()); });
    tick.start(10);
    const auto start = Clock::now();
    work();
    QCoreApplication::processEvents();
    while (window.Panel().Filling())
        QCoreApplication::processEvents();
    const auto end = Clock::now();
    tick.stop();
    ticks.push_back(end);
    double longest = 0;
    auto previous = start;
    for (const auto& at : ticks) {
        longest = std::max(longest, std::chrono::duration<double>(at - previous).count());
        previous = at;
    }
    ReportRatio(what, std::chrono::duration<double>(end - start).count() * 1000, "aim", aim * 1000,
                "ms", 1.0);
    ReportRatio("  longest stall in it", longest * 1000, "aim", kStallAim * 1000, "ms", 1.0);
}

}  // namespace

void MeasurePanel(ui::MainWindow& window) {
    // The machine is shared: its load says how far the figures can be trusted.
    std::ifstream loadAverage("/proc/loadavg");
    std::string load;
    std::getline(loadAverage, load);
    std::printf("load average: %s\n", load.c_str());
    window.List().clearSelection();
    QCoreApplication::processEvents();
    TimeWithTicks(
        window, "select every row, the panel filled", [&] { window.List().selectAll(); },
        kPanelAim);
    TimeWithTicks(
        window, "of which the panel's reload", [&] { window.Panel().Reload(); }, kPanelAim);
    const double rows = SecondsFor([&] { (void)window.List().SelectedRecords(); });
    ReportValue("of which the selected records", rows * 1000, "ms", "(no aim)");
    auto& general =
        static_cast<ui::GeneralPage&>(window.Panel().Page(ui::TagEditorPanel::kGeneralPage));
    QTest::keyClicks(&general.Field(edit::V2Field::Title), QStringLiteral("Same"));
    ui::Workspace& files = window.Files();
    TimeWithTicks(window, "\"Save All\" of a title into every row",
                  [&] { window.Panel().SaveAll(); });
    const double bytes = double(files.Journal().MemoryBytes());
    ReportValue("journal memory after it", bytes / 1e6, "MB", "(aim 50 MB at 100,000)");
    ReportRatio("journal per record", bytes / double(std::max<std::size_t>(1, files.FileCount())),
                "aim", kJournalBytesAim, "B", 1.0);
    TimeWithTicks(window, "undo of it", [&] { files.Undo(); });
    TimeWithTicks(window, "redo of it", [&] { files.Redo(); });
    // A column of one line per row pasted into Title, with every row still selected.
    QString lines;
    for (std::size_t row = 0; row < files.FileCount(); ++row)
        lines += QStringLiteral("Pasted %1\n").arg(row);
    QApplication::clipboard()->setText(lines);
    ui::FileListView& list = window.List();
    list.selectionModel()->setCurrentIndex(list.model()->index(0, int(Column::Title)),
                                           QItemSelectionModel::NoUpdate);
    TimeWithTicks(window, "paste of a column into every row", [&] { emit list.pasteWanted(); });
    TimeWithTicks(window, "undo of it", [&] { files.Undo(); });
    // Clean again, so that the next load asks nothing.
    files.Undo();
}

}  // namespace velmora::bench
