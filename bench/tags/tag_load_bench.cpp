// Loading a folder of tagged MP3 files through Mp3File, against a plain C loop making the
// same reads in the same run; and the memory each loaded record keeps.
//   tag_load_bench [--files 3000] [--picture-files 1000] [--rounds 7]
//   tag_load_bench --generate DIR [--files 3000]   (then --child-load DIR, for profiling)
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>

#include "BenchEngine.h"
#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"

namespace velmora::bench {
namespace {

constexpr double kLoadAim = 1.3;
constexpr std::size_t kCoverBytes = 100 * 1024;
constexpr std::size_t kBlock = 64;

struct Options {
    std::size_t files;
    std::size_t pictureFiles;
    std::size_t rounds;
};

bool ReportMemory(const char* what, const std::filesystem::path& folder, std::size_t pictureBytes) {
    const LoadFigures figures = LoadInFreshProcess(folder);
    if (!figures.valid || figures.messages != 0 || figures.files == 0) {
        std::fprintf(stderr, "the load of %s failed\n", folder.c_str());
        return false;
    }
    const double files = static_cast<double>(figures.files);
    const double perRecord = static_cast<double>(figures.residentGrowth) / files / 1024;
    const double peak = static_cast<double>(figures.peakGrowth) / files / 1024;
    const double heap = static_cast<double>(figures.heapGrowth) / files / 1024;
    std::printf("Memory per record, %s (%zu files):\n", what, figures.files);
    char note[96];
    std::snprintf(note, sizeof note, "(peak %.2f KiB; malloc heap alone %.2f KiB)", peak, heap);
    ReportValue("  resident growth / record", perRecord, "KiB", note);
    if (pictureBytes > 0) {
        ReportValue("  above the picture bytes",
                    perRecord - static_cast<double>(pictureBytes) / 1024, "KiB");
    } else {
        std::printf("  aim < 4 KiB: %s\n", perRecord < 4 ? "met" : "MISSED");
    }
    return true;
}

// Floor and engine in turn, a block of files at a time, so both see the same state of a busy
// machine while each keeps its own code and data in the processor caches, as a loader does.
bool ReportLoad(const std::filesystem::path& folder, std::size_t rounds) {
    const std::vector<std::string> names = ListFolder(folder);
    const auto directory =
        std::make_shared<const std::u16string>(text::FileNameToText(folder.native()));
    const std::string prefix = folder.string() + "/";
    BenchEngine engine;
    Id3v2Reader reader(engine.Context().codePage, engine.Context().options.encoding);
    std::vector<std::uint8_t> buffer;
    ReadLikeALoader(folder, names);  // warms the page cache and the allocator
    LoadRecords(engine.Context(), reader, folder, names);
    std::vector<double> floor;
    std::vector<double> load;
    for (std::size_t round = 0; round < rounds; ++round) {
        double floorTime = 0;
        double loadTime = 0;
        Records records;
        records.reserve(names.size());
        for (std::size_t start = 0; start < names.size(); start += kBlock) {
            const std::size_t end = std::min(names.size(), start + kBlock);
            floorTime += SecondsFor([&] {
                for (std::size_t i = start; i < end; ++i) {
                    ReadLikeALoader(prefix + names[i], buffer);
                }
            });
            loadTime += SecondsFor([&] {
                for (std::size_t i = start; i < end; ++i) {
                    records.push_back(LoadRecord(engine.Context(), reader, directory, names[i]));
                }
            });
        }
        floor.push_back(floorTime);
        load.push_back(loadTime);
        if (round == 0 && !RecordsLookRight(records)) {
            return false;
        }
    }
    const double scale = 1e6 / static_cast<double>(names.size());
    std::printf("Load, page cache warm (%zu files, median of %zu rounds):\n", names.size(), rounds);
    ReportRatio("  Mp3File load / file", Median(load) * scale, "C loop / file",
                Median(floor) * scale, "us", kLoadAim);
    return engine.Messages().Count() == 0;
}

// Each pass a process of its own: start, settings, code page, listing, loading; timed until
// the child says the records are loaded, and (for the record) until it has exited.
bool ReportLoadWithProcessStart(const std::filesystem::path& folder, std::size_t files,
                                std::size_t rounds) {
    const std::string self = OwnExecutable();
    std::vector<double> floorReady, floorExit, loadReady, loadExit;
    bool ok = true;
    for (std::size_t round = 0; round < rounds; ++round) {
        const ProgramTimes floor = TimeProgram({self, "--child-floor", folder.string()});
        const ProgramTimes load = TimeProgram({self, "--child-load", folder.string()});
        ok = ok && floor.ok && load.ok;
        floorReady.push_back(floor.untilReady);
        floorExit.push_back(floor.untilExit);
        loadReady.push_back(load.untilReady);
        loadExit.push_back(load.untilExit);
    }
    const double scale = 1e6 / static_cast<double>(files);
    std::printf("Load with process start (one process per pass; velmora-cli is not built):\n");
    ReportRatio("  start to loaded / file", Median(loadReady) * scale, "C loop process",
                Median(floorReady) * scale, "us", kLoadAim);
    ReportRatio("  start to exit / file", Median(loadExit) * scale, "C loop process",
                Median(floorExit) * scale, "us", 0);
    return ok;
}

int Run(const Options& options) {
    ScratchFolder scratch("velmora-load-bench");
    const auto plain = scratch.Path() / "plain";
    const auto pictures = scratch.Path() / "pictures";
    std::printf("Generating %zu files (~100 KiB audio) and %zu with a 100 KiB cover in %s\n",
                options.files, options.pictureFiles, scratch.Path().c_str());
    GenerateFolder(plain, options.files, {});
    GenerateFolder(pictures, options.pictureFiles, {.pictureBytes = kCoverBytes});
    const bool ok = ReportMemory("typical tag, no picture", plain, 0) &&
                    ReportMemory("typical tag + 100 KiB cover", pictures, kCoverBytes) &&
                    ReportLoad(plain, options.rounds) &&
                    ReportLoadWithProcessStart(plain, options.files, options.rounds);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    return BenchmarkMain(argc, argv, [&] {
        // A folder kept for profiling: --generate DIR [--files N], then --child-load DIR.
        if (argc >= 3 && std::string_view(argv[1]) == "--generate") {
            GenerateFolder(argv[2], OptionValue(argc, argv, "--files", 3000), {});
            return 0;
        }
        return Run({OptionValue(argc, argv, "--files", 3000),
                    OptionValue(argc, argv, "--picture-files", 1000),
                    OptionValue(argc, argv, "--rounds", 7)});
    });
}
