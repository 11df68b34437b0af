// The window at scale: a folder of 100,000 files loaded into the real main window. Reports
// the longest gap between 10 ms timer ticks while the load runs, the sorts by Bitrate and Artist,
// the bytes the list model and its sorting proxy add per row, and the time from a process's start
// until its window is shown. Figures only: nothing here is a test.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "PanelMeasure.h"
#include "scan/LoaderThread.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"
#include "ui/app/MainWindow.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/Workspace.h"
#include "ui/list/FileListModel.h"
#include "ui/list/FileListProxy.h"
#include "ui/list/FileListView.h"

namespace velmora::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr TaggedFileShape kSmallFile{.audioBytes = 4 * 417, .padding = 256};
constexpr double kTickGapAim = 0.050;
constexpr double kSortAim = 0.5;
constexpr double kBytesPerRowAim = 200;
constexpr double kStartAim = 0.300;
constexpr double kEditOneAim = 0.005;
constexpr double kEditManyAim = 0.050;
constexpr double kColdLoadAim = 0.5;  // of reading the files one after another
constexpr std::size_t kManyRows = 1000;
constexpr int kEditRounds = 5;

std::u16string TextPath(const fs::path& path) {
    return text::FileNameToText(path.string());
}

bool WaitUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 600'000);
}

// Heap bytes the list model and the proxy add for `count` loaded records, sorted by Artist.
void MeasureRowBytes(const fs::path& music, std::size_t count) {
    auto opened = ui::UiEnvironment::Open(music.parent_path() / "rows.toml");
    LoaderThread loader(opened.environment->Context());
    loader.SetDirectory(TextPath(music));
    loader.Start();
    loader.Join();
    const std::vector<Mp3File*> records = loader.Records().From(0);
    ::malloc_trim(0);
    const std::size_t before = HeapBytesInUse();
    {
        ui::FileListModel model(opened.environment->CodePage());
        ui::FileListProxy proxy(model);
        model.Append(records);
        proxy.sort(int(Column::Artist));
        const double perRow = double(HeapBytesInUse() - before) / double(records.size());
        ReportRatio("model + proxy, sorted, per row", perRow, "aim", kBytesPerRowAim, "B", 1.0);
    }
    if (records.size() != count)
        std::printf("  (loaded %zu of %zu files)\n", records.size(), count);
}

struct LoadFigures {
    double seconds = 0;
    double longestGap = 0;
    double firstRowsAt = 0;
    // When the last rows appeared: the done event that follows (status, commands) waits for
    // the load poll, which ticks every 750 ms whatever the disk does.
    double lastRowsAt = 0;
    std::size_t ticks = 0;
};

