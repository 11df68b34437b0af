// Loading 1,000, 10,000 and 100,000 small generated files, each set in a process of its own:
// per-file time (against the C loop over the same folder), memory per record, and how both
// change with the number of files.
//   tag_scale_bench [--files 100000]
// The files go to a temporary folder ($TMPDIR or /tmp) that is removed at the end.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"

namespace velmora::bench {
namespace {

constexpr double kLoadAim = 1.3;
constexpr double kFlatAim = 1.3;  // per-file cost at the largest set against the smallest
// Enough runs that a small set is not one moment of a busy machine.
std::size_t RunsFor(std::size_t files) {
    return std::clamp<std::size_t>(200000 / files, 3, 15);
}
// A small file: the usual tag with 256 bytes of padding, four audio frames, ID3v1.
constexpr TaggedFileShape kSmallFile{.audioBytes = 4 * 417, .padding = 256};

struct SetFigures {
    std::size_t files = 0;
    double load = 0;  // seconds per file
    double floor = 0;
    double unload = 0;
    double residentPerRecord = 0;  // bytes
};

std::vector<std::size_t> SetSizes(std::size_t largest) {
    std::vector<std::size_t> sizes;
    for (std::size_t size : {std::size_t{1000}, std::size_t{10000}}) {
        if (size < largest) {
            sizes.push_back(size);
        }
    }
    sizes.push_back(largest);
    return sizes;
}

// Floor and load passes in turn; the medians of RunsFor(files) each.
bool Measure(const std::filesystem::path& folder, SetFigures& set) {
    const std::vector<std::string> names = ListFolder(folder);
    ReadLikeALoader(folder, names);  // warms the page cache
    std::vector<double> floor;
    std::vector<double> load;
    std::vector<double> unload;
    std::vector<double> resident;
    for (std::size_t run = 0; run < RunsFor(names.size()); ++run) {
        floor.push_back(SecondsFor([&] { ReadLikeALoader(folder, names); }));
        const LoadFigures figures = LoadInFreshProcess(folder);
        if (!figures.valid || figures.messages != 0 || figures.files != names.size()) {
            std::fprintf(stderr, "the load of %s failed\n", folder.c_str());
            return false;
        }
        load.push_back(figures.seconds);
        unload.push_back(figures.unloadSeconds);
        resident.push_back(static_cast<double>(figures.residentGrowth));
    }
    const auto files = static_cast<double>(names.size());
    set.files = names.size();
    set.load = Median(load) / files;
    set.floor = Median(floor) / files;
    set.unload = Median(unload) / files;
    set.residentPerRecord = Median(resident) / files;
    return true;
}

int Run(std::size_t largest) {
    ScratchFolder scratch("velmora-scale-bench");
    std::vector<SetFigures> sets;
    for (std::size_t size : SetSizes(largest)) {
        const auto folder = scratch.Path() / std::to_string(size);
        std::printf("Generating %zu small files in %s\n", size, folder.c_str());
        std::fflush(stdout);
        GenerateFolder(folder, size, kSmallFile);
        SetFigures set;
        if (!Measure(folder, set)) {
            return 1;
        }
        sets.push_back(set);
    }
    std::printf("Scale (each set loaded by a process of its own, page cache warm; medians):\n");
    for (const SetFigures& set : sets) {
        const std::string what = "  " + std::to_string(set.files) + " files, load / file";
        ReportRatio(what, set.load * 1e6, "C loop / file", set.floor * 1e6, "us", kLoadAim);
        std::printf("%32s total %.2f s, %.2f KiB / record (%.1f MiB), unload %.2f us / file\n", "",
                    set.load * static_cast<double>(set.files), set.residentPerRecord / 1024,
                    set.residentPerRecord * static_cast<double>(set.files) / (1024 * 1024),
                    set.unload * 1e6);
    }
    const SetFigures& smallest = sets.front();
    const SetFigures& biggest = sets.back();
    std::printf("Per-file cost, %zu files against %zu:\n", biggest.files, smallest.files);
    ReportRatio("  load / file", biggest.load * 1e6, "at the smallest set", smallest.load * 1e6,
                "us", kFlatAim);
    ReportRatio("  memory / record", biggest.residentPerRecord / 1024, "at the smallest set",
                smallest.residentPerRecord / 1024, "KiB", kFlatAim);
    ReportRatio("  unload / file (no aim)", biggest.unload * 1e6, "at the smallest set",
                smallest.unload * 1e6, "us", 0);
    return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    return BenchmarkMain(argc, argv,
                         [&] { return Run(OptionValue(argc, argv, "--files", 100000)); });
}
