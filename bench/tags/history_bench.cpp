// Saving with the history of saves on against the same save with it off, in the same run,
// then the revert of the recorded batch and the opening of its list.
#include <cstdio>
#include <filesystem>

#include "BenchEngine.h"
#include "BenchFiles.h"
#include "BenchMeasure.h"
#include "LoadPasses.h"
#include "RealShapedFiles.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/Revert.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/GroupSave.h"
#include "tags/record/Mp3File.h"

namespace velmora::bench {
namespace {

namespace fs = std::filesystem;

// Aims: a save with history at most 1.3 x one without; a revert at most 2 x the save.
constexpr double kSaveAim = 1.3;
constexpr double kRevertAim = 2.0;

// The time a save takes on the clock, and in processor time.
struct Spent {
    double seconds = 0;
    double processor = 0;
};

Spent SaveAll(const fs::path& folder, SaveRecorder* recorder, std::u16string_view album) {
    BenchEngine engine;
    engine.Context().recorder = recorder;
    Id3v2Reader reader(engine.Context().codePage, engine.Context().options.encoding);
    const std::vector<std::string> names = ListFolder(folder);
    Records records = LoadRecords(engine.Context(), reader, folder, names);
    for (auto& record : records)
        SetFrameText(record->V2(), FrameId("TALB"), album, engine.Context());
    // Nothing is dirty when a save starts: the run before would be written back during it.
    FlushFileSystem(folder);
    bool saved = true;
    Spent spent;
    spent.seconds = SecondsFor([&] {
        spent.processor = ProcessorSecondsFor([&] {
            std::vector<Mp3File*> toSave;
            for (auto& record : records)
                toSave.push_back(&*record);
            SaveInGroups(toSave, engine.Context(), [&](Mp3File&, bool ok) { saved = ok && saved; });
        });
    });
    if (!saved || engine.Messages().Count() != 0)
        std::fprintf(stderr, "some saves failed\n");
    return spent;
}

// Groups as the history does, keeps nothing: the floor of a grouped save.
class NullRecorder : public SaveRecorder {
  public:
    bool BeforeWrite(const std::u16string&, const ReplacedRegions&, std::u16string&) override {
        return true;
    }
    void AfterWrite(const std::u16string&, const FileIdentity&) override {}
    bool BeforeRename(const std::u16string&, const std::u16string&, std::u16string&) override {
        return true;
    }
    void AfterRename(const std::u16string&, const std::u16string&) override {}
};

void ReportSaves(const std::string& what, const Spent& on, const std::string& floorName,
                 const Spent& off) {
    ReportRatio(what, on.seconds, floorName, off.seconds, "s", kSaveAim);
    ReportRatio("    in processor time", on.processor, floorName, off.processor, "s", kSaveAim);
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora;
    using namespace velmora::bench;
    const std::size_t count = OptionValue(argc, argv, "--files", 2000);
    const fs::path root = fs::temp_directory_path() / "velmora-history-bench";
    fs::remove_all(root);
    GenerateRealShapedFolder(root / "off", count);
    GenerateRealShapedFolder(root / "on", count);
    std::u16string notice;
    std::string error;
    auto store = history::HistoryStore::Open(root / "history.sqlite", notice, error);
    const Spent off = SaveAll(root / "off", nullptr, u"Another album");
    history::HistoryRecorder recorder(*store, "cli");
    const Spent on = SaveAll(root / "on", &recorder, u"Another album");
    NullRecorder null;
    const Spent grouped = SaveAll(root / "off", &null, u"Album three");
    ReportSaves("  grouped, recording nothing", grouped, "without", off);
    const std::int64_t batch = recorder.Finish(u"Album");
    std::printf("Save of %zu real-shaped files, album changed:\n", count);
    ReportSaves("  with history", on, "without", off);
    // As after a restart: a store opened anew.
    auto reopened = history::HistoryStore::Open(root / "history.sqlite", notice, error);
    std::size_t batches = 0;
    const double list = SecondsFor([&] { batches = reopened->Batches().size(); });
    ReportValue("  history list (" + std::to_string(batches) + " batches)", list * 1e3, "ms");
    std::size_t entries = 0;
    const double show = SecondsFor([&] { entries = reopened->Entries(batch).size(); });
    ReportValue("  history show of the batch (" + std::to_string(entries) + " files)", show * 1e3,
                "ms");
    Spent revert;
    revert.seconds = SecondsFor([&] {
        revert.processor = ProcessorSecondsFor([&] { history::RevertBatch(*reopened, batch, {}); });
    });
    ReportRatio("  revert of the batch", revert.seconds, "the save with history", on.seconds, "s",
                kRevertAim);
    ReportRatio("    in processor time", revert.processor, "the save with history", on.processor,
                "s", kRevertAim);
    // The same files again: their covers are in the store already, as after any earlier save.
    history::HistoryRecorder again(*store, "cli");
    const Spent secondOn = SaveAll(root / "on", &again, u"A third album");
    again.Finish(u"Album");
    const Spent secondOff = SaveAll(root / "off", nullptr, u"A third album");
    ReportSaves("  again, frame bodies already kept", secondOn, "without", secondOff);
    ReportValue("  store size", static_cast<double>(store->SizeInBytes()) / 1048576.0, "MiB");
    fs::remove_all(root);
    return 0;
}
