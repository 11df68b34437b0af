#include "tags/record/TagFileWriter.h"

#include <algorithm>
#include <cerrno>

#include "common/Messages.h"
#include "tags/file/AtomicReplace.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/ByteMoves.h"
#include "tags/file/FileIdentity.h"
#include "tags/file/SaveGuard.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/record/EngineContext.h"
#include "tags/record/OldRegions.h"
#include "tags/record/SaveRecorder.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {

namespace {

constexpr unsigned kSaveMode = BufferedFile::kReadWrite | BufferedFile::kOpenExisting;

// The ID3v1 step, done in the file itself: it writes only the last 128 bytes, or cuts them.
void ApplyId3v1InPlace(BufferedFile& file, const SavePlan& plan) {
    if (!plan.id3v1Record.empty()) {
        file.Seek(plan.keep);
        file.Write(plan.id3v1Record.data(), plan.id3v1Record.size());
    } else if (plan.keep < plan.oldSize) {
        file.Truncate(plan.keep);
    }
}

// The new tag as the plan lays it out, with the bodies left in the file read from the old
// file (which has passed the changed-on-disk check) straight into their places.
UnsetBytes LayOutTag(BufferedFile& file, const TagSave& save, const SavePlan& plan) {
    UnsetBytes tag(static_cast<std::size_t>(plan.tagSize));
    if (tag.empty())
        return tag;
    const std::span<const std::uint8_t> frames = *save.id3v2Frames;
    std::copy(plan.tagHeader.begin(), plan.tagHeader.end(), tag.begin());
    std::size_t from = 0;  // in the frames
    std::size_t at = kTagHeaderSize;
    for (const StoredSplice& splice : save.storedSplices) {
        const std::size_t to = kTagHeaderSize + splice.at;
        const std::size_t before = to - at;
        if (to < at || from + before > frames.size() || to + splice.body->length > tag.size())
            throw CFileExceptionEx(EINVAL, save.path);
        std::copy_n(frames.begin() + from, before, tag.begin() + at);
        from += before;
        ReadStoredBodyInto(file, *splice.body, std::span(tag).subspan(to, splice.body->length));
        at = to + splice.body->length;
    }
    if (at + (frames.size() - from) > tag.size())
        throw CFileExceptionEx(EINVAL, save.path);
    at = std::copy(frames.begin() + from, frames.end(), tag.begin() + at) - tag.begin();
    std::fill(tag.begin() + at, tag.end(), 0);
    return tag;
}

void RewriteInPlace(BufferedFile& file, const SavePlan& plan, const UnsetBytes& tag) {
    ApplyId3v1InPlace(file, plan);
    if (!tag.empty()) {
        file.Seek(0);
        file.Write(tag.data(), tag.size());
    }
}

// Bodies left in the file that the new file will not hold, read from the old file once it
// has passed the changed-on-disk check and kept in memory.
void HoldStoredBodies(BufferedFile& file, const TagSave& save, const SavePlan& plan) {
    if (plan.outcome == SavePlan::Outcome::Refused || (!save.stripId3v2 && !save.id3v2Frames))
        return;
    if (save.storedBodies == nullptr)
        return;
    for (const auto& registered : *save.storedBodies) {
        const std::shared_ptr<StoredBody> body = registered.lock();
        const bool written =
            std::any_of(save.storedSplices.begin(), save.storedSplices.end(),
                        [&](const StoredSplice& splice) { return splice.body == body; });
        if (body && !body->held && !written)
            body->held = std::make_unique<std::vector<std::uint8_t>>(ReadStoredBody(file, *body));
    }
}

// How a save that passed its checks ended.
enum class Carried { Saved, Refused, FolderNotWritable, NotRecorded };

// Write-ahead: the old ends are in the history before the file changes.
bool Recorded(BufferedFile& file, const TagSave& save, const SavePlan& plan, SaveRecorder* recorder,
              const ReadAhead& ahead, std::u16string& why) {
    if (recorder == nullptr || plan.outcome == SavePlan::Outcome::Refused || plan.ChangesNothing())
        return true;
    return recorder->BeforeWrite(save.path, RegionsBefore(file, save, plan, ahead), why);
}

// The new file beside the old one; false when none can be created in that folder.
bool WriteReplacement(BufferedFile& file, const std::u16string& path, const SavePlan& plan,
                      const UnsetBytes& tag, FileIdentity& written) {
    const auto replacement = FileReplacement::Begin(path, file);
    if (!replacement) {
        return false;
    }
    BufferedFile& out = replacement->File();
    out.Write(tag.data(), tag.size());
    CopyRange(file, plan.tagEnd, plan.keep - plan.tagEnd, out);
    out.Write(plan.id3v1Record.data(), plan.id3v1Record.size());
    out.Flush();
    // Taken before the rename: once the new file has the name, another save may change it.
    const auto identity = IdentityOfOpenFile(out.Descriptor());
    if (!identity) {
        throw CFileExceptionEx(errno, path);
    }
    replacement->Commit();
    written = *identity;
    return true;
}

// Moving the audio is only ever done through a replacement file: inside the file itself an
// interruption would leave neither the old file nor the new one.
Carried CarryOut(BufferedFile& file, const TagSave& save, const SavePlan& plan,
                 FileIdentity& identity) {
    const std::u16string& path = save.path;
    const UnsetBytes tag = LayOutTag(file, save, plan);
    switch (plan.outcome) {
        case SavePlan::Outcome::Refused:
            return Carried::Refused;
        case SavePlan::Outcome::InPlace:
            RewriteInPlace(file, plan, tag);
            if (!plan.ChangesNothing()) {
                identity = IdentityAfterWrite(file, path, identity);
            }
            file.Close();
            return Carried::Saved;
        case SavePlan::Outcome::Move:
            // The old file was only read, so closing it (which ends the lock, after the
            // rename) cannot lose anything, and the destructor does it.
            return WriteReplacement(file, path, plan, tag, identity) ? Carried::Saved
                                                                     : Carried::FolderNotWritable;
    }
    return Carried::Refused;
}

std::u16string FolderOf(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u'/');
    if (slash == std::u16string::npos) {
        return u".";
    }
    return path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

// Ready: opened, checked and planned, waiting to be written; Done: nothing more to write.
struct PendingTags::State {
    enum class Step { Nothing, OpenFailed, ChangedOnDisk, Ready, Done };
    explicit State(const TagSave& of) : save(of) {}
    const TagSave& save;
    BufferedFile file;
    Step step = Step::Nothing;
    Carried carried = Carried::Refused;
    std::optional<SavePlan> plan;
    std::optional<FileIdentity> identity;
    std::u16string refusal;
    std::error_code cause;
};

PendingTags::PendingTags(const TagSave& save, EngineContext& context)
    : state_(std::make_unique<State>(save)) {
    State& at = *state_;
    if (!save.ChangesSomething())
        return;
    CFileExceptionEx openError;
    if (!at.file.Open(save.path, kSaveMode, openError)) {
        at.step = State::Step::OpenFailed;
        at.cause = openError.SystemError();
        return;
    }
    at.step = State::Step::Done;
    try {
        at.identity = LockUnchanged(at.file, save.path, save.loadedAs);
        if (!at.identity) {
            at.step = State::Step::ChangedOnDisk;
            return;
        }
        ReadAhead ahead;
        at.plan = PlanSave(ReadFacts(at.file, context.recorder ? &ahead : nullptr), save);
        at.refusal = at.plan->refusal;
        HoldStoredBodies(at.file, save, *at.plan);
        if (!Recorded(at.file, save, *at.plan, context.recorder, ahead, at.refusal))
            at.carried = Carried::NotRecorded;
        else
            at.step = State::Step::Ready;
    } catch (const CFileExceptionEx& error) {
        at.carried = Carried::Refused;
        at.cause = error.SystemError();
    }
}

PendingTags::~PendingTags() = default;

std::uint64_t PendingTags::HeldBytes() const {
    return state_->save.id3v2Frames ? state_->save.id3v2Frames->size() : 0;
}

bool PendingTags::Finish(EngineContext& context, TagSaveOutcome* outcome,
                         const std::u16string* notRecorded) {
    State& at = *state_;
    const std::u16string& path = at.save.path;
    if (at.step == State::Step::Nothing)
        return true;
    if (at.step == State::Step::OpenFailed) {
        ShowError(context.messages, MessageKind::SaveOpenFailed, {path}, at.cause);
        return false;
    }
    if (at.step == State::Step::ChangedOnDisk) {
        ShowError(context.messages, MessageKind::ChangedOnDisk, {path});
        if (outcome != nullptr)
            outcome->changedOnDisk = true;
        return false;
    }
    if (at.step == State::Step::Ready && notRecorded != nullptr) {
        at.carried = Carried::NotRecorded;
        at.refusal = *notRecorded;
    } else if (at.step == State::Step::Ready) {
        try {
            at.carried = CarryOut(at.file, at.save, *at.plan, *at.identity);
            if (at.carried == Carried::Saved && context.recorder != nullptr)
                context.recorder->AfterWrite(path, *at.identity);
            if (at.carried == Carried::Saved && outcome != nullptr)
                outcome->identity = *at.identity;
        } catch (const CFileExceptionEx& error) {
            at.carried = Carried::Refused;
            at.cause = error.SystemError();
        }
    }
    at.step = State::Step::Done;
    if (at.carried == Carried::FolderNotWritable)
        ShowError(context.messages, MessageKind::FolderNotWritable, {path, FolderOf(path)});
    else if (at.carried == Carried::NotRecorded)
        ShowError(context.messages, MessageKind::HistoryNotWritten, {path}, {}, at.refusal);
    else if (at.carried != Carried::Saved)
        ShowError(context.messages, MessageKind::SaveFailed, {path}, at.cause, at.refusal);
    return at.carried == Carried::Saved;
}

bool SaveTags(const TagSave& save, EngineContext& context, TagSaveOutcome* outcome) {
    return PendingTags(save, context).Finish(context, outcome);
}

}  // namespace velmora