// Loads the folder into a shown main window while a 10 ms timer ticks on the same thread.
LoadFigures MeasureLoad(ui::MainWindow& window, const fs::path& music) {
    LoadFigures figures;
    std::vector<Clock::time_point> ticks;
    ticks.reserve(100'000);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] { ticks.push_back(Clock::now()); });
    const auto start = Clock::now();
    tick.start(10);
    window.OpenFolder(TextPath(music));
    int rows = 0;
    WaitUntil([&] {
        const int now = window.Files().Proxy().rowCount();
        if (now != rows) {
            const double at = std::chrono::duration<double>(Clock::now() - start).count();
            if (rows == 0)
                figures.firstRowsAt = at;
            figures.lastRowsAt = at;
            rows = now;
        }
        return window.Files().IsIdle();
    });
    tick.stop();
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.ticks = ticks.size();
    auto previous = start;
    for (const auto& at : ticks) {
        figures.longestGap =
            std::max(figures.longestGap, std::chrono::duration<double>(at - previous).count());
        previous = at;
    }
    return figures;
}

void ReportLoad(const char* how, ui::MainWindow& window, const LoadFigures& load) {
    std::printf(
        "Load of %zu files into the window%s: %.2f s, first rows after %.2f s, all after %.2f s, "
        "%zu ticks\n",
        window.Files().FileCount(), how, load.seconds, load.firstRowsAt, load.lastRowsAt,
        load.ticks);
    ReportRatio("longest gap between 10 ms ticks", load.longestGap * 1000, "aim",
                kTickGapAim * 1000, "ms", 1.0);
}

// The same load with nothing in memory, against the C loop reading the files one after
// another, also from a dropped cache.
void ReportColdLoad(ui::MainWindow& window, const fs::path& music) {
    if (!DropPageCache()) {
        std::printf("Cold load: skipped, dropping the page cache needs root\n");
        return;
    }
    const std::vector<std::string> names = ListFolder(music);
    const double floor = SecondsFor([&] { ReadLikeALoader(music, names); });
    DropPageCache();
    const LoadFigures cold = MeasureLoad(window, music);
    ReportLoad(", cold", window, cold);
    ReportRatio("cold load, all rows / C loop from a dropped cache", cold.lastRowsAt * 1000,
                "C loop", floor * 1000, "ms", kColdLoadAim);
}

double MeasureSort(ui::MainWindow& window, Column column, Qt::SortOrder order) {
    return SecondsFor([&] {
        window.List().sortByColumn(int(column), order);
        QCoreApplication::processEvents();
    });
}

// The records of `count` rows spread evenly over the list as shown.
std::vector<Mp3File*> SpreadRows(ui::MainWindow& window, std::size_t count) {
    const ui::FileListProxy& proxy = window.Files().Proxy();
    const int step = std::max(1, proxy.rowCount() / int(count));
    std::vector<Mp3File*> records;
    for (int row = 0; row < proxy.rowCount() && records.size() < count; row += step)
        records.push_back(
            window.Files().Model().Record(proxy.mapToSource(proxy.index(row, 0)).row()));
    return records;
}

// A new Artist (the sort column) for `records`, and its repaint, then undone. The old road
// repainted every row and, the proxy sorting dynamically, placed every changed row anew (its
// count of the records to save, a pass over all of them, is left out); the workspace's
// repaints the changed rows where they are.
double MeasureEditOnce(ui::MainWindow& window, std::span<Mp3File* const> records, bool oldRoad,
                       const EngineContext& context) {
    ui::Workspace& files = window.Files();
    auto change = [&](Mp3File& record) {
        SetFrameText(record.V2(), FrameId("TPE1"), u"Zz edited", context);
    };
    double seconds = 0;
    if (oldRoad) {
        files.Proxy().setDynamicSortFilter(true);
        QCoreApplication::processEvents();
        seconds = SecondsFor([&] {
            files.Journal().ApplyToEach(u"Edit", records, change);
            files.Model().RowsChanged();
            QCoreApplication::processEvents();
        });
        files.Proxy().setDynamicSortFilter(false);
    } else {
        seconds = SecondsFor([&] {
            files.ApplyToEach(u"Edit", records, change);
            QCoreApplication::processEvents();
        });
    }
    files.Undo();
    QCoreApplication::processEvents();
    return seconds;
}

// The median of a few rounds: one edit alone is at the mercy of the machine's other work.
double MeasureEdit(ui::MainWindow& window, std::span<Mp3File* const> records, bool oldRoad,
                   const EngineContext& context) {
    std::vector<double> rounds;
    for (int round = 0; round < kEditRounds; ++round)
        rounds.push_back(MeasureEditOnce(window, records, oldRoad, context));
    return Median(rounds);
}

void ReportEdits(ui::MainWindow& window, const EngineContext& context) {
    for (std::size_t count : {std::size_t{1}, kManyRows}) {
        const std::vector<Mp3File*> records = SpreadRows(window, count);
        const double before = MeasureEdit(window, records, true, context);
        const double after = MeasureEdit(window, records, false, context);
        const double aim = count == 1 ? kEditOneAim : kEditManyAim;
        const std::string what = "edit of " + std::to_string(records.size()) + " row(s)";
        ReportRatio(what + ", old road", before * 1000, "aim", aim * 1000, "ms", 1.0);
        ReportRatio(what + ", rows in place", after * 1000, "aim", aim * 1000, "ms", 1.0);
    }
}

// The child of the start figure: the program's own start-up, then one byte on standard
// output once the window is exposed.
int StartChild(int argc, char** argv, const fs::path& settings) {
    QApplication app(argc, argv);
    auto opened = ui::UiEnvironment::Open(settings);
    ui::MainWindow window(*opened.environment);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QCoreApplication::processEvents();
    const char ready = '\n';
    return ::write(STDOUT_FILENO, &ready, 1) == 1 ? 0 : 1;
}

void MeasureStart(const char* self, const fs::path& settings) {
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        const ProgramTimes measured = TimeProgram({self, "--child-start", settings.string()});
        if (measured.ok)
            times.push_back(measured.untilReady);
    }
    if (times.empty()) {
        std::printf("start to window shown: the child failed\n");
        return;
    }
    ReportRatio("start to window shown (median of 7)", Median(times) * 1000, "aim",
                kStartAim * 1000, "ms", 1.0);
}

int Run(int argc, char** argv) {
    const std::size_t count = OptionValue(argc, argv, "--files", 100'000);
    // "--panel-only 3": the load, then the panel's figures three times, nothing else.
    const std::size_t panelOnly = OptionValue(argc, argv, "--panel-only", 0);
    ScratchFolder scratch("velmora-window-bench");
    const fs::path music = scratch.Path() / "music";
    std::printf("Generating %zu files...\n", count);
    std::fflush(stdout);
    GenerateFolder(music, count, kSmallFile);
    // Its saves are recorded like a user's, in a history of its own.
    ::setenv("XDG_STATE_HOME", (scratch.Path() / "state").c_str(), 1);

    QApplication app(argc, argv);
    std::printf("Platform: %s\n", qPrintable(QGuiApplication::platformName()));
    if (panelOnly == 0) {
        MeasureStart(argv[0], scratch.Path() / "start.toml");
        MeasureRowBytes(music, count);
    }

    auto opened = ui::UiEnvironment::Open(scratch.Path() / "window.toml");
    ui::MainWindow window(*opened.environment);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    const LoadFigures load = MeasureLoad(window, music);
    ReportLoad("", window, load);
    if (panelOnly > 0) {
        for (std::size_t round = 0; round < panelOnly; ++round)
            MeasurePanel(window);
        return 0;
    }
    ReportColdLoad(window, music);
    ReportRatio("sort by Bitrate", MeasureSort(window, Column::Bitrate, Qt::AscendingOrder) * 1000,
                "aim", kSortAim * 1000, "ms", 1.0);
    ReportRatio("sort by Artist", MeasureSort(window, Column::Artist, Qt::AscendingOrder) * 1000,
                "aim", kSortAim * 1000, "ms", 1.0);
    ReportRatio("sort by Artist, reversed",
                MeasureSort(window, Column::Artist, Qt::DescendingOrder) * 1000, "aim",
                kSortAim * 1000, "ms", 1.0);
    ReportEdits(window, opened.environment->Context());
    // The window comes back sorted as it was left, so a load into a sorted list counts too.
    ReportLoad(", sorted by Artist", window, MeasureLoad(window, music));
    // Last: whatever goes wrong in the edits leaves records to save, and a load after it
    // would ask whether to save.
    MeasurePanel(window);
    return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--child-start")
        return velmora::bench::StartChild(argc, argv, argv[2]);
    return velmora::bench::Run(argc, argv);
}
