// Saving through Mp3File against the system calls any save needs, in the same run: an
// in-place save of one changed text against open + write + close of the same bytes, and a
// save that grows or strips the tag of a 5 MiB file against `cp` of that file (with and
// without the fsync a safe save must do).
//   tag_save_bench [--files 1000] [--rounds 5] [--repeats 21]
#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>

#include "BenchEngine.h"
#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "SaveFloors.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/ops/PictureOps.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"

namespace velmora::bench {
namespace {

constexpr double kInPlaceAim = 2.0;
constexpr std::size_t kBlock = 64;
constexpr double kRewriteAim = 1.3;
constexpr std::size_t kBigAudioBytes = 5 * 1024 * 1024;
constexpr std::size_t kNewPictureBytes = 200 * 1024;

struct Options {
    std::size_t files;
    std::size_t rounds;
    std::size_t repeats;
};

std::u16string Title(std::size_t index, std::size_t round) {
    return u"Song number " + text::FileNameToText(std::to_string(index)) +
           (round % 2 == 0 ? u" (a)" : u" (b)");
}

// The floor writes copies of the files: a write to the records' own files would make every
// save find its file changed since the load and refuse.
bool ReportInPlace(const std::filesystem::path& folder, const std::filesystem::path& floorFolder,
                   const Options& options) {
    const std::vector<std::string> names = ListFolder(folder);
    BenchEngine engine;
    Id3v2Reader reader(engine.Context().codePage, engine.Context().options.encoding);
    Records records = LoadRecords(engine.Context(), reader, folder, names);
    std::vector<std::vector<std::uint8_t>> regions;
    for (const std::string& name : names) {
        regions.push_back(ReadStart(floorFolder / name, TagRegionSize(floorFolder / name)));
    }
    const auto sizeBefore = std::filesystem::file_size(folder / names.front());
    std::vector<double> floor;
    std::vector<double> save;
    bool saved = true;
    for (std::size_t round = 0; round <= options.rounds; ++round) {
        // Floor and save in turn, a block of files at a time, so both see the same state of
        // a busy machine.
        double floorTime = 0;
        double saveTime = 0;
        for (std::size_t start = 0; start < names.size(); start += kBlock) {
            const std::size_t end = std::min(names.size(), start + kBlock);
            floorTime += SecondsFor([&] {
                for (std::size_t i = start; i < end; ++i) {
                    WriteAtStart(floorFolder / names[i], regions[i]);
                }
            });
            saveTime += SecondsFor([&] {
                for (std::size_t i = start; i < end; ++i) {
                    SetFrameText(records[i]->V2(), FrameId("TIT2"), Title(i, round),
                                 engine.Context());
                    saved = records[i]->Save(engine.Context()) && saved;
                }
            });
        }
        if (round > 0) {  // the first round warms up
            floor.push_back(floorTime);
            save.push_back(saveTime);
        }
    }
    const bool inPlace = std::filesystem::file_size(folder / names.front()) == sizeBefore &&
                         TagRegionSize(folder / names.front()) == regions.front().size();
    if (!saved || !inPlace || engine.Messages().Count() != 0) {
        std::fprintf(stderr, "the in-place saves did not all succeed in place\n");
        return false;
    }
    const double scale = 1e6 / static_cast<double>(names.size());
    std::printf("Save in place, one text changed (%zu files, median of %zu rounds):\n",
                names.size(), options.rounds);
    ReportRatio("  Mp3File::Save / file", Median(save) * scale, "open+write+close",
                Median(floor) * scale, "us", kInPlaceAim);
    return true;
}

// One change that makes the save write a new file, timed from the change to the end of
// Save, against cp of the same file; each side starts from a fresh copy with nothing dirty.
bool ReportRewrite(const char* title, const std::filesystem::path& folder, const Bytes& original,
                   std::size_t repeats,
                   const std::function<void(Mp3File&, EngineContext&)>& change) {
    BenchEngine engine;
    const auto source = folder / "original.mp3";
    const auto work = folder / "work.mp3";
    WriteWholeFile(source, original);
    std::vector<double> save;
    std::vector<double> copy;
    std::vector<double> copyAndSync;
    std::vector<double> safeReplace;
    bool saved = true;
    for (std::size_t i = 0; i <= repeats; ++i) {
        WriteWholeFile(work, original);
        FlushFileSystem(folder);
        Mp3File record(engine.Context(), text::FileNameToText(folder.native()), u"work.mp3");
        const double saveTime = SecondsFor([&] {
            change(record, engine.Context());
            saved = record.Save(engine.Context()) && saved;
        });
        const CopyTimes floor = CopyWithCp(source, folder);
        if (i > 0) {  // the first round warms up
            save.push_back(saveTime);
            copy.push_back(floor.copy);
            copyAndSync.push_back(floor.copy + floor.sync);
            safeReplace.push_back(floor.copy + floor.sync + floor.replace);
        }
    }
    if (!saved || engine.Messages().Count() != 0) {
        std::fprintf(stderr, "%s: a save failed\n", title);
        return false;
    }
    std::printf("%s (%.1f MiB file, median of %zu):\n", title,
                static_cast<double>(original.size()) / (1024 * 1024), repeats);
    ReportRatio("  Mp3File::Save", Median(save) * 1e3, "cp + fsync", Median(copyAndSync) * 1e3,
                "ms", kRewriteAim);
    ReportRatio("  Mp3File::Save", Median(save) * 1e3, "cp alone", Median(copy) * 1e3, "ms", 0);
    ReportRatio("  Mp3File::Save", Median(save) * 1e3, "cp+fsync+rename+dir fsync",
                Median(safeReplace) * 1e3, "ms", 0);
    return true;
}

int Run(const Options& options) {
    ScratchFolder scratch("velmora-save-bench");
    std::printf("Generating %zu files in %s\n", options.files, scratch.Path().c_str());
    GenerateFolder(scratch.Path() / "inplace", options.files, {});
    std::filesystem::copy(scratch.Path() / "inplace", scratch.Path() / "floor");
    const Bytes big = TaggedFile({.audioBytes = kBigAudioBytes});
    const Bytes picture = NoiseBytes(kNewPictureBytes, 7);
    const auto rewrites = scratch.Path() / "rewrite";
    std::filesystem::create_directories(rewrites);
    const bool ok =
        ReportInPlace(scratch.Path() / "inplace", scratch.Path() / "floor", options) &&
        ReportRewrite("Save growing the tag (new 200 KiB picture)", rewrites, big, options.repeats,
                      [&](Mp3File& record, EngineContext& context) {
                          SetPicture(record.V2(), "image/jpeg", u"", 3, picture, context);
                      }) &&
        ReportRewrite("Strip ID3v2", rewrites, big, options.repeats,
                      [](Mp3File& record, EngineContext&) { record.MarkRemoveV2(); });
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    return BenchmarkMain(argc, argv, [&] {
        return Run({OptionValue(argc, argv, "--files", 1000),
                    OptionValue(argc, argv, "--rounds", 5),
                    OptionValue(argc, argv, "--repeats", 21)});
    });
}
