// Saving with the history of saves on against the same save with it off, in the same run,
// then the revert of the recorded batch and the opening of its list.
#include <cstdio>
#include <filesystem>

#include "BenchEngine.h"
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

double SaveAll(const fs::path& folder, SaveRecorder* recorder, std::u16string_view album) {
    BenchEngine engine;
    engine.Context().recorder = recorder;
    Id3v2Reader reader(engine.Context().codePage, engine.Context().options.encoding);
    const std::vector<std::string> names = ListFolder(folder);
    Records records = LoadRecords(engine.Context(), reader, folder, names);
    for (auto& record : records)
        SetFrameText(record->V2(), FrameId("TALB"), album, engine.Context());
    bool saved = true;
    const double seconds = SecondsFor([&] {
        std::vector<Mp3File*> toSave;
        for (auto& record : records)
            toSave.push_back(&*record);
        SaveInGroups(toSave, engine.Context(), [&](Mp3File&, bool ok) { saved = ok && saved; });
    });
    if (!saved || engine.Messages().Count() != 0)
        std::fprintf(stderr, "some saves failed\n");
    return seconds;
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
    const double off = SaveAll(root / "off", nullptr, u"Another album");
    history::HistoryRecorder recorder(*store, "cli");
    const double on = SaveAll(root / "on", &recorder, u"Another album");
    const std::int64_t batch = recorder.Finish(u"Album");
    std::printf("Save of %zu real-shaped files, album changed:\n", count);
    ReportRatio("  with history", on, "without", off, "s", kSaveAim);
    std::size_t entries = 0;
    const double list = SecondsFor([&] { entries = store->Entries(batch).size(); });
    ReportValue("  history show of the batch (" + std::to_string(entries) + " files)", list * 1e3,
                "ms");
    history::RevertResult reverted;
    const double revert = SecondsFor([&] { reverted = history::RevertBatch(*store, batch, {}); });
    ReportRatio("  revert of the batch", revert, "the save with history", on, "s", kRevertAim);
    // The same files again: their covers are in the store already, as after any earlier save.
    history::HistoryRecorder again(*store, "cli");
    const double secondOn = SaveAll(root / "on", &again, u"A third album");
    again.Finish(u"Album");
    const double secondOff = SaveAll(root / "off", nullptr, u"A third album");
    ReportRatio("  again, frame bodies already kept", secondOn, "without", secondOff, "s",
                kSaveAim);
    ReportValue("  store size", static_cast<double>(store->SizeInBytes()) / 1048576.0, "MiB");
    fs::remove_all(root);
    return 0;
}
