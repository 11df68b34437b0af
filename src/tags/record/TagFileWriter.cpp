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
#include "tags/record/SaveRecorder.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {

namespace {

constexpr unsigned kSaveMode = BufferedFile::kReadWrite | BufferedFile::kOpenExisting;

FileFacts ReadFacts(BufferedFile& file) {
    FileFacts facts;
    facts.size = file.Size();
    file.Seek(0);
    file.Read(facts.start.data(), facts.start.size());
    if (facts.size > kId3v1Size) {
        std::array<std::uint8_t, kId3v1Magic.size()> magic{};
        file.Seek(facts.size - kId3v1Size);
        facts.id3v1AtEnd =
            file.Read(magic.data(), magic.size()) == magic.size() && HasId3v1Magic(magic);
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

// Bodies left in the file, read from the old file once it has passed the changed-on-disk
// check: those the new tag holds go into it; the others are kept in memory, since the new
// file will not hold them.
void TakeStoredBodies(BufferedFile& file, const TagSave& save, SavePlan& plan) {
    if (plan.outcome == SavePlan::Outcome::Refused || (!save.stripId3v2 && !save.id3v2Frames))
        return;
    for (const StoredSplice& splice : save.storedSplices) {
        const std::uint64_t at = kTagHeaderSize + splice.at;
        if (plan.tag.size() < at + splice.body->length)
            throw CFileExceptionEx(EINVAL, save.path);
        ReadStoredBodyInto(
            file, *splice.body,
            std::span(plan.tag).subspan(static_cast<std::size_t>(at), splice.body->length));
    }
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

std::vector<std::uint8_t> ReadRange(BufferedFile& file, std::uint64_t from, std::uint64_t to) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(to - from));
    file.Seek(from);
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
        throw CFileExceptionEx(EIO, u"");
    return bytes;
}

// Bodies the new tag takes over byte for byte: those the old file holds plainly inside the
// head the save replaces, which the new tag holds after its header.
std::vector<ReplacedRegions::Kept> KeptBodies(const TagSave& save, std::uint64_t headEnd) {
    std::vector<ReplacedRegions::Kept> kept;
    for (const StoredSplice& splice : save.storedSplices) {
        const StoredBody& body = *splice.body;
        if (body.held || body.unsynchronised || body.compressed || body.skip != 0 ||
            body.storedLength != body.length || body.length <= 2 * ReplacedRegions::Kept::kEdge ||
            body.offset + body.length > headEnd)
            continue;
        kept.push_back({body.offset, kTagHeaderSize + splice.at, body.length});
    }
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.oldAt < b.oldAt; });
    // Two splices of one body (a copied frame) would overlap: the second is read instead.
    std::uint64_t end = 0;
    std::erase_if(kept, [&](const ReplacedRegions::Kept& piece) {
        const bool overlaps = piece.oldAt < end;
        end = overlaps ? end : piece.oldAt + piece.length;
        return overlaps;
    });
    return kept;
}

// The ends of the old file the plan replaces, read before anything is written; the bodies
// the new file keeps are not read again, but for their edges.
ReplacedRegions RegionsBefore(BufferedFile& file, const TagSave& save, const SavePlan& plan) {
    ReplacedRegions old;
    const std::uint64_t headEnd =
        plan.outcome == SavePlan::Outcome::Move ? plan.tagEnd : plan.tag.size();
    old.kept = KeptBodies(save, headEnd);
    old.head.resize(static_cast<std::size_t>(headEnd));
    std::uint64_t at = 0;
    for (std::size_t i = 0; i <= old.kept.size(); ++i) {
        constexpr std::uint64_t edge = ReplacedRegions::Kept::kEdge;
        const std::uint64_t to = i < old.kept.size() ? old.kept[i].oldAt + edge : headEnd;
        file.Seek(at);
        if (file.Read(old.head.data() + at, to - at) != to - at)
            throw CFileExceptionEx(EIO, u"");
        at = i < old.kept.size() ? old.kept[i].oldAt + old.kept[i].length - edge : to;
    }
    old.tail = ReadRange(file, plan.keep, plan.oldSize);
    old.newHeadSize = plan.tag.size();
    old.newTailSize = plan.id3v1Record.size();
    return old;
}

// Write-ahead: the old ends are in the history before the file changes.
bool Recorded(BufferedFile& file, const TagSave& save, const SavePlan& plan, SaveRecorder* recorder,
              std::u16string& why) {
    if (recorder == nullptr || plan.outcome == SavePlan::Outcome::Refused || plan.ChangesNothing())
        return true;
    return recorder->BeforeWrite(save.path, RegionsBefore(file, save, plan), why);
}

// The new file beside the old one; false when none can be created in that folder.
bool WriteReplacement(BufferedFile& file, const std::u16string& path, const SavePlan& plan,
                      FileIdentity& written) {
    const auto replacement = FileReplacement::Begin(path, file);
    if (!replacement) {
        return false;
    }
    BufferedFile& out = replacement->File();
    out.Write(plan.tag.data(), plan.tag.size());
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
Carried CarryOut(BufferedFile& file, const std::u16string& path, const SavePlan& plan,
                 FileIdentity& identity) {
    switch (plan.outcome) {
        case SavePlan::Outcome::Refused:
            return Carried::Refused;
        case SavePlan::Outcome::InPlace:
            RewriteInPlace(file, plan);
            if (!plan.ChangesNothing()) {
                identity = IdentityAfterWrite(file, path, identity);
            }
            file.Close();
            return Carried::Saved;
        case SavePlan::Outcome::Move:
            // The old file was only read, so closing it (which ends the lock, after the
            // rename) cannot lose anything, and the destructor does it.
            return WriteReplacement(file, path, plan, identity) ? Carried::Saved
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
        at.plan = PlanSave(ReadFacts(at.file), save);
        at.refusal = at.plan->refusal;
        TakeStoredBodies(at.file, save, *at.plan);
        if (!Recorded(at.file, save, *at.plan, context.recorder, at.refusal))
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
    return state_->plan ? state_->plan->tag.size() : 0;
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
            at.carried = CarryOut(at.file, path, *at.plan, *at.identity);
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
