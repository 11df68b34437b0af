// Saving a record: its tags, then its pending rename.
#include "common/Messages.h"
#include "tags/file/SafeRename.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/record/Mp3File.h"
#include "tags/record/SaveRecorder.h"
#include "tags/record/TagFileWriter.h"
#include "text/Utf8.h"

namespace velmora {

// After a successful save the record shows what the disk now holds.
void Mp3File::AfterTagsSaved(const TagSave& save) {
    if (save.id3v1 == Id3v1Action::Remove) {
        v1_ = Id3v1Tag();
        hadId3v1_ = false;
    } else if (save.id3v1 == Id3v1Action::Write) {
        v1_.SetModified(false);
        hadId3v1_ = true;
    }
    if (save.stripId3v2) {
        v2_.MutableFrames().clear();
        loadedVersion_ = 0;
    } else if (save.id3v2Frames) {
        loadedVersion_ = save.id3v2Version;
        // The new tag holds the bodies plainly, after its header.
        for (const StoredSplice& splice : save.storedSplices)
            splice.body->MoveTo(kTagHeaderSize + splice.at);
    }
    std::erase_if(storedBodies_, [](const auto& body) { return body.expired(); });
    MarkAll(v2_, false);
}

std::unique_ptr<Mp3File::PendingSave> Mp3File::BeginSave(EngineContext& context) {
    auto pending = std::make_unique<PendingSave>();
    if (!IsMp3()) {
        ShowError(context.messages, MessageKind::NotAnMp3, {DiskPath()});
        pending->refused = true;
        return pending;
    }
    try {
        pending->save = BuildSave(context);
        if (pending->save->ChangesSomething())
            pending->tags = std::make_unique<PendingTags>(*pending->save, context);
    } catch (const FrameTooLargeError& error) {
        ShowError(context.messages, MessageKind::SaveFailed, {DiskPath()}, {},
                  text::FromUtf8(error.what()));
        pending->failed = true;
    }
    return pending;
}

std::uint64_t Mp3File::HeldBytes(const PendingSave& pending) {
    return pending.tags ? pending.tags->HeldBytes() : 0;
}

// A refused save (not a loaded MP3, or changed on disk) writes and renames nothing and keeps
// everything pending.
bool Mp3File::FinishSave(PendingSave& pending, EngineContext& context,
                         const std::u16string* notRecorded) {
    if (pending.refused)
        return false;
    bool ok = !pending.failed;
    if (pending.tags) {
        TagSaveOutcome outcome;
        ok = pending.tags->Finish(context, &outcome, notRecorded);
        // The file and its lock are let go before the rename.
        pending.tags.reset();
        if (outcome.changedOnDisk)
            return false;
        if (ok) {
            identity_ = outcome.identity;
            AfterTagsSaved(*pending.save);
            // The tags on disk are gone now; a failed write keeps the removals pending.
            removeV1Pending_ = false;
            removeV2Pending_ = false;
        }
    } else if (ok && pendingName_ && IdentityOfPath(DiskPath()) != identity_) {
        ShowError(context.messages, MessageKind::ChangedOnDisk, {DiskPath()});
        return false;
    }
    if (pendingName_)
        ok = Rename(context) && ok;
    return ok;
}

bool Mp3File::Save(EngineContext& context) {
    const auto pending = BeginSave(context);
    return FinishSave(*pending, context);
}

bool Mp3File::Rename(EngineContext& context) {
    const std::u16string from = DiskPath();
    const std::u16string to = *directory_ + u"/" + *pendingName_;
    std::u16string why;
    if (context.recorder != nullptr && !context.recorder->BeforeRename(from, to, why)) {
        ShowError(context.messages, MessageKind::HistoryNotWritten, {from}, {}, why);
        return false;
    }
    if (!RenameFileOrReport(*directory_, diskName_, *pendingName_, context.messages))
        return false;
    if (context.recorder != nullptr)
        context.recorder->AfterRename(from, to);
    diskName_ = std::move(*pendingName_);
    pendingName_.reset();
    return true;
}

}  // namespace velmora
