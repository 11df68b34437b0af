// Loading when the files are not in memory: `velmora-cli list` over real-shaped files against
// the C loop that reads them one after another, with the page cache dropped before each run
// (root only; otherwise said and skipped) and warm; then the loader over a simulated network
// share (every open and read answered 1 ms late) with its pool of readers against one reader.
//   cold_load_bench [--files 2000] [--rounds 3] [--share-files 300]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchEngine.h"
#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "ProcessFigures.h"
#include "RealShapedFiles.h"
#include "scan/LoaderThread.h"
#include "tags/file/BufferedFileFaults.h"
#include "text/FileName.h"

namespace velmora::bench {
namespace {

constexpr double kColdAim = 0.5;
constexpr double kWarmAim = 1.5;
constexpr double kShareAim = 8;

void Print(const char* who, const ProcessFigures& f) {
    std::printf("  %-34s wall %7.3f s | processor %6.3f s | peak %7.1f MiB%s\n", who, f.wallSeconds,
                f.processorSeconds, static_cast<double>(f.peakBytes) / (1 << 20),
                f.ok ? "" : " FAILED");
}

// Both sides in turn, each run after `prepare`.
bool Compare(const char* title, const std::vector<std::string>& list,
             const std::vector<std::string>& floor, std::size_t rounds, double aim,
             bool (*prepare)()) {
    std::vector<ProcessFigures> ours, theirs;
    for (std::size_t i = 0; i < rounds; ++i) {
        if (!prepare())
            return false;
        ours.push_back(MeasureProcess(list));
        prepare();
        theirs.push_back(MeasureProcess(floor));
    }
    const ProcessFigures a = MedianOf(ours), b = MedianOf(theirs);
    std::printf("%s (medians of %zu):\n", title, rounds);
    Print("C loop, one file after another", b);
    Print("velmora-cli list", a);
    ReportRatio("  list wall / C loop wall", a.wallSeconds * 1000, "C loop", b.wallSeconds * 1000,
                "ms", aim);
    return a.ok && b.ok;
}

// The loader's wall time over the folder, every open and read 1 ms late.
double LoadOverShare(const std::filesystem::path& folder, std::size_t readers) {
    BenchEngine engine;
    LoaderThread loader(engine.Context());
    loader.SetReaders(readers);
    loader.SetReaderStart([] {
        thread_local FileFaults share;
        share.Delay(FileCall::Open, std::chrono::milliseconds(1));
        share.Delay(FileCall::Read, std::chrono::milliseconds(1));
        thread_local ScopedFileFaults installed(share);
    });
    loader.SetDirectory(text::FileNameToText(folder.string()));
    return SecondsFor([&] {
        loader.Start();
        loader.Join();
    });
}

int Run(int argc, char** argv) {
    const std::size_t files = OptionValue(argc, argv, "--files", 2000);
    const std::size_t rounds = OptionValue(argc, argv, "--rounds", 3);
    const std::size_t shareFiles = OptionValue(argc, argv, "--share-files", 300);
    ScratchFolder scratch("velmora-cold");
    const auto folder = scratch.Path() / "set";
    const std::string settings = (scratch.Path() / "settings.toml").string();
    GenerateRealShapedFolder(folder, files);
    const std::vector<std::string> list = {VELMORA_CLI, "--settings", settings, "list",
                                           folder.string()};
    const std::vector<std::string> floor = {OwnExecutable(), "--child-floor", folder.string()};
    bool ok = true;
    if (geteuid() == 0) {
        ok = Compare("Cold: page cache dropped before each run", list, floor, rounds, kColdAim,
                     DropPageCache);
    } else {
        std::printf("Cold: skipped, dropping the page cache needs root\n");
    }
    MeasureProcess(list);
    MeasureProcess(floor);
    ok = Compare("Warm", list, floor, rounds + 2, kWarmAim, [] { return true; }) && ok;

    const auto share = scratch.Path() / "share";
    GenerateRealShapedFolder(share, shareFiles);
    const double one = LoadOverShare(share, 1), pool = LoadOverShare(share, LoaderThread::kReaders);
    std::printf("A network share (1 ms per open and read), %zu files, in process:\n", shareFiles);
    std::printf(
        "  one reader %.3f s | the pool of %zu %.3f s | speed-up %.1f x (aim >= %.0f x: %s)\n", one,
        LoaderThread::kReaders, pool, one / pool, kShareAim,
        one / pool >= kShareAim ? "met" : "MISSED");
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    return velmora::bench::BenchmarkMain(argc, argv,
                                         [&] { return velmora::bench::Run(argc, argv); });
}
