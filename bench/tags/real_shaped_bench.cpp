// Real-shaped files (RealShapedFiles.h), whole processes as a user runs them:
// `velmora-cli list` against the C loop over the same folder, memory per record, 100,000
// files (the set hard-linked into 50 folders), and `velmora-cli set --title` against TagLib
// saving the same title. Figures of one run, medians of --rounds runs alternating the sides.
//   real_shaped_bench [--files 2000] [--rounds 5] [--links 50]
//   real_shaped_bench --generate DIR [--files 2000]   (a folder kept for profiling)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "ProcessFigures.h"
#include "RealShapedFiles.h"

namespace velmora::bench {
namespace {

constexpr double kListAim = 1.5;
constexpr double kSetAim = 1.0;
constexpr double kRecordAimKiB = 4;
constexpr double kMillionFilesAimBytes = 1024.0 * 1024 * 1024;

void PrintProcess(const char* who, const ProcessFigures& figures) {
    std::printf("  %-34s wall %7.3f s | processor %7.3f s | page faults %7ld | peak %8.1f MiB%s\n",
                who, figures.wallSeconds, figures.processorSeconds, figures.minorFaults,
                static_cast<double>(figures.peakBytes) / (1024 * 1024),
                figures.ok ? "" : " FAILED");
}

// Both sides in turn, `rounds` times after one unmeasured run each (which warms the page
// cache, and lets a save convert what it converts once).
std::pair<ProcessFigures, ProcessFigures> Alternate(const std::vector<std::string>& ours,
                                                    const std::vector<std::string>& theirs,
                                                    std::size_t rounds) {
    MeasureProcess(ours);
    MeasureProcess(theirs);
    std::vector<ProcessFigures> a, b;
    for (std::size_t i = 0; i < rounds; ++i) {
        a.push_back(MeasureProcess(ours));
        b.push_back(MeasureProcess(theirs));
    }
    return {MedianOf(a), MedianOf(b)};
}

bool ReportList(const std::filesystem::path& folder, const std::string& settings,
                std::size_t rounds, std::size_t files) {
    const auto [list, floor] =
        Alternate({VELMORA_CLI, "--settings", settings, "list", folder.string()},
                  {OwnExecutable(), "--child-floor", folder.string()}, rounds);
    std::printf("Whole process over %zu real-shaped files (medians of %zu):\n", files, rounds);
    PrintProcess("C loop making the loader's reads", floor);
    PrintProcess("velmora-cli list", list);
    ReportRatio("  list wall / C loop wall", list.wallSeconds * 1000, "C loop",
                floor.wallSeconds * 1000, "ms", kListAim);
    return list.ok && floor.ok;
}

bool ReportMemory(const std::filesystem::path& folder) {
    const LoadFigures figures = LoadInFreshProcess(folder);
    if (!figures.valid || figures.messages != 0 || figures.files == 0) {
        std::fprintf(stderr, "the load of %s failed\n", folder.c_str());
        return false;
    }
    const double perRecord =
        static_cast<double>(figures.residentGrowth) / static_cast<double>(figures.files) / 1024;
    std::printf("Memory per record, real-shaped files with covers (%zu files):\n", figures.files);
    ReportValue("  resident growth / record", perRecord, "KiB",
                perRecord < kRecordAimKiB ? "(aim < 4 KiB: met)" : "(aim < 4 KiB: MISSED)");
    return true;
}

// The set hard-linked into `links` folders: as many files as a large library, on little disk.
bool ReportManyFiles(const std::filesystem::path& folder, const std::filesystem::path& tree,
                     const std::string& settings, std::size_t links) {
    const std::vector<std::string> names = ListFolder(folder);
    for (std::size_t l = 0; l < links; ++l) {
        const auto copy = tree / std::to_string(l);
        std::filesystem::create_directories(copy);
        for (const std::string& name : names)
            std::filesystem::create_hard_link(folder / name, copy / name);
    }
    const ProcessFigures list =
        MeasureProcess({VELMORA_CLI, "--settings", settings, "list", "--recursive", tree.string()});
    std::printf("%zu real-shaped files (%zu hard-linked %zu times), one process:\n",
                names.size() * links, names.size(), links);
    PrintProcess("velmora-cli list --recursive", list);
    std::printf("  peak under 1 GiB: %s\n",
                static_cast<double>(list.peakBytes) < kMillionFilesAimBytes ? "met" : "MISSED");
    return list.ok;
}

std::vector<std::string> FilesOf(const std::filesystem::path& folder) {
    std::vector<std::string> paths;
    for (const std::string& name : ListFolder(folder))
        paths.push_back((folder / name).string());
    return paths;
}

// Each side saves its own copy of the set, so neither converts the other's tags.
bool ReportSet(const std::filesystem::path& ours, const std::filesystem::path& theirs,
               const std::string& settings, std::size_t rounds, std::size_t files) {
    std::vector<std::string> set = {VELMORA_CLI, "--settings", settings,
                                    "set",       "--title",    "Saved title"};
    std::vector<std::string> taglib = {VELMORA_TAGLIB_SET, "Saved title"};
    for (const std::string& path : FilesOf(ours))
        set.push_back(path);
    for (const std::string& path : FilesOf(theirs))
        taglib.push_back(path);
    const auto [velmora, peer] = Alternate(set, taglib, rounds);
    std::printf("Saving one title into each of %zu real-shaped files, in place (medians of %zu):\n",
                files, rounds);
    PrintProcess("TagLib, MPEG::File::save as ID3v2.3", peer);
    PrintProcess("velmora-cli set --title", velmora);
    ReportRatio("  set wall / TagLib wall", velmora.wallSeconds * 1000, "TagLib",
                peer.wallSeconds * 1000, "ms", kSetAim);
    return velmora.ok && peer.ok;
}

int Run(int argc, char** argv) {
    const std::size_t files = OptionValue(argc, argv, "--files", 2000);
    const std::size_t rounds = OptionValue(argc, argv, "--rounds", 5);
    const std::size_t links = OptionValue(argc, argv, "--links", 50);
    ScratchFolder scratch("velmora-real");
    const std::filesystem::path folder = scratch.Path() / "set";
    const std::string settings = (scratch.Path() / "settings.toml").string();
    // velmora-cli set records its saves as it does for a user (history on), into the scratch
    // folder rather than the user's own history.
    ::setenv("XDG_STATE_HOME", (scratch.Path() / "state").c_str(), 1);
    GenerateRealShapedFolder(folder, files);
    bool ok = ReportList(folder, settings, rounds, files) && ReportMemory(folder);
    if (ok && links > 0)
        ok = ReportManyFiles(folder, scratch.Path() / "tree", settings, links);
    const std::filesystem::path ours = scratch.Path() / "ours";
    const std::filesystem::path theirs = scratch.Path() / "theirs";
    GenerateRealShapedFolder(ours, files);
    GenerateRealShapedFolder(theirs, files);
    return ok && ReportSet(ours, theirs, settings, rounds, files) ? 0 : 1;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    return BenchmarkMain(argc, argv, [&] {
        // A folder kept for profiling `velmora-cli list`: --generate DIR [--files N].
        if (argc >= 3 && std::string_view(argv[1]) == "--generate") {
            GenerateRealShapedFolder(argv[2], OptionValue(argc, argv, "--files", 2000));
            return 0;
        }
        return Run(argc, argv);
    });
}
