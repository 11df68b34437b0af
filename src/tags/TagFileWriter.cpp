#include "tags/TagFileWriter.h"

#include <algorithm>

#include "common/Messages.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/AtomicReplace.h"
#include "tags/BufferedFile.h"
#include "tags/ByteMoves.h"
#include "tags/EngineContext.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v1Tag.h"
#include "tags/TagSavePlan.h"

namespace velmora {

namespace {

constexpr unsigned kSaveMode =
    BufferedFile::kReadWrite | BufferedFile::kShareRead | BufferedFile::kOpenExisting;

SaveIntent IntentOf(const TagSaveRequest& request, const EngineContext& context) {
    SaveIntent intent;
    if (request.stripV1) {
        intent.id3v1 = Id3v1Action::Remove;
    } else if (request.writeV1 != nullptr) {
        const bool autoDelete = context.settings.ReadBool(settings::kAutoDeleteV1, false);
        if (autoDelete && request.writeV1->IsEmpty()) {
            intent.id3v1 = Id3v1Action::Remove;
        } else {
            intent.id3v1 = Id3v1Action::Write;
            intent.id3v1Record = EncodeId3v1(*request.writeV1, context.codePage);
        }
    }
    intent.stripId3v2 = request.stripV2;
    if (!request.stripV2 && request.v2Frames) {
        intent.id3v2Frames = std::span<const std::uint8_t>(*request.v2Frames);
    }
    intent.id3v2Version = request.v2Version;
    return intent;
}

FileFacts ReadFacts(BufferedFile& file) {
    FileFacts facts;
    facts.size = file.Size();
    file.Seek(0);
    file.Read(facts.start.data(), facts.start.size());
    if (facts.size > kId3v1RecordSize) {
        std::array<std::uint8_t, 3> magic{};
        file.Seek(facts.size - kId3v1RecordSize);
        facts.id3v1AtEnd = file.Read(magic.data(), magic.size()) == magic.size() &&
                           magic[0] == 'T' && magic[1] == 'A' && magic[2] == 'G';
    }
    return facts;
}

// The ID3v1 step, done in the file itself: it writes only the last 128 bytes, or cuts them.
void ApplyId3v1InPlace(BufferedFile& file, const SavePlan& plan) {
    if (!plan.id3v1Record.empty()) {
        file.Seek(plan.keep);
        file.Write(plan.id3v1Record.data(), plan.id3v1Record.size());
    } else if (plan.keep < plan.oldSize) {
        file.Truncate(plan.keep);
    }
}

void RewriteInPlace(BufferedFile& file, const SavePlan& plan) {
    ApplyId3v1InPlace(file, plan);
    if (!plan.tag.empty()) {
        file.Seek(0);
        file.Write(plan.tag.data(), plan.tag.size());
    }
}

// The new file beside the old one; false when none can be created in that folder.
bool WriteReplacement(BufferedFile& file, const std::u16string& path, const SavePlan& plan) {
    const auto replacement = FileReplacement::Begin(path, file);
    if (!replacement) {
        return false;
    }
    BufferedFile& out = replacement->File();
    out.Write(plan.tag.data(), plan.tag.size());
    CopyRange(file, plan.tagEnd, plan.keep - plan.tagEnd, out);
    out.Write(plan.id3v1Record.data(), plan.id3v1Record.size());
    replacement->Commit();
    return true;
}

// The last resort: the audio is moved inside the file, which an interruption leaves broken.
void MoveInPlace(BufferedFile& file, const SavePlan& plan) {
    ApplyId3v1InPlace(file, plan);
    if (plan.tag.empty()) {
        DropHead(file, plan.tagEnd);
        return;
    }
    MoveTail(file, plan.tagEnd, plan.tag.size() - plan.tagEnd);
    file.Seek(0);
    file.Write(plan.tag.data(), plan.tag.size());
}

// False when the plan refuses the save.
bool CarryOut(BufferedFile& file, const std::u16string& path, const SavePlan& plan) {
    switch (plan.outcome) {
        case SavePlan::Outcome::Refused:
            return false;
        case SavePlan::Outcome::InPlace:
            RewriteInPlace(file, plan);
            break;
        case SavePlan::Outcome::Move:
            if (WriteReplacement(file, path, plan)) {
                // The new file is in place; the old one was only read, so closing it
                // cannot lose anything, and the destructor does it.
                return true;
            }
            MoveInPlace(file, plan);
            break;
    }
    file.Close();
    return true;
}

}  // namespace

bool SaveTags(const TagSaveRequest& request, EngineContext& context) {
    if (!request.ChangesSomething()) {
        return true;
    }
    const SaveIntent intent = IntentOf(request, context);
    BufferedFile file;
    CFileExceptionEx openError;
    if (!file.Open(request.path, kSaveMode, openError)) {
        ShowError(context.messages, u"Couldn't open\n" + request.path);
        return false;
    }
    bool saved = false;
    try {
        saved = CarryOut(file, request.path, PlanSave(ReadFacts(file), intent));
    } catch (const CFileExceptionEx&) {
        saved = false;
    }
    if (!saved) {
        ShowError(context.messages, u"Couldn't save ID3v2 tag to\n" + request.path);
    }
    return saved;
}

}  // namespace velmora
