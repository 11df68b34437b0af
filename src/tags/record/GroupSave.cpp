#include "tags/record/GroupSave.h"

#include <memory>
#include <utility>

#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "tags/record/SaveRecorder.h"

namespace velmora {
namespace {

// Each file of a group is held open and locked until the group is written, with its new
// tag's frames (its covers are read only as it is written).
constexpr std::size_t kGroupFiles = 64;
constexpr std::uint64_t kGroupBytes = 16ull << 20;

}  // namespace

void SaveInGroups(const std::vector<Mp3File*>& records, EngineContext& context,
                  const std::function<void(Mp3File&, bool saved)>& each) {
    SaveRecorder* recorder = context.recorder;
    std::vector<std::pair<Mp3File*, std::unique_ptr<Mp3File::PendingSave>>> group;
    for (std::size_t next = 0; next < records.size();) {
        if (recorder == nullptr) {
            each(*records[next], records[next]->Save(context));
            ++next;
            continue;
        }
        recorder->BeginGroup();
        std::uint64_t held = 0;
        while (next < records.size() && group.size() < kGroupFiles && held < kGroupBytes) {
            Mp3File* record = records[next++];
            group.emplace_back(record, record->BeginSave(context));
            held += Mp3File::HeldBytes(*group.back().second);
        }
        std::u16string reason;
        const bool kept = recorder->CommitGroup(reason);
        for (auto& [record, pending] : group)
            each(*record, record->FinishSave(*pending, context, kept ? nullptr : &reason));
        group.clear();
    }
}

}  // namespace velmora
