// The workspace's edits: every change to records as one action of the journal, a long one
// run in slices.
#include <algorithm>
#include <exception>
#include <utility>

#include "common/Messages.h"
#include "tags/record/Mp3File.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::ui {

namespace {

// Records an edit takes in one step: few first, so that a slow change soon yields to the
// event loop, then more, so that the step's own cost stays small.
constexpr std::size_t kLargestStep = 64;
// After this many records the journal can tell whether the action will fit.
constexpr std::size_t kEstimateAfter = 500;

}  // namespace

std::vector<Mp3File*> Workspace::Apply(std::u16string name, std::span<Mp3File* const> records,
                                       const std::function<void()>& change) {
    if (!IsIdle())
        return {};
    unkeptAgreed_ = false;
    std::vector<Mp3File*> changed = journal_.Apply(std::move(name), records, change);
    if (!changed.empty())
        RecordsEdited(changed);
    return changed;
}

std::vector<Mp3File*> Workspace::ApplyToParts(std::u16string name,
                                              std::span<Mp3File* const> records,
                                              const edit::EditJournal::PartChange& change) {
    if (!IsIdle())
        return {};
    unkeptAgreed_ = false;
    edit_ = {name, 0, records.size()};
    journal_.Begin(std::move(name));
    std::size_t size = 1;
    bool declined = false;
    bool touched = false;
    std::exception_ptr failure;
    const bool done = RunSliced([&] {
        const auto part = records.subspan(edit_.done, std::min(size, records.size() - edit_.done));
        try {
            const std::vector<Mp3File*> changed = journal_.Step(part, change);
            touched = touched || !changed.empty();
            MarkEdited(changed);
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
        edit_.done += part.size();
        size = std::min(size * 2, kLargestStep);
        const bool estimated =
            edit_.done >= kEstimateAfter && edit_.done - part.size() < kEstimateAfter;
        if (estimated && journal_.WillOutgrow(edit_.done, edit_.total) && !MayRunUnkept()) {
            declined = true;
            return false;
        }
        return edit_.done < records.size();
    });
    if ((!done || declined) && !failure) {
        TakeBack([&](std::vector<Mp3File*>& putBack) {
            return journal_.AbandonSome(kLargestStep, putBack);
        });
        if (touched)
            AnnounceEdited();
        EndEditing();
        return {};
    }
    std::vector<Mp3File*> changed = journal_.Commit();
    // A failed part kept what it did before failing; an action not kept was put back whole.
    if (failure || changed.empty())
        MarkEdited(failure ? std::span<Mp3File* const>(changed) : records.first(edit_.done));
    if (touched || !changed.empty())
        AnnounceEdited();
    EndEditing();
    if (failure)
        std::rethrow_exception(failure);
    return changed;
}

std::vector<Mp3File*> Workspace::ApplyToEach(std::u16string name, std::span<Mp3File* const> records,
                                             const std::function<void(Mp3File&)>& change) {
    return ApplyToParts(std::move(name), records, [&](std::span<Mp3File* const> part) {
        for (Mp3File* record : part)
            change(*record);
    });
}

bool Workspace::ReadInParts(std::u16string name, std::size_t total,
                            const std::function<bool(std::size_t& done)>& step) {
    if (!IsIdle())
        return false;
    edit_ = {std::move(name), 0, total};
    const bool done = RunSliced([&] { return step(edit_.done); });
    EndEditing();
    return done;
}

bool Workspace::Move(bool undo) {
    if (!IsIdle())
        return false;
    const QString name = ToQString(undo ? journal_.UndoName() : journal_.RedoName());
    if (!journal_.BeginMove(undo))
        return false;
    edit_ = {ToU16((undo ? tr("Undo %1") : tr("Redo %1")).arg(name)), 0, journal_.MoveSize()};
    std::size_t marked = 0;
    const bool done = RunSliced([&] {
        const bool more = journal_.MoveSome(kLargestStep);
        const std::span<Mp3File* const> moved = journal_.MovedSoFar();
        MarkEdited(moved.subspan(marked));
        marked = moved.size();
        edit_.done = std::min(edit_.done + kLargestStep, edit_.total);
        return more;
    });
    if (!done) {
        TakeBack([&](std::vector<Mp3File*>& putBack) {
            return journal_.AbandonMoveSome(kLargestStep, putBack);
        });
        if (marked > 0)
            AnnounceEdited();
        EndEditing();
        return false;
    }
    const bool changed = !journal_.EndMove().empty();
    if (changed)
        AnnounceEdited();
    EndEditing();
    return changed;
}

void Workspace::TakeBack(const std::function<bool(std::vector<Mp3File*>&)>& some) {
    std::vector<Mp3File*> putBack;
    const auto step = [&] {
        putBack.clear();
        const bool more = some(putBack);
        MarkEdited(putBack);
        edit_.done -= std::min(edit_.done, putBack.size());
        return more;
    };
    // Stop was pressed already: what was done goes back whole however often it is pressed.
    while (!RunSliced(step)) {
    }
}

bool Workspace::RunSliced(const std::function<bool()>& step) {
    return slicer_.Run(
        step, [this] { SetState(WorkState::Editing); }, [this] { ShowProgress(); });
}

void Workspace::EndEditing() {
    if (state_ != WorkState::Editing)
        return;
    SetState(WorkState::Idle);
    ShowProgress();
}

bool Workspace::MayRunUnkept() {
    if (!unkeptAgreed_) {
        const QString question =
            tr("This change cannot be undone before saving; it can be reverted from History "
               "after saving. Continue?");
        Message message = NoteMessage({ToU16(question)}, kAppCaption, MessageIcon::Question,
                                      MessageButtons::YesNo);
        unkeptAgreed_ = sink_.Show(message) == MessageAnswer::Yes;
    }
    return unkeptAgreed_;
}

}  // namespace velmora::ui
